#pragma once
// Export of the window's controls to a settings data file, import of a file into the
// controls, and the command that runs either and tells the user how it went.

#include <cstdint>

class MainWindow;

// Writes the pending values (the caller has collected the controls) as a settings data file.
std::uint32_t ExportSettings(MainWindow& window, const char16_t* path);
// Reads a file and sets the controls from it; the model and the system stay untouched until
// Apply. A failure is recorded in the trail, which is then saved.
std::uint32_t ImportSettings(MainWindow& window, const char16_t* path);
// Action 0 imports, 1 collects the controls and exports; anything else does nothing. The
// outcome is shown in a message box, then the window's dialog result is reset.
void RunImportExport(MainWindow& window, std::int32_t action, const char16_t* path);
