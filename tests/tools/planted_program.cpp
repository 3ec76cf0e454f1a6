// A program planted where a careless search would find it, or the user's browser: started, it
// leaves "<its own path>.ran" holding its command line. The marker is written under another name
// and then renamed, so that whoever sees it sees it whole.
#include <windows.h>

int main() {
    wchar_t path[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    lstrcatW(path, L".ran");
    wchar_t partial[MAX_PATH + 16] = {};
    lstrcpyW(partial, path);
    lstrcatW(partial, L".part");
    HANDLE marker = CreateFileW(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (marker == INVALID_HANDLE_VALUE) return 1;
    char line[2048] = {};
    DWORD written = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, 2048, 0, 0);
    WriteFile(marker, line, written ? written - 1 : 0, &written, nullptr);
    CloseHandle(marker);
    return MoveFileExW(partial, path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
