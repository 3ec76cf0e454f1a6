// The update check's rules with a scripted service, a set clock and a real store.
#include "services/update_check.h"

#include "services/app_data_store.h"
#include "services/web.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/clock_fixed.h"
#include "tests/substitutes/web_scripted.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

namespace {

// The scripted service answers whatever the address and however long it takes.
const ServiceEndpoint kScripted{};
constexpr WebClock::time_point kNoDeadline = WebClock::time_point::max();

constexpr const char* kYes = R"({"update_available": 1})";
constexpr const char* kNo = R"({"update_available": 0})";

TEST(DayNumberTest, CountsDaysOfTheGregorianCalendarFromFirstJanuaryOfYearOne) {
    struct Case {
        int year, month, day;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {1, 1, 1, 1},         {2020, 1, 1, 737425},  {2019, 12, 31, 737424}, {2020, 2, 29, 737484},
        {2020, 3, 1, 737485}, {2021, 1, 1, 737791},  {2000, 3, 1, 730180},   {2000, 2, 28, 730178},
        {1900, 3, 1, 693655}, {1900, 2, 28, 693654},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DayNumberOf(c.year, c.month, c.day), c.expected)
            << c.year << "-" << c.month << "-" << c.day;
}

TEST(DayNumberTest, TodayComesFromTheLocalDate) {
    fixedclock::SetDate(2020, 1, 1);
    EXPECT_EQ(DayNumber(), 737425u);
    fixedclock::SetDate(2024, 2, 29);
    EXPECT_EQ(DayNumber(), DayNumberOf(2024, 3, 1) - 1);
    fixedclock::Reset();
    EXPECT_GT(DayNumber(), 738000u) << "the host's clock is past 2021";
}

class UpdateCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
        fixedclock::SetDate(2024, 3, 15);
        webscript::Reset();
    }
    void TearDown() override {
        hostfiles::Reset();
        fixedclock::Reset();
        webscript::Reset();
    }
    std::int32_t stored(const char* key) { return GetStoreInt(key, -1, kMachineScope); }
    std::int32_t today() const { return static_cast<std::int32_t>(DayNumberOf(2024, 3, 15)); }

    TestFolder machine;
    TestFolder user;
    UpdateCheckState state{0, 0};
};

TEST_F(UpdateCheckTest, ARealCheckStoresTheDayAndTheResult) {
    webscript::SetUpdateAnswer(kFetchDone, kYes);
    EXPECT_EQ(CheckForUpdate(false, state, kScripted, kNoDeadline), kNewVersion);
    EXPECT_EQ(webscript::Made().fetches, 1);
    EXPECT_EQ(stored(kLastUpdateCheckDayKey), today());
    EXPECT_EQ(stored(kLastUpdateResultKey), 808001);
    EXPECT_EQ(state.checksToday, 1);
    EXPECT_EQ(state.checkDay, DayNumberOf(2024, 3, 15));

    webscript::SetUpdateAnswer(kFetchDone, kNo);
    EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kUpToDate);
    EXPECT_EQ(stored(kLastUpdateResultKey), 808000);
}

TEST_F(UpdateCheckTest, AnswersMapToTheirResults) {
    const std::pair<std::string, int> answers[] = {
        {kYes, 1},
        {kNo, 0},
        {R"({"update_available":2})", 0},
        {R"({"update_available":"1"})", 0},
        {R"({"version":"2.0"})", 0},
        {"", 0},
        {std::string(600, ' ') + kYes, 0}, // past the 512 bytes examined
        {std::string(480, ' ') + kYes, 1},
    };
    for (const auto& [answer, expected] : answers) {
        SCOPED_TRACE(answer);
        webscript::SetUpdateAnswer(kFetchDone, answer);
        UpdateCheckState fresh{0, 0};
        EXPECT_EQ(CheckForUpdate(true, fresh, kScripted, kNoDeadline), expected);
        EXPECT_EQ(stored(kLastUpdateResultKey), 808000 + expected);
    }
}

