// The update check's and the diagnostic log's rules with a scripted service, a set clock and
// real files.
#include "services/app_data_store.h"
#include "services/diagnostic_log.h"
#include "services/update_check.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/clock_fixed.h"
#include "tests/substitutes/web_scripted.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

namespace {

using webscript::script;
constexpr WebClock::time_point kNoDeadline = WebClock::time_point::max();
const std::string kYes = R"({"update_available": 1})";

TEST(DayNumberTest, CountsGregorianDaysFromFirstJanuaryOfYearOneAndTodayFromTheClockOrZero) {
    // clang-format off
    for (const auto& [y, m, d, n] : {std::array<int, 4>{1, 1, 1, 1}, {2020, 2, 29, 737484},
             {2020, 3, 1, 737485}, {2000, 2, 28, 730178}, {2000, 3, 1, 730180}, {1900, 3, 1, 693655}})
        // clang-format on
        EXPECT_EQ(DayNumberOf(y, m, d), static_cast<std::uint32_t>(n)) << y << "-" << m << "-" << d;
    fixedclock::date = LocalDate{2020, 1, 1};
    EXPECT_EQ(DayNumber(), 737425u);
    fixedclock::date.reset(), fixedclock::unreadable = true;
    EXPECT_EQ(DayNumber(), 0u) << "a clock that cannot tell";
    fixedclock::unreadable = false;
}

// Fresh folders, script and state on 15 March.
class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine = std::make_unique<TestFolder>(), user = std::make_unique<TestFolder>();
        SetTestVariable(kMachineRootVariable, machine->path().c_str());
        SetTestVariable(kUserRootVariable, user->path().c_str());
        fixedclock::date = LocalDate{2024, 3, 15};
        script = {};
        state = {0, 0};
    }
    void TearDown() override { hostfiles::Reset(), fixedclock::date.reset(); }
    int check(bool forced) { return CheckForUpdate(forced, state, {}, kNoDeadline); }
    static std::int32_t stored(const char* key) { return GetStoreInt(key, -1, kMachineScope); }
    static std::int32_t day(int d) { return static_cast<std::int32_t>(DayNumberOf(2024, 3, d)); }
    std::unique_ptr<TestFolder> machine, user;
    UpdateCheckState state{0, 0};
};

// One check from a fresh run on 15 March: whether it asks, its result and what it stores.
TEST_F(RulesTest, ACheckAsksAsItsOptionAndDaySayAndStoresARealAnswer) {
    // clang-format off
    struct Row { bool forced; int option, lastDay; int code; std::string answer; int result, fetches; };
    // Forced; the option and the last day (-1: not stored); the request's end; the result.
    std::vector<Row> rows = {
        {true, -1, -1, 0, kYes, 1, 1}, {false, -1, 14, 0, kYes, 1, 1}, {false, 1, -1, 0, kYes, 1, 1},
        {false, -1, 15, 0, kYes, 0, 0}, {true, 0, 15, 0, kYes, 1, 1}, // asked today; the command asks
        {false, 0, -1, 0, kYes, 0, 0}, {false, 2, -1, 0, kYes, 0, 0}, // only 1 turns the option on
        {true, -1, -1, 1, kYes, 2, 1}, {true, -1, -1, 2, kYes, 2, 1}, {true, -1, -1, 3, kYes, 2, 1},
        // clang-format on
    };
    // What an answer means: only digits reading 1 after the field's colon mean a new version.
    const std::string field = "{\"update_available\"";
    const std::pair<std::string, int> answers[] = {
        // clang-format off
        {"", 0}, {std::string(490, ' ') + kYes, 1}, {std::string(491, ' ') + kYes, 0}, // 512 read
        {std::string("\0", 1) + kYes, 1}, {field + " : 1 ,\"n\":\"x\"}", 1}, {field + " junk: 01}", 1},
        {field + ":1," + field + ":0}", 1}, {field + ":" + std::string(49, '0') + "1}", 1},
        {field + ":" + std::string(50, '0') + "1}", 0}, {field + ": 0}", 0}, {field + ":11}", 0},
        {field + ":1x}", 0}, {field + " 1}", 0}, {field + ":,\"v\":1}", 0},
        {R"({"update_availablex":1})", 0}, {R"({"a":"update_available","update_available":1})", 0},
        // clang-format on
    };
    for (const auto& [answer, result] : answers)
        rows.push_back({true, -1, -1, 0, answer, result, 1});
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.forced << row.option << row.lastDay << row.answer);
        SetUp();
        const std::int32_t dayBefore = row.lastDay == -1 ? -1 : day(row.lastDay);
        if (row.option != -1) SetStoreInt("CheckForUpdates", row.option, kMachineScope);
        if (row.lastDay != -1) SetStoreInt("LastUpdateCheckDay", dayBefore, kMachineScope);
        script.updateCode = row.code, script.answer = row.answer;
        EXPECT_EQ(check(row.forced), row.result);
        EXPECT_EQ(script.fetches, row.fetches);
        EXPECT_EQ(state.checksToday, 1) << "counted even without asking";
        EXPECT_EQ(state.checkDay, static_cast<std::uint32_t>(day(15)));
        const bool answered = row.fetches && row.code == 0;
        EXPECT_EQ(stored("LastUpdateResult"), answered ? 808000 + row.result : -1);
        EXPECT_EQ(stored("LastUpdateCheckDay"), answered ? day(15) : dayBefore);
    }
}

