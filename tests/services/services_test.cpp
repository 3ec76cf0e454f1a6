// The data store over real files, the error trail, its log image and the update address, natively
// and under Wine; natively also the update check's and the log's rules (scripted web, set clock).
#include "services/app_data_store.h"
#include "services/app_files.h"
#include "services/diagnostic_log.h"
#include "base/error_trail.h"
#include "services/service_address.h"
#include "services/trail_image.h"
#include "services/update_check.h"

#include "engine/registry.h"
#include "base/text.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <string>

#ifndef _WIN32
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/clock_fixed.h"
#include "tests/substitutes/registry_memory.h"
#include "tests/substitutes/web_scripted.h"
#endif

namespace {

// Fresh machine and user folders (scopes 0 and 1) for each test, and for each row that asks.
class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine = std::make_unique<TestFolder>(), user = std::make_unique<TestFolder>();
        SetTestVariable(u"PROGRAMDATA", machine->path().c_str());
        SetTestVariable(u"APPDATA", user->path().c_str());
    }
    std::u16string storeFile(StoreScope scope) const {
        return (scope == 0 ? machine : user)->path() +
               u"\\Quenorith\\Velkarostrandemilquorbenix\\Store.cfg";
    }
    void givenStore(const std::string& content) {
        char16_t path[kStorePathCapacity];
        ASSERT_TRUE(StoreFilePath(kStoreFileName, 0, path)); // creates the folders
        ASSERT_TRUE(WriteWholeFile(storeFile(0), content));
    }
    std::string stored(StoreScope scope = 0) const {
        return ReadWholeFile(storeFile(scope)).value_or("<no file>");
    }
    std::unique_ptr<TestFolder> machine, user;
};

TEST_F(StoreTest, ReadsTakeTheFirstWellFormedLineOfTheKeyAndWritesChangeOnlyIt) {
    // The file, the number and the text read (42, null: the default), the file after writing 12.
    // clang-format off
    const struct { const char* content; std::int32_t number; const char *text, *afterWriting12; } rows[] = {
        {"b=1\na=-17\n", -17, nullptr, "b=1\na=12\n"}, {"a=", 0, nullptr, "a=12"},
        {"a=-2147483648", -2147483647 - 1, nullptr, "a=12"}, {"a=12a\nb=7", 42, nullptr, "a=12\nb=7"},
        {"a=000000000007", 42, nullptr, "a=12"}, {"a=12345678901", 42, nullptr, "a=12"},
        {"a=2147483647", 2147483647, nullptr, "a=12"}, {"a=2147483648", 42, nullptr, "a=12"},
        {" a=5\nab=5\nA=5\n\ra=5", 42, nullptr, " a=5\nab=5\nA=5\n\ra=5\na=12\n"}, // no "a=" at a line start
        {"x=1\na=1\na=2\n", 1, nullptr, "x=1\na=12\na=2\n"}, {"a=   \"spaced\"", 42, "spaced", "a=12"},
        {"a=\"C:\\Zo\xc3\xab\\x.vlkd\"\n", 42, "C:\\Zo\xc3\xab\\x.vlkd", "a=12\n"},
        {"a=noquote\nb=\"other\"\na=\"later\"", 42, "later", "a=12\nb=\"other\"\na=\"later\""},
        {"a=\"two\nlines", 42, "two\nlines", "a=12\nlines"}, {"a=\"\"\n\n", 42, "", "a=12\n\n"},
        {"b=5\n\n", 42, nullptr, "b=5\n\na=12\n"}, {"", 42, nullptr, "a=12\n"},
    }; // clang-format on
    for (const auto& row : rows) {
        SCOPED_TRACE(row.content);
        givenStore(row.content);
        EXPECT_EQ(GetStoreInt("a", 42, 0), row.number);
        char text[64];
        const std::string expected = row.text ? row.text : "default";
        EXPECT_EQ(GetStoreText(text, sizeof text, "a", "default", 0),
                  row.text ? expected.size() : 0);
        EXPECT_EQ(text, expected);
        EXPECT_EQ(SetStoreInt("a", 12, 0), kStoreWritten);
        EXPECT_EQ(stored(), row.afterWriting12);
    }
    char text[8];
    text[7] = '#'; // past the capacity given: never written
    EXPECT_EQ(GetStoreText(text, 7, "a", "defaults", 0), 0u) << "no room for the zero";
    EXPECT_STREQ(text, "defaul");
    givenStore("a=\"seven!!\"");
    EXPECT_EQ(GetStoreText(text, 7, "a", "defaults", 0), 0u) << "a stored text alike";
    EXPECT_STREQ(text, "defaul");
    EXPECT_EQ(text[7], '#');
}

