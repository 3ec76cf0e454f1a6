// scripts/bench's clock, outside the program it times: bench_clock PROGRAM [ARGUMENT] starts the
// program (with the argument, if given) with CreateProcess, notes when its first top-level window
// becomes visible, closes that window and waits for the program to end. It prints "<ms to the
// window> <ms from the close to the end>", or "none" for a window that did not appear (or an end
// that did not come) in 30 s.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr ULONGLONG kGiveUpMs = 30000;

// The first visible top-level window of the process (message boxes included).
HWND visibleWindowOf(DWORD processId) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 && argc != 3) {
        std::fputs("usage: bench_clock PROGRAM [ARGUMENT]\n", stderr);
        return 2;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    if (argc == 3) commandLine += L" " + std::wstring(argv[2]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "bench_clock: cannot start the program (error %lu)\n", GetLastError());
        return 1;
    }
    auto elapsedMs = [&] {
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 /
               static_cast<double>(frequency.QuadPart);
    };
    HWND window = nullptr;
    double shown = -1;
    while (elapsedMs() < kGiveUpMs) {
        if ((window = visibleWindowOf(process.dwProcessId)) != nullptr) {
            shown = elapsedMs();
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    double ended = -1;
    if (window) {
        const double closed = elapsedMs();
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(kGiveUpMs)) == WAIT_OBJECT_0)
            ended = elapsedMs() - closed;
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (shown < 0)
        std::printf("none none\n");
    else if (ended < 0)
        std::printf("%.0f none\n", shown);
    else
        std::printf("%.0f %.0f\n", shown, ended);
    return 0;
}
