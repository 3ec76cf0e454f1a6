// vlk over the in-memory registry, with its settings files and backups on the host.
#include "app/vlk/companion.h"
#include "app/vlk/model_target.h"

#include "engine/registry.h"
#include "base/text.h"
#include "settings/backups.h"
#include "settings/settings_records.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"
#include "tests/support/test_folder.h"
#include "velkaro_version.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

namespace {

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine;
const char16_t* const kPolicies =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char16_t* const kOwner = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const std::string kStamp = "2026-12-07 14.05.09"; // the time the test runs vlk at

// A system of drives A C D E whose state "changed.vlkd" holds (D hidden, an owner, autorun off),
// and "base.vlkd", the state of an empty registry; backups in a folder of the test's.
class CompanionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        memreg::Reset(), fakes::Reset();
        fakes::Now().drives = 0x1D;
        SetTestVariable(u"APPDATA", dir.path().c_str());
        backups = toUtf8(BackupFolder()), backup = "Backup: " + backups + "\\" + kStamp;
        ASSERT_EQ(run({u"export", base}), 0) << out;
        WriteRegDword(LM, kPolicies, u"NoDrives", 0x8);
        WriteRegString(LM, kOwner, u"RegisteredOwner", u"Someone");
        WriteRegDword(CU, kPolicies, u"NoDriveTypeAutoRun", 255);
        ASSERT_EQ(run({u"export", changed}), 0) << out;
        memreg::ClearLog();
    }
    void TearDown() override { hostfiles::Reset(); }
    int run(const std::vector<std::u16string>& args) {
        return out.clear(), RunCompanion(args, LocalTime{2026, 12, 7, 14, 5, 9}, out);
    }
    std::u16string file(const char* name) const { return dir.path() + u"\\" + fromUtf8(name); }
    static std::string bytes(const std::u16string& path) {
        return ReadWholeFile(path).value_or("<no file>");
    }

    const TestFolder dir;
    std::string out;
    const std::u16string base = file("base.vlkd"), changed = file("changed.vlkd");
    std::string backups, backup; // the folder, and the first line of an apply's report
    const std::string drive = "This PC | Hide drive D: ", owner = "System | Registered owner: ";
    const std::string autorun = "Security | Disable autorun (recommended): ";
    const std::string toBase =
        drive + "1 -> 0\n" + owner + "\"Someone\" -> \"\"\n" + autorun + "1 -> 0\n";
    const std::string logOut = "Log-out required: yes\n",
                      holds = "The system holds every setting of the file.\n";
};

TEST_F(CompanionTest, ExportWritesThePresentStateWholeOrSaysItCouldNot) {
    EXPECT_EQ(bytes(changed).size(), kSettingsFileSize);
    EXPECT_EQ(bytes(base + u".tmp"), "<no file>");
    hostfiles::FailReplace(true);
    EXPECT_EQ(run({u"export", base}), 2);
    EXPECT_EQ(out, "Cannot save settings file. Error code: 1\n");
}

TEST_F(CompanionTest, PlanAndCheckTellWhatDiffersAndWriteNothing) {
    EXPECT_EQ(run({u"plan", base}), 0);
    EXPECT_EQ(out, toBase + logOut);
    EXPECT_EQ(run({u"check", base}), 1);
    EXPECT_EQ(out, toBase + "3 settings differ from the file.\n");
    EXPECT_EQ(run({u"check", changed, u"--json"}), 0);
    EXPECT_EQ(out, "{\"holds\":true,\"changes\":[],\"errorRecords\":\"\"}\n");
    EXPECT_TRUE(memreg::Log().empty());
    fakes::Now().drives = 0x54; // C E G: D's record is for D only
    EXPECT_EQ(run({u"plan", changed}), 0);
    EXPECT_EQ(out, "Nothing to change.\nLog-out required: no\n");
}

