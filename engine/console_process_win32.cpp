#include "engine/console_process.h"

#include "engine/win32/handles.h"
#include "engine/win32/wide.h"

#include <algorithm>

ConsoleRun RunConsoleCommand(char16_t* commandLine, char* output, std::uint32_t timeoutMs) {
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &security, 0)) return {1, GetLastError()};
    UniqueHandle readEnd(read);
    UniqueHandle writeEnd(write);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, AsWide(commandLine), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info))
        return {2, GetLastError()};
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    // Only the child writes from now on, so the pipe reports its end once the child is gone.
    writeEnd.reset();

    // Read while the child runs: keep the first bytes, drain the rest.
    const ULONGLONG start = GetTickCount64();
    std::size_t kept = 0;
    char scratch[4096];
    bool exited = false;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(read, nullptr, 0, nullptr, &available, nullptr)) {
            const DWORD error = GetLastError();
            if (error == ERROR_BROKEN_PIPE) break;
            return {3, error};
        }
        if (available > 0) {
            const bool keep = kept < kConsoleOutputLimit;
            char* target = keep ? output + kept : scratch;
            const DWORD room =
                keep ? static_cast<DWORD>(kConsoleOutputLimit - kept) : DWORD{sizeof scratch};
            DWORD got = 0;
            if (!ReadFile(read, target, std::min(available, room), &got, nullptr)) {
                const DWORD error = GetLastError();
                if (error == ERROR_BROKEN_PIPE) break;
                return {3, error};
            }
            if (keep) kept += got;
            continue;
        }
        if (exited) break; // a grandchild may still hold the pipe; the command itself is done
        const DWORD wait = WaitForSingleObject(process.get(), 10);
        if (wait == WAIT_OBJECT_0) {
            exited = true;
        } else if (wait == WAIT_FAILED) {
            return {3, GetLastError()};
        } else if (GetTickCount64() - start >= timeoutMs) {
            TerminateProcess(process.get(), 1);
            WaitForSingleObject(process.get(), 5000);
            return {3, WAIT_TIMEOUT};
        }
    }
    return {0, 0};
}
