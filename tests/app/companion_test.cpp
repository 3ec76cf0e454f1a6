// The console companion over the in-memory registry, with settings files on the host.
#include "app/vlk/companion.h"
#include "engine/catalogue.h"
#include "engine/catalogue_text.h"
#include "engine/registry.h"
#include "engine/text.h"
#include "services/app_data_store.h"
#include "settings/backups.h"
#include "settings/settings_file.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
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
        hostfiles::SetVariable(kUserRootVariable, fromUtf8(dir.string()).c_str());
    }
    void TearDown() override {
        hostfiles::Reset();
        std::filesystem::remove_all(dir);
    }

    std::u16string file(const char* name) { return fromUtf8((dir / name).string()); }
    int run(std::vector<std::u16string> args) {
        out.clear();
        return RunCompanion(args, now, out);
    }
    std::string read(const std::u16string& path) {
        std::ifstream in(toUtf8(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::filesystem::path backups() const {
        return dir / "Quenorith/Velkarostrandemilquorbenix/Backups";
    }
    // A backup's path as the program spells it.
    static std::string backup(const char* name) { return toUtf8(BackupFolder()) + "\\" + name; }

    std::filesystem::path dir;
    std::string out;
    LocalTime now{2026, 12, 7, 14, 5, 9};
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

TEST_F(CompanionTest, EveryUsageMistakeHasItsOwnMessageAndExitCodeThree) {
    const struct {
        std::vector<std::u16string> args;
        const char* message;
    } mistakes[] = {
        {{}, "vlk: no command given\n"},
        {{u"plan"}, "vlk: plan needs the settings data FILE to use\n"},
        {{u"check", u"a.vlkd", u"b.vlkd"}, "vlk: check takes no argument \"b.vlkd\"\n"},
        {{u"undo", u"a.vlkd"}, "vlk: undo takes no argument \"a.vlkd\"\n"},
        {{u"frobnicate", u"x"}, "vlk: unknown command \"frobnicate\"\n"},
        {{u"show", u"--jsn"}, "vlk: unknown option \"--jsn\"\n"},
        {{u"export", u"a", u"--json"}, "vlk: export has no --json\n"},
        {{u"plan", u"a", u"--explain"}, "vlk: --explain goes with show only\n"},
    };
    for (const auto& m : mistakes) {
        SCOPED_TRACE(m.message);
        EXPECT_EQ(run(m.args), CompanionUsage);
        EXPECT_EQ(out, std::string(m.message) + "\n" + kCompanionUsage);
    }
    EXPECT_EQ(run({u"plan", u"--", u"-dash.vlkd"}), CompanionBadFile) << "a file named -dash";
    EXPECT_EQ(run({u"check", u"--help"}), CompanionOk);
    EXPECT_EQ(out, kCompanionUsage);
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

TEST_F(CompanionTest, ShowExplainPrintsEveryTweaksExplanationFromTheCatalogue) {
    ASSERT_EQ(run({u"show", u"--explain"}), CompanionOk);
    const std::span<const Tweak> pages[] = {kComputerTweaks, kTaskbarTweaks,  kContextMenuTweaks,
                                            kSystemTweaks,   kSecurityTweaks, kPrivacyTweaks};
    for (const auto& page : pages)
        for (const Tweak& t : page) {
            SCOPED_TRACE(toUtf8(t.control));
            ASSERT_NE(t.explanation, nullptr);
            EXPECT_GT(TextLength(t.explanation), 20u);
            const std::size_t line = out.find(" | " + toUtf8(t.label) + " = ");
            ASSERT_NE(line, std::string::npos);
            EXPECT_EQ(out.find('\n', line) + 1,
                      out.find("    " + toUtf8(TweakExplanation(t)) + "\n", line));
        }
    // Where and whether a log-out is needed come from the rows the engine uses.
    EXPECT_EQ(toUtf8(TweakExplanation(kTaskbarTweaks[4])),
              "Shows the seconds in the taskbar clock. Windows keeps it in: HKCU\\Software\\"
              "Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\ShowSecondsInSystemClock. "
              "Takes effect after you log out and back in.");

    ASSERT_EQ(run({u"show", u"--explain", u"--json"}), CompanionOk);
    EXPECT_NE(out.find("ShowSecondsInSystemClock\",\"what\":\"Shows the seconds in the taskbar "
                       "clock.\",\"explanation\":\"Shows the seconds"),
              std::string::npos)
        << out;
}

TEST_F(CompanionTest, ApplyBacksUpTheStateBeforeItAndKeepsTheNewestTwenty) {
    ASSERT_EQ(run({u"export", file("before.vlkd")}), CompanionOk);
    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    ASSERT_EQ(run({u"export", file("after.vlkd")}), CompanionOk);
    DeleteRegValue(CU, kAdvanced, u"ShowSecondsInSystemClock");

    // Twenty backups written before, named later than now as after a clock put back, and a
    // file of the user's own in the folder.
    std::filesystem::create_directories(backups());
    const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (int k = 0; k < 20; ++k) {
        char name[40];
        std::snprintf(name, sizeof name, "2030-01-01 00.00.%02d.vlkd", k);
        std::filesystem::copy_file(dir / "after.vlkd", backups() / name);
        std::filesystem::last_write_time(backups() / name, anHourAgo + std::chrono::seconds(k));
    }
    std::ofstream(backups() / "notes.txt") << "mine";

    ASSERT_EQ(run({u"apply", file("after.vlkd")}), CompanionOk) << out;
    const std::string newest = backup("2026-12-07 14.05.09.vlkd");
    EXPECT_EQ(out.rfind("Backup: " + newest + "\n", 0), 0u) << out;
    EXPECT_TRUE(read(fromUtf8((backups() / "2026-12-07 14.05.09.vlkd").string())) ==
                read(file("before.vlkd")))
        << "the state before the apply";
    EXPECT_FALSE(std::filesystem::exists(backups() / "2030-01-01 00.00.00.vlkd"));
    EXPECT_TRUE(std::filesystem::exists(backups() / "2030-01-01 00.00.01.vlkd"));
    EXPECT_TRUE(std::filesystem::exists(backups() / "notes.txt"));
    EXPECT_EQ(ListBackups().size(), kBackupsKept);
    EXPECT_EQ(toUtf8(ListBackups().front()), newest);

    now.second = 10; // an apply that changes nothing takes no backup
    ASSERT_EQ(run({u"apply", file("after.vlkd")}), CompanionOk);
    EXPECT_EQ(out, "Nothing to change.\nLog-out required: no\n");
    EXPECT_EQ(toUtf8(ListBackups().front()), newest);
}

TEST_F(CompanionTest, UndoRestoresTheStateBeforeTheLastApplyAndCanItselfBeUndone) {
    WriteRegString(LM, kSystemTweaks[12].key, u"RegisteredOwner", u"First Owner");
    WriteRegDword(LM, kNoDrives.key, u"NoDrives", 8); // D
    ASSERT_EQ(run({u"export", file("before.vlkd")}), CompanionOk);
    WriteRegString(LM, kSystemTweaks[12].key, u"RegisteredOwner", u"Second Owner");
    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    DeleteRegValue(LM, kNoDrives.key, u"NoDrives");
    CreateRegKey(Hive::ClassesRoot, kContextMenuTweaks[1].key);
    ASSERT_EQ(run({u"export", file("target.vlkd")}), CompanionOk);
    ASSERT_EQ(run({u"apply", file("before.vlkd")}), CompanionOk);
    ASSERT_EQ(run({u"apply", file("target.vlkd")}), CompanionOk) << out;

    // Both applies ran in the same second: the second backup is the newer one.
    ASSERT_EQ(run({u"undo"}), CompanionOk) << out;
    EXPECT_EQ(out.rfind("Undo: applying " + backup("2026-12-07 14.05.09 (2).vlkd"), 0), 0u) << out;
    ASSERT_EQ(run({u"export", file("undone.vlkd")}), CompanionOk);
    EXPECT_TRUE(read(file("undone.vlkd")) == read(file("before.vlkd")));

    ASSERT_EQ(run({u"undo", u"--json"}), CompanionOk) << out;
    EXPECT_EQ(out.rfind("{\"undone\":", 0), 0u) << out;
    EXPECT_NE(out.find("Backups\\\\2026-12-07 14.05.09 (3).vlkd\",\"backup\":"), std::string::npos)
        << out;
    ASSERT_EQ(run({u"export", file("redone.vlkd")}), CompanionOk);
    EXPECT_TRUE(read(file("redone.vlkd")) == read(file("target.vlkd")));

    ASSERT_EQ(run({u"backups"}), CompanionOk);
    EXPECT_EQ(out.find("2026-12-07 14.05.09 (4).vlkd\n"
                       "  This PC | Hide drive D: 0 -> 1\n"),
              out.find('\n') + 1)
        << "newest first, with what it would change now:\n"
        << out;
}

TEST_F(CompanionTest, ABackupThatCannotBeWrittenIsRecordedAndTheApplyGoesOn) {
    ASSERT_EQ(run({u"export", file("state.vlkd")}), CompanionOk);
    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    hostfiles::SetVariable(kUserRootVariable, nullptr);
    ASSERT_EQ(run({u"apply", file("state.vlkd")}), CompanionOk);
    EXPECT_EQ(ReadRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 9), 0u);
    EXPECT_NE(out.find("Error records: 61:1;"), std::string::npos) << out;

    EXPECT_EQ(run({u"undo"}), CompanionBadFile) << "no backup to undo";
}

TEST_F(CompanionTest, CheckExitCodesTellWhetherTheSystemHoldsTheFile) {
    ASSERT_EQ(run({u"export", file("baseline.vlkd")}), CompanionOk);
    ASSERT_EQ(run({u"check", file("baseline.vlkd")}), CompanionOk);
    EXPECT_EQ(out, "The system holds every setting of the file.\n");

    // A record the file does not use (a check box value of 2) and the GodMode folder, which
    // cannot be read back, are not counted.
    std::string bytes = read(file("baseline.vlkd"));
    const auto setRecord = [&](std::size_t position, unsigned char value) {
        bytes[47 + position * 120 + 12] = static_cast<char>(value);
    };
    setRecord(44, 2); // chb1_4
    setRecord(50, 1); // chb3_1, the GodMode folder
    std::ofstream(dir / "crafted.vlkd", std::ios::binary) << bytes;
    EXPECT_EQ(run({u"check", file("crafted.vlkd")}), CompanionOk) << out;

    WriteRegDword(CU, kAdvanced, u"ExtendedUIHoverTime", 900);
    WriteRegDword(CU, kAdvanced, u"ShowSecondsInSystemClock", 1);
    EXPECT_EQ(run({u"check", file("crafted.vlkd")}), CompanionNotTaken);
    EXPECT_EQ(out, "Taskbar | Taskbar thumbnail delay time: 900 -> 400\n"
                   "1 setting differs from the file.\n");
    EXPECT_EQ(run({u"check", file("baseline.vlkd"), u"--json"}), CompanionNotTaken);
    EXPECT_EQ(
        out.rfind("{\"holds\":false,\"changes\":[{\"page\":\"Taskbar\",\"control\":\"spb1_2\"", 0),
        0u)
        << out;

    bytes[36] = 0x40; // version 101000 -> another
    std::ofstream(dir / "version.vlkd", std::ios::binary) << bytes;
    EXPECT_EQ(run({u"check", file("version.vlkd")}), CompanionBadFile);
    EXPECT_EQ(out.rfind("Cannot import settings. Error code: 4\n", 0), 0u) << out;
}

} // namespace
