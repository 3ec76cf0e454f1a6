// Applying changes against the in-memory platform: each apply rule's effect, the order of
// operations where it matters, the NoDrives step and the log-out flag.
#include "tests/engine/engine_fixture.h"

#include "engine/catalogue.h"
#include "engine/change_outcome.h"
#include "engine/drives.h"
#include "engine/file_tweaks.h"
#include "engine/text.h"

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine, CR = Hive::ClassesRoot;
const char16_t* const kPolicies =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char16_t* const kMachinePolicies =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

bool has(Hive h, const char16_t* key, const char16_t* name) {
    return RegValueExists(h, key, name);
}
std::uint32_t dw(Hive h, const char16_t* key, const char16_t* name) {
    return ReadRegDword(h, key, name, 0xdeadbeef);
}

std::vector<std::string> log() {
    std::vector<std::string> out;
    for (const auto& op : memreg::Log()) {
        if (op.verb == "create") continue; // keys created on the way by writes
        out.push_back(op.verb + " " + toUtf8(op.path) +
                      (op.name.empty() ? "" : "," + toUtf8(op.name)));
    }
    return out;
}

struct ApplyCase {
    const char* what;
    int page;
    std::size_t item;
    std::function<void()> prepare;
    std::uint32_t pending;
    std::function<void()> check;
    std::uint32_t logOut;
};

using ApplyTest = EngineTest;

