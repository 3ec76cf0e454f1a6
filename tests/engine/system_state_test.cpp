// Reading every tweak from the in-memory platform.
#include "tests/engine/engine_fixture.h"

#include "engine/catalogue.h"

#include <functional>
#include <string>
#include <vector>

namespace {

#define NS u"\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
const char16_t* const kRecycleUser = u"Software" NS u"{645FF040-5081-101B-9F08-00AA002F954E}";
const char16_t* const kRecycleMachine = u"SOFTWARE" NS u"{645FF040-5081-101B-9F08-00AA002F954E}";
const char16_t* const kPolicies =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char16_t* const kExplorerPolicy = u"Software\\Policies\\Microsoft\\Windows\\Explorer";
const char16_t* const kSearchPolicy = u"Software\\Policies\\Microsoft\\Windows\\Windows Search";
const char16_t* const kAdvanced =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const char16_t* const kNt = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine, CR = Hive::ClassesRoot;

void dword(Hive h, const char16_t* key, const char16_t* name, std::uint32_t v) {
    ASSERT_TRUE(WriteRegDword(h, key, name, v));
}
void text(Hive h, const char16_t* key, const char16_t* name, const char16_t* v) {
    ASSERT_TRUE(WriteRegString(h, key, name, v));
}
struct ReadCase {
    const char* what;
    int page;
    std::size_t item;
    std::function<void()> prepare;
    std::uint32_t current;
    std::uint32_t machineWide;
};

using ReadStateTest = EngineTest;

TEST_F(ReadStateTest, EveryReadRuleWithItsDefaultAndItsBranches) {
    const unsigned char zeros[5] = {};
    const unsigned char ones[4] = {1, 1, 1, 1};
    const std::vector<ReadCase> cases = {
        {"folder nowhere", 0, 0, [] {}, 0, 0},
        {"folder machine-wide only", 0, 0, [&] { CreateRegKey(LM, kRecycleMachine); }, 1, 1},
        {"folder per user only", 0, 0, [&] { CreateRegKey(CU, kRecycleUser); }, 1, 0},
        {"folder in both", 0, 0,
         [&] { CreateRegKey(CU, kRecycleUser), CreateRegKey(LM, kRecycleMachine); }, 1, 1},
        {"standard folder shown", 0, 7, [] { CreateRegKey(LM, kComputerTweaks[7].key); }, 0, 0},
        {"standard folder hidden", 0, 7, [] {}, 1, 0},
        {"live preview missing", 1, 0, [] {}, 0, 0},
        {"live preview as stored", 1, 0, [] { dword(CU, kAdvanced, u"DisablePreviewWindow", 2); },
         2, 0},
        {"tray machine 1 user 0", 1, 1,
         [] {
             dword(LM, kPolicies, u"NoTrayItemsDisplay", 1),
                 dword(CU, kPolicies, u"NoTrayItemsDisplay", 0);
         },
         1, 1},
        {"tray user 3", 1, 1, [] { dword(CU, kPolicies, u"NoTrayItemsDisplay", 3); }, 3, 0},
        {"hover default", 1, 2, [] {}, 400, 0},
        {"live hover default", 1, 3, [] {}, 1000, 0},
        {"hover stored", 1, 2, [] { dword(CU, kAdvanced, u"ExtendedUIHoverTime", 20); }, 20, 0},
        {"copy to", 2, 0, [] { CreateRegKey(CR, kContextMenuTweaks[0].key); }, 1, 0},
        {"move to absent", 2, 1, [] {}, 0, 0},
        {"notepad exact", 2, 2,
         [] { text(CR, u"*\\shell\\Open with Notepad\\command", u"", u"notepad.exe %1"); }, 1, 0},
        {"notepad other case", 2, 2,
         [] { text(CR, u"*\\shell\\Open with Notepad\\command", u"", u"NOTEPAD.EXE %1"); }, 0, 0},
        {"notepad trailing space", 2, 2,
         [] { text(CR, u"*\\shell\\Open with Notepad\\command", u"", u"notepad.exe %1 "); }, 0, 0},
        {"take ownership complete", 2, 3,
         [] {
             for (const auto& v : kTakeOwnershipValues)
                 text(CR, v.key, v.value, v.text);
         },
         1, 0},
        {"take ownership without folder isolated command", 2, 3,
         [] {
             for (std::size_t i = 0; i < 7; ++i)
                 text(CR, kTakeOwnershipValues[i].key, kTakeOwnershipValues[i].value,
                      kTakeOwnershipValues[i].text);
         },
         0, 0},
        {"godmode reads 0 though the folder exists", 3, 1,
         [] {
             fakes::AddFolder(
                 u"C:\\Users\\user\\Desktop\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}");
         },
         0, 0},
        {"link four zero bytes", 3, 2,
         [&] { WriteRegBinary(CU, kSystemTweaks[2].key, u"link", zeros, 4); }, 1, 0},
        {"link missing", 3, 2, [] {}, 0, 0},
        {"link five zero bytes", 3, 2,
         [&] { WriteRegBinary(CU, kSystemTweaks[2].key, u"link", zeros, 5); }, 0, 0},
        {"link default bytes", 3, 2,
         [&] { WriteRegBinary(CU, kSystemTweaks[2].key, u"link", ones, 4); }, 0, 0},
        {"volume control missing", 3, 4, [] {}, 0, 0},
        {"volume control 0", 3, 4, [] { dword(LM, kSystemTweaks[4].key, u"EnableMtcUvc", 0); }, 1,
         0},
        {"onedrive missing", 3, 6, [] {}, 0, 0},
        {"onedrive 0", 3, 6,
         [] { dword(CR, kSystemTweaks[6].key, u"System.IsPinnedToNameSpaceTree", 0); }, 1, 0},
        {"cortana missing in both", 3, 7, [] {}, 0, 0},
        {"cortana 0 per user", 3, 7, [] { dword(CU, kSearchPolicy, u"AllowCortana", 0); }, 1, 0},
        {"cortana 0 machine-wide", 3, 7,
         [] {
             dword(LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Windows Search", u"AllowCortana",
                   0);
         },
         1, 1},
        {"calculator registered", 3, 10, [] { CreateRegKey(LM, kSystemTweaks[10].key); }, 1, 0},
        {"store item machine-wide", 3, 11,
         [] {
             dword(LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer", u"NoUseStoreOpenWith",
                   1);
         },
         1, 1},
        {"store item per user", 3, 11, [] { dword(CU, kExplorerPolicy, u"NoUseStoreOpenWith", 1); },
         1, 0},
        {"autorun 255", 4, 0, [] { dword(CU, kPolicies, u"NoDriveTypeAutoRun", 255); }, 1, 0},
        {"autorun 511", 4, 0, [] { dword(CU, kPolicies, u"NoDriveTypeAutoRun", 511); }, 0, 0},
        {"autorun 145", 4, 0, [] { dword(CU, kPolicies, u"NoDriveTypeAutoRun", 145); }, 0, 0},
        {"secure logon missing", 4, 1, [] {}, 1, 0},
        {"secure logon disabled", 4, 1, [] { dword(LM, kSecurityTweaks[1].key, u"DisableCAD", 1); },
         0, 0},
        {"script host missing", 4, 2, [] {}, 0, 0},
        {"script host 0", 4, 2, [] { dword(CU, kSecurityTweaks[2].key, u"Enabled", 0); }, 1, 0},
        {"page file", 4, 3,
         [] { dword(LM, kSecurityTweaks[3].key, u"ClearPageFileAtShutdown", 1); }, 1, 0},
        {"bing new build", 5, 1,
         [] { dword(CU, kExplorerPolicy, u"DisableSearchBoxSuggestions", 1); }, 1, 0},
        {"bing old build value 0", 5, 1,
         [this] { setBuild(u"18362"), dword(CU, kBingSearch.oldReadKey, u"BingSearchEnabled", 0); },
         1, 0},
        {"bing old build value 1", 5, 1,
         [this] { setBuild(u"18362"), dword(CU, kBingSearch.oldReadKey, u"BingSearchEnabled", 1); },
         0, 0},
        {"bing old build missing", 5, 1, [this] { setBuild(u"18362"); }, 0, 0},
        {"bing old build ignores the new value", 5, 1,
         [this] {
             setBuild(u"19040"), dword(CU, kExplorerPolicy, u"DisableSearchBoxSuggestions", 1);
         },
         0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        memreg::Reset();
        fakes::Reset();
        setBuild(u"19041");
        c.prepare();
        std::memset(&m, 0xbd, sizeof m);
        read();
        EXPECT_EQ(item(c.page, c.item).current.number, c.current);
        EXPECT_EQ(item(c.page, c.item).machineWide, c.machineWide);
        EXPECT_EQ(item(c.page, c.item).pending.number, 0u);
    }
}

TEST_F(ReadStateTest, EveryItemIsWrittenWholeAndTextsAreCutToFifty) {
    const std::u16string seventy(70, u'O');
    text(LM, kNt, u"RegisteredOwner", seventy.c_str());
    text(LM, kNt, u"RegisteredOrganization", u"Quenorith");
    std::memset(&m, 0xbd, sizeof m);
    read();
    EXPECT_EQ(std::u16string(m.system.items[12].current.text), std::u16string(50, u'O'));
    EXPECT_EQ(std::u16string(m.system.items[13].current.text), u"Quenorith");
    const FeatureItem* all = reinterpret_cast<const FeatureItem*>(&m);
    for (std::size_t i = 0; i < sizeof m / sizeof(FeatureItem); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(all[i].pending.number, 0u);
        EXPECT_NE(all[i].current.number, 0xbdbdbdbdu);
        EXPECT_NE(all[i].machineWide, 0xbdbdbdbdu);
        EXPECT_EQ(all[i].current.text[50], u'\0') << "nothing of the previous contents is left";
    }
}

struct DriveCase {
    const char* what;
    std::uint32_t present;
    bool stored;
    std::uint32_t noDrives;
    std::vector<std::size_t> hiddenSlots;
};

TEST_F(ReadStateTest, DriveSlotsFollowThePresentDrivesInLetterOrder) {
    const std::uint32_t C = 1u << 2, D = 1u << 3, E = 1u << 4, G = 1u << 6, Z = 1u << 25;
    const std::vector<DriveCase> cases = {
        {"C hidden of C D E", C | D | E, true, 4, {0}},
        {"everything hidden", C | D | E, true, 0x03FFFFFF, {0, 1, 2}},
        {"D hidden on a machine without D", C | E, true, 8, {}},
        {"gaps in the mask", 1 | C | G | Z, true, G | Z, {2, 3}},
        {"no value", C | D, false, 0, {}},
        {"no drives at all", 0, true, 0x03FFFFFF, {}},
        {"bits above Z hide nothing", C | D, true, 0x04000000, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        memreg::Reset();
        fakes::SetDriveMask(c.present);
        if (c.stored) dword(LM, kPolicies, u"NoDrives", c.noDrives);
        std::memset(&m, 0xbd, sizeof m);
        read();
        for (std::size_t slot = 0; slot < kDriveSlots; ++slot) {
            const bool hidden =
                std::find(c.hiddenSlots.begin(), c.hiddenSlots.end(), slot) != c.hiddenSlots.end();
            EXPECT_EQ(m.computer.items[DriveSlot::item(slot)].current.number, hidden ? 1u : 0u)
                << "slot " << slot;
            EXPECT_EQ(m.computer.items[DriveSlot::item(slot)].pending.number, 0u);
        }
    }
}

TEST_F(ReadStateTest, TelemetryReadsOneUnlessTheTaskIsRunningOrReady) {
    const struct {
        const char* what;
        std::uint32_t state; // TASK_STATE
        std::uint32_t failStep, failCode;
        std::uint32_t current;
        const char* trail;
    } cases[] = {
        {"ready", 3, 0, 0, 0, "101000#"},
        {"running", 4, 0, 0, 0, "101000#"},
        {"disabled", 1, 0, 0, 1, "101000#"},
        {"scheduler not running", 3, 1, 0x80041315, 1, "101000#1:2147750677;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::strcpy(trail.text, "101000#");
        fakes::SetTaskState(c.state);
        fakes::FailTaskCalls(c.failStep, c.failCode);
        read();
        EXPECT_EQ(m.privacy.items[0].current.number, c.current);
        EXPECT_STREQ(trail.text, c.trail);
    }
}

} // namespace