TEST_F(RulesTest, FiveChecksADayAskAndLaterOnesProbeAndRepeatTheStoredResultUntilMidnight) {
    script.answer = kYes;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(check(true), 1);
    script.answer = R"({"update_available": 0})";
    EXPECT_EQ(check(true), 1) << "the stored result, not the answer";
    EXPECT_EQ(std::tuple(script.fetches, script.probes, state.checksToday), std::tuple(5, 1, 5));
    script.updateCode = kFetchCannotOpen;
    EXPECT_EQ(check(true), 2) << "the probe failed";
    script.updateCode = kFetchDone;
    for (const std::int32_t odd : {808002, 808007, 7, 0}) {
        ASSERT_EQ(SetStoreInt("LastUpdateResult", odd, kMachineScope), 0);
        EXPECT_EQ(check(true), 0) << odd;
    }
    EXPECT_EQ(std::pair(script.fetches, script.probes), std::pair(5, 6));
    fixedclock::date = LocalDate{2024, 3, 16};
    EXPECT_EQ(check(true), 0);
    EXPECT_EQ(std::tuple(script.fetches, state.checksToday, state.checkDay),
              std::tuple(6, 1, DayNumberOf(2024, 3, 16)))
        << "a new day asks again";
}

// One save of a trail: what it reports as the option says, what it counts as reported and
// whether it writes the log, which the next run loads with all of it counted as reported.
TEST_F(RulesTest, ASaveReportsAndWritesOnlyUnreportedRecordsOfThisVersion) {
    // The trail and its reported length, the option (-1: not stored), forced, the report's result;
    // what was reported (null: nothing, and no log written), the reported length after.
    // clang-format off
    const struct { const char* text; std::uint64_t sent; int option; bool forced; int reportCode;
                   const char* reported; std::uint64_t sentAfter; } rows[] = {
        {"101000#2:5;51:-2;", 7, -1, false, 0, "2:5;51:-2;", 17},
        {"101000#2:5;", 11, -1, true, 0, nullptr, 11},
        {"101000#2:5;", 40, -1, true, 0, nullptr, 40},
        {"101000#2:5;51:2;", 11, 0, false, 0, nullptr, 11},
        {"101000#2:5;51:2;", 11, 0, true, 0, "51:2;", 16},
        {"101000#51:2;", 7, 3, false, 0, "51:2;", 12}, // only 0 turns reports off
        {"101000#51:2;", 7, -1, false, kReportNoConnection, "51:2;", 7},
        {"101001#2:5;", 0, -1, true, 0, nullptr, 0},
        {"100000#2:5;", 0, -1, true, 0, nullptr, 0},
        {"2:5;", 0, -1, true, 0, nullptr, 0},
    }; // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.text << " " << row.sent << " " << row.option);
        SetUp();
        if (row.option != -1) SetStoreInt("SendErrorReport", row.option, kUserScope);
        script.reportCode = row.reportCode;
        ErrorTrail trail{};
        std::strcpy(trail.text, row.text);
        trail.sentLength = row.sent;
        SaveErrorTrail(trail, row.forced, {}, kNoDeadline);
        EXPECT_EQ(script.reports, row.reported ? std::vector<std::string>{row.reported}
                                               : std::vector<std::string>{});
        EXPECT_EQ(trail.sentLength, row.sentAfter);
        std::memset(&trail, 0xbd, sizeof trail); // the next run's, from the log written or not
        LoadErrorTrail(trail);
        EXPECT_STREQ(trail.text, row.reported ? row.text : "101000#");
        EXPECT_EQ(trail.sentLength, std::strlen(trail.text));
    }
}

// What is not sent goes with the next save; what one report's body (cut at 1023 characters)
// does not carry goes with the next report.
TEST_F(RulesTest, RecordsAReportDidNotCarryGoWithTheNextReport) {
    std::string records;
    for (int stage = 0; records.size() < 1400; ++stage)
        records += std::to_string(stage) + ":12345;";
    ErrorTrail trail{"101000#2:5;", 7};
    script.reportCode = kReportFailed;
    SaveErrorTrail(trail, true, {}, kNoDeadline);
    script.reportCode = kReportSent;
    std::strcat(trail.text, records.c_str());
    for (int i = 0; i < 3; ++i)
        SaveErrorTrail(trail, false, {}, kNoDeadline);
    ASSERT_EQ(script.reports.size(), 3u);
    EXPECT_EQ(script.reports[1], "2:5;" + records);
    const std::size_t carried = 1023 - std::strlen("product=4&version=101000&edition=1&kind=2&"
                                                   "system=0&trail=");
    EXPECT_EQ(script.reports[2], ("2:5;" + records).substr(carried));
    EXPECT_EQ(trail.sentLength, std::strlen(trail.text));
}

} // namespace