TEST_F(ApplyTest, EveryApplyRuleForPendingOneAndOtherwise) {
    const auto& recycle = kComputerTweaks[0];
    const auto& threeD = kComputerTweaks[7];
    const auto& link = kSystemTweaks[2];
    const std::vector<ApplyCase> cases = {
        {"add folder", 0, 0, [] {}, 1,
         [&] {
             EXPECT_TRUE(RegKeyExists(CU, recycle.key));
             EXPECT_FALSE(RegKeyExists(LM, recycle.machineKey));
         },
         0},
        {"remove folder from both hives", 0, 0,
         [&] { CreateRegKey(CU, recycle.key), CreateRegKey(LM, recycle.machineKey); }, 0,
         [&] {
             EXPECT_FALSE(RegKeyExists(CU, recycle.key));
             EXPECT_FALSE(RegKeyExists(LM, recycle.machineKey));
         },
         0},
        {"remove machine-wide folder", 0, 0, [&] { CreateRegKey(LM, recycle.machineKey); }, 0,
         [&] { EXPECT_FALSE(RegKeyExists(LM, recycle.machineKey)); }, 0},
        {"hide 3D objects", 0, 7, [&] { CreateRegKey(LM, threeD.key); }, 1,
         [&] { EXPECT_FALSE(RegKeyExists(LM, threeD.key)); }, 0},
        {"show 3D objects", 0, 7, [] {}, 0, [&] { EXPECT_TRUE(RegKeyExists(LM, threeD.key)); }, 0},
        {"live preview off", 1, 0, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kTaskbarTweaks[0].key, u"DisablePreviewWindow"), 1u); }, 1},
        {"tray per user and machine-wide", 1, 1,
         [] {
             WriteRegDword(LM, kMachinePolicies, u"NoTrayItemsDisplay", 1),
                 WriteRegDword(CU, kPolicies, u"NoTrayItemsDisplay", 0);
         },
         0,
         [] {
             EXPECT_EQ(dw(CU, kPolicies, u"NoTrayItemsDisplay"), 0u);
             EXPECT_FALSE(has(LM, kMachinePolicies, u"NoTrayItemsDisplay"));
         },
         1},
        {"hover time", 1, 2, [] {}, 50,
         [] { EXPECT_EQ(dw(CU, kTaskbarTweaks[2].key, u"ExtendedUIHoverTime"), 50u); }, 1},
        {"seconds", 1, 4, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kTaskbarTweaks[4].key, u"ShowSecondsInSystemClock"), 1u); }, 1},
        {"copy to", 2, 0, [] {}, 1,
         [] { EXPECT_TRUE(RegKeyExists(CR, kContextMenuTweaks[0].key)); }, 0},
        {"no move to", 2, 1, [] { CreateRegKey(CR, kContextMenuTweaks[1].key); }, 0,
         [] { EXPECT_FALSE(RegKeyExists(CR, kContextMenuTweaks[1].key)); }, 0},
        {"notepad", 2, 2, [] {}, 1,
         [] {
             char16_t b[64];
             EXPECT_EQ(
                 std::u16string(ReadRegString(CR, kContextMenuTweaks[2].key, u"", b, 64, u"")),
                 u"notepad.exe %1");
         },
         0},
        {"no notepad", 2, 2,
         [] { WriteRegString(CR, kContextMenuTweaks[2].key, u"", u"notepad.exe %1"); }, 0,
         [] { EXPECT_FALSE(RegKeyExists(CR, u"*\\shell\\Open with Notepad")); }, 0},
        {"no aero shake", 3, 0, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kSystemTweaks[0].key, u"NoWindowMinimizingShortcuts"), 1u); }, 1},
        {"no shortcut suffix", 3, 2, [] {}, 1,
         [&] {
             unsigned char b[4];
             const unsigned char d[4] = {9, 9, 9, 9};
             EXPECT_TRUE(ReadRegData(CU, link.key, u"link", b, 4, d));
             EXPECT_EQ(dw(CU, link.key, u"link"), 0u);
         },
         1},
        {"shortcut suffix again", 3, 2,
         [&] {
             const unsigned char z[4] = {};
             WriteRegBinary(CU, link.key, u"link", z, 4);
         },
         0, [&] { EXPECT_FALSE(has(CU, link.key, u"link")); }, 1},
        {"verbose", 3, 3, [] {}, 1,
         [] { EXPECT_EQ(dw(LM, kSystemTweaks[3].key, u"VerboseStatus"), 1u); }, 0},
        {"old volume control", 3, 4, [] {}, 1,
         [] { EXPECT_EQ(dw(LM, kSystemTweaks[4].key, u"EnableMtcUvc"), 0u); }, 0},
        {"new volume control", 3, 4,
         [] { WriteRegDword(LM, kSystemTweaks[4].key, u"EnableMtcUvc", 0); }, 0,
         [] { EXPECT_FALSE(has(LM, kSystemTweaks[4].key, u"EnableMtcUvc")); }, 0},
        {"hide action center", 3, 5, [] {}, 1,
         [] { EXPECT_EQ(dw(LM, kSystemTweaks[5].key, u"DisableNotificationCenter"), 1u); }, 1},
        {"remove onedrive", 3, 6, [] {}, 1,
         [] { EXPECT_EQ(dw(CR, kSystemTweaks[6].key, u"System.IsPinnedToNameSpaceTree"), 0u); }, 0},
        {"restore onedrive", 3, 6,
         [] { WriteRegDword(CR, kSystemTweaks[6].key, u"System.IsPinnedToNameSpaceTree", 0); }, 0,
         [] { EXPECT_EQ(dw(CR, kSystemTweaks[6].key, u"System.IsPinnedToNameSpaceTree"), 1u); }, 0},
        {"no cortana", 3, 7, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kSystemTweaks[7].key, u"AllowCortana"), 0u); }, 1},
        {"cortana again in both hives", 3, 7,
         [] {
             WriteRegDword(LM, kSystemTweaks[7].machineKey, u"AllowCortana", 0),
                 WriteRegDword(CU, kSystemTweaks[7].key, u"AllowCortana", 0);
         },
         0,
         [] {
             EXPECT_FALSE(has(CU, kSystemTweaks[7].key, u"AllowCortana"));
             EXPECT_FALSE(has(LM, kSystemTweaks[7].machineKey, u"AllowCortana"));
         },
         1},
        {"no lock screen", 3, 8, [] {}, 1,
         [] { EXPECT_EQ(dw(LM, kSystemTweaks[8].key, u"NoLockScreen"), 1u); }, 0},
        {"paint version", 3, 9, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kSystemTweaks[9].key, u"PaintDesktopVersion"), 1u); }, 1},
        {"store item per user", 3, 11, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kSystemTweaks[11].key, u"NoUseStoreOpenWith"), 1u); }, 0},
        {"store item back in both hives", 3, 11,
         [] { WriteRegDword(LM, kSystemTweaks[11].machineKey, u"NoUseStoreOpenWith", 1); }, 0,
         [] { EXPECT_FALSE(has(LM, kSystemTweaks[11].machineKey, u"NoUseStoreOpenWith")); }, 0},
        {"autorun off", 4, 0, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kPolicies, u"NoDriveTypeAutoRun"), 255u); }, 1},
        {"autorun on", 4, 0, [] { WriteRegDword(CU, kPolicies, u"NoDriveTypeAutoRun", 255); }, 0,
         [] { EXPECT_FALSE(has(CU, kPolicies, u"NoDriveTypeAutoRun")); }, 1},
        {"secure logon", 4, 1, [] { WriteRegDword(LM, kSecurityTweaks[1].key, u"DisableCAD", 1); },
         1, [] { EXPECT_EQ(dw(LM, kSecurityTweaks[1].key, u"DisableCAD"), 0u); }, 0},
        {"no secure logon", 4, 1, [] {}, 0,
         [] { EXPECT_EQ(dw(LM, kSecurityTweaks[1].key, u"DisableCAD"), 1u); }, 0},
        {"script host off", 4, 2, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kSecurityTweaks[2].key, u"Enabled"), 0u); }, 0},
        {"script host value 2 counts as off", 4, 2,
         [] { WriteRegDword(CU, kSecurityTweaks[2].key, u"Enabled", 0); }, 2,
         [] { EXPECT_EQ(dw(CU, kSecurityTweaks[2].key, u"Enabled"), 1u); }, 0},
        {"wipe page file", 4, 3, [] {}, 1,
         [] { EXPECT_EQ(dw(LM, kSecurityTweaks[3].key, u"ClearPageFileAtShutdown"), 1u); }, 0},
        {"bing new build", 5, 1, [] {}, 1,
         [] { EXPECT_EQ(dw(CU, kBingSearch.readKey, u"DisableSearchBoxSuggestions"), 1u); }, 1},
        {"bing new build back", 5, 1,
         [] { WriteRegDword(CU, kBingSearch.readKey, u"DisableSearchBoxSuggestions", 1); }, 0,
         [] { EXPECT_FALSE(has(CU, kBingSearch.readKey, u"DisableSearchBoxSuggestions")); }, 1},
        {"bing old build", 5, 1, [this] { setBuild(u"17763"); }, 1,
         [] {
             EXPECT_EQ(dw(CU, kBingSearch.oldReadKey, u"BingSearchEnabled"), 0u);
             EXPECT_EQ(dw(CU, kBingSearch.oldReadKey, u"CortanaConsent"), 0u);
             EXPECT_FALSE(has(CU, kBingSearch.readKey, u"DisableSearchBoxSuggestions"));
         },
         1},
        {"bing old build back", 5, 1,
         [this] {
             setBuild(u"17763"), WriteRegDword(CU, kBingSearch.oldReadKey, u"BingSearchEnabled", 0),
                 WriteRegDword(CU, kBingSearch.oldReadKey, u"CortanaConsent", 0);
         },
         0,
         [] {
             EXPECT_FALSE(has(CU, kBingSearch.oldReadKey, u"BingSearchEnabled"));
             EXPECT_FALSE(has(CU, kBingSearch.oldReadKey, u"CortanaConsent"));
         },
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        memreg::Reset();
        fakes::Reset();
        setBuild(u"19041");
        c.prepare();
        read();
        keepAll();
        ASSERT_NE(item(c.page, c.item).current.number, c.pending)
            << "the case must change the item";
        item(c.page, c.item).pending.number = c.pending;
        EXPECT_EQ(apply(), c.logOut);
        c.check();
    }
}

