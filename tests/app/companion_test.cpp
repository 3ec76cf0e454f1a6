// vlk over the in-memory registry, with its settings files and backups on the host.
#include "app/vlk/companion.h"

#include "engine/registry.h"
#include "base/text.h"
#include "settings/backups.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/platform_fakes.h"
#include "tests/substitutes/registry_memory.h"
#include "tests/support/test_folder.h"
#include "velkaro_version.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>

namespace {

constexpr Hive CU = Hive::CurrentUser, LM = Hive::LocalMachine;
const char16_t* const kPolicies =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const char16_t* const kOwner = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const std::string kStamp = "2026-12-07 14.05.09"; // the time the test runs vlk at

TEST(CompanionTest, EachCommandPrintsItsReportAndEndsWithItsExitCode) {
    memreg::Reset(), fakes::Reset();
    fakes::Now().drives = 0x1D; // A C D E
    const TestFolder dir;
    SetTestVariable(u"APPDATA", dir.path().c_str());
    // clang-format off
    const auto file = [&](const char* name) { return dir.path() + u"\\" + fromUtf8(name); };
    const auto bytes = [](const std::u16string& path) { return ReadWholeFile(path).value_or("<no file>"); };
    std::string out;
    const auto run = [&](const std::vector<std::u16string>& args) { return out.clear(), RunCompanion(args, LocalTime{2026, 12, 7, 14, 5, 9}, out); };
    const std::u16string base = file("base.vlkd"), changed = file("changed.vlkd");
    const std::string backups = toUtf8(BackupFolder()), backup = "Backup: " + backups + "\\" + kStamp;
    const std::string drive = "This PC | Hide drive D: ", owner = "System | Registered owner: ";
    const std::string autorun = "Security | Disable autorun (recommended): ";
    const std::string plan = drive + "1 -> 0\n" + owner + "\"Someone\" -> \"\"\n" + autorun + "1 -> 0\n";
    const std::string logOut = "Log-out required: yes\n", saved = "Settings have been successfully saved.\n";
    const std::string holds = "The system holds every setting of the file.\n";
    const auto usage = [](const std::string& mistake) { return "vlk: " + mistake + "\n\n" + kCompanionUsage; };
    const struct { std::function<void()> before; std::vector<std::u16string> args; int exit; std::string out; } steps[] = {
        {{}, {u"export", base}, 0, saved},
        {{}, {u"undo"}, 2, "No backup to undo in " + backups + ".\n"},
        {[] { WriteRegDword(LM, kPolicies, u"NoDrives", 0x8); // D
              WriteRegString(LM, kOwner, u"RegisteredOwner", u"Someone");
              WriteRegDword(CU, kPolicies, u"NoDriveTypeAutoRun", 255);
              hostfiles::FailReplace(true); },
         {u"export", base}, 2, "Cannot save settings file. Error code: 1\n"},
        {[] { hostfiles::FailReplace(false); memreg::ClearLog(); }, {u"plan", base}, 0, plan + logOut},
        {{}, {u"check", base}, 1, plan + "3 settings differ from the file.\n"},
        {[] { EXPECT_TRUE(memreg::Log().empty()) << "plan and check write nothing"; },
         {u"export", changed}, 0, saved},
        {{}, {u"apply", base}, 0, backup + ".vlkd\n" + drive + "1 -> 0 ok\n" + owner +
             "\"Someone\" -> \"\" ok\n" + autorun + "1 -> 0 ok\n" + logOut},
        {{}, {u"check", base}, 0, holds},
        {{}, {u"check", base, u"--json"}, 0, "{\"holds\":true,\"changes\":[],\"errorRecords\":\"\"}\n"},
        {{}, {u"backups"}, 0, "Backups in " + backups + ", newest first:\n" + kStamp + ".vlkd\n  " +
             drive + "0 -> 1\n  " + owner + "\"\" -> \"Someone\"\n  " + autorun + "0 -> 1\n  " + logOut},
        {{}, {u"undo"}, 0, "Undo: applying " + backups + "\\" + kStamp + ".vlkd\n" + backup +
             " (2).vlkd\n" + drive + "0 -> 1 ok\n" + owner + "\"\" -> \"Someone\" ok\n" + autorun +
             "0 -> 1 ok\n" + logOut},
        {{}, {u"export", file("undone.vlkd")}, 0, saved},
        {[&] { std::string b = bytes(changed); b[47 + 50 * 120 + 12] = 1; // GodMode asked for
               WriteWholeFile(file("godmode.vlkd"), b); }, {u"apply", file("godmode.vlkd")}, 0,
         backup + " (3).vlkd\nSystem | Add GodMode folder to the desktop: 0 -> 1 ok\nLog-out required: no\n"},
        {{}, {u"check", file("godmode.vlkd")}, 0, holds}, // GodMode reads 0 always: not counted
        {[] { fakes::Now().drives = 0x54; }, {u"plan", changed}, 0,  // D's record is for D only
         "Nothing to change.\nLog-out required: no\n"}, // C E G
        {[&] { std::string b = "QuenorithVelkarostrandemilquorbenix"; // an older file, its
               b += std::string("\xA0\x86\x01\0\x38\0\0\0\0\0\0\0", 12);   // folder 6 and spin at 35 set, the rest naming page 9
               for (int k = 0; k < 56; ++k) b += std::string(k == 35 ? "\x01\0\x02\0\x32\0\0\0" : k == 6 ? "\0\0\x06\0\x01\0\0\0" : "\x09\0\0\0\0\0\0\0", 8);
               WriteWholeFile(file("old.vlkd"), b); },
         {u"plan", file("old.vlkd")}, 0, "This PC | Printers: 0 -> 1\nTaskbar | Taskbar thumbnail delay time: 400 -> 50\n" + logOut},
        {[] { WriteRegString(LM, kOwner, u"RegisteredOwner", u""); DeleteRegValue(CU, kPolicies, u"NoDriveTypeAutoRun");
              memreg::Refuse(LM, kOwner); },
         {u"apply", changed}, 1, backup + " (4).vlkd\n" + owner + "\"\" -> \"Someone\" NOT TAKEN (now \"\"): access denied\n" +
             autorun + "0 -> 1 ok\n" + logOut}, // the rest still applied
        {{}, {u"plan", file("missing.vlkd")}, 2, "Cannot import settings. Error code: 1\nError records: 51:2;\n"},
        {{}, {}, 3, usage("no command given")},
        {{}, {u"show", u"--jsn"}, 3, usage("unknown option \"--jsn\"")},
        {{}, {u"--version"}, 0, "vlk " VELKARO_VERSION_TEXT " (Velkarostrandemilquorbenix)\n"},
    };
    // clang-format on
    for (std::size_t k = 0; k < std::size(steps); ++k) {
        SCOPED_TRACE("step " + std::to_string(k));
        if (steps[k].before) steps[k].before();
        EXPECT_EQ(run(steps[k].args), steps[k].exit);
        EXPECT_EQ(out, steps[k].out);
    }
    EXPECT_EQ(bytes(fromUtf8(backups + "\\" + kStamp + ".vlkd")), bytes(changed))
        << "the state before";
    EXPECT_EQ(bytes(file("undone.vlkd")), bytes(changed)) << "undo brings it back byte for byte";
    EXPECT_EQ(bytes(base + u".tmp"), "<no file>");
    // A file written two hours ago that only looks like a backup, and twenty backups more written
    // at one time an hour ago (as a file system with coarse times gives them): an apply keeps the
    // newest twenty, by name among equal times, and removes nothing else.
    // clang-format off
    const auto backupFile = [&](const std::string& name) { return fromUtf8(backups + "\\" + name); };
    const auto now = std::filesystem::file_time_type::clock::now();
    const auto writeAged = [&](const std::string& name, int hours) {
        WriteWholeFile(backupFile(name), "x");
        std::filesystem::last_write_time(hostfiles::HostPath(backupFile(name).c_str()), now - std::chrono::hours(hours));
    };
    writeAged("2030-01-01 00.00.09 (x).vlkd", 2);
    for (int k = 29; k >= 10; --k) // latest name first
        writeAged("2030-01-01 00.00." + std::to_string(k) + ".vlkd", 1);
    WriteRegDword(CU, kPolicies, u"NoDriveTypeAutoRun", 0);
    EXPECT_EQ(run({u"apply", changed}), 1);
    EXPECT_EQ(ListBackups().size(), 20u);
    for (const auto& [name, content] : {std::pair{"2030-01-01 00.00.09 (x).vlkd", "x"}, {"2030-01-01 00.00.14.vlkd", "<no file>"}, {"2030-01-01 00.00.15.vlkd", "x"}})
        EXPECT_EQ(bytes(backupFile(name)), content) << name; // the five oldest went: 10 to 14
    // The clock put back a day, behind the twenty: the new backup is kept, and is the one undo takes.
    for (int k = 10; k < 30; ++k) writeAged("2030-01-01 00.00." + std::to_string(k) + ".vlkd", -24);
    WriteRegDword(CU, kPolicies, u"NoDriveTypeAutoRun", 0);
    EXPECT_EQ(run({u"apply", changed}), 1);
    const std::string latest = backups + "\\" + kStamp + " (6).vlkd";
    EXPECT_EQ(out.substr(0, out.find('\n')), "Backup: " + latest);
    EXPECT_EQ(bytes(fromUtf8(latest)).size(), 8327u);
    ASSERT_EQ(ListBackups().size(), 20u);
    EXPECT_EQ(toUtf8(ListBackups().front()), latest);
    // clang-format on
    hostfiles::Reset();
}

// On Windows 11 and without the telemetry task: show names why instead of a value, plan and apply
// skip what does not apply (apply ends 0 and writes none of it), check does not count it.
TEST(CompanionTest, ATweakThatDoesNotApplyIsNamedWithWhySkippedAndNotCounted) {
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
    hostfiles::Reset();
}

// Two Applies in one second back up at once, again and again: each keeps a backup of its own,
// whole, under a name of its own.
TEST(CompanionTest, TwoBackupsInOneSecondEachKeepTheirOwnFile) {
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
            EXPECT_EQ(ReadWholeFile(path).value_or("").size(), 8327u) << toUtf8(path);
        paths.insert(written, written + 2);
    }
    EXPECT_EQ(paths.size(), 20u);
    EXPECT_EQ(ListBackups().size(), 20u);
    hostfiles::Reset();
}

} // namespace
