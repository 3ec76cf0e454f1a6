// The engine end to end on Windows: the real registry, real files in the system and desktop
// folders, and the telemetry task registered with the prefix's Task Scheduler.
#include "engine/apply_changes.h"
#include "engine/catalogue.h"
#include "engine/drives.h"
#include "engine/file_system.h"
#include "engine/file_tweaks.h"
#include "engine/registry.h"
#include "engine/system_state.h"
#include "engine/text.h"
#include "tests/support/registry_tree.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

std::wstring W(const std::u16string& s) {
    return std::wstring(s.begin(), s.end());
}

std::u16string programFolder() {
    char16_t b[kPathCapacity] = {};
    ProgramFolder(b, kPathCapacity);
    return b;
}

std::u16string systemFolder() {
    char16_t b[kPathCapacity] = {};
    WindowsFolder(b, kPathCapacity);
    return std::u16string(b) + u"\\System32";
}

std::u16string godMode() {
    char16_t b[kPathCapacity] = {};
    DesktopFolder(b, kPathCapacity);
    return std::u16string(b) + u"\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}";
}

void writeFile(const std::u16string& path, const std::string& bytes) {
    ASSERT_TRUE(WriteWholeFile(path, bytes));
}

std::string readFile(const std::u16string& path) {
    return ReadWholeFile(path).value_or("");
}

// Removes every trace of the catalogue's tweaks, so the test starts from a known state.
void cleanSystem() {
    auto clean = [](std::span<const Tweak> tweaks) {
        for (const Tweak& t : tweaks) {
            if (*t.key == 0) continue;
            if (*t.value)
                DeleteRegValue(t.hive, t.key, t.value);
            else
                DeleteRegTree(t.hive, t.key);
            if (t.machineKey && *t.value)
                DeleteRegValue(Hive::LocalMachine, t.machineKey, t.value);
            else if (t.machineKey)
                DeleteRegTree(Hive::LocalMachine, t.machineKey);
        }
    };
    clean(kComputerTweaks);
    clean(kTaskbarTweaks);
    clean(kContextMenuTweaks);
    clean(kSystemTweaks);
    clean(kSecurityTweaks);
    clean(kPrivacyTweaks);
    DeleteRegTree(Hive::ClassesRoot, u"*\\shell\\Open with Notepad");
    DeleteRegTree(Hive::ClassesRoot, u"*\\shell\\runas");
    DeleteRegTree(Hive::ClassesRoot, u"Directory\\shell\\runas");
    DeleteRegValue(kNoDrives.hive, kNoDrives.key, kNoDrives.value);
    DeleteRegValue(Hive::CurrentUser, kBingSearch.oldReadKey, kBingSearch.oldValue);
    DeleteRegValue(Hive::CurrentUser, kBingSearch.oldReadKey, kBingSearch.oldValue2);
    RemoveDirectoryW(W(godMode()).c_str());
    RemovePreviousCalculator();
}

class EngineOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        snapshot.emplace();
        cleanSystem();
        std::memset(&m, 0, sizeof m);
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
        task.emplace();
        ASSERT_EQ(task->result(), 0u);
        CreateDirectoryW(W(programFolder() + u"\\data").c_str(), nullptr);
        writeFile(programFolder() + u"\\data\\datax64.dat", "calculator x64");
        writeFile(programFolder() + u"\\data\\data4.dat", "de-DE resources");
        writeFile(programFolder() + u"\\data\\data7.dat", "en-US resources");
        CreateDirectoryW(W(systemFolder() + u"\\de-DE").c_str(), nullptr);
    }
    void TearDown() override {
        cleanSystem();
        task.reset();
        snapshot.reset(); // the tweaks as they were before the test
    }
    std::optional<TweakRegistrySnapshot> snapshot;

    void read() { ReadSystemState(m, trail, PresentDriveMask()); }
    std::uint32_t apply() { return ApplyChanges(m, trail, PresentDriveMask()); }
    void keepAll() { KeepCurrentValues(m); }
    // Every check box flipped, the number boxes and texts given new values.
    template <typename Page> static void flip(Page& page, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            page.items[i].pending.number = page.items[i].current.number == 1 ? 0 : 1;
    }

    FeatureModel m;
    ErrorTrail trail;
    std::optional<RegisteredAppraiserTask> task;
};

