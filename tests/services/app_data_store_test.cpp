// The data store over real files (the host's natively, the C runtime's under Wine): its line
// rules, its limits and its failure codes.
#include "services/app_data_store.h"

#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#ifndef _WIN32
#include "tests/substitutes/app_files_host.h"
#endif

namespace {

class AppDataStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(u"PROGRAMDATA", machine.path().c_str()); // scope 0
        SetTestVariable(u"APPDATA", user.path().c_str());        // scope 1
    }
    void TearDown() override {
        SetTestVariable(u"PROGRAMDATA", nullptr);
        SetTestVariable(u"APPDATA", nullptr);
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
    const struct {
        const char* content;
        std::int32_t number; // 42: the default
        const char* text;    // null: the default
        const char* afterWriting12;
    } rows[] = {
        // clang-format off
        {"a=17", 17, nullptr, "a=12"},
        {"b=1\na=-17\n", -17, nullptr, "b=1\na=12\n"},
        {"a=", 0, nullptr, "a=12"},
        {"a=-2147483648", -2147483647 - 1, nullptr, "a=12"},
        {"a=12a\nb=7", 42, nullptr, "a=12\nb=7"},
        {"a=5\r\nb=7", 42, nullptr, "a=12\nb=7"},                 // a carriage return is no line end
        {"a=000000000007", 42, nullptr, "a=12"},                  // twelve characters
        {"a=12345678901", 42, nullptr, "a=12"},                   // past 32 bits
        {" a=5\nab=5\nA=5\n\ra=5", 42, nullptr, " a=5\nab=5\nA=5\n\ra=5\na=12\n"}, // no "a=" at a line start
        {"x=1\na=1\na=2\n", 1, nullptr, "x=1\na=12\na=2\n"},
        {"a=\"C:\\Zo\xc3\xab\\x.vlkd\"\n", 42, "C:\\Zo\xc3\xab\\x.vlkd", "a=12\n"},
        {"a=   \"spaced\"", 42, "spaced", "a=12"},
        {"a=noquote\nb=\"other\"\na=\"later\"", 42, "later", "a=12\nb=\"other\"\na=\"later\""},
        {"a=\"two\nlines", 42, "two\nlines", "a=12\nlines"},
        {"a=\"\"\n\n", 42, "", "a=12\n\n"},
        {"b=5\n\n", 42, nullptr, "b=5\n\na=12\n"},
        {"", 42, nullptr, "a=12\n"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.content);
        givenStore(row.content);
        EXPECT_EQ(GetStoreInt("a", 42, 0), row.number);
        char text[64];
        std::memset(text, 0xbd, sizeof text);
        const std::string expected = row.text ? row.text : "default";
        EXPECT_EQ(GetStoreText(text, sizeof text, "a", "default", 0),
                  row.text ? expected.size() : 0);
        EXPECT_EQ(text, expected);
        EXPECT_EQ(SetStoreInt("a", 12, 0), kStoreWritten);
        EXPECT_EQ(stored(), row.afterWriting12);
    }
    EXPECT_EQ(SetStoreText("a", "C:\\Zo\xc3\xab", 0), kStoreWritten);
    EXPECT_EQ(stored(), "a=\"C:\\Zo\xc3\xab\"\n");
    char text[8];
    EXPECT_EQ(GetStoreText(text, 8, "a", "defaults", 0), 7u);
    std::memset(text, 0xbd, sizeof text);
    EXPECT_EQ(GetStoreText(text, 7, "a", "defaults", 0), 0u) << "no room for the zero";
    EXPECT_STREQ(text, "defaul");
    EXPECT_EQ(static_cast<unsigned char>(text[7]), 0xbd) << "nothing past the capacity";
}

TEST_F(AppDataStoreTest, RefusedWritesHaveTheirCodesAndChangeNothing) {
    const std::string key150(150, 'k'), key151(151, 'k');
    const std::string content = "a=1\n" + std::string(52428 - 5, 'x') + "\n";
    givenStore(content);
    EXPECT_EQ(GetStoreInt("a", 0, 0), 1) << "52428 bytes are still read";
    const struct {
        const char* key;
        const char* text; // null: a number is written
        StoreScope scope;
        int code;
    } rows[] = {
        // clang-format off
        {nullptr, nullptr, 0, 1}, {nullptr, "t", 0, 1}, {"a", "say \"hi\"", 0, 1}, {"a", "two\nlines", 0, 1},
        {"", "t", 0, 2}, {key151.c_str(), nullptr, 0, 2}, {key151.c_str(), "t", 0, 2},
        {"a", "grows past the limit", 0, 3}, {"b", nullptr, 0, 3},
        {"a", nullptr, 2, 6}, {"a", nullptr, -1, 6},
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
    EXPECT_EQ(stored(), content + "\n");

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

} // namespace