// A refused write is named with its status; the rest of the file is still applied.
TEST_F(CompanionTest, ApplyBacksUpTheStateBeforeAndTellsWhatTookAndWhatNot) {
    EXPECT_EQ(run({u"apply", base}), 0);
    EXPECT_EQ(out, backup + ".vlkd\n" + drive + "1 -> 0 ok\n" + owner + "\"Someone\" -> \"\" ok\n" +
                       autorun + "1 -> 0 ok\n" + logOut);
    EXPECT_TRUE(bytes(fromUtf8(backups + "\\" + kStamp + ".vlkd")) == bytes(changed));
    EXPECT_EQ(run({u"check", base}), 0) << out;
    memreg::Refuse(LM, kOwner), memreg::Refuse(LM, kPolicies);
    EXPECT_EQ(run({u"apply", changed}), 1);
    EXPECT_EQ(out, backup + " (2).vlkd\n" + drive + "0 -> 1 NOT TAKEN (now 0): access denied\n" +
                       owner + "\"\" -> \"Someone\" NOT TAKEN (now \"\"): access denied\n" +
                       autorun + "0 -> 1 ok\n" + logOut);
    std::string godMode = bytes(changed); // the GodMode folder asked for: made, and never counted
    godMode[47 + 50 * 120 + 12] = 1;
    WriteWholeFile(file("godmode.vlkd"), godMode);
    EXPECT_EQ(run({u"apply", file("godmode.vlkd")}), 1);
    EXPECT_NE(out.find("System | Add GodMode folder to the desktop: 0 -> 1 ok\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(run({u"check", file("godmode.vlkd")}), 1);
    EXPECT_EQ(out, drive + "0 -> 1\n" + owner +
                       "\"\" -> \"Someone\"\n2 settings differ from the file.\n");
}

TEST_F(CompanionTest, UndoAppliesTheNewestBackupAfterBackingUpAndBackupsTellWhatEachWouldDo) {
    EXPECT_EQ(run({u"undo"}), 2);
    EXPECT_EQ(out, "No backup to undo in " + backups + ".\n");
    EXPECT_EQ(run({u"undo", u"--json"}), 2);
    EXPECT_EQ(
        nlohmann::json::parse(out),
        (nlohmann::json{{"error", "No backup to undo in " + backups + "."}, {"errorRecords", ""}}));
    ASSERT_EQ(run({u"apply", base}), 0);
    EXPECT_EQ(run({u"backups"}), 0);
    EXPECT_EQ(out, "Backups in " + backups + ", newest first:\n" + kStamp + ".vlkd\n  " + drive +
                       "0 -> 1\n  " + owner + "\"\" -> \"Someone\"\n  " + autorun + "0 -> 1\n  " +
                       logOut);
    EXPECT_EQ(run({u"undo"}), 0);
    EXPECT_EQ(out, "Undo: applying " + backups + "\\" + kStamp + ".vlkd\n" + backup +
                       " (2).vlkd\n" + drive + "0 -> 1 ok\n" + owner + "\"\" -> \"Someone\" ok\n" +
                       autorun + "0 -> 1 ok\n" + logOut);
    EXPECT_EQ(run({u"backups", u"--json"}), 0);
    const auto listed = nlohmann::json::parse(out);
    EXPECT_EQ(listed["folder"], backups);
    EXPECT_EQ(listed["backups"][0]["name"], kStamp + " (2).vlkd");
    EXPECT_EQ(listed["backups"][0]["changes"].size(), 3u);
    EXPECT_EQ(listed["backups"][1]["logOut"], false) << "the state it holds is the present one";
    ASSERT_EQ(run({u"export", file("undone.vlkd")}), 0);
    EXPECT_TRUE(bytes(file("undone.vlkd")) == bytes(changed))
        << "undo brings it back byte for byte";
}

TEST_F(CompanionTest, AnOlderFileAnUnreadableOneAndUsageMistakesHaveTheirAnswers) {
    std::string older = "QuenorithVelkarostrandemilquorbenix"; // folder 6 and the spin at 35 set,
    older += std::string("\xA0\x86\x01\0\x38\0\0\0\0\0\0\0", 12); // the rest naming page 9
    for (int k = 0; k < 56; ++k)
        older += std::string(k == 35  ? "\x01\0\x02\0\x32\0\0\0"
                             : k == 6 ? "\0\0\x06\0\x01\0\0\0"
                             : k == 5 ? "\0\0\x0e\0\x01\0\0\0" // an item page 0 has not
                                      : "\x09\0\0\0\0\0\0\0",
                             8);
    WriteWholeFile(file("old.vlkd"), older);
    const auto usage = [](const std::string& mistake) {
        return "vlk: " + mistake + "\n\n" + kCompanionUsage;
    };
    const struct {
        std::vector<std::u16string> args;
        int exit;
        std::string out;
    } runs[] = {
        {{u"plan", file("old.vlkd")},
         0,
         "This PC | Printers: 0 -> 1\nTaskbar | Taskbar thumbnail delay time: 400 -> 50\n" +
             logOut},
        {{u"plan", file("missing.vlkd")},
         2,
         "Cannot import settings. Error code: 1\nError records: 51:2;\n"},
        {{u"check", file("missing.vlkd"), u"--json"},
         2,
         "{\"error\":\"Cannot import settings. Error code: 1\",\"errorRecords\":\"51:2;\"}\n"},
        {{}, 3, usage("no command given")},
        {{u"show", u"--jsn"}, 3, usage("unknown option \"--jsn\"")},
        {{u"--version"}, 0, "vlk " VELKARO_VERSION_TEXT " (Velkarostrandemilquorbenix)\n"}};
    for (const auto& r : runs) {
        EXPECT_EQ(run(r.args), r.exit) << out;
        EXPECT_EQ(out, r.out);
    }
}

// A file sets vlk's model under the window's control names: a drive box for each drive present.
TEST(ModelSettingsTargetTest, ThereIsADriveBoxForEachPresentDriveAndNoOther) {
    FeatureModel model{};
    ModelSettingsTarget target(model, 0x1D); // A C D E
    EXPECT_TRUE(target.setCheckBox(u"chb0_1_0", true));
    EXPECT_TRUE(target.setCheckBox(u"chb0_1_3", true));
    EXPECT_FALSE(target.setCheckBox(u"chb0_1_4", true));
    std::vector<std::uint32_t> hidden;
    for (std::size_t slot = 0; slot < 5; ++slot)
        hidden.push_back(model.computer.items[DriveSlot::item(slot)].pending.number);
    EXPECT_EQ(hidden, (std::vector<std::uint32_t>{1, 0, 0, 1, 0}));
}

// A file written two hours ago that only looks like a backup, and twenty backups more written at
// one time an hour ago (as a file system with coarse times gives them): an apply keeps the newest
// twenty, by name among equal times, and removes nothing else. With the clock put back a day
// behind twenty backups, the new backup is kept, and is the one undo takes.
TEST_F(CompanionTest, TheNewestTwentyBackupsAreKeptAndTheOneJustWrittenIsTheNewest) {
    const auto backupFile = [&](const std::string& name) {
        return fromUtf8(backups + "\\" + name);
    };
    const auto now = std::filesystem::file_time_type::clock::now();
    const auto writeAged = [&](const std::string& name, int hours) {
        WriteWholeFile(backupFile(name), "x");
        std::filesystem::last_write_time(hostfiles::HostPath(backupFile(name).c_str()),
                                         now - std::chrono::hours(hours));
    };
    writeAged("2030-01-01 00.00.09 (x).vlkd", 2);
    for (const char* other :
         {"2030-01-01 00.00.09.vlkx", "x030-01-01 00.00.09.vlkd", "2030-01-01 00-00-09.vlkd"})
        writeAged(other, 3);       // no backups: left alone
    for (int k = 29; k >= 10; --k) // latest name first
        writeAged("2030-01-01 00.00." + std::to_string(k) + ".vlkd", 1);
    EXPECT_EQ(run({u"apply", base}), 0);
    EXPECT_EQ(ListBackups().size(), 20u);
    for (const auto& [name, content] : {std::pair{"2030-01-01 00.00.09 (x).vlkd", "x"},
                                        {"2030-01-01 00.00.09.vlkx", "x"},
                                        {"x030-01-01 00.00.09.vlkd", "x"},
                                        {"2030-01-01 00-00-09.vlkd", "x"},
                                        {"2030-01-01 00.00.10.vlkd", "<no file>"},
                                        {"2030-01-01 00.00.11.vlkd", "x"}})
        EXPECT_EQ(bytes(backupFile(name)), content) << name; // the oldest went
    for (int k = 10; k < 30; ++k)
        writeAged("2030-01-01 00.00." + std::to_string(k) + ".vlkd", -24);
    EXPECT_EQ(run({u"apply", changed}), 0);
    const std::string latest = backups + "\\" + kStamp + " (2).vlkd";
    EXPECT_EQ(out.substr(0, out.find('\n')), "Backup: " + latest);
    EXPECT_EQ(bytes(fromUtf8(latest)).size(), kSettingsFileSize);
    ASSERT_EQ(ListBackups().size(), 20u);
    EXPECT_EQ(toUtf8(ListBackups().front()), latest);
}

TEST_F(CompanionTest, ShowListsTheDrivesAfterTheFoldersAndARecordEndsAReport) {
    EXPECT_EQ(run({u"show"}), 0);
    std::string drives;
    for (std::size_t at = out.find("This PC | Hide drive"); at != std::string::npos;
         at = out.find("This PC | Hide drive", at + 1))
        drives += out.substr(at + 21, 5);
    EXPECT_EQ(drives, "A = 0C = 0D = 1E = 0") << out;
    EXPECT_NE(out.find("Videos folder = 1 | HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                       "Explorer\\MyComputer\\NameSpace\\{f86fa3ab-70d2-4fc7-9c99-fcbf05467f3a} "
                       "(key)\nThis PC | Hide drive A"),
              std::string::npos);
    fakes::Now().failStep = 3, fakes::Now().failCode = 0x80070005; // the scheduler refuses
    const std::string record = "Error records: 3:2147942405;\n";
    EXPECT_EQ(run({u"apply", base}), 0);
    EXPECT_TRUE(out.ends_with(autorun + "1 -> 0 ok\n" + logOut + record)) << out;
    EXPECT_EQ(run({u"export", file("refused.vlkd")}), 0);
    EXPECT_EQ(out, "Settings have been successfully saved.\n" + record);
}

// On Windows 11 and without the telemetry task: show names why instead of a value, plan and apply
// skip what does not apply (apply ends 0 and writes none of it), check does not count it.
TEST(CompanionOnWindows11, ATweakThatDoesNotApplyIsNamedWithWhySkippedAndNotCounted) {
    memreg::Reset(), fakes::Reset();
    const TestFolder dir;
    SetTestVariable(u"APPDATA", dir.path().c_str());
    const std::u16string file = dir.path() + u"\\base.vlkd";
    std::string out;
    const auto run = [&](const std::vector<std::u16string>& args) {
        return out.clear(), RunCompanion(args, LocalTime{2026, 12, 7, 14, 5, 9}, out);
    };
    fakes::Now().taskState = 3; // ready: telemetry on
    ASSERT_EQ(run({u"export", file}), 0);
    const char16_t* objects =
        u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\"
        u"NameSpace\\{0DB7E03F-FC29-4DC6-9020-FF41B59E513A}";
    CreateRegKey(LM, objects);
    WriteRegDword(CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                  u"ShowSecondsInSystemClock", 1);
    WriteRegString(LM, kOwner, u"CurrentBuildNumber", u"22631");
    fakes::Now().taskExists = false;
    const std::string noFolder = "Windows 11 has no 3D Objects folder in This PC.";
    const std::string noTask = "This Windows has no Compatibility Appraiser task.";
    const std::string seconds = "Taskbar | Show seconds on taskbar clock: 1 -> 0";
    const std::string skipped =
        "This PC | Hide 3D Objects folder: 0 -> 1 skipped: " + noFolder + "\n";
    const std::string telemetry =
        "Privacy | Disable Compatibility telemetry: 1 -> 0 skipped: " + noTask + "\n";
    EXPECT_EQ(run({u"show"}), 0);
    EXPECT_NE(
        out.find("\nThis PC | Hide 3D Objects folder: does not apply: " + noFolder + " | HKLM"),
        std::string::npos)
        << out;
    EXPECT_EQ(run({u"show", u"--json"}), 0);
    EXPECT_NE(out.find("\"applies\":false,\"reason\":\"" + noTask), std::string::npos) << out;
    EXPECT_EQ(run({u"plan", file}), 0);
    EXPECT_EQ(out, skipped + seconds + "\n" + telemetry + "Log-out required: yes\n");
    EXPECT_EQ(run({u"check", file}), 1);
    EXPECT_EQ(out, seconds + "\n1 setting differs from the file.\n");
    EXPECT_EQ(run({u"apply", file}), 0);
    EXPECT_EQ(out.substr(out.find('\n') + 1),
              skipped + seconds + " ok\n" + telemetry + "Log-out required: yes\n");
    EXPECT_TRUE(RegKeyExists(LM, objects));
    EXPECT_EQ(run({u"check", file}), 0) << out;
    WriteRegDword(CU, u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                  u"ShowSecondsInSystemClock", 1);
    WriteRegString(LM, kOwner, u"CurrentBuildNumber", u"22000"); // no seconds either
    EXPECT_EQ(run({u"apply", file}), 0);
    EXPECT_TRUE(out.ends_with(" skipped: This Windows 11 build shows no seconds in the taskbar "
                              "clock; version 22H2 and later do.\n" +
                              telemetry + "Log-out required: no\n"))
        << "nothing written asks for no log-out: " << out;
    hostfiles::Reset();
}

// Two Applies in one second back up at once, again and again: each keeps a backup of its own,
// whole, under a name of its own.
TEST(CompanionBackups, TwoBackupsInOneSecondEachKeepTheirOwnFile) {
    const TestFolder dir;
    SetTestVariable(u"APPDATA", dir.path().c_str());
    FeatureModel state{};
    state.taskbar.items[2].current.number = 400;
    std::set<std::u16string> paths;
    for (int round = 0; round < 10; ++round) {
        ErrorTrail trails[2] = {};
        std::u16string written[2];
        std::thread other([&] {
            written[1] = BackUpState(state, 0, {2026, 12, 7, 0, 0, 0}, trails[1]);
        });
        written[0] = BackUpState(state, 0, {2026, 12, 7, 0, 0, 0}, trails[0]);
        other.join();
        for (const std::u16string& path : written)
            EXPECT_EQ(ReadWholeFile(path).value_or("").size(), kSettingsFileSize) << toUtf8(path);
        paths.insert(written, written + 2);
    }
    EXPECT_EQ(paths.size(), 20u);
    EXPECT_EQ(ListBackups().size(), 20u);
    hostfiles::Reset();
}

} // namespace
