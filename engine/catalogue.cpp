#include "engine/catalogue.h"

#include <array>

namespace {

// The program's one copy of the rows.
constexpr auto kComputer = std::to_array(catalogue_rows::kComputerTweaks);
constexpr auto kTaskbar = std::to_array(catalogue_rows::kTaskbarTweaks);
constexpr auto kContextMenu = std::to_array(catalogue_rows::kContextMenuTweaks);
constexpr auto kSystem = std::to_array(catalogue_rows::kSystemTweaks);
constexpr auto kSecurity = std::to_array(catalogue_rows::kSecurityTweaks);
constexpr auto kPrivacy = std::to_array(catalogue_rows::kPrivacyTweaks);

} // namespace

const std::span<const Tweak> kCataloguePages[6] = {kComputer, kTaskbar,  kContextMenu,
                                                   kSystem,   kSecurity, kPrivacy};

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
