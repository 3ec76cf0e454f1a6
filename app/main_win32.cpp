// The program's entry: builds the main window, checks the Windows version, shows the window
// and runs it until it closes.

#include "app/main_window.h"
#include "app/program_services.h"

#include <windows.h>

#include <clocale>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Libraries come from System32 only, never from the program's folder (a Downloads folder)
    // or the current directory: this process may run with administrator rights.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    std::setlocale(LC_CTYPE, "");
    int exitCode = 0;
    {
        // The system is read from before the window is made: it overlaps the window's making.
        const Language language = LanguageFor(PreferredUiLanguages());
        SystemDescriptions descriptions;
        MainWindow window(instance, MainWindow::kProductName, ProgramServices(), language,
                          descriptions, StartSystemRead());
        window.requireWindows10(Say(language, Text::NotSupported).c_str(),
                                MainWindow::kProductName);
        window.show(0);
        exitCode = window.runMessageLoop();
    }
    return exitCode;
}