TEST_F(ApplyTest, NothingChangedWritesOnlyTheNoDrivesStep) {
    fakes::SetDriveMask(0x0C); // C D
    WriteRegDword(LM, kMachinePolicies, u"NoDrives", 8);
    read();
    keepAll();
    memreg::ClearLog();
    const std::size_t taskCalls = fakes::TaskCalls().size();
    EXPECT_EQ(apply(), 0u);
    EXPECT_EQ(log(), (std::vector<std::string>{"set " + toUtf8(kMachinePolicies) + ",NoDrives"}));
    EXPECT_EQ(dw(LM, kMachinePolicies, u"NoDrives"), 8u);
    EXPECT_EQ(fakes::TaskCalls().size(), taskCalls) << "no task command";

    WriteRegDword(LM, kMachinePolicies, u"NoDrives", 0);
    read();
    keepAll();
    memreg::ClearLog();
    EXPECT_EQ(apply(), 0u);
    EXPECT_EQ(log(),
              (std::vector<std::string>{"delete-value " + toUtf8(kMachinePolicies) + ",NoDrives"}));
    memreg::ClearLog();
    read();
    keepAll();
    EXPECT_EQ(apply(), 0u);
    EXPECT_TRUE(log().empty()) << "an absent NoDrives stays absent";
}

