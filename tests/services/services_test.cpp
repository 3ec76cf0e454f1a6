// The services' portable parts, natively and under Wine: the data store over real files (the
// host's natively, the C runtime's under Wine) with its line rules, limits and failure codes;
// the error trail's records and its image in the diagnostic log; what the program tells the
// maker's services.
#include "services/app_data_store.h"
#include "services/error_trail.h"
#include "services/service_address.h"
#include "services/trail_image.h"

#include "engine/registry.h"
#include "engine/text.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#ifndef _WIN32
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/registry_memory.h"
#endif

namespace {

class AppDataStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(u"PROGRAMDATA", machine.path().c_str()); // scope 0
        SetTestVariable(u"APPDATA", user.path().c_str());        // scope 1
    }
    std::u16string storeFile(StoreScope scope) const {
        return (scope == 0 ? machine : user).path() +
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
    TestFolder machine, user;
};

TEST_F(AppDataStoreTest, ReadsTakeTheFirstWellFormedLineOfTheKeyAndWritesChangeOnlyIt) {
    // The file, the number and the text read (42, null: the default), the file after writing 12.
    // clang-format off
    const struct { const char* content; std::int32_t number; const char *text, *afterWriting12; } rows[] = {
        {"b=1\na=-17\n", -17, nullptr, "b=1\na=12\n"}, {"a=", 0, nullptr, "a=12"},
        {"a=-2147483648", -2147483647 - 1, nullptr, "a=12"}, {"a=12a\nb=7", 42, nullptr, "a=12\nb=7"},
        {"a=000000000007", 42, nullptr, "a=12"}, {"a=12345678901", 42, nullptr, "a=12"},
        {" a=5\nab=5\nA=5\n\ra=5", 42, nullptr, " a=5\nab=5\nA=5\n\ra=5\na=12\n"}, // no "a=" at a line start
        {"x=1\na=1\na=2\n", 1, nullptr, "x=1\na=12\na=2\n"}, {"a=   \"spaced\"", 42, "spaced", "a=12"},
        {"a=\"C:\\Zo\xc3\xab\\x.vlkd\"\n", 42, "C:\\Zo\xc3\xab\\x.vlkd", "a=12\n"},
        {"a=noquote\nb=\"other\"\na=\"later\"", 42, "later", "a=12\nb=\"other\"\na=\"later\""},
        {"a=\"two\nlines", 42, "two\nlines", "a=12\nlines"}, {"a=\"\"\n\n", 42, "", "a=12\n\n"},
        {"b=5\n\n", 42, nullptr, "b=5\n\na=12\n"}, {"", 42, nullptr, "a=12\n"},
        // clang-format on
    };
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
    EXPECT_EQ(SetStoreText("a", "C:\\Zo\xc3\xab", 0), kStoreWritten);
    EXPECT_EQ(stored(), "a=\"C:\\Zo\xc3\xab\"\n");
    char text[7];
    EXPECT_EQ(GetStoreText(text, 7, "a", "defaults", 0), 0u) << "no room for the zero";
    EXPECT_STREQ(text, "defaul");
}

