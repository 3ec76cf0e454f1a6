// The console companion over the in-memory registry, with settings files on the host.
#include "app/vlk/companion.h"
#include "engine/catalogue.h"
#include "engine/registry.h"
#include "engine/text.h"
#include "settings/settings_file.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine;
const char16_t* const kAdvanced =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

class CompanionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        memreg::Reset();
        fakes::Reset();
        fakes::SetDriveMask(0x1C); // C D E
        WriteRegString(LM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       u"CurrentBuildNumber", u"19041");
        dir = std::filesystem::temp_directory_path() /
              ("vlk-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::u16string file(const char* name) { return fromUtf8((dir / name).string()); }
    int run(std::vector<std::u16string> args) {
        out.clear();
        return RunCompanion(args, out);
    }

    std::filesystem::path dir;
    std::string out;
};

TEST_F(CompanionTest, ShowListsEveryTweakWithItsValueAndStorageDrivesByLetter) {
    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    WriteRegDword(LM, kNoDrives.key, u"NoDrives", 8); // D
    ASSERT_EQ(run({u"show"}), CompanionOk);
    EXPECT_NE(out.find("Taskbar | Show seconds on taskbar clock = 1 | HKCU\\Software\\Microsoft\\"
                       "Windows\\CurrentVersion\\Explorer\\Advanced\\ShowSecondsInSystemClock"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("This PC | Hide drive C = 0"), std::string::npos);
    EXPECT_NE(out.find("This PC | Hide drive D = 1"), std::string::npos);
    EXPECT_EQ(out.find("Hide drive F"), std::string::npos);
    EXPECT_NE(out.find("Taskbar | Taskbar thumbnail delay time = 400"), std::string::npos);
    EXPECT_NE(out.find("System | Registered owner = \"\""), std::string::npos);
    EXPECT_NE(out.find("Privacy | Disable Compatibility telemetry = 1 | scheduled task"),
              std::string::npos);
    ASSERT_EQ(run({u"show", u"--json"}), CompanionOk);
    EXPECT_EQ(out.rfind("{\"tweaks\":[{\"page\":\"This PC\",\"control\":\"chb0_0\"", 0), 0u) << out;
    EXPECT_NE(out.find("\"label\":\"Stop Windows from adding \\\"- Shortcut\\\" to shortcut file "
                       "names\""),
              std::string::npos);
}

TEST_F(CompanionTest, PlanListsTheChangesOfAnExportedFileAndChangesNothing) {
    ASSERT_EQ(run({u"export", file("before.vlkd")}), CompanionOk) << out;
    ASSERT_EQ(run({u"plan", file("before.vlkd")}), CompanionOk);
    EXPECT_EQ(out, "Nothing to change.\nLog-out required: no\n");

    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    WriteRegDword(CU, kAdvanced, u"ExtendedUIHoverTime", 900);
    memreg::ClearLog();
    ASSERT_EQ(run({u"plan", file("before.vlkd")}), CompanionOk);
    EXPECT_EQ(out, "Taskbar | Taskbar thumbnail delay time: 900 -> 400\n"
                   "Taskbar | Show seconds on taskbar clock: 1 -> 0\n"
                   "Log-out required: yes\n");
    EXPECT_TRUE(memreg::Log().empty()) << "plan writes nothing";
    ASSERT_EQ(run({u"plan", file("before.vlkd"), u"--json"}), CompanionOk);
    EXPECT_NE(out.find("{\"page\":\"Taskbar\",\"control\":\"chb1_4\",\"label\":\"Show seconds on "
                       "taskbar clock\",\"from\":1,\"to\":0}"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\"logOut\":true"), std::string::npos);
}

TEST_F(CompanionTest, ApplyBringsAnExportedStateBackAndReportsEveryTweak) {
    WriteRegString(LM, kSystemTweaks[12].key, u"RegisteredOwner", u"First Owner");
    WriteRegDword(LM, kNoDrives.key, u"NoDrives", 16); // E
    ASSERT_EQ(run({u"export", file("state.vlkd")}), CompanionOk);

    WriteRegString(LM, kSystemTweaks[12].key, u"RegisteredOwner", u"Someone Else");
    DeleteRegValue(LM, kNoDrives.key, u"NoDrives");
    CreateRegKey(Hive::ClassesRoot, kContextMenuTweaks[0].key);
    ASSERT_EQ(run({u"apply", file("state.vlkd")}), CompanionOk) << out;
    EXPECT_NE(out.find("This PC | Hide drive E: 0 -> 1 ok"), std::string::npos) << out;
    EXPECT_NE(out.find("Context menu | Copy To: 1 -> 0 ok"), std::string::npos);
    EXPECT_NE(out.find("System | Registered owner: \"Someone Else\" -> \"First Owner\" ok"),
              std::string::npos);
    EXPECT_NE(out.find("Log-out required: yes"), std::string::npos);
    EXPECT_EQ(ReadRegDword(LM, kNoDrives.key, u"NoDrives", 0), 16u);

    ASSERT_EQ(run({u"plan", file("state.vlkd")}), CompanionOk);
    EXPECT_EQ(out, "Nothing to change.\nLog-out required: no\n");
}

TEST_F(CompanionTest, ARefusedMachineWideWriteIsReportedAndGivesExitCodeOne) {
    ASSERT_EQ(run({u"export", file("state.vlkd")}), CompanionOk);
    WriteRegDword(LM, kSystemTweaks[8].key, u"NoLockScreen", 1);
    memreg::Refuse(LM, u"SOFTWARE\\Policies");
    WriteRegDword(CU, kAdvanced, u"DisablePreviewWindow", 1);
    ASSERT_EQ(run({u"apply", file("state.vlkd")}), CompanionNotTaken);
    EXPECT_NE(out.find("System | Disable Lock Screen: 1 -> 0 NOT TAKEN (now 1)"), std::string::npos)
        << out;
    EXPECT_NE(out.find("Taskbar | Turn off thumbnail live preview: 1 -> 0 ok"), std::string::npos);
    EXPECT_EQ(ReadRegDword(CU, kAdvanced, u"DisablePreviewWindow", 9), 0u);
}

TEST_F(CompanionTest, DrivesAreMatchedByLetterOnTheMachineWhereItRuns) {
    WriteRegDword(LM, kNoDrives.key, u"NoDrives", 8 | 16); // D and E
    ASSERT_EQ(run({u"export", file("drives.vlkd")}), CompanionOk);
    memreg::Reset();
    WriteRegString(LM, u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", u"CurrentBuildNumber",
                   u"19041");
    fakes::SetDriveMask(0x4 | 0x10 | 0x40); // C E G: no D here
    ASSERT_EQ(run({u"apply", file("drives.vlkd")}), CompanionOk) << out;
    EXPECT_EQ(ReadRegDword(LM, kNoDrives.key, u"NoDrives", 0), 16u) << "E only";
}

TEST_F(CompanionTest, AnUnreadableFileGivesExitCodeTwoWithItsErrorCode) {
    ASSERT_EQ(run({u"plan", file("missing.vlkd")}), CompanionBadFile);
    EXPECT_EQ(out.rfind("Cannot import settings. Error code: 1\nError records: 51:", 0), 0u) << out;
    {
        std::FILE* f = std::fopen((dir / "short.vlkd").string().c_str(), "wb");
        std::fputs("Quenorith", f);
        std::fclose(f);
    }
    ASSERT_EQ(run({u"apply", file("short.vlkd")}), CompanionBadFile);
    EXPECT_EQ(out, "Cannot import settings. Error code: 3\nError records: 53:\"\";\n");
}

TEST_F(CompanionTest, UsageErrorsGiveExitCodeThree) {
    EXPECT_EQ(run({}), CompanionUsage);
    EXPECT_EQ(out.rfind("Usage: vlk", 0), 0u);
    EXPECT_EQ(run({u"plan"}), CompanionUsage);
    EXPECT_EQ(run({u"frobnicate", u"x"}), CompanionUsage);
    EXPECT_EQ(run({u"export", u"a", u"--json"}), CompanionUsage);
    EXPECT_EQ(run({u"--help"}), CompanionOk);
    EXPECT_NE(out.find("1  some tweaks did not take"), std::string::npos);
}

TEST_F(CompanionTest, AFailedExportLeavesAnEarlierFileWhole) {
    ASSERT_EQ(run({u"export", file("keep.vlkd")}), CompanionOk);
    const auto read = [&] {
        std::ifstream in(dir / "keep.vlkd", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = read();
    EXPECT_EQ(before.size(), kSettingsFileSize);

    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1); // a different state
    hostfiles::FailReplace(true);                                 // the last step fails
    EXPECT_EQ(run({u"export", file("keep.vlkd")}), CompanionBadFile);
    hostfiles::FailReplace(false);
    EXPECT_EQ(out, "Cannot save settings file. Error code: 1\n");
    EXPECT_EQ(read(), before) << "the earlier file is whole";
    EXPECT_FALSE(std::filesystem::exists(dir / "keep.vlkd.tmp")) << "no temporary file left";

    ASSERT_EQ(run({u"export", file("no-such-folder/x.vlkd")}), CompanionBadFile);
}

} // namespace