TEST_F(ApplyTest, DriveSlotsSetAndClearTheBitOfTheDriveTheyStandFor) {
    fakes::SetDriveMask(0x0C); // C D: slot 1 is D
    read();
    keepAll();
    m.computer.items[DriveSlot::item(1)].pending.number = 1;
    EXPECT_EQ(apply(), 1u);
    EXPECT_EQ(dw(LM, kMachinePolicies, u"NoDrives"), 8u);

    read();
    EXPECT_EQ(m.computer.items[DriveSlot::item(1)].current.number, 1u);
    keepAll();
    m.computer.items[DriveSlot::item(1)].pending.number = 0;
    EXPECT_EQ(apply(), 1u);
    EXPECT_FALSE(has(LM, kMachinePolicies, u"NoDrives"));

    // A slot beyond the present drives changes nothing in NoDrives, though it counts as
    // changed.
    read();
    keepAll();
    m.computer.items[DriveSlot::item(5)].pending.number = 1;
    EXPECT_EQ(apply(), 1u);
    EXPECT_FALSE(has(LM, kMachinePolicies, u"NoDrives"));
}

TEST_F(ApplyTest, DriveSlotsKeepTheLettersTheyWereReadWithWhileDrivesComeAndGo) {
    fakes::SetDriveMask(0x14); // C E, E hidden: slot 1 is E
    WriteRegDword(LM, kMachinePolicies, u"NoDrives", 0x10);
    const std::uint32_t shown = PresentDriveMask();
    ReadSystemState(m, trail, shown);
    fakes::SetDriveMask(0x0C); // then D comes and E goes
    // Apply twice with the boxes as shown (E hidden), reading again after each.
    for (int click = 0; click < 2; ++click) {
        SCOPED_TRACE(click);
        keepAll();
        m.computer.items[DriveSlot::item(1)].pending.number = 1;
        ApplyChanges(m, trail, shown);
        ReadSystemState(m, trail, shown);
        EXPECT_EQ(dw(LM, kMachinePolicies, u"NoDrives"), 0x10u);
        EXPECT_EQ(m.computer.items[DriveSlot::item(1)].current.number, 1u);
    }
    keepAll();
    m.computer.items[DriveSlot::item(1)].pending.number = 0; // show E again, absent or not
    ApplyChanges(m, trail, shown);
    EXPECT_FALSE(has(LM, kMachinePolicies, u"NoDrives"));
}

