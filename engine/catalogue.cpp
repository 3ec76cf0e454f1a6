#include "engine/catalogue.h"

// The tables are laid out as rows; keep them so.
// clang-format off
namespace {

constexpr Hive HKCU = Hive::CurrentUser;
constexpr Hive HKLM = Hive::LocalMachine;
constexpr Hive HKCR = Hive::ClassesRoot;
using R = ReadRule;
using A = ApplyRule;

#define USER_NAMESPACE u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
#define MACHINE_NAMESPACE u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
#define ADVANCED u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"
#define USER_POLICIES_EXPLORER u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"
#define MACHINE_POLICIES_EXPLORER u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer"
#define USER_EXPLORER_POLICY u"Software\\Policies\\Microsoft\\Windows\\Explorer"
#define MACHINE_EXPLORER_POLICY u"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer"
#define CURRENT_VERSION_NT u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
#define COPY_MOVE_HANDLERS u"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\"

// A This PC folder that can be added: a NameSpace key in HKCU and HKLM.
constexpr Tweak addedFolder(const char16_t* control, const char16_t* label, const char16_t* userKey,
                            const char16_t* machineKey, const char16_t* explanation) {
    return {control, label, HKCU, userKey, u"", machineKey, R::KeyExists, 0,
            A::CreateOrDeleteKey, 0, 0, nullptr, false, explanation};
}
// A standard folder that can be hidden: its HKLM NameSpace key is deleted.
constexpr Tweak hiddenFolder(const char16_t* control, const char16_t* label, const char16_t* key,
                             const char16_t* explanation) {
    return {control, label, HKLM, key, u"", nullptr, R::KeyAbsent, 0, A::DeleteOrCreateKey,
            0, 0, nullptr, false, explanation};
}

} // namespace

const Tweak kComputerTweaks[kThisPcFolders] = {
    addedFolder(u"chb0_0", u"Recycle Bin", USER_NAMESPACE u"{645FF040-5081-101B-9F08-00AA002F954E}",
                MACHINE_NAMESPACE u"{645FF040-5081-101B-9F08-00AA002F954E}",
                u"Shows the Recycle Bin in This PC in File Explorer."),
    addedFolder(u"chb0_1", u"All Control Panel Items",
                USER_NAMESPACE u"{21EC2020-3AEA-1069-A2DD-08002B30309D}",
                MACHINE_NAMESPACE u"{21EC2020-3AEA-1069-A2DD-08002B30309D}",
                u"Shows the full list of Control Panel items in This PC in File Explorer."),
    addedFolder(u"chb0_2", u"Run", USER_NAMESPACE u"{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}",
                MACHINE_NAMESPACE u"{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}",
                u"Shows the Run box (Win+R) in This PC in File Explorer."),
    addedFolder(u"chb0_3", u"Switch between windows",
                USER_NAMESPACE u"{3080F90E-D7AD-11D9-BD98-0000947B0257}",
                MACHINE_NAMESPACE u"{3080F90E-D7AD-11D9-BD98-0000947B0257}",
                u"Shows the window switcher (Win+Tab) in This PC in File Explorer."),
    addedFolder(u"chb0_4", u"Administrative Tools",
                USER_NAMESPACE u"{D20EA4E1-3957-11D2-A40B-0C5020524153}",
                MACHINE_NAMESPACE u"{D20EA4E1-3957-11D2-A40B-0C5020524153}",
                u"Shows the Administrative Tools folder in This PC in File Explorer."),
    addedFolder(u"chb0_5", u"Network Connections",
                USER_NAMESPACE u"{7007ACC7-3202-11D1-AAD2-00805FC1270E}",
                MACHINE_NAMESPACE u"{7007ACC7-3202-11D1-AAD2-00805FC1270E}",
                u"Shows the Network Connections folder with the network adapters in This PC."),
    addedFolder(u"chb0_6", u"Printers", USER_NAMESPACE u"{2227A280-3AEA-1069-A2DE-08002B30309D}",
                MACHINE_NAMESPACE u"{2227A280-3AEA-1069-A2DE-08002B30309D}",
                u"Shows the Printers folder in This PC in File Explorer."),
    hiddenFolder(u"chb0_7", u"Hide 3D Objects folder",
                 MACHINE_NAMESPACE u"{0DB7E03F-FC29-4DC6-9020-FF41B59E513A}",
                u"Hides the 3D Objects folder from This PC; the files in it stay."),
    hiddenFolder(u"chb0_8", u"Hide Desktop folder",
                 MACHINE_NAMESPACE u"{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}",
                u"Hides the Desktop folder from This PC; the files in it stay."),
    hiddenFolder(u"chb0_9", u"Hide Documents folder",
                 MACHINE_NAMESPACE u"{d3162b92-9365-467a-956b-92703aca08af}",
                u"Hides the Documents folder from This PC; the files in it stay."),
    hiddenFolder(u"chb0_10", u"Hide Downloads folder",
                 MACHINE_NAMESPACE u"{088e3905-0323-4b02-9826-5d99428e115f}",
                u"Hides the Downloads folder from This PC; the files in it stay."),
    hiddenFolder(u"chb0_11", u"Hide Music folder",
                 MACHINE_NAMESPACE u"{3dfdf296-dbec-4fb4-81d1-6a3438bcf4de}",
                u"Hides the Music folder from This PC; the files in it stay."),
    hiddenFolder(u"chb0_12", u"Hide Pictures folder",
                 MACHINE_NAMESPACE u"{24ad3ad4-a569-4530-98e1-ab02f9417aa8}",
                u"Hides the Pictures folder from This PC; the files in it stay."),
    hiddenFolder(u"chb0_13", u"Hide Videos folder",
                 MACHINE_NAMESPACE u"{f86fa3ab-70d2-4fc7-9c99-fcbf05467f3a}",
                u"Hides the Videos folder from This PC; the files in it stay."),
};

