// Every tweak read and applied: one row per place a tweak is kept, written out rather than taken
// from the catalogue (hive, key, value, stored before, value read, value asked for, stored after,
// log-out, the system's build), natively over the in-memory registry and under Wine over the
// real one. Then, natively, the rules of more than a value.
#include "engine/apply_changes.h"
#include "engine/change_outcome.h"
#include "engine/registry.h"
#include "engine/registry_key.h"
#include "engine/system_state.h"
#include "base/text.h"
#include "tests/support/registry_tree.h"
#ifdef _WIN32
#include "tests/support/tweak_registry_snapshot.h"
#else
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"
#endif

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine, CR = Hive::ClassesRoot;
constexpr std::uint32_t kC = 0x4; // drive C: alone
const char16_t* const kNt = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
using Log = std::vector<std::string>;

// A place in the registry as text: "-" (no value), "key", "no key", "dword N", "sz TEXT" or
// "binary B B ..." (a REG_BINARY value's bytes).
// clang-format off
void store(Hive hive, const char16_t* path, const char16_t* name, const std::string& what) {
    std::istringstream in(what.substr(what.find(' ') + 1));
    std::vector<unsigned char> b;
    for (unsigned byte; in >> byte;) b.push_back(static_cast<unsigned char>(byte));
    bool ok = what == "key" ? bool(CreateRegKey(hive, path)) : true;
    if (what.starts_with("dword ")) ok = bool(WriteRegDword(hive, path, name, std::stoul(what.substr(6))));
    if (what.starts_with("sz ")) ok = bool(WriteRegString(hive, path, name, fromUtf8(what.substr(3)).c_str()));
    if (what.starts_with("binary")) ok = bool(WriteRegBinary(hive, path, name, b.data(), b.size()));
    ASSERT_TRUE(ok) << what;
}
std::string stored(Hive hive, const char16_t* path, const char16_t* name, const std::string& like) {
    if (like.ends_with("key")) return RegKeyExists(hive, path) ? "key" : "no key";
    const auto [type, b] = RawRegValue(hive, path, name);
    if (type == 0) return "-";
    if (type == kRegDword && b.size() == 4) return "dword " + std::to_string(b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t{b[3]} << 24);
    std::u16string text(b.size() / 2, u'\0');
    std::memcpy(text.data(), b.data(), text.size() * 2);
    if (type == kRegSz && b.size() % 2 == 0 && text.ends_with(u'\0')) return "sz " + toUtf8(text.substr(0, text.size() - 1));
    std::string out = type == kRegBinary ? "binary" : "type " + std::to_string(type);
    for (unsigned char byte : b) (out += ' ') += std::to_string(byte);
    return out;
}

class EngineTest : public ::testing::Test {
  protected:
    void SetUp() override { ReadRegString(LM, kNt, u"CurrentBuildNumber", build, 16, u""), reset(u"19041"); }
    void TearDown() override { WriteRegString(LM, kNt, u"CurrentBuildNumber", build), DeleteRegValue(LM, kNt, u"EditionID"); }
    void reset(const char16_t* build) {
#ifndef _WIN32
        memreg::Reset(), fakes::Reset();
#endif
        trail = ErrorTrail{"101000#", 7};
        WriteRegString(LM, kNt, u"CurrentBuildNumber", build);
    }
    // Reads over a model of leftovers: every item must be written whole.
    void read(std::uint32_t drives = kC) { std::memset(&m, 0xbd, sizeof m), available = ReadSystemState(m, trail, drives); }
    // Reads, asks for the item's pending value (nothing for page -1) and applies.
    std::uint32_t change(int page, std::size_t index, std::uint32_t pending, std::uint32_t drives = kC) {
        read(drives);
        KeepCurrentValues(m);
        if (page >= 0) item(page, index).pending.number = pending;
#ifndef _WIN32
        memreg::ClearLog(), fakes::Now().taskCalls.clear();
#endif
        return ApplyChanges(m, available, trail, drives);
    }
    FeatureItem& item(int page, std::size_t index) {
        FeatureItem* const pages[] = {m.computer.items, m.taskbar.items, m.contextMenu.items, m.system.items, m.security.items, m.privacy.items};
        return pages[page][index];
    }
#ifdef _WIN32
    TweakRegistrySnapshot snapshot; // the tweaks as they were, put back after the test
#endif
    char16_t build[16];
    FeatureModel m;
    Availability available;
    ErrorTrail trail;
};
// clang-format on