TEST_F(ApplyTest, UnrelatedBitsOfNoDrivesSurvive) {
    fakes::SetDriveMask(0x0C);
    WriteRegDword(LM, kMachinePolicies, u"NoDrives", 0x04000000 | 0x1);
    read();
    keepAll();
    m.computer.items[DriveSlot::item(0)].pending.number = 1; // C
    apply();
    EXPECT_EQ(dw(LM, kMachinePolicies, u"NoDrives"), 0x04000000u | 0x1u | 0x4u);
}

TEST_F(ApplyTest, TextsAreWrittenOnlyWhenTheyDiffer) {
    const std::u16string seventy(70, u'O');
    WriteRegString(LM, kSystemTweaks[12].key, u"RegisteredOwner", seventy.c_str());
    read();
    keepAll();
    memreg::ClearLog();
    apply();
    EXPECT_TRUE(log().empty()) << "the first fifty characters are unchanged";
    SetPendingText(m.system, 12, u"");
    EXPECT_EQ(apply(), 0u);
    const auto raw = log();
    ASSERT_EQ(raw.size(), 1u);
    char16_t b[8];
    EXPECT_EQ(
        std::u16string(ReadRegString(LM, kSystemTweaks[12].key, u"RegisteredOwner", b, 8, u"x")),
        u"");
}

TEST_F(ApplyTest, TakeOwnershipAndNotepadKeepTheirOrder) {
    read();
    keepAll();
    m.contextMenu.items[3].pending.number = 1;
    memreg::ClearLog();
    apply();
    std::vector<std::string> expected;
    for (const auto& v : kTakeOwnershipValues)
        expected.push_back("set " + toUtf8(v.key) + (*v.value ? "," + toUtf8(v.value) : ""));
    EXPECT_EQ(log(), expected);

    WriteRegString(CR, kContextMenuTweaks[2].key, u"", u"notepad.exe %1");
    read();
    EXPECT_EQ(m.contextMenu.items[2].current.number, 1u);
    EXPECT_EQ(m.contextMenu.items[3].current.number, 1u);
    keepAll();
    m.contextMenu.items[2].pending.number = 0;
    m.contextMenu.items[3].pending.number = 0;
    memreg::ClearLog();
    apply();
    EXPECT_EQ(log(), (std::vector<std::string>{"delete-key *\\shell\\Open with Notepad\\command",
                                               "delete-key *\\shell\\Open with Notepad",
                                               "delete-key *\\shell\\runas\\command",
                                               "delete-key *\\shell\\runas",
                                               "delete-key Directory\\shell\\runas\\command",
                                               "delete-key Directory\\shell\\runas"}));
}