TEST_F(StoreTest, RefusedWritesHaveTheirCodesAndChangeNothing) {
    const std::string key150(150, 'k'), key151(151, 'k');
    const std::string content = "a=1\n" + std::string(52428 - 5, 'x') + "\n";
    givenStore(content);
    EXPECT_EQ(GetStoreInt("a", 0, 0), 1) << "52428 bytes are still read";
    // The key, the text (null: a number is written), the scope and the code.
    // clang-format off
    const struct { const char *key, *text; StoreScope scope; int code; } rows[] = {
        {nullptr, nullptr, 0, 1}, {nullptr, "t", 0, 1}, {"a", "say \"hi\"", 0, 1}, {"a", "two\nlines", 0, 1},
        {"a", nullptr, 2, 6}, {"a", nullptr, -1, 6}, {"", "t", 0, 2}, {key151.c_str(), nullptr, 0, 2},
        {key151.c_str(), "t", 0, 2}, {"a", "grows past the limit", 0, 3}, {"b", nullptr, 0, 3},
        {key150.c_str(), nullptr, 1, 0}, {"a", nullptr, 0, 0}, // the same size
    }; // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(row.text ? SetStoreText(row.key, row.text, row.scope)
                           : SetStoreInt(row.key, 9, row.scope),
                  row.code);
    EXPECT_EQ(SetStoreText("a", nullptr, 0), 1);
    EXPECT_EQ(stored(), "a=9" + content.substr(3));
    givenStore(content + "\n");
    EXPECT_EQ(GetStoreInt("a", 5, 0), 5) << "52429 bytes are not read";
    EXPECT_EQ(SetStoreInt("a", 2, 0), kStoreTooLarge);
    givenStore("=5\n" + key151 + "=5\n" + key151 + "=\"t\"\n");
    for (const char* key : {key151.c_str(), "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(GetStoreInt(key, 9, 0), 9);
}

TEST_F(StoreTest, EachScopeHasItsFileWhichTheFirstWriteCreatesUnlessThereIsNoPath) {
    EXPECT_EQ(SetStoreInt("CheckForUpdates", -7, 0), kStoreWritten);
    EXPECT_EQ(SetStoreText("LastDataFile", "x", 1), kStoreWritten);
    EXPECT_EQ(stored(0) + stored(1), "CheckForUpdates=-7\nLastDataFile=\"x\"\n");
    EXPECT_FALSE(ReadWholeFile(storeFile(0) + u".tmp")) << "no replacement left behind";
    MakeDataFolder((storeFile(0) + u".tmp").c_str()); // a replacement that cannot be opened
    EXPECT_EQ(SetStoreInt("CheckForUpdates", 1, 0), kStoreCannotWrite);
    SetTestVariable(u"PROGRAMDATA", nullptr);
    EXPECT_EQ(SetStoreInt("a", 1, 0), kStoreCannotWrite);
    char16_t none[kStorePathCapacity];
    EXPECT_FALSE(StoreFilePath(kStoreFileName, 0, none));
    const std::u16string deep =
        user->path() + u"\\" + std::u16string(230 - user->path().size(), u'd');
    SetTestVariable(u"APPDATA", deep.c_str());
    EXPECT_EQ(SetStoreInt("a", 1, 1), kStoreCannotWrite) << "a cut path would be another file";
    const std::u16string file = u"\\Quenorith\\Velkarostrandemilquorbenix\\Store.cfg";
    for (const std::size_t length : {259, 260}) { // the whole path with its zero: fits, or not
        const std::u16string root = deep.substr(0, length - file.size());
        SetTestVariable(u"APPDATA", root.c_str());
        char16_t path[kStorePathCapacity];
        EXPECT_EQ(StoreFilePath(kStoreFileName, 1, path) ? path : u"<no path>",
                  length == 259 ? root + file : u"<no path>");
    }
#ifndef _WIN32
    SetTestVariable(u"APPDATA", user->path().c_str());
    ASSERT_EQ(SetStoreInt("a", 5, 1), kStoreWritten);
    hostfiles::FailReplace(true); // as a full disk or a crash before the move would
    EXPECT_EQ(SetStoreInt("a", 6, 1), kStoreCannotWrite);
    EXPECT_FALSE(ReadWholeFile(storeFile(1) + u".tmp")) << "the replacement is removed";
    hostfiles::FailReplace(false);
    EXPECT_EQ(stored(1), "LastDataFile=\"x\"\na=5\n") << "the old file is whole";
    WriteWholeFile(storeFile(1) + u".tmp", "left by a crash");
    EXPECT_EQ(SetStoreInt("a", 7, 1), kStoreWritten) << "a leftover replacement is overwritten";
#endif
}

TEST(ErrorTrailTest, RecordsHaveTheirFormsAndAreAppendedOnlyWhenNotAlreadyThere) {
    ErrorTrail trail{"101000#", 7};
    AppendErrorRecord(trail, 2, 5), AppendErrorRecord(trail, 2, 5), AppendErrorRecord(trail, 2, 6);
    AppendSignedErrorRecord(trail, 54, -3), AppendTextErrorRecord(trail, 52, "abc");
    AppendErrorRecord(trail, 3, 18446744073709551615ull);
    AppendErrorRecord(trail, 51, 5), AppendErrorRecord(trail, 1, 5); // the tail of "51:5;"
    EXPECT_STREQ(trail.text, "101000#2:5;2:6;54:-3;52:\"abc\";3:18446744073709551615;51:5;");
    EXPECT_EQ(trail.sentLength, 7u) << "appending never counts as reported";
    trail = ErrorTrail{"101000#", 7};
    AppendTextErrorRecord(trail, 52, std::string(300, 'x').c_str());
    EXPECT_EQ(std::string(trail.text), "101000#52:\"" + std::string(251, 'x')) << "255 at most";
    for (std::uint64_t code = 1000000; std::strlen(trail.text) < 1536; ++code)
        AppendErrorRecord(trail, 3, code);
    EXPECT_EQ(std::strlen(trail.text), 1536u) << "the last record cut";
    const std::string full = trail.text;
    AppendErrorRecord(trail, 2, 424242), AppendTextErrorRecord(trail, 53, "tag");
    EXPECT_EQ(std::string(trail.text), full);
}

// The trail the next run starts with, from the first size bytes of the image of a saved text.
struct Image {
    unsigned char bytes[kTrailImageSize];
    explicit Image(const std::string& text) {
        ErrorTrail trail{};
        std::memcpy(trail.text, text.data(), text.size());
        trail.sentLength = 7;
        WriteTrailImage(trail, bytes);
    }
    std::pair<std::string, std::uint64_t> loaded(std::size_t size = kTrailImageSize) const {
        ErrorTrail trail;
        std::memset(&trail, 0xbd, sizeof trail);
        LoadTrailImage(bytes, size, trail);
        return {trail.text, trail.sentLength};
    }
};

// Logs earlier runs wrote stay readable: the scrambled text, its zero and filling, the reported
// length with the mask, byte for byte. Only a whole image of this version or later loads.
TEST(TrailImageTest, ASavedTrailLoadsBackCountedAsReportedAndAnythingElseStartsAFreshOne) {
    Image image("101000#2:5;");
    EXPECT_EQ(std::string(image.bytes, image.bytes + 14), "@m\x12g~\x05"
                                                          "bywifC,}");
    EXPECT_EQ(std::string(image.bytes + kTrailTextSize - 2, image.bytes + kTrailImageSize),
              "\xde\x97\x73\xf0\xd4\xb2\xe9\xc3\x17\x5a");
    const std::string full = "101000#" + std::string(kTrailTextSize - 7, 'r');
    for (const std::string& saved : {std::string("101000#"), std::string("101000#2:5;52:\"x\";"),
                                     full, std::string("12345678901#1:2;")}) // eleven digits
        EXPECT_EQ(Image(saved).loaded(), std::make_pair(saved, std::uint64_t{saved.size()}));
    const std::pair<std::string, std::uint64_t> fresh = {"101000#", 7};
    for (const char* older : {"123456789012#", "100000#1:2;", "#1:2;", "10x000#", "101000"})
        EXPECT_EQ(Image(older).loaded(), fresh) << older;
    EXPECT_EQ(image.loaded(kTrailImageSize - 1), fresh) << "a short file";
    EXPECT_EQ(image.loaded(0), fresh) << "no file";
    for (int i = 0; i < 8; ++i) // a length the text goes past: the rest is not yet reported
        image.bytes[kTrailTextSize + i] =
            static_cast<unsigned char>((6 + kTrailLengthMask) >> 8 * i);
    EXPECT_EQ(image.loaded().second, 6u);
    std::memset(image.bytes + kTrailTextSize, 0xFF, 8);
    EXPECT_EQ(image.loaded().second, 11u) << "a length past the text is held to it";
    image.bytes[0] ^= '1' ^ '0';
    EXPECT_EQ(image.loaded(), fresh) << "001000 is an older version";
}

TEST(ServiceAddressTest, TheUpdateAddressCarriesTheVersionAndIsRefusedPast99Units) {
    auto address = [](const std::u16string& base) -> std::string {
        ServiceEndpoint e;
        char16_t text[kUpdateAddressCapacity];
        if (!ParseServiceBase(base, e)) return "<no base>";
        return BuildUpdateAddress(e, text) ? toUtf8(text) : "<too long>";
    };
    const std::string query = "/update?product=4&version=" VELKARO_VERSION_NUMBER_TEXT "&edition=1";
    EXPECT_EQ(address(u"https://quenorith.example/v"), "https://quenorith.example/v" + query);
    EXPECT_EQ(address(u"http://127.0.0.1:65535"), "http://127.0.0.1:65535" + query);
    EXPECT_EQ(address(u"http://h/" + std::u16string(48, u'f')),
              "http://h/" + std::string(48, 'f') + query);
    EXPECT_EQ(address(u"http://h/" + std::u16string(49, u'f')), "<too long>") << "100 units";
    ServiceEndpoint e;
    ASSERT_TRUE(ParseServiceBase(u"https://quenorith.example/v", e));
    char16_t object[kUpdateAddressCapacity];
    std::fill(std::begin(object), std::end(object), u'x'); // what the buffer held before
    EXPECT_EQ(BuildUpdateObject(e, object) ? toUtf8(object) : "<too long>", "/v" + query);
    char16_t report[160];
    std::fill(std::begin(report), std::end(report), u'x');
    EXPECT_EQ(BuildReportObject(e, report) ? toUtf8(report) : "<too long>", "/v/report");
    ServiceEndpoint host;
    EXPECT_TRUE(ParseServiceBase(u"http://" + std::u16string(63, u'h'), host));
    EXPECT_FALSE(ParseServiceBase(u"http://" + std::u16string(64, u'h'), host)) << "past 63 units";
    for (const char16_t* bad :
         {u"ftp://host/x", u"https://", u"http://host:/x", u"http://host:0", u"http://host:65536",
          u"http://host:4294967376", u"http://host:12a", u"http://host/x/", u"http://host/x?y=1",
          u"http://user@host/x", u"host/x"})
        EXPECT_EQ(address(bad), "<no base>") << toUtf8(bad);
}

#ifndef _WIN32

using webscript::script;
constexpr WebClock::time_point kNoDeadline = WebClock::time_point::max();
const std::string kYes = R"({"update_available": 1})";

TEST(DayNumberTest, CountsGregorianDaysFromFirstJanuaryOfYearOneAndTodayFromTheClockOrZero) {
    // clang-format off
    for (const auto& [y, m, d, n] : {std::array<int, 4>{1, 1, 1, 1}, {2020, 2, 29, 737484},
             {2000, 3, 1, 730180}, {1900, 3, 1, 693655}})
        EXPECT_EQ(DayNumberOf(y, m, d), static_cast<std::uint32_t>(n)) << y << "-" << m << "-" << d;
    // clang-format on
    fixedclock::date = LocalDate{2020, 1, 1};
    EXPECT_EQ(DayNumber(), 737425u);
    fixedclock::date.reset();
    EXPECT_EQ(DayNumber(), 0u) << "a clock that cannot tell";
}

// Fresh folders, script and state on 15 March.
class RulesTest : public StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        fixedclock::date = LocalDate{2024, 3, 15}, script = {}, state = {0, 0};
    }
    void TearDown() override { hostfiles::Reset(), fixedclock::date.reset(); }
    int check(bool forced) { return CheckForUpdate(forced, state, {}, kNoDeadline); }
    static std::int32_t number(const char* key) { return GetStoreInt(key, -1, kMachineScope); }
    static std::int32_t day(int d) { return static_cast<std::int32_t>(DayNumberOf(2024, 3, d)); }
    UpdateCheckState state{0, 0};
};

