// The engine and vlk.exe on Windows: real files, the prefix's Task Scheduler, vlk.exe run as a
// script runs it and no planted program started (engine_test.cpp's rows are compiled in too).
#include "engine/apply_changes.h"
#include "engine/appraiser_task.h"
#include "engine/drives.h"
#include "engine/file_system.h"
#include "engine/registry.h"
#include "engine/system_state.h"
#include "base/text.h"
#include "base/win32/wide.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

namespace {

TEST(EngineOnWindows, TheCalculatorAndTheOwnerTextsTakeAndGo) {
    const TweakRegistrySnapshot snapshot;
    char16_t b[kPathCapacity] = {};
    WindowsFolder(b, kPathCapacity);
    const std::u16string sys = b + std::u16string(u"\\System32\\");
    ProgramFolder(b, kPathCapacity);
    const std::u16string data = b + std::u16string(u"\\data\\");
    CreateDirectoryW(AsWide(data.c_str()), nullptr);
    ASSERT_TRUE(WriteWholeFile(data + u"datax64.dat", "x64"));
    FeatureModel m;
    ErrorTrail trail{"101000#", 7};
    const auto apply = [&](bool calculator) {
        const Availability available = ReadSystemState(m, trail, PresentDriveMask());
        KeepCurrentValues(m);
        m.system.items[10].pending.number = calculator;
        SetPendingText(m.system, 12, u"Ada Lovelace");
        SetPendingText(m.system, 13, u"Analytical Engines Ltd");
        EXPECT_EQ(ApplyChanges(m, available, trail, PresentDriveMask()), 0u);
        ReadSystemState(m, trail, PresentDriveMask());
    };
    apply(true);
    EXPECT_EQ(m.system.items[10].current.number, 1u);
    EXPECT_EQ(std::u16string(m.system.items[12].current.text), u"Ada Lovelace");
    EXPECT_EQ(std::u16string(m.system.items[13].current.text), u"Analytical Engines Ltd");
    EXPECT_EQ(ReadWholeFile(sys + u"calc1.exe"), "x64");
    apply(false);
    EXPECT_FALSE(ReadWholeFile(sys + u"calc1.exe"));
    EXPECT_STREQ(trail.text, "101000#");
}

// Runs vlk.exe through the command interpreter, as a script does: its exit code and output.
// clang-format off
std::pair<int, std::string> runVlk(const std::u16string& args) {
    const std::u16string command = u"\"\"" + ExecutableFolder() + u"\\..\\app\\vlk\\vlk.exe\" " + args + u" 2>&1\"";
    FILE* pipe = _wpopen(AsWide(command.c_str()), L"rb");
    std::string out;
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
    return {pipe ? _pclose(pipe) : -1, out};
}
// clang-format on

TEST(EngineOnWindows, TheTaskAndTheConsoleProgramWithNoPlantedSchtasksStarted) {
    const char16_t* const advanced =
        u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    const TweakRegistrySnapshot snapshot;
    const TestFolder folder; // backups go here
    SetTestVariable(u"APPDATA", folder.path().c_str());
    DeleteRegValue(Hive::CurrentUser, advanced, u"ShowSecondsInSystemClock");
    const RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    ErrorTrail trail{"101000#", 7};
    TaskState fromMta = TaskOther; // the task read through COM from any apartment
    // clang-format off
    std::thread([&] { CoInitializeEx(nullptr, COINIT_MULTITHREADED), fromMta = RunAppraiserTask(TaskQuery, trail), CoUninitialize(); }).join();
    // clang-format on
    EXPECT_EQ(fromMta, TaskReady);
    const PlantedSchtasks besideVlk(ExecutableFolder() + u"\\..\\app\\vlk"),
        inCurrent(CurrentFolder());
    ASSERT_TRUE(besideVlk.planted() && inCurrent.planted());
    const std::u16string file = u" \"" + folder.path() + u"\\vlk state.vlkd\"";
    // clang-format off
    const struct { std::u16string arguments; int exit; std::string output; /* a part of it */ } runs[] = {
        {u"show", 0, "\r\nPrivacy | Disable Compatibility telemetry = 0 | scheduled task \\Microsoft\\"
                     "Windows\\Application Experience\\Microsoft Compatibility Appraiser\r\n"},
        {u"export" + file, 0, "Settings have been successfully saved.\r\n"},
        {u"check" + file, 1, "Taskbar | Show seconds on taskbar clock: 1 -> 0\r\n1 setting differs from the file.\r\n"},
        {u"apply" + file + u" --json", 0, "\"control\":\"chb1_4\",\"label\""},
    };
    // clang-format on
    for (const auto& run : runs) {
        SCOPED_TRACE(toUtf8(run.arguments));
        if (run.exit == 1)
            WriteRegDword(Hive::CurrentUser, advanced, u"ShowSecondsInSystemClock", 1);
        const auto [exit, output] = runVlk(run.arguments);
        EXPECT_EQ(exit, run.exit) << output;
        EXPECT_NE(output.find(run.output), std::string::npos) << output;
    }
    EXPECT_EQ(ReadRegDword(Hive::CurrentUser, advanced, u"ShowSecondsInSystemClock", 9), 0u);
    // Wine's scheduler does not implement Stop, and Disable and Enable change nothing there.
    for (TaskCommand command : {TaskDisable, TaskEnable})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskOther);
    DeleteAppraiserTask();
    for (TaskCommand command : {TaskQuery, TaskEnd})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskMissing);
    EXPECT_STREQ(trail.text, "101000#")
        << "accepted changes, and a task that is not there is no failure";
    EXPECT_FALSE(besideVlk.ran() || inCurrent.ran()) << "a planted program was started";
}

} // namespace
