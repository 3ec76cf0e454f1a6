// vlk.exe as the console program an administrator's script runs, against the registry and the
// Task Scheduler of the test prefix: its output, its exit codes, and no program of the
// current folder started in Windows' place.
#include "engine/file_system.h"
#include "engine/registry.h"
#include "engine/text.h"
#include "engine/win32/handles.h"
#include "engine/win32/wide.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const char16_t* const kAdvanced =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// Runs vlk.exe with the arguments, its output going to a file in the folder, and waits for it.
std::pair<DWORD, std::string> runVlk(const std::u16string& folder, const std::u16string& args) {
    static int runs = 0; // a file per run: the last run's handle may outlive its process briefly
    const std::u16string path = folder + u"\\out" + fromUtf8(std::to_string(++runs)) + u".txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueHandle output(CreateFileW(AsWide(path.c_str()), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    STARTUPINFOW startup{sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output.get();
    std::u16string commandLine = u"\"" + ExecutableFolder() + u"\\..\\app\\vlk\\vlk.exe\" " + args;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, AsWide(commandLine.data()), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return {0xFFFFFFFF, "cannot start vlk.exe: " + std::to_string(GetLastError())};
    UniqueHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.get(), 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    output.reset();
    return {code, ReadWholeFile(path).value_or("")};
}

TEST(CompanionOnWindows, TheConsoleProgramPrintsItsReportsAndEndsWithItsExitCodes) {
    const TweakRegistrySnapshot snapshot;
    const TestFolder folder; // backups and outputs go here
    SetTestVariable(u"APPDATA", folder.path().c_str());
    DeleteRegValue(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock");
    // The telemetry task is ready, and a schtasks.exe waits where a careless search would look.
    const RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
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
        {u"check" + file, 1, // the seconds turned on just before
         "Taskbar | Show seconds on taskbar clock: 1 -> 0\r\n1 setting differs from the file.\r\n"},
        {u"apply" + file + u" --json", 0, "\"control\":\"chb1_4\",\"label\""},
        {u"check" + file, 0, "The system holds every setting of the file.\r\n"},
        {u"bogus", 3, "vlk: unknown command \"bogus\"\r\n\r\nUsage: vlk"},
        // clang-format on
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(toUtf8(run.arguments));
        if (run.exit == 1)
            WriteRegDword(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock", 1);
        const auto [exit, output] = runVlk(folder.path(), run.arguments);
        EXPECT_EQ(exit, run.exit) << output;
        EXPECT_NE(output.find(run.output), std::string::npos) << output;
    }
    EXPECT_EQ(ReadRegDword(Hive::CurrentUser, kAdvanced, u"ShowSecondsInSystemClock", 9), 0u);
    EXPECT_FALSE(besideVlk.ran() || inCurrent.ran()) << "a planted program was started";
}

} // namespace