const Tweak kTaskbarTweaks[kTaskbarItems] = {
    {u"chb1_0", u"Turn off thumbnail live preview", HKCU, ADVANCED, u"DisablePreviewWindow", nullptr,
     R::AsStored, 0, A::WritePending, 0, 0, nullptr, true,
     u"Stops Windows from showing a window full size when the pointer rests on its taskbar thumbnail."},
    {u"chb1_1", u"Disable the system tray", HKCU, USER_POLICIES_EXPLORER, u"NoTrayItemsDisplay",
     MACHINE_POLICIES_EXPLORER, R::AsStored, 0, A::WritePending, 0, 0, nullptr, true,
     u"Hides the notification area icons next to the taskbar clock."},
    {u"spb1_2", u"Taskbar thumbnail delay time", HKCU, ADVANCED, u"ExtendedUIHoverTime", nullptr,
     R::AsStored, 400, A::WritePending, 0, 0, nullptr, true,
     u"How long, in milliseconds, the pointer rests on a taskbar button before its thumbnail opens."},
    {u"spb1_3", u"Taskbar thumbnail live preview delay time", HKCU, ADVANCED,
     u"ThumbnailLivePreviewHoverTime", nullptr, R::AsStored, 1000, A::WritePending, 0, 0, nullptr, true,
     u"How long, in milliseconds, the pointer rests on a thumbnail before its window is shown full size."},
    {u"chb1_4", u"Show seconds on taskbar clock", HKCU, ADVANCED, u"ShowSecondsInSystemClock", nullptr,
     R::AsStored, 0, A::WritePending, 0, 0, nullptr, true,
     u"Shows the seconds in the taskbar clock."},
};