// One check from a fresh run on 15 March: whether it asks, its result and what it stores.
TEST_F(RulesTest, ACheckAsksAsItsOptionAndDaySayAndStoresARealAnswer) {
    // Forced, option and last day (-1: not stored), the request's end, answer, result, requests.
    // clang-format off
    struct Row { bool forced; int option, lastDay; int code; std::string answer; int result, fetches; };
    std::vector<Row> rows = {
        {true, -1, -1, 0, kYes, 1, 1}, {false, -1, 14, 0, kYes, 1, 1}, {false, 1, -1, 0, kYes, 1, 1},
        {false, -1, 15, 0, kYes, 0, 0}, {true, 0, 15, 0, kYes, 1, 1}, // asked today; the command asks
        {false, 0, -1, 0, kYes, 0, 0}, {false, 2, -1, 0, kYes, 0, 0}, // only 1 turns the option on
        {true, -1, -1, 1, kYes, 2, 1}, {true, -1, -1, 2, kYes, 2, 1}, {true, -1, -1, 3, kYes, 2, 1},
    };
    // What an answer means: only digits reading 1 after the field's colon mean a new version.
    const std::string field = "{\"update_available\"";
    const std::pair<std::string, int> answers[] = {
        {"", 0}, {std::string(490, ' ') + kYes, 1}, {std::string(491, ' ') + kYes, 0}, // 512 read
        {std::string("\0", 1) + kYes, 1}, {field + " : 1 ,\"n\":\"x\"}", 1}, {field + " junk: 01}", 1},
        {field + ":1," + field + ":0}", 1}, {field + ":" + std::string(49, '0') + "1}", 1},
        {field + ":" + std::string(50, '0') + "1}", 0}, {field + ": 0}", 0}, {field + ":11}", 0},
        {field + ":1x}", 0}, {field + " 1}", 0}, {field + ":,\"v\":1}", 0},
        {R"({"update_availablex":1})", 0}, {R"({"a":"update_available","update_available":1})", 0},
    }; // clang-format on
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
        EXPECT_EQ(std::pair(state.checksToday, state.checkDay),
                  std::pair(1, DayNumberOf(2024, 3, 15)))
            << "counted even without asking";
        const bool answered = row.fetches && row.code == 0;
        EXPECT_EQ(number("LastUpdateResult"), answered ? 808000 + row.result : -1);
        EXPECT_EQ(number("LastUpdateCheckDay"), answered ? day(15) : dayBefore);
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
    for (const std::int32_t odd : {808002, 808007, 7, 0})
        EXPECT_EQ((SetStoreInt("LastUpdateResult", odd, kMachineScope), check(true)), 0) << odd;
    EXPECT_EQ(std::pair(script.fetches, script.probes), std::pair(5, 6));
    fixedclock::date = LocalDate{2024, 3, 16};
    EXPECT_EQ(check(true), 0);
    EXPECT_EQ(std::pair(script.fetches, state.checksToday), std::pair(6, 1)) << "a new day asks";
}

