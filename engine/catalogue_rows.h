#pragma once
// The catalogue's rows: one per tweak, in the order of the page blocks (catalogue.h includes this
// file after the types). Adding a tweak is adding its row here, its row in the window's layout and
// its texts: the model's and the settings file's sizes follow from the rows. Elsewhere the rows
// count only as constants: their one copy in the program is catalogue.cpp's (kCataloguePages).

// The tables are laid out as rows; keep them so.
// clang-format off
namespace catalogue_rows {

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

// A This PC folder that can be added: a NameSpace key (its class id) in HKCU and HKLM.
constexpr Tweak addedFolder(const char16_t* control, const char16_t* label, const char16_t* userKey,
                            const char16_t* machineKey, const char16_t* explanation,
                            const char16_t* note = nullptr) {
    return {.control = control, .label = label, .hive = HKCU, .key = userKey, .machineKey = machineKey,
            .read = R::KeyExists, .apply = A::CreateOrDeleteKey, .explanation = explanation, .note = note,
            .inOlderFiles = true};
}
// A standard folder that can be hidden: its HKLM NameSpace key is deleted.
constexpr Tweak hiddenFolder(const char16_t* control, const char16_t* label, const char16_t* key,
                             const char16_t* explanation, Absence absent = {}) {
    return {.control = control, .label = label, .hive = HKLM, .key = key, .read = R::KeyAbsent,
            .apply = A::DeleteOrCreateKey, .explanation = explanation, .absent = absent};
}

constexpr std::uint32_t kWindows11 = 22000;
constexpr const char16_t* kShowMoreOptions =
    u"On Windows 11 it is under \"Show more options\", unless the classic menu was brought back.";

constexpr Tweak kComputerTweaks[] = {
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
                u"Shows the window switcher (Win+Tab) in This PC in File Explorer.",
                u"From Windows 10 version 1607 on it opens Task View."),
    addedFolder(u"chb0_4", u"Administrative Tools",
                USER_NAMESPACE u"{D20EA4E1-3957-11D2-A40B-0C5020524153}",
                MACHINE_NAMESPACE u"{D20EA4E1-3957-11D2-A40B-0C5020524153}",
                u"Shows the Administrative Tools folder in This PC in File Explorer.",
                u"On Windows 11 it opens Windows Tools."),
    addedFolder(u"chb0_5", u"Network Connections",
                USER_NAMESPACE u"{7007ACC7-3202-11D1-AAD2-00805FC1270E}",
                MACHINE_NAMESPACE u"{7007ACC7-3202-11D1-AAD2-00805FC1270E}",
                u"Shows the Network Connections folder with the network adapters in This PC."),
    addedFolder(u"chb0_6", u"Printers", USER_NAMESPACE u"{2227A280-3AEA-1069-A2DE-08002B30309D}",
                MACHINE_NAMESPACE u"{2227A280-3AEA-1069-A2DE-08002B30309D}",
                u"Shows the Printers folder in This PC in File Explorer."),
    hiddenFolder(u"chb0_7", u"Hide 3D Objects folder",
                 MACHINE_NAMESPACE u"{0DB7E03F-FC29-4DC6-9020-FF41B59E513A}",
                u"Hides the 3D Objects folder from This PC; the files in it stay.",
                 {.fromBuild = kWindows11, .reason = u"Windows 11 has no 3D Objects folder in This PC."}),
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

constexpr Tweak kTaskbarTweaks[] = {
    {.control = u"chb1_0", .label = u"Turn off thumbnail live preview",
     .hive = HKCU, .key = ADVANCED, .value = u"DisablePreviewWindow",
     .read = R::AsStored, .apply = A::WritePending, .logOut = true,
     .explanation = u"Stops Windows from showing a window full size when the pointer rests on its taskbar thumbnail.",
     .inOlderFiles = true},
    {.control = u"chb1_1", .label = u"Disable the system tray",
     .hive = HKCU, .key = USER_POLICIES_EXPLORER, .value = u"NoTrayItemsDisplay", .machineKey = MACHINE_POLICIES_EXPLORER,
     .read = R::AsStored, .apply = A::WritePending, .logOut = true,
     .explanation = u"Hides the notification area icons next to the taskbar clock.",
     .inOlderFiles = true},
    {.control = u"spb1_2", .label = u"Taskbar thumbnail delay time",
     .hive = HKCU, .key = ADVANCED, .value = u"ExtendedUIHoverTime",
     .read = R::AsStored, .readDefault = 400, .apply = A::WritePending, .logOut = true,
     .explanation = u"How long, in milliseconds, the pointer rests on a taskbar button before its thumbnail opens.",
     .inOlderFiles = true},
    {.control = u"spb1_3", .label = u"Taskbar thumbnail live preview delay time",
     .hive = HKCU, .key = ADVANCED, .value = u"ThumbnailLivePreviewHoverTime",
     .read = R::AsStored, .readDefault = 1000, .apply = A::WritePending, .logOut = true,
     .explanation = u"How long, in milliseconds, the pointer rests on a thumbnail before its window is shown full size.",
     .inOlderFiles = true},
    {.control = u"chb1_4", .label = u"Show seconds on taskbar clock",
     .hive = HKCU, .key = ADVANCED, .value = u"ShowSecondsInSystemClock",
     .read = R::AsStored, .apply = A::WritePending, .logOut = true,
     .explanation = u"Shows the seconds in the taskbar clock.",
     .absent = {.fromBuild = kWindows11, .untilBuild = 22621, .reason = u"This Windows 11 build shows no seconds in the taskbar clock; version 22H2 and later do."}},
};

constexpr Tweak kContextMenuTweaks[] = {
    {.control = u"chb2_0", .label = u"Copy To",
     .hive = HKCR, .key = COPY_MOVE_HANDLERS u"{C2FBB630-2971-11D1-A18C-00C04FD75D13}",
     .read = R::KeyExists, .apply = A::CreateOrDeleteKey,
     .explanation = u"Adds \"Copy To folder...\" to the right-click menu of files and folders.",
     .note = kShowMoreOptions,
     .inOlderFiles = true},
    {.control = u"chb2_1", .label = u"Move To",
     .hive = HKCR, .key = COPY_MOVE_HANDLERS u"{C2FBB631-2971-11D1-A18C-00C04FD75D13}",
     .read = R::KeyExists, .apply = A::CreateOrDeleteKey,
     .explanation = u"Adds \"Move To folder...\" to the right-click menu of files and folders.",
     .note = kShowMoreOptions,
     .inOlderFiles = true},
    {.control = u"chb2_2", .label = u"Open with Notepad for all files",
     .hive = HKCR, .key = u"*\\shell\\Open with Notepad\\command",
     .read = R::TextEquals, .apply = A::TextOrDeleteKeys, .text = u"notepad.exe %1",
     .explanation = u"Adds \"Open with Notepad\" to the right-click menu of every file.",
     .note = kShowMoreOptions,
     .inOlderFiles = true},
    {.control = u"chb2_3", .label = u"Take Ownership",
     .hive = HKCR, .key = u"*\\shell\\runas\\command",
     .read = R::TakeOwnership, .apply = A::TakeOwnership,
     .explanation = u"Adds \"Take Ownership\" to the right-click menu: you become the owner and administrators get full access.",
     .note = kShowMoreOptions,
     .inOlderFiles = true},
};

constexpr Tweak kSystemTweaks[] = {
    {.control = u"chb3_0", .label = u"Disable aero shake",
     .hive = HKCU, .key = USER_EXPLORER_POLICY, .value = u"NoWindowMinimizingShortcuts",
     .read = R::AsStored, .apply = A::WritePending, .logOut = true,
     .explanation = u"Stops Windows from minimising every other window when you shake one by its title bar.",
     .note = u"On Windows 11 shaking is off unless you turned it on.",
     .inOlderFiles = true},
    {.control = u"chb3_1", .label = u"Add GodMode folder to the desktop",
     .hive = HKCU, .key = u"",
     .read = R::AlwaysZero, .apply = A::GodMode,
     .explanation = u"Puts a GodMode folder listing every Control Panel task on the desktop; unticking never removes it.",
     .inOlderFiles = true},
    {.control = u"chb3_2", .label = u"Stop Windows from adding \"- Shortcut\" to shortcut file names",
     .hive = HKCU, .key = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", .value = u"link",
     .read = R::ZeroBytes, .apply = A::ZeroBytesOrDelete, .logOut = true,
     .explanation = u"New shortcuts keep their target's name, without \"- Shortcut\" at the end.",
     .inOlderFiles = true},
    {.control = u"chb3_3", .label = u"Use verbose boot messages",
     .hive = HKLM, .key = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", .value = u"VerboseStatus",
     .read = R::AsStored, .apply = A::WritePending,
     .explanation = u"Shows what Windows is doing while it starts, signs in, signs out and shuts down.",
     .inOlderFiles = true},
    {.control = u"chb3_4", .label = u"Restore previous volume control",
     .hive = HKLM, .key = CURRENT_VERSION_NT u"\\MTCUVC", .value = u"EnableMtcUvc",
     .read = R::IsZero, .readDefault = 1, .apply = A::WriteOrDelete,
     .explanation = u"Brings back the volume slider of Windows 7 behind the taskbar's speaker icon.",
     .absent = {.fromBuild = kWindows11, .reason = u"Windows 11 has no previous volume control to bring back."},
     .inOlderFiles = true},
    {.control = u"chb3_5", .label = u"Hide Action Center",
     .hive = HKLM, .key = MACHINE_EXPLORER_POLICY, .value = u"DisableNotificationCenter",
     .read = R::AsStored, .apply = A::WriteOrDelete, .whenOne = 1, .logOut = true,
     .explanation = u"Removes the Action Center and its button from the taskbar.",
     .note = u"On Windows 11 it also removes the calendar flyout.",
     .inOlderFiles = true},
    {.control = u"chb3_6", .label = u"Remove OneDrive from File Explorer",
     .hive = HKCR, .key = u"CLSID\\{018D5C66-4533-4307-9B53-224DE2ED1FE6}", .value = u"System.IsPinnedToNameSpaceTree",
     .read = R::IsZero, .readDefault = 1, .apply = A::WriteEither, .otherwise = 1,
     .explanation = u"Takes OneDrive out of File Explorer's navigation pane; OneDrive itself keeps working.",
     .note = u"Where OneDrive registered itself per user, the setting lands in HKCU\\Software\\Classes.",
     .inOlderFiles = true},
    {.control = u"chb3_7", .label = u"Disable Cortana",
     .hive = HKCU, .key = u"Software\\Policies\\Microsoft\\Windows\\Windows Search", .value = u"AllowCortana", .machineKey = u"SOFTWARE\\Policies\\Microsoft\\Windows\\Windows Search",
     .read = R::IsZero, .readDefault = 1, .apply = A::WriteOrDelete, .logOut = true,
     .explanation = u"Turns Cortana off by policy; the search box stays.",
     .inOlderFiles = true},
    {.control = u"chb3_8", .label = u"Disable Lock Screen",
     .hive = HKLM, .key = u"SOFTWARE\\Policies\\Microsoft\\Windows\\Personalization", .value = u"NoLockScreen",
     .read = R::AsStored, .apply = A::WriteOrDelete, .whenOne = 1,
     .explanation = u"Skips the lock screen picture and goes straight to the sign-in screen.",
     .absent = {.fromBuild = 14393, .editions = Editions::HomeAndPro, .reason = u"Windows reads this setting on the Enterprise and Education editions only."},
     .inOlderFiles = true},
    {.control = u"chb3_9", .label = u"Paint Windows version onto the desktop",
     .hive = HKCU, .key = u"Control Panel\\Desktop", .value = u"PaintDesktopVersion",
     .read = R::AsStored, .apply = A::WritePending, .logOut = true,
     .explanation = u"Writes the Windows edition and build number in a corner of the desktop.",
     .note = u"It shows the build Windows has stored, which can lag the real one.",
     .inOlderFiles = true},
    {.control = u"chb3_10", .label = u"Add previous calculator",
     .hive = HKLM, .key = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe",
     .read = R::KeyExists, .apply = A::Calculator,
     .explanation = u"Installs the calculator of Windows 7 as calc1.exe, opened by \"calc\"; unticking removes it.",
     .inOlderFiles = true},
    {.control = u"chb3_11", .label = u"Disable \"Look for an app in the Microsoft Store\" item",
     .hive = HKCU, .key = USER_EXPLORER_POLICY, .value = u"NoUseStoreOpenWith", .machineKey = MACHINE_EXPLORER_POLICY,
     .read = R::AsStored, .apply = A::WriteOrDelete, .whenOne = 1,
     .explanation = u"Removes \"Look for an app in the Microsoft Store\" when Windows asks which program opens a file."},
    {.control = u"le3_12", .label = u"Registered owner",
     .hive = HKLM, .key = CURRENT_VERSION_NT, .value = u"RegisteredOwner",
     .read = R::Text, .apply = A::WriteText,
     .explanation = u"The owner's name that winver and program installers show."},
    {.control = u"le3_13", .label = u"Registered organization",
     .hive = HKLM, .key = CURRENT_VERSION_NT, .value = u"RegisteredOrganization",
     .read = R::Text, .apply = A::WriteText,
     .explanation = u"The organization that winver and program installers show."},
};

constexpr Tweak kSecurityTweaks[] = {
    {.control = u"rbtn4_0", .label = u"Disable autorun (recommended)",
     .hive = HKCU, .key = USER_POLICIES_EXPLORER, .value = u"NoDriveTypeAutoRun",
     .read = R::Equals255, .apply = A::WriteOrDelete, .whenOne = 255, .logOut = true,
     .explanation = u"Disable autorun: Windows starts nothing by itself from an inserted disc or USB drive; Enable autorun allows it again.",
     .inOlderFiles = true},
    {.control = u"chb4_1", .label = u"Enable secure log on CTRL+ALT+DELETE",
     .hive = HKLM, .key = CURRENT_VERSION_NT u"\\Winlogon", .value = u"DisableCAD",
     .read = R::IsZero, .apply = A::WriteEither, .otherwise = 1,
     .explanation = u"Asks for Ctrl+Alt+Delete before the sign-in screen, a key press no program can fake.",
     .note = u"A DisableCAD value under Policies\\System, where there is one, wins over this setting.",
     .inOlderFiles = true},
    {.control = u"chb4_2", .label = u"Disable Windows Script Host",
     .hive = HKCU, .key = u"Software\\Microsoft\\Windows Script Host\\Settings", .value = u"Enabled",
     .read = R::IsZero, .readDefault = 1, .apply = A::WriteEither, .otherwise = 1,
     .explanation = u"Stops .vbs and .js scripts from running through Windows Script Host, a common way in for malware.",
     .note = u"VBScript itself is being phased out of Windows.",
     .inOlderFiles = true},
    {.control = u"chb4_3", .label = u"Wipe the page file at shut down PC",
     .hive = HKLM, .key = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management", .value = u"ClearPageFileAtShutdown",
     .read = R::AsStored, .apply = A::WritePending,
     .explanation = u"Overwrites the page file at every shut-down, so no memory contents stay on disk; shutting down takes longer.",
     .inOlderFiles = true},
};

constexpr Tweak kPrivacyTweaks[] = {
    {.control = u"chb5_0", .label = u"Disable Compatibility telemetry",
     .hive = HKLM, .key = u"",
     .read = R::AppraiserTask, .apply = A::AppraiserTask,
     .explanation = u"Stops and disables the scheduled task that sends compatibility data to Microsoft.",
     .note = u"Newer Windows 11 builds have a second Appraiser task (\"... Exp\"), which this setting leaves alone."},
    {.control = u"chb5_1", .label = u"Disable Bing search in start menu",
     .hive = HKCU, .key = USER_EXPLORER_POLICY, .value = u"DisableSearchBoxSuggestions",
     .read = R::BingSearch, .apply = A::BingSearch, .logOut = true,
     .explanation = u"Start menu search no longer sends what you type to Bing and shows no web results.",
     .note = u"From Windows 10 version 2004 on it also turns off File Explorer's search history."},
};

} // namespace catalogue_rows
// clang-format on

#undef USER_NAMESPACE
#undef MACHINE_NAMESPACE
#undef ADVANCED
#undef USER_POLICIES_EXPLORER
#undef MACHINE_POLICIES_EXPLORER
#undef USER_EXPLORER_POLICY
#undef MACHINE_EXPLORER_POLICY
#undef CURRENT_VERSION_NT
#undef COPY_MOVE_HANDLERS