const Tweak kContextMenuTweaks[kContextMenuItems] = {
    {u"chb2_0", u"Copy To", HKCR, COPY_MOVE_HANDLERS u"{C2FBB630-2971-11D1-A18C-00C04FD75D13}", u"",
     nullptr, R::KeyExists, 0, A::CreateOrDeleteKey, 0, 0, nullptr, false,
     u"Adds \"Copy To folder...\" to the right-click menu of files and folders."},
    {u"chb2_1", u"Move To", HKCR, COPY_MOVE_HANDLERS u"{C2FBB631-2971-11D1-A18C-00C04FD75D13}", u"",
     nullptr, R::KeyExists, 0, A::CreateOrDeleteKey, 0, 0, nullptr, false,
     u"Adds \"Move To folder...\" to the right-click menu of files and folders."},
    {u"chb2_2", u"Open with Notepad for all files", HKCR, u"*\\shell\\Open with Notepad\\command", u"",
     nullptr, R::TextEquals, 0, A::TextOrDeleteKeys, 0, 0, u"notepad.exe %1", false,
     u"Adds \"Open with Notepad\" to the right-click menu of every file."},
    {u"chb2_3", u"Take Ownership", HKCR, u"*\\shell\\runas\\command", u"", nullptr,
     R::TakeOwnership, 0, A::TakeOwnership, 0, 0, nullptr, false,
     u"Adds \"Take Ownership\" to the right-click menu: you become the owner and administrators get full access."},
};

const Tweak kSystemTweaks[kSystemItems] = {
    {u"chb3_0", u"Disable aero shake", HKCU, USER_EXPLORER_POLICY, u"NoWindowMinimizingShortcuts",
     nullptr, R::AsStored, 0, A::WritePending, 0, 0, nullptr, true,
     u"Stops Windows from minimising every other window when you shake one by its title bar."},
    {u"chb3_1", u"Add GodMode folder to the desktop", HKCU, u"", u"", nullptr,
     R::AlwaysZero, 0, A::GodMode, 0, 0, nullptr, false,
     u"Puts a GodMode folder listing every Control Panel task on the desktop; unticking never removes it."},
    {u"chb3_2", u"Stop Windows from adding \"- Shortcut\" to shortcut file names", HKCU,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", u"link", nullptr,
     R::ZeroBytes, 0, A::ZeroBytesOrDelete, 0, 0, nullptr, true,
     u"New shortcuts keep their target's name, without \"- Shortcut\" at the end."},
    {u"chb3_3", u"Use verbose boot messages", HKLM,
     u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", u"VerboseStatus", nullptr,
     R::AsStored, 0, A::WritePending, 0, 0, nullptr, false,
     u"Shows what Windows is doing while it starts, signs in, signs out and shuts down."},
    {u"chb3_4", u"Restore previous volume control", HKLM, CURRENT_VERSION_NT u"\\MTCUVC",
     u"EnableMtcUvc", nullptr, R::IsZero, 1, A::WriteOrDelete, 0, 0, nullptr, false,
     u"Brings back the volume slider of Windows 7 behind the taskbar's speaker icon."},
    {u"chb3_5", u"Hide Action Center", HKLM, MACHINE_EXPLORER_POLICY, u"DisableNotificationCenter",
     nullptr, R::AsStored, 0, A::WriteOrDelete, 1, 0, nullptr, true,
     u"Removes the Action Center and its button from the taskbar."},
    {u"chb3_6", u"Remove OneDrive from File Explorer", HKCR,
     u"CLSID\\{018D5C66-4533-4307-9B53-224DE2ED1FE6}", u"System.IsPinnedToNameSpaceTree", nullptr,
     R::IsZero, 1, A::WriteEither, 0, 1, nullptr, false,
     u"Takes OneDrive out of File Explorer's navigation pane; OneDrive itself keeps working."},
    {u"chb3_7", u"Disable Cortana", HKCU, u"Software\\Policies\\Microsoft\\Windows\\Windows Search",
     u"AllowCortana", u"SOFTWARE\\Policies\\Microsoft\\Windows\\Windows Search",
     R::IsZero, 1, A::WriteOrDelete, 0, 0, nullptr, true,
     u"Turns Cortana off by policy; the search box stays."},
    {u"chb3_8", u"Disable Lock Screen", HKLM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Personalization",
     u"NoLockScreen", nullptr, R::AsStored, 0, A::WriteOrDelete, 1, 0, nullptr, false,
     u"Skips the lock screen picture and goes straight to the sign-in screen."},
    {u"chb3_9", u"Paint Windows version onto the desktop", HKCU, u"Control Panel\\Desktop",
     u"PaintDesktopVersion", nullptr, R::AsStored, 0, A::WritePending, 0, 0, nullptr, true,
     u"Writes the Windows edition and build number in a corner of the desktop."},
    {u"chb3_10", u"Add previous calculator", HKLM,
     u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe", u"", nullptr,
     R::KeyExists, 0, A::Calculator, 0, 0, nullptr, false,
     u"Installs the calculator of Windows 7 as calc1.exe, opened by \"calc\"; unticking removes it."},
    {u"chb3_11", u"Disable \"Look for an app in the Microsoft Store\" item", HKCU, USER_EXPLORER_POLICY,
     u"NoUseStoreOpenWith", MACHINE_EXPLORER_POLICY, R::AsStored, 0, A::WriteOrDelete, 1, 0, nullptr, false,
     u"Removes \"Look for an app in the Microsoft Store\" when Windows asks which program opens a file."},
    {u"le3_12", u"Registered owner", HKLM, CURRENT_VERSION_NT, u"RegisteredOwner", nullptr,
     R::Text, 0, A::WriteText, 0, 0, nullptr, false,
     u"The owner's name that winver and program installers show."},
    {u"le3_13", u"Registered organization", HKLM, CURRENT_VERSION_NT, u"RegisteredOrganization",
     nullptr, R::Text, 0, A::WriteText, 0, 0, nullptr, false,
     u"The organization that winver and program installers show."},
};