// One save of a trail: the trail and its reported length, the option (-1: not stored), forced,
// the report's result; what was reported (null: nothing, and no log written), the reported length
// after; the trail the next run loads, all of it counted as reported.
TEST_F(RulesTest, ASaveReportsAndWritesOnlyUnreportedRecordsOfThisVersion) {
    // clang-format off
    const struct { const char* text; std::uint64_t sent; int option; bool forced; int reportCode;
                   const char* reported; std::uint64_t sentAfter; } rows[] = {
        {"101000#2:5;51:-2;", 7, -1, false, 0, "2:5;51:-2;", 17}, {"101000#2:5;", 11, -1, true, 0, nullptr, 11},
        {"101000#2:5;", 40, -1, true, 0, nullptr, 40}, {"101000#2:5;51:2;", 11, 0, false, 0, nullptr, 11},
        {"101000#2:5;51:2;", 11, 0, true, 0, "51:2;", 16},
        {"101000#51:2;", 7, 3, false, 0, "51:2;", 12}, // only 0 turns reports off
        {"101000#51:2;", 7, -1, false, kReportNoConnection, "51:2;", 7},
        {"101001#2:5;", 0, -1, true, 0, nullptr, 0}, {"100000#2:5;", 0, -1, true, 0, nullptr, 0},
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

// What is not sent goes with the next save; what one report's body (cut at 1023 characters, the
// build number in it) does not carry goes with the next report.
TEST_F(RulesTest, RecordsAReportDidNotCarryGoWithTheNextReport) {
    for (const auto& [build, number] :
         {std::pair{u"4294967295", 4294967295u}, {u"4294967296", 0u}, {u"12a", 12u}}) {
        WriteRegString(Hive::LocalMachine, kSystemNumberKey, kSystemNumberValue, build);
        EXPECT_EQ(ReadSystemNumber(), number) << toUtf8(build);
    }
    ASSERT_TRUE(WriteRegString(Hive::LocalMachine,
                               u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                               u"CurrentBuildNumber", u"19045"));
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
    const std::size_t carried = 1023 - std::strlen("product=4&version=" VELKARO_VERSION_NUMBER_TEXT
                                                   "&edition=1&kind=2&system=19045&trail=");
    EXPECT_EQ(script.reports[2], ("2:5;" + records).substr(carried));
    EXPECT_EQ(trail.sentLength, std::strlen(trail.text));
    memreg::Reset();
}

#endif

} // namespace
