// Wine swallows an exception raised in a window procedure that the system called back, as 64-bit
// Windows once did: a test that faults there carries on, and the run can even pass. A fault in
// the test program's own code ends it at once instead, with the fault's code as its exit code.
// Faults in the system's libraries are theirs to handle.
#include <windows.h>

#include <cstdio>

namespace {

LONG CALLBACK EndOnOwnFault(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD& fault = *info->ExceptionRecord;
    switch (fault.ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_STACK_OVERFLOW:
        break;
    default:
        return EXCEPTION_CONTINUE_SEARCH;
    }
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(fault.ExceptionAddress), &module) ||
        module != GetModuleHandleW(nullptr))
        return EXCEPTION_CONTINUE_SEARCH;
    std::fprintf(stderr, "fault 0x%08lx at %p in the test program\n", fault.ExceptionCode,
                 fault.ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), fault.ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}

const PVOID handler = AddVectoredExceptionHandler(1, EndOnOwnFault);

} // namespace
