#include "engine/catalogue.h"

// clang-format off
#define FILE_COMMAND u"cmd.exe /c takeown /f \"%1\" && icacls \"%1\" /grant administrators:F"
#define FOLDER_COMMAND u"cmd.exe /c takeown /f \"%1\" /r /d y && icacls \"%1\" /grant administrators:F /t"

const TextValue kTakeOwnershipValues[8] = {
    {u"*\\shell\\runas", u"", u"Take Ownership"},
    {u"*\\shell\\runas", u"NoWorkingDirectory", u""},
    {u"*\\shell\\runas\\command", u"", FILE_COMMAND},
    {u"*\\shell\\runas\\command", u"IsolatedCommand", FILE_COMMAND},
    {u"Directory\\shell\\runas", u"", u"Take Ownership"},
    {u"Directory\\shell\\runas", u"NoWorkingDirectory", u""},
    {u"Directory\\shell\\runas\\command", u"", FOLDER_COMMAND},
    {u"Directory\\shell\\runas\\command", u"IsolatedCommand", FOLDER_COMMAND},
};

const char16_t* const kTakeOwnershipKeys[4] = {
    u"*\\shell\\runas\\command",
    u"*\\shell\\runas",
    u"Directory\\shell\\runas\\command",
    u"Directory\\shell\\runas",
};
// clang-format on
