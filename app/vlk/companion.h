#pragma once
// vlk: the console companion of the window, for rolling settings out to many machines.
//
//   vlk show [--json]         the state of every tweak and where Windows keeps it
//   vlk plan FILE [--json]    what applying a settings data file would change
//   vlk apply FILE [--json]   apply it, read the system again and report every tweak
//   vlk export FILE           write the present state as a settings data file
//
// Exit codes: 0 everything holds; 1 some tweaks did not take; 2 the file could not be read;
// 3 usage error.

#include <string>
#include <vector>

enum CompanionExit : int {
    CompanionOk = 0,
    CompanionNotTaken = 1,
    CompanionBadFile = 2,
    CompanionUsage = 3,
};

// Runs one command (arguments without the program name); everything it reports is appended
// to `out` as UTF-8 text.
int RunCompanion(const std::vector<std::u16string>& arguments, std::string& out);

extern const char kCompanionUsage[];
