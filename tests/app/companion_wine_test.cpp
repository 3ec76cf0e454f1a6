// vlk against the real registry of the test prefix: in-process for the details, and as the
// console program an administrator's script runs, for its exit codes and output.
#include "app/vlk/companion.h"
#include "engine/catalogue.h"
#include "engine/file_system.h"
#include "engine/registry.h"
#include "engine/text.h"
#include "engine/win32/handles.h"
#include "engine/win32/wide.h"
#include "services/app_data_store.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine;
const char16_t* const kAdvanced =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr LocalTime kNow{2026, 12, 7, 14, 5, 9};

std::u16string testFolder() {
    char16_t b[kPathCapacity] = {};
    ProgramFolder(b, kPathCapacity);
    return b;
}

struct Finished {
    DWORD exitCode;
    std::string output;
};

// Runs vlk.exe with the arguments, its output going to a file, and waits for it.
Finished runVlk(const std::u16string& arguments) {
    const std::u16string folder = testFolder();
    // A file of its own for every run: the last run's handle may outlive its process briefly.
    static int runs = 0;
    const std::u16string outputPath =
        folder + u"\\vlk-output-" + fromUtf8(std::to_string(++runs)) + u".txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle output(CreateFileW(AsWide(outputPath.c_str()), GENERIC_WRITE, FILE_SHARE_READ,
                                    &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.get();
    startup.hStdError = output.get();
    std::u16string commandLine = u"\"" + folder + u"\\..\\app\\vlk\\vlk.exe\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, AsWide(commandLine.data()), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return {0xFFFFFFFF, "cannot start vlk.exe: " + std::to_string(GetLastError())};
    UniqueHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.get(), 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    output.reset();
    const std::string text = ReadWholeFile(outputPath).value_or("");
    DeleteFileW(AsWide(outputPath.c_str()));
    return {code, text};
}

class CompanionOnWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        snapshot.emplace();
        // Backups go to a folder of the test's own.
        wchar_t saved[MAX_PATH] = {};
        GetEnvironmentVariableW(AsWide(kUserRootVariable), saved, MAX_PATH);
        savedUserRoot = AsU16(saved);
        SetTestVariable(kUserRootVariable, dataFolder.path().c_str());
        file = testFolder() + u"\\vlk-state.vlkd";
        DeleteRegValue(CU, kAdvanced, u"ShowSecondsInSystemClock");
        DeleteRegValue(LM, kNoDrives.key, kNoDrives.value);
        DeleteRegKey(Hive::ClassesRoot, kContextMenuTweaks[1].key);
    }
    void TearDown() override {
        DeleteFileW(AsWide(file.c_str()));
        DeleteRegValue(CU, kAdvanced, u"ShowSecondsInSystemClock");
        DeleteRegValue(LM, kNoDrives.key, kNoDrives.value);
        DeleteRegKey(Hive::ClassesRoot, kContextMenuTweaks[1].key);
        snapshot.reset(); // the tweaks as they were before the test
        SetTestVariable(kUserRootVariable, savedUserRoot.c_str());
    }
    std::optional<TweakRegistrySnapshot> snapshot;
    TestFolder dataFolder;
    std::u16string savedUserRoot;
    std::u16string file;
};

TEST_F(CompanionOnWindows, AnExportedFileAppliedOnAChangedSystemBringsItBack) {
    std::string out;
    ASSERT_EQ(RunCompanion({u"export", file}, kNow, out), CompanionOk) << out;

    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    WriteRegDword(LM, kNoDrives.key, kNoDrives.value, 4); // C:
    CreateRegKey(Hive::ClassesRoot, kContextMenuTweaks[1].key);

    out.clear();
    ASSERT_EQ(RunCompanion({u"plan", file}, kNow, out), CompanionOk);
    EXPECT_NE(out.find("Taskbar | Show seconds on taskbar clock: 1 -> 0"), std::string::npos)
        << out;
    EXPECT_NE(out.find("This PC | Hide drive C: 1 -> 0"), std::string::npos);
    EXPECT_NE(out.find("Context menu | Move To: 1 -> 0"), std::string::npos);
    EXPECT_NE(out.find("Log-out required: yes"), std::string::npos);
    EXPECT_EQ(ReadRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 9), 1u)
        << "plan changes nothing";

    out.clear();
    ASSERT_EQ(RunCompanion({u"apply", file}, kNow, out), CompanionOk) << out;
    EXPECT_EQ(ReadRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 9), 0u);
    EXPECT_FALSE(RegValueExists(LM, kNoDrives.key, kNoDrives.value));
    EXPECT_FALSE(RegKeyExists(Hive::ClassesRoot, kContextMenuTweaks[1].key));

    out.clear();
    ASSERT_EQ(RunCompanion({u"plan", file}, kNow, out), CompanionOk);
    EXPECT_EQ(out, "Nothing to change.\nLog-out required: no\n");
}

TEST_F(CompanionOnWindows, TheConsoleProgramPrintsAndEndsWithItsExitCodes) {
    Finished run = runVlk(u"show");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("Taskbar | Taskbar thumbnail delay time = "), std::string::npos);
    EXPECT_NE(run.output.find("This PC | Hide drive C = 0"), std::string::npos) << run.output;

    run = runVlk(u"export \"" + file + u"\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(runVlk(u"check \"" + file + u"\"").exitCode, 0u);
    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    run = runVlk(u"check \"" + file + u"\"");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.output, "Taskbar | Show seconds on taskbar clock: 1 -> 0\r\n"
                          "1 setting differs from the file.\r\n")
        << run.output;
    run = runVlk(u"apply \"" + file + u"\" --json");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("\"control\":\"chb1_4\""), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"held\":true"), std::string::npos);

    run = runVlk(u"plan \"" + testFolder() + u"\\no-such-file.vlkd\"");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_EQ(run.output.rfind("Cannot import settings. Error code: 1", 0), 0u) << run.output;

    run = runVlk(u"bogus");
    EXPECT_EQ(run.exitCode, 3u);
}

TEST_F(CompanionOnWindows, ShowReadsTheReadyTaskAsTelemetryOnAndStartsNoPlantedProgram) {
    RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    const PlantedSchtasks besideVlk(testFolder() + u"\\..\\app\\vlk");
    const PlantedSchtasks inCurrentFolder(CurrentFolder());
    ASSERT_TRUE(besideVlk.planted() && inCurrentFolder.planted());
    const Finished run = runVlk(u"show");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_NE(run.output.find("Privacy | Disable Compatibility telemetry = 0 | scheduled task "
                              "\\Microsoft\\Windows\\Application Experience\\Microsoft "
                              "Compatibility Appraiser"),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(besideVlk.ran());
    EXPECT_FALSE(inCurrentFolder.ran());
}

} // namespace
