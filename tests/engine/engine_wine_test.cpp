// The engine on Windows: real files in the system and desktop folders, and the telemetry task
// registered with the prefix's Task Scheduler (the registry's rows are in engine_test.cpp).
#include "engine/apply_changes.h"
#include "engine/appraiser_task.h"
#include "engine/drives.h"
#include "engine/file_system.h"
#include "engine/file_tweaks.h"
#include "engine/registry.h"
#include "engine/system_state.h"
#include "engine/win32/wide.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

namespace {

std::u16string folder(bool (*known)(char16_t*, std::size_t), const char16_t* below) {
    char16_t b[kPathCapacity] = {};
    known(b, kPathCapacity);
    return b + std::u16string(below);
}
std::u16string systemFile(const char16_t* below) {
    char16_t b[kPathCapacity] = {};
    WindowsFolder(b, kPathCapacity);
    return b + (u"\\System32\\" + std::u16string(below));
}
bool exists(const std::u16string& path) {
    return GetFileAttributesW(AsWide(path.c_str())) != INVALID_FILE_ATTRIBUTES;
}

class EngineOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
        ASSERT_EQ(task.result(), 0u);
        const std::u16string data = folder(ProgramFolder, u"\\data\\");
        CreateDirectoryW(AsWide(data.c_str()), nullptr);
        ASSERT_TRUE(WriteWholeFile(data + u"datax64.dat", "calculator x64"));
        ASSERT_TRUE(WriteWholeFile(data + u"data4.dat", "de-DE resources"));
        CreateDirectoryW(AsWide(systemFile(u"de-DE").c_str()), nullptr);
    }
    void TearDown() override {
        RemoveDirectoryW(AsWide(godMode.c_str()));
        RemovePreviousCalculator();
    }
    void read() { ReadSystemState(m, trail, PresentDriveMask()); }
    std::uint32_t apply() { return ApplyChanges(m, trail, PresentDriveMask()); }

    TweakRegistrySnapshot snapshot; // the tweaks as they were, put back after the test
    RegisteredAppraiserTask task;
    const std::u16string godMode =
        folder(DesktopFolder, u"\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}");
    FeatureModel m;
    ErrorTrail trail;
};

// What the registry table leaves out: the files, the folder and the texts on the real system.
TEST_F(EngineOnWindows, TheCalculatorGodModeAndTheOwnerTextsTakeAndGo) {
    read();
    KeepCurrentValues(m);
    m.system.items[1].pending.number = m.system.items[10].pending.number = 1;
    m.system.items[12].pending = m.system.items[13].pending = FeatureValue{};
    SetPendingText(m.system, 12, u"Ada Lovelace");
    SetPendingText(m.system, 13, u"Analytical Engines Ltd");
    EXPECT_EQ(apply(), 0u);
    EXPECT_STREQ(trail.text, "101000#");
    read();
    EXPECT_EQ(m.system.items[10].current.number, 1u);
    EXPECT_EQ(std::u16string(m.system.items[12].current.text), u"Ada Lovelace");
    EXPECT_EQ(std::u16string(m.system.items[13].current.text), u"Analytical Engines Ltd");
    EXPECT_TRUE(exists(godMode));
    EXPECT_EQ(ReadWholeFile(systemFile(u"calc1.exe")), "calculator x64");
    EXPECT_EQ(ReadWholeFile(systemFile(u"de-DE\\calc1.exe.mui")), "de-DE resources");
    KeepCurrentValues(m);
    m.system.items[10].pending.number = 0;
    EXPECT_EQ(apply(), 0u);
    EXPECT_FALSE(exists(systemFile(u"calc1.exe")));
    EXPECT_FALSE(exists(systemFile(u"de-DE\\calc1.exe.mui")));
}

TEST_F(EngineOnWindows, TheTaskIsReadFromAnyApartmentAndNoProgramIsStartedForIt) {
    const PlantedSchtasks besideProgram(ExecutableFolder());
    const PlantedSchtasks inCurrentFolder(CurrentFolder());
    ASSERT_TRUE(besideProgram.planted() && inCurrentFolder.planted());
    EXPECT_EQ(RunAppraiserTask(TaskQuery, trail), TaskReady);
    TaskState fromMta = TaskOther;
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        fromMta = RunAppraiserTask(TaskQuery, trail);
        CoUninitialize();
    }).join();
    EXPECT_EQ(fromMta, TaskReady);
    // Wine's scheduler does not implement Stop, so End is shown against the substitute only.
    for (TaskCommand command : {TaskDisable, TaskEnable})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskOther);
    EXPECT_STREQ(trail.text, "101000#") << "the scheduler accepted both changes";
    EXPECT_FALSE(besideProgram.ran() || inCurrentFolder.ran());
    DeleteAppraiserTask();
    for (TaskCommand command : {TaskQuery, TaskEnable, TaskDisable, TaskEnd})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskOther);
    EXPECT_STREQ(trail.text, "101000#") << "a task that is not there is no failure";
}

} // namespace