TEST_F(ApplyTest, TelemetryRunsQueryEndDisableOrEnable) {
    const std::string task =
        " \\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser";
    const struct {
        const char* what;
        std::uint32_t before; // TASK_STATE
        std::uint32_t pending;
        std::vector<std::string> calls;
        std::uint32_t after;
    } cases[] = {
        {"running", 4, 1, {"state" + task, "stop" + task, "disable" + task}, 1},
        {"ready", 3, 1, {"state" + task, "disable" + task}, 1},
        {"enable", 1, 0, {"enable" + task}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::Reset();
        fakes::SetTaskState(c.before);
        std::memset(&m, 0, sizeof m);
        m.privacy.items[0].current.number = c.pending == 1 ? 0 : 1;
        m.privacy.items[0].pending.number = c.pending;
        EXPECT_EQ(apply(), 0u) << "the telemetry item needs no log-out";
        EXPECT_EQ(fakes::TaskCalls(), c.calls);
        EXPECT_EQ(fakes::TaskStateNow(), c.after);
        EXPECT_STREQ(trail.text, "101000#");
    }
}

TEST_F(ApplyTest, ARefusedMachineWideWriteLeavesTheTweakAndTheSequenceGoesOn) {
    memreg::Refuse(LM, u"SOFTWARE\\Policies");
    memreg::Refuse(LM, u"SOFTWARE\\Microsoft\\Windows NT");
    fakes::SetDriveMask(0x14); // C E
    read();
    keepAll();
    m.computer.items[DriveSlot::item(1)].pending.number = 1; // hide E
    m.system.items[1].pending.number = 1;                    // GodMode, a one-shot action
    m.system.items[5].pending.number = 1; // Hide Action Center, HKLM, needs a log-out
    m.system.items[9].pending.number = 1; // Paint version, HKCU, later in the order
    SetPendingText(m.system, 12, u"Refused Owner");
    const FeatureModel asked = m;
    EXPECT_EQ(apply(), 1u) << "the flag follows the comparison, not the writes";
    EXPECT_FALSE(has(LM, kSystemTweaks[5].key, u"DisableNotificationCenter"));
    EXPECT_EQ(dw(CU, kSystemTweaks[9].key, u"PaintDesktopVersion"), 1u);
    read();
    EXPECT_EQ(m.system.items[5].current.number, 0u);
    EXPECT_EQ(m.system.items[9].current.number, 1u);

    // Which changes took, as the window and vlk report them.
    const std::vector<TweakChange> changes = ChangedTweaks(asked, &m);
    std::vector<std::string> seen;
    for (const TweakChange& c : changes)
        seen.push_back(toUtf8(kPageNames[c.page]) + "|" +
                       toUtf8(TweakLabel(c, PresentDriveMask())) + (c.held ? "|held" : "|not"));
    EXPECT_EQ(seen, (std::vector<std::string>{"This PC|Hide drive E|held",
                                              "System|Add GodMode folder to the desktop|held",
                                              "System|Hide Action Center|not",
                                              "System|Paint Windows version onto the desktop|held",
                                              "System|Registered owner|not"}));
    EXPECT_TRUE(LogOutAfter(changes));
    EXPECT_FALSE(LogOutAfter({changes[2], changes[4]})) << "no log-out for changes refused";
}

TEST_F(ApplyTest, FileTweaksRunFromTheirItems) {
    fakes::AddFile(u"C:\\Program\\data\\datax64.dat", "calc");
    read();
    keepAll();
    m.system.items[1].pending.number = 1;
    m.system.items[10].pending.number = 1;
    EXPECT_EQ(apply(), 0u);
    EXPECT_TRUE(fakes::FolderExists(
        u"C:\\Users\\user\\Desktop\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}"));
    EXPECT_EQ(fakes::FileBytes(u"C:\\Windows\\System32\\calc1.exe"), "calc");
    read();
    EXPECT_EQ(m.system.items[1].current.number, 0u) << "the GodMode item is a one-shot command";
    EXPECT_EQ(m.system.items[10].current.number, 1u);
}

TEST_F(ApplyTest, ASecondApplyAfterARereadChangesNothing) {
    fakes::SetDriveMask(0x1C);
    read();
    keepAll();
    for (FeatureItem& it : m.taskbar.items)
        it.pending.number = it.current.number + 1;
    m.security.items[0].pending.number = 1;
    m.computer.items[DriveSlot::item(2)].pending.number = 1;
    EXPECT_EQ(apply(), 1u);
    FeatureModel chosen = m;
    read();
    for (std::size_t i = 0; i < kTaskbarItems; ++i)
        EXPECT_EQ(m.taskbar.items[i].current.number, chosen.taskbar.items[i].pending.number);
    keepAll();
    memreg::ClearLog();
    EXPECT_EQ(apply(), 0u);
    EXPECT_EQ(log(), (std::vector<std::string>{"set " + toUtf8(kMachinePolicies) + ",NoDrives"}));
}

} // namespace