TEST_F(UpdateCheckTest, AnUnavailableServiceGivesTwoAndChangesNothing) {
    for (const int code : {kFetchNoSession, kFetchCannotOpen, kFetchReadFailed}) {
        webscript::SetUpdateAnswer(code, kYes);
        EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kServiceUnavailable) << code;
    }
    EXPECT_EQ(stored(kLastUpdateCheckDayKey), -1);
    EXPECT_EQ(stored(kLastUpdateResultKey), -1);
}

TEST_F(UpdateCheckTest, TheStartUpCheckAsksOncePerDayButTheCommandAlwaysAsks) {
    webscript::SetUpdateAnswer(kFetchDone, kYes);
    ASSERT_EQ(SetStoreInt(kLastUpdateCheckDayKey, today(), kMachineScope), kStoreWritten);
    EXPECT_EQ(CheckForUpdate(false, state, kScripted, kNoDeadline), kUpToDate);
    EXPECT_EQ(webscript::Made().fetches, 0);
    EXPECT_EQ(state.checksToday, 1) << "counted even without asking";
    EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kNewVersion);
    EXPECT_EQ(webscript::Made().fetches, 1);

    ASSERT_EQ(SetStoreInt(kLastUpdateCheckDayKey, today() - 1, kMachineScope), kStoreWritten);
    EXPECT_EQ(CheckForUpdate(false, state, kScripted, kNoDeadline), kNewVersion)
        << "yesterday's check is old";
    EXPECT_EQ(webscript::Made().fetches, 2);
}

TEST_F(UpdateCheckTest, WithTheOptionOffOnlyTheCommandAsks) {
    webscript::SetUpdateAnswer(kFetchDone, kYes);
    for (const std::int32_t option : {0, 2, -1}) {
        ASSERT_EQ(SetStoreInt(kCheckForUpdatesKey, option, kMachineScope), kStoreWritten);
        UpdateCheckState fresh{0, 0};
        EXPECT_EQ(CheckForUpdate(false, fresh, kScripted, kNoDeadline), kUpToDate) << option;
        EXPECT_EQ(webscript::Made().fetches, 0) << option;
    }
    EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kNewVersion);
    EXPECT_EQ(webscript::Made().fetches, 1);
}

TEST_F(UpdateCheckTest, TheSixthCheckOfTheDayProbesAndRepeatsTheLastResult) {
    webscript::SetUpdateAnswer(kFetchDone, kYes);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kNewVersion);
    EXPECT_EQ(webscript::Made().fetches, 5);
    EXPECT_EQ(state.checksToday, 5);

    webscript::SetUpdateAnswer(kFetchDone, kNo);
    EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kNewVersion)
        << "the stored result, not the answer";
    EXPECT_EQ(webscript::Made().fetches, 5);
    EXPECT_EQ(webscript::Made().probes, 1);
    EXPECT_EQ(state.checksToday, 5);

    webscript::SetUpdateAnswer(kFetchCannotOpen, kNo);
    EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kServiceUnavailable);
    EXPECT_EQ(webscript::Made().probes, 2);

    webscript::SetUpdateAnswer(kFetchDone, kNo);
    for (const std::int32_t odd : {808002, 808007, 7, 0}) {
        ASSERT_EQ(SetStoreInt(kLastUpdateResultKey, odd, kMachineScope), kStoreWritten);
        EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kUpToDate) << odd;
    }
    EXPECT_EQ(webscript::Made().fetches, 5);
}

TEST_F(UpdateCheckTest, ACheckJustAfterMidnightStartsANewCountOfFive) {
    webscript::SetUpdateAnswer(kFetchDone, kNo);
    fixedclock::SetDate(2024, 2, 28);
    for (int i = 0; i < 6; ++i)
        CheckForUpdate(true, state, kScripted, kNoDeadline);
    EXPECT_EQ(webscript::Made().fetches, 5);
    fixedclock::SetDate(2024, 2, 29);
    EXPECT_EQ(CheckForUpdate(true, state, kScripted, kNoDeadline), kUpToDate);
    EXPECT_EQ(webscript::Made().fetches, 6);
    EXPECT_EQ(state.checksToday, 1);
    EXPECT_EQ(state.checkDay, DayNumberOf(2024, 2, 29));
}

} // namespace