TEST_F(AppDataStoreTest, RefusedWritesHaveTheirCodesAndChangeNothing) {
    const std::string key150(150, 'k'), key151(151, 'k');
    const std::string content = "a=1\n" + std::string(52428 - 5, 'x') + "\n";
    givenStore(content);
    EXPECT_EQ(GetStoreInt("a", 0, 0), 1) << "52428 bytes are still read";
    // The key, the text (null: a number is written), the scope and the code.
    // clang-format off
    const struct { const char *key, *text; StoreScope scope; int code; } rows[] = {
        {nullptr, nullptr, 0, 1}, {nullptr, "t", 0, 1}, {"a", "say \"hi\"", 0, 1}, {"a", "two\nlines", 0, 1},
        {"", "t", 0, 2}, {key151.c_str(), nullptr, 0, 2}, {key151.c_str(), "t", 0, 2},
        {"a", "grows past the limit", 0, 3}, {"b", nullptr, 0, 3}, {"a", nullptr, 2, 6}, {"a", nullptr, -1, 6},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.text ? SetStoreText(row.key, row.text, row.scope)
                           : SetStoreInt(row.key, 9, row.scope),
                  row.code);
    EXPECT_EQ(SetStoreText("a", nullptr, 0), 1);
    EXPECT_EQ(stored(), content);
    EXPECT_EQ(SetStoreInt("a", 2, 0), kStoreWritten) << "the same size";
    givenStore(content + "\n");
    EXPECT_EQ(GetStoreInt("a", 5, 0), 5) << "52429 bytes are not read";
    EXPECT_EQ(SetStoreInt("a", 2, 0), kStoreTooLarge);
    givenStore("=5\n" + key151 + "=5\n" + key151 + "=\"t\"\n");
    char text[8];
    EXPECT_EQ(GetStoreText(text, sizeof text, key151.c_str(), "d", 0), 0u);
    for (const char* key : {key151.c_str(), "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(GetStoreInt(key, 9, 0), 9);
    EXPECT_EQ(SetStoreInt(key150.c_str(), 150, 1), kStoreWritten);
    EXPECT_EQ(GetStoreInt(key150.c_str(), 0, 1), 150);
}

TEST_F(AppDataStoreTest, EachScopeHasItsFileWhichTheFirstWriteCreatesUnlessThereIsNoPath) {
    EXPECT_EQ(SetStoreInt("CheckForUpdates", -7, 0), kStoreWritten);
    EXPECT_EQ(SetStoreText("LastDataFile", "x", 1), kStoreWritten);
    EXPECT_EQ(stored(0) + stored(1), "CheckForUpdates=-7\nLastDataFile=\"x\"\n");
    EXPECT_FALSE(ReadWholeFile(storeFile(0) + u".new")) << "no replacement left behind";
    SetTestVariable(u"PROGRAMDATA", nullptr);
    EXPECT_EQ(SetStoreInt("a", 1, 0), kStoreCannotWrite);
    const std::u16string deep =
        user.path() + u"\\" + std::u16string(230 - user.path().size(), u'd');
    SetTestVariable(u"APPDATA", deep.c_str());
    EXPECT_EQ(SetStoreInt("a", 1, 1), kStoreCannotWrite) << "a cut path would be another file";
#ifndef _WIN32
    SetTestVariable(u"APPDATA", user.path().c_str());
    ASSERT_EQ(SetStoreInt("a", 5, 1), kStoreWritten);
    hostfiles::FailReplace(true); // as a full disk or a crash before the move would
    EXPECT_EQ(SetStoreInt("a", 6, 1), kStoreCannotWrite);
    hostfiles::FailReplace(false);
    EXPECT_EQ(stored(1), "LastDataFile=\"x\"\na=5\n") << "the old file is whole";
#endif
}

TEST(ErrorTrailTest, RecordsHaveTheirFormsAndAreAppendedOnlyWhenNotAlreadyThere) {
    ErrorTrail trail{"101000#", 7};
    AppendErrorRecord(trail, 2, 5), AppendErrorRecord(trail, 2, 5), AppendErrorRecord(trail, 2, 6);
    AppendSignedErrorRecord(trail, 54, -3), AppendTextErrorRecord(trail, 52, "abc");
    AppendErrorRecord(trail, 3, 18446744073709551615ull);
    AppendSignedErrorRecord(trail, 51, -9223372036854775807ll - 1);
    AppendErrorRecord(trail, 51, 5), AppendErrorRecord(trail, 1, 5); // the tail of "51:5;"
    EXPECT_STREQ(trail.text, "101000#2:5;2:6;54:-3;52:\"abc\";3:18446744073709551615;"
                             "51:-9223372036854775808;51:5;");
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

struct Image {
    unsigned char bytes[kTrailImageSize];
    explicit Image(const std::string& text) {
        ErrorTrail trail{};
        std::memcpy(trail.text, text.data(), text.size());
        trail.sentLength = 7;
        WriteTrailImage(trail, bytes);
    }
    // The trail the next run starts with, given the first size bytes of the file.
    std::pair<std::string, std::uint64_t> loaded(std::size_t size = kTrailImageSize) const {
        ErrorTrail trail;
        std::memset(&trail, 0xbd, sizeof trail);
        LoadTrailImage(bytes, size, trail);
        return {trail.text, trail.sentLength};
    }
    std::string hex(std::size_t from, std::size_t count) const {
        std::string text;
        for (std::size_t i = from; i < from + count; ++i)
            text += "0123456789abcdef"[bytes[i] >> 4], text += "0123456789abcdef"[bytes[i] & 15];
        return text;
    }
};

// Logs written by earlier runs stay readable: the scrambled text, its zero and filling, and the
// reported length with the mask, byte for byte.
TEST(TrailImageTest, ASavedTrailKeepsItsBytesAndLoadsBackCountedAsReported) {
    const Image image("101000#2:5;");
    EXPECT_EQ(image.hex(0, 14), "406d12677e056279776966432c7d");
    EXPECT_EQ(image.hex(kTrailTextSize - 2, 10), "de9773f0d4b2e9c3175a");
    const std::string full = "101000#" + std::string(kTrailTextSize - 7, 'r');
    for (const std::string& saved : {std::string("101000#"), std::string("101000#2:5;52:\"x\";"),
                                     full, std::string("12345678901#1:2;")}) // eleven digits
        EXPECT_EQ(Image(saved).loaded(), std::make_pair(saved, std::uint64_t{saved.size()}));
}

TEST(TrailImageTest, AnOlderShortOrDamagedLogStartsAFreshTrail) {
    const std::pair<std::string, std::uint64_t> fresh = {"101000#", 7};
    for (const char* older : {"123456789012#", "100000#1:2;", "#1:2;", "10x000#", "101000"})
        EXPECT_EQ(Image(older).loaded(), fresh) << older;
    Image tampered("101000#1:2;");
    EXPECT_EQ(tampered.loaded(kTrailImageSize - 1), fresh) << "a short file";
    EXPECT_EQ(tampered.loaded(0), fresh) << "no file";
    std::memset(tampered.bytes + kTrailTextSize, 0xFF, 8);
    EXPECT_EQ(tampered.loaded().second, 11u) << "a length past the text is held to it";
    tampered.bytes[0] ^= '1' ^ '0';
    EXPECT_EQ(tampered.loaded(), fresh) << "001000 is an older version";
}

TEST(ServiceAddressTest, TheUpdateAddressCarriesTheVersionAndIsRefusedPast99Units) {
    auto address = [](const std::u16string& base) -> std::string {
        ServiceEndpoint e;
        char16_t text[kUpdateAddressCapacity];
        if (!ParseServiceBase(base, e)) return "<no base>";
        return BuildUpdateAddress(e, text) ? toUtf8(text) : "<too long>";
    };
    const std::string query = "/update?product=4&version=101000&edition=1";
    EXPECT_EQ(address(u"https://quenorith.example/v"), "https://quenorith.example/v" + query);
    EXPECT_EQ(address(u"http://127.0.0.1:45678"), "http://127.0.0.1:45678" + query);
    EXPECT_EQ(address(u"http://h/" + std::u16string(48, u'f')),
              "http://h/" + std::string(48, 'f') + query);
    EXPECT_EQ(address(u"http://h/" + std::u16string(49, u'f')), "<too long>") << "100 units";
    for (const char16_t* bad :
         {u"ftp://host/x", u"https://", u"http://host:/x", u"http://host:0", u"http://host:65536",
          u"http://host:4294967376", u"http://host:12a", u"http://host/x/", u"http://host/x?y=1",
          u"http://user@host/x", u"host/x"})
        EXPECT_EQ(address(bad), "<no base>") << toUtf8(bad);
}

TEST(ServiceAddressTest, TheReportBodyCarriesTheSystemNumberAndTheUnsentTextCutAt1023) {
    char body[kReportBodyCapacity];
    const char* expected =
        "product=4&version=101000&edition=1&kind=2&system=19045&trail=2:5;52:\"a&b\";";
    EXPECT_EQ(BuildReportBody(body, 19045, "2:5;52:\"a&b\";"), std::strlen(expected));
    EXPECT_STREQ(body, expected);
    EXPECT_EQ(BuildReportBody(body, 0, std::string(2000, 'z').c_str()), 1023u);
    EXPECT_EQ(std::string(body).find("&system=0&trail=zzz"), 41u);
#ifdef _WIN32
    EXPECT_GT(ReadSystemNumber(), 10000u) << "Windows 10 builds are five digits";
#else
    memreg::Reset();
    EXPECT_EQ(ReadSystemNumber(), 0u);
    // clang-format off
    for (const auto& [text, number] : {std::pair{u"19045", 19045u}, {u"", 0u}, {u"123456789012", 0u}}) {
        // clang-format on
        ASSERT_TRUE(WriteRegString(Hive::LocalMachine,
                                   u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                   u"CurrentBuildNumber", text));
        EXPECT_EQ(ReadSystemNumber(), number) << toUtf8(text);
    }
    memreg::Reset();
#endif
}

} // namespace
