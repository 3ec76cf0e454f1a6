// The catalogue checked row by row against the published tables, transcribed separately
// here, so that a typo on either side shows up.
#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

namespace {

std::string u8(const char16_t* s) {
    std::string out;
    for (; s && *s; ++s)
        out += static_cast<char>(*s);
    return out;
}

struct Row {
    const char* control;
    const char* label;
    Hive hive;
    const char* key;
    const char* value;
    const char* machineKey; // "" when the tweak lives in one hive
    std::uint32_t readDefault;
    bool logOut;
};

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine, CR = Hive::ClassesRoot;
#define NSU "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
#define NSM "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
#define ADV "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced"

// clang-format off
const Row kComputer[] = {
    {"chb0_0", "Recycle Bin", CU, NSU "{645FF040-5081-101B-9F08-00AA002F954E}", "", NSM "{645FF040-5081-101B-9F08-00AA002F954E}", 0, false},
    {"chb0_1", "All Control Panel Items", CU, NSU "{21EC2020-3AEA-1069-A2DD-08002B30309D}", "", NSM "{21EC2020-3AEA-1069-A2DD-08002B30309D}", 0, false},
    {"chb0_2", "Run", CU, NSU "{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}", "", NSM "{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}", 0, false},
    {"chb0_3", "Switch between windows", CU, NSU "{3080F90E-D7AD-11D9-BD98-0000947B0257}", "", NSM "{3080F90E-D7AD-11D9-BD98-0000947B0257}", 0, false},
    {"chb0_4", "Administrative Tools", CU, NSU "{D20EA4E1-3957-11D2-A40B-0C5020524153}", "", NSM "{D20EA4E1-3957-11D2-A40B-0C5020524153}", 0, false},
    {"chb0_5", "Network Connections", CU, NSU "{7007ACC7-3202-11D1-AAD2-00805FC1270E}", "", NSM "{7007ACC7-3202-11D1-AAD2-00805FC1270E}", 0, false},
    {"chb0_6", "Printers", CU, NSU "{2227A280-3AEA-1069-A2DE-08002B30309D}", "", NSM "{2227A280-3AEA-1069-A2DE-08002B30309D}", 0, false},
    {"chb0_7", "Hide 3D Objects folder", LM, NSM "{0DB7E03F-FC29-4DC6-9020-FF41B59E513A}", "", "", 0, false},
    {"chb0_8", "Hide Desktop folder", LM, NSM "{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", "", "", 0, false},
    {"chb0_9", "Hide Documents folder", LM, NSM "{d3162b92-9365-467a-956b-92703aca08af}", "", "", 0, false},
    {"chb0_10", "Hide Downloads folder", LM, NSM "{088e3905-0323-4b02-9826-5d99428e115f}", "", "", 0, false},
    {"chb0_11", "Hide Music folder", LM, NSM "{3dfdf296-dbec-4fb4-81d1-6a3438bcf4de}", "", "", 0, false},
    {"chb0_12", "Hide Pictures folder", LM, NSM "{24ad3ad4-a569-4530-98e1-ab02f9417aa8}", "", "", 0, false},
    {"chb0_13", "Hide Videos folder", LM, NSM "{f86fa3ab-70d2-4fc7-9c99-fcbf05467f3a}", "", "", 0, false},
};
const Row kTaskbar[] = {
    {"chb1_0", "Turn off thumbnail live preview", CU, ADV, "DisablePreviewWindow", "", 0, true},
    {"chb1_1", "Disable the system tray", CU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoTrayItemsDisplay", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", 0, true},
    {"spb1_2", "Taskbar thumbnail delay time", CU, ADV, "ExtendedUIHoverTime", "", 400, true},
    {"spb1_3", "Taskbar thumbnail live preview delay time", CU, ADV, "ThumbnailLivePreviewHoverTime", "", 1000, true},
    {"chb1_4", "Show seconds on taskbar clock", CU, ADV, "ShowSecondsInSystemClock", "", 0, true},
};
const Row kContextMenu[] = {
    {"chb2_0", "Copy To", CR, "AllFilesystemObjects\\shellex\\ContextMenuHandlers\\{C2FBB630-2971-11D1-A18C-00C04FD75D13}", "", "", 0, false},
    {"chb2_1", "Move To", CR, "AllFilesystemObjects\\shellex\\ContextMenuHandlers\\{C2FBB631-2971-11D1-A18C-00C04FD75D13}", "", "", 0, false},
    {"chb2_2", "Open with Notepad for all files", CR, "*\\shell\\Open with Notepad\\command", "", "", 0, false},
    {"chb2_3", "Take Ownership", CR, "*\\shell\\runas\\command", "", "", 0, false},
};
const Row kSystem[] = {
    {"chb3_0", "Disable aero shake", CU, "Software\\Policies\\Microsoft\\Windows\\Explorer", "NoWindowMinimizingShortcuts", "", 0, true},
    {"chb3_1", "Add GodMode folder to the desktop", CU, "", "", "", 0, false},
    {"chb3_2", "Stop Windows from adding \"- Shortcut\" to shortcut file names", CU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "link", "", 0, true},
    {"chb3_3", "Use verbose boot messages", LM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", "VerboseStatus", "", 0, false},
    {"chb3_4", "Restore previous volume control", LM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\MTCUVC", "EnableMtcUvc", "", 1, false},
    {"chb3_5", "Hide Action Center", LM, "SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer", "DisableNotificationCenter", "", 0, true},
    {"chb3_6", "Remove OneDrive from File Explorer", CR, "CLSID\\{018D5C66-4533-4307-9B53-224DE2ED1FE6}", "System.IsPinnedToNameSpaceTree", "", 1, false},
    {"chb3_7", "Disable Cortana", CU, "Software\\Policies\\Microsoft\\Windows\\Windows Search", "AllowCortana", "SOFTWARE\\Policies\\Microsoft\\Windows\\Windows Search", 1, true},
    {"chb3_8", "Disable Lock Screen", LM, "SOFTWARE\\Policies\\Microsoft\\Windows\\Personalization", "NoLockScreen", "", 0, false},
    {"chb3_9", "Paint Windows version onto the desktop", CU, "Control Panel\\Desktop", "PaintDesktopVersion", "", 0, true},
    {"chb3_10", "Add previous calculator", LM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe", "", "", 0, false},
    {"chb3_11", "Disable \"Look for an app in the Microsoft Store\" item", CU, "Software\\Policies\\Microsoft\\Windows\\Explorer", "NoUseStoreOpenWith", "SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer", 0, false},
    {"le3_12", "Registered owner", LM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner", "", 0, false},
    {"le3_13", "Registered organization", LM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOrganization", "", 0, false},
};
const Row kSecurity[] = {
    {"rbtn4_0", "Disable autorun (recommended)", CU, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoDriveTypeAutoRun", "", 0, true},
    {"chb4_1", "Enable secure log on CTRL+ALT+DELETE", LM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", "DisableCAD", "", 0, false},
    {"chb4_2", "Disable Windows Script Host", CU, "Software\\Microsoft\\Windows Script Host\\Settings", "Enabled", "", 1, false},
    {"chb4_3", "Wipe the page file at shut down PC", LM, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management", "ClearPageFileAtShutdown", "", 0, false},
};
const Row kPrivacy[] = {
    {"chb5_0", "Disable Compatibility telemetry", LM, "", "", "", 0, false},
    {"chb5_1", "Disable Bing search in start menu", CU, "Software\\Policies\\Microsoft\\Windows\\Explorer", "DisableSearchBoxSuggestions", "", 0, true},
};
// clang-format on

void expectPage(std::span<const Tweak> tweaks, std::span<const Row> rows) {
    ASSERT_EQ(tweaks.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Tweak& t = tweaks[i];
        const Row& r = rows[i];
        SCOPED_TRACE(r.control);
        EXPECT_EQ(u8(t.control), r.control);
        EXPECT_EQ(u8(t.label), r.label);
        EXPECT_EQ(t.hive, r.hive);
        EXPECT_EQ(u8(t.key), r.key);
        EXPECT_EQ(u8(t.value), r.value);
        EXPECT_EQ(u8(t.machineKey), r.machineKey);
        EXPECT_EQ(t.readDefault, r.readDefault);
        EXPECT_EQ(t.logOut, r.logOut);
    }
}

TEST(Catalogue, EveryPageMatchesThePublishedTable) {
    {
        SCOPED_TRACE("ComputerPage");
        expectPage(kComputerTweaks, kComputer);
    }
    {
        SCOPED_TRACE("TaskbarPage");
        expectPage(kTaskbarTweaks, kTaskbar);
    }
    {
        SCOPED_TRACE("ContextMenuPage");
        expectPage(kContextMenuTweaks, kContextMenu);
    }
    {
        SCOPED_TRACE("SystemPage");
        expectPage(kSystemTweaks, kSystem);
    }
    {
        SCOPED_TRACE("SecurityPage");
        expectPage(kSecurityTweaks, kSecurity);
    }
    {
        SCOPED_TRACE("PrivacyPage");
        expectPage(kPrivacyTweaks, kPrivacy);
    }
}

TEST(Catalogue, RulesOfTheSpecialItems) {
    EXPECT_EQ(kSystemTweaks[1].read, ReadRule::AlwaysZero);
    EXPECT_EQ(kSystemTweaks[1].apply, ApplyRule::GodMode);
    EXPECT_EQ(kSystemTweaks[10].apply, ApplyRule::Calculator);
    EXPECT_EQ(kContextMenuTweaks[3].apply, ApplyRule::TakeOwnership);
    EXPECT_EQ(kPrivacyTweaks[0].apply, ApplyRule::AppraiserTask);
    EXPECT_EQ(kPrivacyTweaks[1].apply, ApplyRule::BingSearch);
    EXPECT_EQ(u8(kContextMenuTweaks[2].text), "notepad.exe %1");
    // Written values of the flag tweaks: pending 1 and otherwise.
    const struct {
        const Tweak& tweak;
        ApplyRule rule;
        std::uint32_t whenOne, otherwise;
    } writes[] = {
        {kSystemTweaks[4], ApplyRule::WriteOrDelete, 0, 0},
        {kSystemTweaks[5], ApplyRule::WriteOrDelete, 1, 0},
        {kSystemTweaks[6], ApplyRule::WriteEither, 0, 1},
        {kSystemTweaks[7], ApplyRule::WriteOrDelete, 0, 0},
        {kSystemTweaks[8], ApplyRule::WriteOrDelete, 1, 0},
        {kSystemTweaks[11], ApplyRule::WriteOrDelete, 1, 0},
        {kSecurityTweaks[0], ApplyRule::WriteOrDelete, 255, 0},
        {kSecurityTweaks[1], ApplyRule::WriteEither, 0, 1},
        {kSecurityTweaks[2], ApplyRule::WriteEither, 0, 1},
    };
    for (const auto& w : writes) {
        SCOPED_TRACE(u8(w.tweak.control));
        EXPECT_EQ(w.tweak.apply, w.rule);
        EXPECT_EQ(w.tweak.whenOne, w.whenOne);
        if (w.rule == ApplyRule::WriteEither) {
            EXPECT_EQ(w.tweak.otherwise, w.otherwise);
        }
    }
}

TEST(Catalogue, TakeOwnershipValuesInWritingOrder) {
    const char* file = "cmd.exe /c takeown /f \"%1\" && icacls \"%1\" /grant administrators:F";
    const char* folder =
        "cmd.exe /c takeown /f \"%1\" /r /d y && icacls \"%1\" /grant administrators:F /t";
    const struct {
        const char *key, *value, *text;
    } expected[8] = {
        {"*\\shell\\runas", "", "Take Ownership"},
        {"*\\shell\\runas", "NoWorkingDirectory", ""},
        {"*\\shell\\runas\\command", "", file},
        {"*\\shell\\runas\\command", "IsolatedCommand", file},
        {"Directory\\shell\\runas", "", "Take Ownership"},
        {"Directory\\shell\\runas", "NoWorkingDirectory", ""},
        {"Directory\\shell\\runas\\command", "", folder},
        {"Directory\\shell\\runas\\command", "IsolatedCommand", folder},
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(u8(kTakeOwnershipValues[i].key), expected[i].key);
        EXPECT_EQ(u8(kTakeOwnershipValues[i].value), expected[i].value);
        EXPECT_EQ(u8(kTakeOwnershipValues[i].text), expected[i].text);
    }
    EXPECT_EQ(u8(kTakeOwnershipKeys[0]), "*\\shell\\runas\\command");
    EXPECT_EQ(u8(kTakeOwnershipKeys[1]), "*\\shell\\runas");
    EXPECT_EQ(u8(kTakeOwnershipKeys[2]), "Directory\\shell\\runas\\command");
    EXPECT_EQ(u8(kTakeOwnershipKeys[3]), "Directory\\shell\\runas");
}

TEST(Catalogue, DriveSlotsAndBuildDependentStorage) {
    EXPECT_EQ(kNoDrives.hive, Hive::LocalMachine);
    EXPECT_EQ(u8(kNoDrives.key),
              "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
    EXPECT_EQ(u8(kNoDrives.value), "NoDrives");
    EXPECT_TRUE(kDriveSlotLogOut);
    EXPECT_EQ(DriveSlot::item(0), 14u);
    EXPECT_EQ(DriveSlot::item(25), 39u);
    EXPECT_EQ(DriveSlot::bit(25), 0x2000000u);
    EXPECT_EQ(kBingSearch.build, 19041u);
    EXPECT_EQ(u8(kBingSearch.writeKey), "SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer");
    EXPECT_EQ(u8(kBingSearch.oldReadKey), "Software\\Microsoft\\Windows\\CurrentVersion\\Search");
    EXPECT_EQ(u8(kBingSearch.oldWriteKey), "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Search");
    EXPECT_EQ(u8(kBingSearch.oldValue), "BingSearchEnabled");
    EXPECT_EQ(u8(kBingSearch.oldValue2), "CortanaConsent");
}

TEST(Catalogue, ControlNamesAreUniqueAndNumberedByPageAndItem) {
    std::set<std::string> names;
    const std::span<const Tweak> pages[] = {kComputerTweaks, kTaskbarTweaks,  kContextMenuTweaks,
                                            kSystemTweaks,   kSecurityTweaks, kPrivacyTweaks};
    for (std::size_t page = 0; page < 6; ++page) {
        for (std::size_t item = 0; item < pages[page].size(); ++item) {
            const std::string name = u8(pages[page][item].control);
            EXPECT_TRUE(names.insert(name).second) << name;
            const std::string suffix = std::to_string(page) + "_" + std::to_string(item);
            EXPECT_EQ(name.substr(name.size() - suffix.size()), suffix) << name;
        }
    }
}

} // namespace
