// vlk.exe: the console companion's entry point.
#include "app/vlk/companion.h"
#include "base/win32/wide.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    // Libraries come from System32 only, never from the program's folder or the current
    // directory: administrators run this elevated.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(AsU16(argv[i]));
    LocalTime now{};
    ReadLocalTime(now);
    std::string out;
    const int code = RunCompanion(arguments, now, out);
    SetConsoleOutputCP(CP_UTF8);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    return code;
}