const Tweak kSecurityTweaks[kSecurityItems] = {
    {u"rbtn4_0", u"Disable autorun (recommended)", HKCU, USER_POLICIES_EXPLORER, u"NoDriveTypeAutoRun",
     nullptr, R::Equals255, 0, A::WriteOrDelete, 255, 0, nullptr, true,
     u"Disable autorun: Windows starts nothing by itself from an inserted disc or USB drive; Enable autorun allows it again."},
    {u"chb4_1", u"Enable secure log on CTRL+ALT+DELETE", HKLM, CURRENT_VERSION_NT u"\\Winlogon",
     u"DisableCAD", nullptr, R::IsZero, 0, A::WriteEither, 0, 1, nullptr, false,
     u"Asks for Ctrl+Alt+Delete before the sign-in screen, a key press no program can fake."},
    {u"chb4_2", u"Disable Windows Script Host", HKCU, u"Software\\Microsoft\\Windows Script Host\\Settings",
     u"Enabled", nullptr, R::IsZero, 1, A::WriteEither, 0, 1, nullptr, false,
     u"Stops .vbs and .js scripts from running through Windows Script Host, a common way in for malware."},
    {u"chb4_3", u"Wipe the page file at shut down PC", HKLM,
     u"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
     u"ClearPageFileAtShutdown", nullptr, R::AsStored, 0, A::WritePending, 0, 0, nullptr, false,
     u"Overwrites the page file at every shut-down, so no memory contents stay on disk; shutting down takes longer."},
};

const Tweak kPrivacyTweaks[kPrivacyItems] = {
    {u"chb5_0", u"Disable Compatibility telemetry", HKLM, u"", u"", nullptr,
     R::AppraiserTask, 0, A::AppraiserTask, 0, 0, nullptr, false,
     u"Stops and disables the scheduled task that sends compatibility data to Microsoft."},
    {u"chb5_1", u"Disable Bing search in start menu", HKCU, USER_EXPLORER_POLICY,
     u"DisableSearchBoxSuggestions", nullptr, R::BingSearch, 0, A::BingSearch, 0, 0, nullptr, true,
     u"Start menu search no longer sends what you type to Bing and shows no web results."},
};

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
