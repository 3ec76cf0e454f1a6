// Delay-loaded DLLs (WinINet, GDI+) come from System32 only. mingw-w64's delay-load helper
// would load them by bare name; this notification hook, the helper's documented extension
// point, loads them from System32 first, whatever search path the process was given.
#include <windows.h>

#include <delayimp.h>

namespace {

FARPROC WINAPI LoadFromSystem32(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary) return nullptr;
    return reinterpret_cast<FARPROC>(
        LoadLibraryExA(info->szDll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

} // namespace

// The helper reads this variable; it is set once here and never changed.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadFromSystem32;
}
