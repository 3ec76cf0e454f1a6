#pragma once
// vlk: the console companion of the window, for rolling settings out to many machines.
//
//   vlk show [--json] [--explain]   the state of every tweak and where Windows keeps it
//   vlk plan FILE [--json]          what applying a settings data file would change
//   vlk apply FILE [--json]         back up, apply it, read the system again, report every tweak
//   vlk check FILE [--json]         whether the system holds every setting of the file
//   vlk export FILE                 write the present state as a settings data file
//   vlk undo [--json]               back up, then apply the newest backup
//   vlk backups [--json]            the backups, newest first, with what each would change now
//   vlk --version                   the version of this build
//
// Exit codes: 0 everything holds; 1 some tweaks did not take (apply, undo) or differ (check);
// 2 the file could not be read; 3 usage error.

#include "services/clock.h"

#include <string>
#include <vector>

enum CompanionExit : int {
    CompanionOk = 0,
    CompanionNotTaken = 1,
    CompanionBadFile = 2,
    CompanionUsage = 3,
};

// Runs one command (arguments without the program name) at the local time `now`, which names
// the backups it takes; everything it reports is appended to `out` as UTF-8 text.
int RunCompanion(const std::vector<std::u16string>& arguments, const LocalTime& now,
                 std::string& out);

extern const char kCompanionUsage[];
