// The engine and vlk.exe on Windows: real files in the system and desktop folders, the telemetry
// task registered with the prefix's Task Scheduler, and vlk.exe run as a script runs it, with
// no program of its own or the current folder started in Windows' place. (The registry's rows
// are in engine_test.cpp, compiled into this test too.)
#include "engine/apply_changes.h"
#include "engine/appraiser_task.h"
#include "engine/drives.h"
#include "engine/file_system.h"
#include "engine/file_tweaks.h"
#include "engine/registry.h"
#include "engine/system_state.h"
#include "engine/text.h"
#include "engine/win32/handles.h"
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

std::u16string systemFile(const char16_t* below) {
    char16_t b[kPathCapacity] = {};
    WindowsFolder(b, kPathCapacity);
    return b + (u"\\System32\\" + std::u16string(below));
}
bool exists(const std::u16string& path) {
    return GetFileAttributesW(AsWide(path.c_str())) != INVALID_FILE_ATTRIBUTES;
}

TEST(EngineOnWindows, TheCalculatorGodModeAndTheOwnerTextsTakeAndGo) {
    const TweakRegistrySnapshot snapshot;
    char16_t b[kPathCapacity] = {};
    ProgramFolder(b, kPathCapacity);
    const std::u16string data = b + std::u16string(u"\\data\\");
    DesktopFolder(b, kPathCapacity);
    const std::u16string godMode =
        b + std::u16string(u"\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}");
    CreateDirectoryW(AsWide(data.c_str()), nullptr);
    ASSERT_TRUE(WriteWholeFile(data + u"datax64.dat", "calculator x64"));
    ASSERT_TRUE(WriteWholeFile(data + u"data4.dat", "de-DE resources"));
    CreateDirectoryW(AsWide(systemFile(u"de-DE").c_str()), nullptr);
    FeatureModel m;
    ErrorTrail trail{"101000#", 7};
    ReadSystemState(m, trail, PresentDriveMask());
    KeepCurrentValues(m);
    m.system.items[1].pending.number = m.system.items[10].pending.number = 1;
    SetPendingText(m.system, 12, u"Ada Lovelace");
    SetPendingText(m.system, 13, u"Analytical Engines Ltd");
    EXPECT_EQ(ApplyChanges(m, trail, PresentDriveMask()), 0u);
    ReadSystemState(m, trail, PresentDriveMask());
    EXPECT_EQ(m.system.items[10].current.number, 1u);
    EXPECT_EQ(std::u16string(m.system.items[12].current.text), u"Ada Lovelace");
    EXPECT_EQ(std::u16string(m.system.items[13].current.text), u"Analytical Engines Ltd");
    EXPECT_TRUE(exists(godMode));
    EXPECT_EQ(ReadWholeFile(systemFile(u"calc1.exe")), "calculator x64");
    EXPECT_EQ(ReadWholeFile(systemFile(u"de-DE\\calc1.exe.mui")), "de-DE resources");
    KeepCurrentValues(m);
    m.system.items[10].pending.number = 0;
    EXPECT_EQ(ApplyChanges(m, trail, PresentDriveMask()), 0u);
    EXPECT_FALSE(exists(systemFile(u"calc1.exe")) || exists(systemFile(u"de-DE\\calc1.exe.mui")));
    EXPECT_STREQ(trail.text, "101000#");
    RemoveDirectoryW(AsWide(godMode.c_str()));
    RemovePreviousCalculator();
}

// Runs vlk.exe with the arguments, its output going to the file, and waits for it.
std::pair<DWORD, std::string> runVlk(const std::u16string& args, const std::u16string& output) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle file(CreateFileW(AsWide(output.c_str()), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = file.get();
    std::u16string command(1, u'"');
    command += ExecutableFolder() + u"\\..\\app\\vlk\\vlk.exe\" " + args;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, AsWide(command.data()), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info))
        return {0xFFFFFFFF, "cannot start vlk.exe"};
    UniqueHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.get(), 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    file.reset();
    return {code, ReadWholeFile(output).value_or("")};
}

TEST(EngineOnWindows, TheTaskAndTheConsoleProgramWithNoPlantedSchtasksStarted) {
    const char16_t* const advanced =
        u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    const TweakRegistrySnapshot snapshot;
    const TestFolder folder; // backups and outputs go here
    SetTestVariable(u"APPDATA", folder.path().c_str());
    DeleteRegValue(Hive::CurrentUser, advanced, u"ShowSecondsInSystemClock");
    const RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    ErrorTrail trail{"101000#", 7};
    TaskState fromMta = TaskOther; // the task read through COM from any apartment
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        fromMta = RunAppraiserTask(TaskQuery, trail);
        CoUninitialize();
    }).join();
    EXPECT_EQ(fromMta, TaskReady);
    const PlantedSchtasks besideVlk(ExecutableFolder() + u"\\..\\app\\vlk"),
        inCurrent(CurrentFolder());
    ASSERT_TRUE(besideVlk.planted() && inCurrent.planted());
    const std::u16string file = u" \"" + folder.path() + u"\\vlk state.vlkd\"";
    const struct {
        std::u16string arguments;
        DWORD exit;
        std::string output; // a part of it
    } runs[] = {
        // clang-format off
        {u"show", 0, "\r\nPrivacy | Disable Compatibility telemetry = 0 | scheduled task \\Microsoft\\"
                     "Windows\\Application Experience\\Microsoft Compatibility Appraiser\r\n"},
        {u"export" + file, 0, "Settings have been successfully saved.\r\n"},
        {u"check" + file, 1, "Taskbar | Show seconds on taskbar clock: 1 -> 0\r\n1 setting differs from the file.\r\n"},
        {u"apply" + file + u" --json", 0, "\"control\":\"chb1_4\",\"label\""},
        {u"check" + file, 0, "The system holds every setting of the file.\r\n"},
        {u"bogus", 3, "vlk: unknown command \"bogus\"\r\n\r\nUsage: vlk"},
        // clang-format on
    };
    int k = 0; // a file per run: the last run's handle may outlive its process briefly
    for (const auto& run : runs) {
        SCOPED_TRACE(toUtf8(run.arguments));
        if (run.exit == 1)
            WriteRegDword(Hive::CurrentUser, advanced, u"ShowSecondsInSystemClock", 1);
        const auto [exit, output] =
            runVlk(run.arguments, folder.path() + u"\\out" + char16_t(u'a' + k++));
        EXPECT_EQ(exit, run.exit) << output;
        EXPECT_NE(output.find(run.output), std::string::npos) << output;
    }
    EXPECT_EQ(ReadRegDword(Hive::CurrentUser, advanced, u"ShowSecondsInSystemClock", 9), 0u);
    // Wine's scheduler does not implement Stop, and Disable and Enable change nothing there.
    for (TaskCommand command : {TaskDisable, TaskEnable})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskOther);
    DeleteAppraiserTask();
    for (TaskCommand command : {TaskQuery, TaskEnd})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskOther);
    EXPECT_STREQ(trail.text, "101000#")
        << "accepted changes, and a task that is not there is no failure";
    EXPECT_FALSE(besideVlk.ran() || inCurrent.ran()) << "a planted program was started";
}

} // namespace