TEST_F(EngineOnWindows, EveryTweakReadsAsChosenAfterApplyAndBackAgain) {
    read();
    const FeatureModel initial = m;
    EXPECT_EQ(m.privacy.items[0].current.number, 0u) << "the task is ready";
    EXPECT_EQ(m.taskbar.items[2].current.number, 400u);
    EXPECT_EQ(m.security.items[1].current.number, 1u);

    keepAll();
    flip(m.computer, kThisPcFolders + 1); // the folders and drive slot 0 (C:)
    flip(m.taskbar, kTaskbarItems);
    m.taskbar.items[2].pending.number = 50;
    m.taskbar.items[3].pending.number = 2500;
    flip(m.contextMenu, kContextMenuItems);
    flip(m.system, 12);
    SetPendingText(m.system, 12, u"Ada Lovelace");
    SetPendingText(m.system, 13, u"Analytical Engines Ltd");
    flip(m.security, kSecurityItems);
    flip(m.privacy, kPrivacyItems);
    const FeatureModel chosen = m;

    EXPECT_EQ(apply(), 1u);
    EXPECT_STREQ(trail.text, "101000#");
    read();

    auto expectPage = [](const FeatureItem* now, const FeatureItem* want, std::size_t count,
                         const char* page) {
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(now[i].current.number, want[i].pending.number) << page << " item " << i;
    };
    expectPage(m.computer.items, chosen.computer.items, kThisPcFolders + 1, "computer");
    expectPage(m.taskbar.items, chosen.taskbar.items, kTaskbarItems, "taskbar");
    expectPage(m.contextMenu.items, chosen.contextMenu.items, kContextMenuItems, "context menu");
    expectPage(m.system.items + 2, chosen.system.items + 2, 10, "system");
    expectPage(m.security.items, chosen.security.items, kSecurityItems, "security");
    // The prefix's scheduler accepts Disable (no trail record above) but changes nothing: that
    // the task then reads disabled is shown against the scheduler substitute.
    expectPage(m.privacy.items + 1, chosen.privacy.items + 1, kPrivacyItems - 1, "privacy");
    EXPECT_EQ(m.system.items[1].current.number, 0u) << "GodMode always reads 0";
    EXPECT_EQ(std::u16string(m.system.items[12].current.text), u"Ada Lovelace");
    EXPECT_EQ(std::u16string(m.system.items[13].current.text), u"Analytical Engines Ltd");
    EXPECT_EQ(ReadRegDword(kNoDrives.hive, kNoDrives.key, kNoDrives.value, 0), 4u);

    EXPECT_NE(GetFileAttributesW(W(godMode()).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(readFile(systemFolder() + u"\\calc1.exe"), "calculator x64");
    EXPECT_EQ(readFile(systemFolder() + u"\\de-DE\\calc1.exe.mui"), "de-DE resources");

    // Nothing changed: only NoDrives is written, no log-out.
    const FeatureModel before = m;
    keepAll();
    EXPECT_EQ(apply(), 0u);
    read();
    EXPECT_EQ(std::memcmp(&before, &m, sizeof m), 0) << "a second apply changed the state";

    // And everything back as it was.
    auto restore = [](FeatureItem* items, const FeatureItem* was, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            items[i].pending = was[i].current;
    };
    restore(m.computer.items, initial.computer.items, kComputerItems);
    restore(m.taskbar.items, initial.taskbar.items, kTaskbarItems);
    restore(m.contextMenu.items, initial.contextMenu.items, kContextMenuItems);
    restore(m.system.items, initial.system.items, kSystemItems);
    restore(m.security.items, initial.security.items, kSecurityItems);
    restore(m.privacy.items, initial.privacy.items, kPrivacyItems);
    EXPECT_EQ(apply(), 1u);
    read();
    const FeatureItem* now = reinterpret_cast<const FeatureItem*>(&m);
    const FeatureItem* was = reinterpret_cast<const FeatureItem*>(&initial);
    for (std::size_t i = 0; i < sizeof m / sizeof(FeatureItem); ++i)
        EXPECT_EQ(std::memcmp(&now[i], &was[i], sizeof(FeatureItem)), 0) << "model item " << i;
    EXPECT_FALSE(RegValueExists(kNoDrives.hive, kNoDrives.key, kNoDrives.value));
    EXPECT_FALSE(RegKeyExists(Hive::LocalMachine, kCalculatorAppPath));
    EXPECT_EQ(GetFileAttributesW(W(systemFolder() + u"\\calc1.exe").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(W(systemFolder() + u"\\de-DE\\calc1.exe.mui").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(RegKeyExists(Hive::ClassesRoot, u"*\\shell\\runas"));
    EXPECT_FALSE(RegKeyExists(Hive::ClassesRoot, u"*\\shell\\Open with Notepad"));
}

} // namespace