// clang-format off
struct Row { int page; std::size_t item; Hive hive; const char16_t *key, *value; const char* before; std::uint32_t read, pending; const char* after; bool logOut; const char16_t* build = u"19041"; };
const Row kRows[] = {
    {0, 0, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}", u"", "no key", 0, 1, "key", false},
    {0, 0, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}", u"", "key", 1, 0, "no key", false},
    {0, 1, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{21EC2020-3AEA-1069-A2DD-08002B30309D}", u"", "no key", 0, 1, "key", false},
    {0, 1, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{21EC2020-3AEA-1069-A2DD-08002B30309D}", u"", "key", 1, 0, "no key", false},
    {0, 2, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}", u"", "key", 1, 0, "no key", false},
    {0, 2, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{2559A1F3-21D7-11D4-BDAF-00C04F60B9F0}", u"", "key", 1, 0, "no key", false},
    {0, 3, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{3080F90E-D7AD-11D9-BD98-0000947B0257}", u"", "no key", 0, 1, "key", false},
    {0, 3, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{3080F90E-D7AD-11D9-BD98-0000947B0257}", u"", "key", 1, 0, "no key", false},
    {0, 4, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{D20EA4E1-3957-11D2-A40B-0C5020524153}", u"", "no key", 0, 1, "key", false},
    {0, 4, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{D20EA4E1-3957-11D2-A40B-0C5020524153}", u"", "key", 1, 0, "no key", false},
    {0, 5, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{7007ACC7-3202-11D1-AAD2-00805FC1270E}", u"", "no key", 0, 1, "key", false},
    {0, 5, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{7007ACC7-3202-11D1-AAD2-00805FC1270E}", u"", "key", 1, 0, "no key", false},
    {0, 6, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{2227A280-3AEA-1069-A2DE-08002B30309D}", u"", "no key", 0, 1, "key", false},
    {0, 6, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{2227A280-3AEA-1069-A2DE-08002B30309D}", u"", "key", 1, 0, "no key", false},
    {0, 7, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{0DB7E03F-FC29-4DC6-9020-FF41B59E513A}", u"", "key", 0, 1, "no key", false},
    {0, 8, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", u"", "no key", 1, 0, "key", false},
    {0, 9, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{d3162b92-9365-467a-956b-92703aca08af}", u"", "key", 0, 1, "no key", false},
    {0, 10, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{088e3905-0323-4b02-9826-5d99428e115f}", u"", "key", 0, 1, "no key", false},
    {0, 11, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{3dfdf296-dbec-4fb4-81d1-6a3438bcf4de}", u"", "key", 0, 1, "no key", false},
    {0, 12, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{24ad3ad4-a569-4530-98e1-ab02f9417aa8}", u"", "key", 0, 1, "no key", false},
    {0, 13, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\{f86fa3ab-70d2-4fc7-9c99-fcbf05467f3a}", u"", "key", 0, 1, "no key", false},
    {1, 0, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", u"DisablePreviewWindow", "dword 2", 2, 0, "dword 0", true},
    {1, 1, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", u"NoTrayItemsDisplay", "dword 3", 3, 1, "dword 1", true},
    {1, 1, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", u"NoTrayItemsDisplay", "dword 1", 1, 0, "-", true},
    {1, 2, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", u"ExtendedUIHoverTime", "-", 400, 50, "dword 50", true},
    {1, 3, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", u"ThumbnailLivePreviewHoverTime", "-", 1000, 2500, "dword 2500", true},
    {1, 4, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", u"ShowSecondsInSystemClock", "-", 0, 1, "dword 1", true},
    {2, 0, CR, u"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\{C2FBB630-2971-11D1-A18C-00C04FD75D13}", u"", "no key", 0, 1, "key", false},
    {2, 1, CR, u"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\{C2FBB631-2971-11D1-A18C-00C04FD75D13}", u"", "key", 1, 0, "no key", false},
    {2, 2, CR, u"*\\shell\\Open with Notepad\\command", u"", "sz notepad.exe %1 ", 0, 1, "sz notepad.exe %1", false},
    {2, 2, CR, u"*\\shell\\Open with Notepad\\command", u"", "sz notepad.exe %1", 1, 0, "no key", false},
    {2, 3, CR, u"*\\shell\\runas", u"", "no key", 0, 1, "sz Take Ownership", false},
    {2, 3, CR, u"*\\shell\\runas", u"NoWorkingDirectory", "no key", 0, 1, "sz ", false},
    {2, 3, CR, u"*\\shell\\runas\\command", u"", "no key", 0, 1, "sz cmd.exe /c takeown /f \"%1\" && icacls \"%1\" /grant administrators:F", false},
    {2, 3, CR, u"*\\shell\\runas\\command", u"IsolatedCommand", "no key", 0, 1, "sz cmd.exe /c takeown /f \"%1\" && icacls \"%1\" /grant administrators:F", false},
    {2, 3, CR, u"Directory\\shell\\runas", u"", "no key", 0, 1, "sz Take Ownership", false},
    {2, 3, CR, u"Directory\\shell\\runas", u"NoWorkingDirectory", "no key", 0, 1, "sz ", false},
    {2, 3, CR, u"Directory\\shell\\runas\\command", u"", "no key", 0, 1, "sz cmd.exe /c takeown /f \"%1\" /r /d y && icacls \"%1\" /grant administrators:F /t", false},
    {2, 3, CR, u"Directory\\shell\\runas\\command", u"IsolatedCommand", "no key", 0, 1, "sz cmd.exe /c takeown /f \"%1\" /r /d y && icacls \"%1\" /grant administrators:F /t", false},
    {3, 0, CU, u"Software\\Policies\\Microsoft\\Windows\\Explorer", u"NoWindowMinimizingShortcuts", "-", 0, 1, "dword 1", true},
    {3, 2, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", u"link", "binary 0 0 0", 0, 1, "binary 0 0 0 0", true},
    {3, 2, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", u"link", "binary 1 1 1 0", 0, 1, "binary 0 0 0 0", true},
    {3, 2, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", u"link", "binary 0 0 0 0 0", 0, 1, "binary 0 0 0 0", true},
    {3, 2, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", u"link", "binary 0 0 0 0", 1, 0, "-", true},
    {3, 3, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", u"VerboseStatus", "-", 0, 1, "dword 1", false},
    {3, 4, LM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\MTCUVC", u"EnableMtcUvc", "-", 0, 1, "dword 0", false},
    {3, 4, LM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\MTCUVC", u"EnableMtcUvc", "dword 0", 1, 0, "-", false},
    {3, 5, LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer", u"DisableNotificationCenter", "-", 0, 1, "dword 1", true},
    {3, 5, LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer", u"DisableNotificationCenter", "dword 1", 1, 0, "-", true},
    {3, 6, CR, u"CLSID\\{018D5C66-4533-4307-9B53-224DE2ED1FE6}", u"System.IsPinnedToNameSpaceTree", "-", 0, 1, "dword 0", false},
    {3, 6, CR, u"CLSID\\{018D5C66-4533-4307-9B53-224DE2ED1FE6}", u"System.IsPinnedToNameSpaceTree", "dword 0", 1, 0, "dword 1", false},
    {3, 7, CU, u"Software\\Policies\\Microsoft\\Windows\\Windows Search", u"AllowCortana", "-", 0, 1, "dword 0", true},
    {3, 7, CU, u"Software\\Policies\\Microsoft\\Windows\\Windows Search", u"AllowCortana", "dword 0", 1, 0, "-", true},
    {3, 7, LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Windows Search", u"AllowCortana", "dword 0", 1, 0, "-", true},
    {3, 8, LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Personalization", u"NoLockScreen", "-", 0, 1, "dword 1", false},
    {3, 9, CU, u"Control Panel\\Desktop", u"PaintDesktopVersion", "-", 0, 1, "dword 1", true},
    {3, 10, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe", u"", "-", 0, 1, "sz C:\\Windows\\System32\\calc1.exe", false},
    {3, 10, LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe", u"", "key", 1, 0, "no key", false},
    {3, 11, CU, u"Software\\Policies\\Microsoft\\Windows\\Explorer", u"NoUseStoreOpenWith", "-", 0, 1, "dword 1", false},
    {3, 11, LM, u"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer", u"NoUseStoreOpenWith", "dword 1", 1, 0, "-", false},
    {4, 0, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", u"NoDriveTypeAutoRun", "dword 511", 0, 1, "dword 255", true},
    {4, 0, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", u"NoDriveTypeAutoRun", "dword 255", 1, 0, "-", true},
    {4, 1, LM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", u"DisableCAD", "-", 1, 0, "dword 1", false},
    {4, 1, LM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", u"DisableCAD", "dword 1", 0, 1, "dword 0", false},
    {4, 2, CU, u"Software\\Microsoft\\Windows Script Host\\Settings", u"Enabled", "-", 0, 1, "dword 0", false},
    {4, 2, CU, u"Software\\Microsoft\\Windows Script Host\\Settings", u"Enabled", "dword 0", 1, 0, "dword 1", false},
    {4, 3, LM, u"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management", u"ClearPageFileAtShutdown", "-", 0, 1, "dword 1", false},
    {5, 1, CU, u"Software\\Policies\\Microsoft\\Windows\\Explorer", u"DisableSearchBoxSuggestions", "-", 0, 1, "dword 1", true},
    {5, 1, CU, u"Software\\Policies\\Microsoft\\Windows\\Explorer", u"DisableSearchBoxSuggestions", "dword 1", 1, 0, "-", true},
    {5, 1, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Search", u"BingSearchEnabled", "dword 0", 1, 0, "-", true, u"19040"},
    {5, 1, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Search", u"CortanaConsent", "-", 0, 1, "dword 0", true, u"19040"},
    {5, 1, CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Search", u"BingSearchEnabled", "dword 1", 0, 1, "dword 0", true, u""},
};
// clang-format on

// In rounds of one build that hold each item once: two reads a round, one apply a row.
TEST_F(EngineTest, EveryTweakRoundTripsThroughWhereWindowsKeepsIt) {
    std::map<std::tuple<std::u16string, int, std::size_t>, int> seen;
    std::map<std::pair<std::u16string, int>, std::vector<const Row*>> rounds;
    for (const Row& r : kRows) {
#ifdef _WIN32
        if (r.page == 3 && r.item == 10 && r.pending) continue; // the path names C:\windows
#endif
        rounds[{r.build, seen[{r.build, r.page, r.item}]++}].push_back(&r);
    }
    // clang-format off
    const auto where = [](const Row* r) { return std::to_string(r->page) + "." + std::to_string(r->item) + " " + toUtf8(*r->value ? r->value : r->key) + " " + r->before; };
    for (const auto& [at, round] : rounds) {
        reset(at.first.c_str());
        for (const Row* r : round) // the places cleared in both hives, then filled
            for (Hive hive : {r->hive == CR ? CR : CU, r->hive == CR ? CR : LM})
                std::string(r->before).ends_with("key") || std::string(r->after).ends_with("key") ? DeleteRegTree(hive, r->key) : (void)DeleteRegValue(hive, r->key, r->value);
        for (const Row* r : round) store(r->hive, r->key, r->value, r->before);
        read();
        for (const Row* r : round) EXPECT_EQ(item(r->page, r->item).pending.number, 0u) << "read pending " << where(r);
        KeepCurrentValues(m);
        for (const Row* r : round) {
            SCOPED_TRACE(where(r));
            FeatureItem& it = item(r->page, r->item);
            EXPECT_EQ(it.current.number, r->read) << "read before";
            it.pending.number = r->pending;
            EXPECT_EQ(ApplyChanges(m, available, trail, kC), r->logOut ? 1u : 0u) << "log-out";
            it.pending = it.current;
            EXPECT_EQ(stored(r->hive, r->key, r->value, r->after), r->after);
        }
        read();
        for (const Row* r : round) EXPECT_EQ(item(r->page, r->item).current.number, r->pending) << "read after " << where(r);
        // clang-format on
    }
}

// Where a tweak has nothing to act on, it says why and is never written: by build (Windows 11 has
// no 3D Objects folder and no old volume control, and shows no clock seconds before 22H2) and by
// edition (Home and Pro read no lock-screen policy); an unknown build or edition greys nothing.
TEST_F(EngineTest, ATweakWithNothingToActOnSaysWhyAndIsNeverWritten) {
    // clang-format off
    const struct { const char16_t *build, *edition; int page; std::size_t item; bool applies; } cases[] = {
        {u"22631", u"", 0, 7, false}, {u"21999", u"", 0, 7, true}, {u"22631", u"", 0, 8, true}, {u"22000", u"", 3, 4, false},
        {u"19045", u"", 3, 4, true}, {u"22000", u"", 1, 4, false}, {u"22620", u"", 1, 4, false}, {u"22621", u"", 1, 4, true},
        {u"19045", u"Core", 3, 8, false}, {u"19045", u"CoreSingleLanguage", 3, 8, false}, {u"14393", u"Professional", 3, 8, false},
        {u"19045", u"ProfessionalN", 3, 8, false}, {u"19045", u"Enterprise", 3, 8, true}, {u"19045", u"", 3, 8, true},
        {u"14392", u"Core", 3, 8, true}, {u"", u"Core", 3, 8, true}, {u"19045", u"ProfessionalEducation", 3, 8, true}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.build) + " " + toUtf8(c.edition) + " " + std::to_string(c.page) +
                     "." + std::to_string(c.item));
        reset(c.build);
        WriteRegString(LM, kNt, u"EditionID", c.edition);
        read();
        EXPECT_EQ(available.reason(c.page, c.item) == nullptr, c.applies);
        const std::uint32_t was = item(c.page, c.item).current.number;
        change(c.page, c.item, was ? 0 : 1);
        read();
        EXPECT_EQ(item(c.page, c.item).current.number != was, c.applies) << "written";
    }
    const Absence always{.reason = u"absent on every build"}; // a row absent from build 0 on
    EXPECT_FALSE(AbsentOn(always, {0, u""})) << "an unknown build greys nothing";
    EXPECT_TRUE(AbsentOn(always, {1, u""}));
}

// One stored value read by each reader: ReadRegDword (default 0xdeadbeef), ReadRegString
// (capacity 51, default "default") and ReadRegData (4 bytes over the default 1 1 1 1).
TEST_F(EngineTest, EachReaderTakesTheValueOrWhatFitsOrGivesItsDefault) {
    using Bytes = std::vector<unsigned char>;
    const char16_t* const at = u"Software\\VelkarostrandemilquorbenixTest";
    const Bytes none{1, 1, 1, 1};
    // clang-format off
    const auto units = [](std::size_t n) { Bytes b(2 * n + 2, 'x'); b[2 * n] = b[2 * n + 1] = 0; return b; };
    const struct { std::uint32_t type; Bytes bytes; std::uint32_t dword; std::u16string text; bool dataRead; Bytes data; } cases[] = {
        {kRegDword, {0x78, 0x56, 0x34, 0xf2}, 0xf2345678, u"\u5678", true, {0x78, 0x56, 0x34, 0xf2}},
        {kRegBinary, {0x34, 0x12}, 0x1234, u"", true, {0x34, 0x12, 1, 1}},
        {kRegBinary, {}, 0, u"default", true, none},
        {0, {}, 0xdeadbeef, u"default", false, none},
        {kRegSz, {'A', 0, 0, 0}, 0x41, u"A", true, {'A', 0, 0, 0}},
        {kRegBinary, {'A'}, 0x41, u"", true, {'A', 1, 1, 1}}, // no whole unit: empty
        {kRegSz, units(50), 0xdeadbeef, std::u16string(50, u'\x7878'), false, none},
        {kRegSz, units(60), 0xdeadbeef, u"default", false, none}, // does not fit
        {kRegBinary, {'a', 0, 'b', 0, 'c', 0}, 0xdeadbeef, u"ab", false, none}, // the last unit ends it
    };
    char16_t text[51];
    unsigned char data[4];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        DeleteRegTree(CU, at);
        reg::Key key;
        ASSERT_EQ(key.create(CU, at, reg::kAllAccess), reg::kSuccess);
        if (c.type) { ASSERT_EQ(key.set(u"v", c.type, c.bytes.data(), static_cast<std::uint32_t>(c.bytes.size())), 0); }
        // clang-format on
        EXPECT_EQ(ReadRegDword(CU, at, u"v", 0xdeadbeef), c.dword);
        std::memset(text, 0xbd, sizeof text);
        EXPECT_EQ(ReadRegString(CU, at, u"v", text, 51, u"default"), text);
        EXPECT_EQ(std::u16string(text), c.text);
        std::memset(data, 0xbd, sizeof data);
        EXPECT_EQ(ReadRegData(CU, at, u"v", data, 4, none.data()), c.dataRead);
        EXPECT_EQ(Bytes(data, data + 4), c.data);
        EXPECT_EQ(RegValueExists(CU, at, u"v"), c.type != 0);
    }
    DeleteRegTree(CU, at);
    EXPECT_FALSE(RegValueExists(CU, at, u"v")) << "no key";
}

// clang-format off
TEST(TextTest, Utf8ConversionAtEveryLengthBoundaryAndForIllFormedInput) {
    const std::u16string utf16 = u"A\u007f\u0080\u07ff\u0800\uffff\U00010000\U0001f600\U0010ffff";
    const std::string utf8 = "A\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf0\x9f\x98\x80\xf4\x8f\xbf\xbf";
    EXPECT_EQ(toUtf8(utf16), utf8);
    EXPECT_EQ(fromUtf8(utf8), utf16);
    // Ill-formed: a stray byte, overlong, a surrogate, above U+10FFFF, cut short; a lone surrogate.
    for (std::string bad : {"a\xff", "a\xe0\x80\x80", "a\xed\xa0\x80", "a\xf4\x90\x80\x80", "a\xe4\xb8"})
        EXPECT_TRUE(fromUtf8(bad + "b").starts_with(u"a\ufffd") && fromUtf8(bad + "b").ends_with(u"\ufffdb")) << bad.size();
    EXPECT_EQ(toUtf8(std::u16string_view(u"a\xd800\xdc00", 2)), "a\xef\xbf\xbd"); // the pair cut
    EXPECT_EQ(toUtf8(u"\xd800\xe000"), "\xef\xbf\xbd\xee\x80\x80"); // not a low surrogate
}
// clang-format on

#ifndef _WIN32
TEST_F(EngineTest, OnlyChangedTweaksAreWrittenButNoDrivesAlwaysKeepingOtherDrivesBits) {
    for (const Row& r : kRows) // every tweak in some state, most of them set
        store(r.hive, r.key, r.value, r.before);
    const char16_t* policies = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    const std::string noDrives = toUtf8(policies) + ",NoDrives";
    const std::pair<const char*, Log> cases[] = {
        {"dword 8", {"set " + noDrives}}, {"dword 0", {"delete-value " + noDrives}}, {"-", {}}};
    for (const auto& [before, log] : cases) {
        store(LM, policies, u"NoDrives", before);
        EXPECT_EQ(change(-1, 0, 0, 0xC), 0u);
        EXPECT_EQ(memreg::Log(), log) << before;
        EXPECT_TRUE(fakes::Now().taskCalls.empty());
    }
    store(LM, policies, u"NoDrives", "dword 67108936"); // bit 26, D and G of 0x4C: G is slot 2
    read(0x4C);
    EXPECT_EQ(m.computer.items[DriveSlot::item(2)].current.number, 1u);
    EXPECT_EQ(change(0, DriveSlot::item(0), 1, 0x4C), 1u); // hide C
    EXPECT_EQ(stored(LM, policies, u"NoDrives", ""), "dword 67108940");
    EXPECT_EQ(TweakLabel({0, DriveSlot::item(2), true, nullptr}, 0x4C), u"Hide drive G");
    EXPECT_EQ(change(2, 3, 1), 0u); // Take Ownership in, then out with Notepad, leaves first
    read();
    EXPECT_EQ(m.contextMenu.items[3].current.number, 1u);
    KeepCurrentValues(m);
    m.contextMenu.items[2].pending.number = m.contextMenu.items[3].pending.number = 0;
    m.taskbar.items[0].pending.number = 1 - m.taskbar.items[0].current.number; // in page order
    memreg::ClearLog();
    EXPECT_EQ(ApplyChanges(m, available, trail, kC), 1u);
    // clang-format off
    EXPECT_EQ(memreg::Log(), (Log{"set " + noDrives, "set Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced,DisablePreviewWindow", "delete-key *\\shell\\Open with Notepad\\command,", "delete-key *\\shell\\Open with Notepad,",
        "delete-key *\\shell\\runas\\command,", "delete-key *\\shell\\runas,", "delete-key Directory\\shell\\runas\\command,", "delete-key Directory\\shell\\runas,"}));
    // clang-format on
    store(LM, kNt, u"RegisteredOwner", "sz Someone");
    read();
    KeepCurrentValues(m);
    StrCopyBounded(m.system.items[12].pending.text, u"Someones", kFeatureTextCapacity);
    ApplyChanges(m, available, trail,
                 kC); // a text changed past its second character is written too
    EXPECT_EQ(stored(LM, kNt, u"RegisteredOwner", ""), "sz Someones");
    // A text that fills every unit compares up to its capacity and no further.
    FeatureItem full{};
    std::fill(std::begin(full.current.text), std::end(full.current.text), u'x');
    full.pending = full.current;
    EXPECT_FALSE(TextChanged(full));
    full.pending.text[kFeatureTextCapacity - 1] = u'y';
    EXPECT_TRUE(TextChanged(full));
}

TEST_F(EngineTest, TelemetryIsTheAppraiserTaskReadAndChangedThroughTheScheduler) {
    fakes::Platform& p = fakes::Now();
    // TASK_STATE 1 disabled, 3 ready, 4 running, 0 no such task; a failing step and its code; a
    // scheduler that does not answer. A task missing or not read is greyed, and never changed.
    // clang-format off
    const struct { std::uint32_t state, failStep, failCode; bool silent; const char* record; const char16_t* reason; } reads[] = {
        {1, 0, 0, false, "", nullptr}, {0, 0, 0, false, "", kNoAppraiserTask},
        {3, 2, 0x80070005, false, "2:2147942405;", kSchedulerSilent}, {3, 0, 0, true, "1:2147943860;", kSchedulerSilent}};
    // clang-format on
    for (const auto& r : reads) {
        SCOPED_TRACE(r.record);
        reset(u"19041");
        p.taskExists = r.state != 0, p.taskState = r.state, p.failStep = r.failStep,
        p.failCode = r.failCode;
        fakes::SilenceScheduler(r.silent);
        const auto asked = std::chrono::steady_clock::now();
        read();
        EXPECT_LT(std::chrono::steady_clock::now() - asked, kSchedulerAnswerLimit * 3);
        EXPECT_EQ(m.privacy.items[0].current.number, 1u);
        EXPECT_EQ(std::u16string(available.reason(5, 0) ? available.reason(5, 0) : u""),
                  r.reason ? r.reason : u"");
        EXPECT_EQ(std::string(trail.text), std::string("101000#") + r.record);
        KeepCurrentValues(m);
        m.privacy.items[0].pending.number = 0;
        p.taskCalls.clear();
        ApplyChanges(m, available, trail, kC);
        EXPECT_EQ(p.taskCalls.empty(), r.reason != nullptr) << "changed only where read";
        fakes::SilenceScheduler(false);
    }
    reset(u"19041");
    p.taskState = 4; // a running task is ended before it is disabled
    EXPECT_EQ(change(5, 0, 1), 0u);
    EXPECT_EQ(p.taskCalls, (Log{"state", "stop", "disable"}));
    EXPECT_EQ(change(5, 0, 0), 0u);
    EXPECT_EQ(p.taskCalls, Log{"enable"});
    EXPECT_EQ(p.taskState, 3u);
    EXPECT_STREQ(trail.text, "101000#");
    read(); // a scheduler that refuses the change: the write fails with its HRESULT's error
    KeepCurrentValues(m);
    m.privacy.items[0].pending.number = 1;
    p.failStep = 3, p.failCode = 0x80070005;
    WriteStatuses statuses;
    ApplyChanges(m, available, trail, kC, &statuses);
    EXPECT_EQ(statuses[ModelIndex(5, 0)].code, kRegAccessDenied);
    // The window's late answer changes only the task's item and whether it applies.
    available = ReadSystemState(m, kC, TaskNoAnswer);
    const FeatureModel before = m;
    for (const TaskState state : {TaskReady, TaskMissing}) {
        TakeAppraiserTask(m, available, state);
        EXPECT_EQ(m.privacy.items[0].current.number, state == TaskMissing ? 1u : 0u);
        const char16_t* reason = available.reason(5, 0);
        EXPECT_EQ(std::u16string(reason ? reason : u""),
                  state == TaskMissing ? kNoAppraiserTask : u"");
        m.privacy.items[0] = before.privacy.items[0];
        EXPECT_EQ(std::memcmp(&m, &before, sizeof m), 0);
    }
}

TEST_F(EngineTest,
       GodModeFolderIsMadeAndPreviousCalculatorCopiedNeverOverAFileNorFromTooLongAPath) {
    const std::u16string sys = u"C:\\Windows\\System32\\", data = u"C:\\Program\\data\\";
    fakes::Platform& p = fakes::Now();
    auto folders = p.folders;
    folders.insert(u"C:\\Users\\user\\Desktop\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}");
    EXPECT_EQ(change(3, 1, 1), 0u);
    EXPECT_EQ(p.folders, folders);
    p.folders.insert({sys + u"ar-SA", sys + u"de-DE"});
    // clang-format off
    p.files = {{data + u"datax64.dat", "x64"}, {data + u"data0.dat", "ar"}, {data + u"data4.dat", "de"}, {sys + u"de-DE\\calc1.exe.mui", "mine"}};
    // clang-format on
    const auto before = p.files;
    EXPECT_EQ(change(3, 10, 1), 0u);
    auto installed = before, removed = before;
    installed.insert({{sys + u"calc1.exe", "x64"}, {sys + u"ar-SA\\calc1.exe.mui", "ar"}});
    EXPECT_EQ(p.files, installed);
    EXPECT_EQ(change(3, 10, 0), 0u);
    removed.erase(sys + u"de-DE\\calc1.exe.mui"); // the language file there before went too
    EXPECT_EQ(p.files, removed);
    p.wow64 = false; // 32-bit Windows: its own program, into System32 all the same
    p.files.insert({data + u"datax32.dat", "x32"});
    EXPECT_EQ(change(3, 10, 1), 0u);
    EXPECT_EQ(p.files[sys + u"calc1.exe"], "x32");
    EXPECT_EQ(change(3, 10, 0), 0u);
    EXPECT_FALSE(p.files.contains(sys + u"calc1.exe"));
    const std::u16string deep = u"C:\\" + std::u16string(240, u'p'); // its payload path: 260
    p.files = {{deep + u"\\data\\datax64.da", "cut"}};
    p.program = deep;
    change(3, 10, 1);
    EXPECT_EQ(
        stored(LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\calc.exe", u"", ""),
        "sz C:\\Windows\\System32\\calc1.exe");
    EXPECT_FALSE(p.files.contains(sys + u"calc1.exe"));
}
#endif

// What the reader's text buffer cannot hold whole reads as no text; a drive slot past the present
// drives reads 0 whatever NoDrives holds for a drive not there.
TEST_F(EngineTest, AnOwnerPastTheTextBufferReadsEmptyAndSlotsPastThePresentDrivesZero) {
    for (const std::size_t length : {1023, 1024}) {
        store(LM, kNt, u"RegisteredOwner", "sz " + std::string(length, 'x'));
        read();
        EXPECT_EQ(std::u16string(m.system.items[12].current.text),
                  length == 1023 ? std::u16string(50, u'x') : u"")
            << length;
    }
    store(LM, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", u"NoDrives",
          "dword 1"); // A
    read(kC);
    EXPECT_EQ(m.computer.items[DriveSlot::item(1)].current.number, 0u);
}

// The build reads as wcstoul reads it; a log-out is asked for a held change that needs one.
TEST_F(EngineTest, TheBuildReadsAsWcstoulAndALogOutFollowsOnlyAHeldChangeThatNeedsIt) {
    for (const auto& [text, build] : {std::pair{u"22631", 22631u},
                                      {u" \t+19045x", 19045u},
                                      {u"-1", 4294967295u},
                                      {u"4294967296", 4294967295u},
                                      {u"x1", 0u},
                                      {u"", 0u}}) {
        WriteRegString(LM, kNt, u"CurrentBuildNumber", text);
        EXPECT_EQ(ReadWindowsBuild(), build) << toUtf8(text);
    }
    const TweakChange noLogOut{3, 1, true, nullptr}, logOut{3, 2, true, nullptr};
    EXPECT_TRUE(kCataloguePages[3][2].logOut && !kCataloguePages[3][1].logOut);
    EXPECT_FALSE(LogOutAfter({noLogOut}));
    EXPECT_FALSE(LogOutAfter({noLogOut, {3, 2, false, nullptr}})) << "not held";
    EXPECT_TRUE(LogOutAfter({noLogOut, logOut}));
}

} // namespace
