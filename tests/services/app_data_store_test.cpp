// The data store against real files: the host's natively, the C runtime's under Wine.
#include "services/app_data_store.h"
#include "services/store_text.h"

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
        ASSERT_FALSE(machine.path().empty());
        ASSERT_FALSE(user.path().empty());
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    void TearDown() override {
        SetTestVariable(kMachineRootVariable, nullptr);
        SetTestVariable(kUserRootVariable, nullptr);
#ifndef _WIN32
        hostfiles::Reset();
#endif
    }

    std::u16string folderOf(StoreScope scope) const {
        return (scope == kMachineScope ? machine : user).path() +
               u"\\Quenorith\\Velkarostrandemilquorbenix";
    }
    std::u16string storePath(StoreScope scope = kMachineScope) const {
        return folderOf(scope) + u"\\Store.cfg";
    }
    // Writes the store file as another program (or an older run) left it.
    void givenStore(const std::string& content, StoreScope scope = kMachineScope) {
        char16_t path[kStorePathCapacity];
        ASSERT_TRUE(StoreFilePath(kStoreFileName, scope, path)); // creates the folders
        ASSERT_TRUE(WriteWholeFile(storePath(scope), content));
    }
    std::string storeContent(StoreScope scope = kMachineScope) const {
        return ReadWholeFile(storePath(scope)).value_or("<no file>");
    }

    TestFolder machine;
    TestFolder user;
};

TEST_F(AppDataStoreTest, WithoutAFileReadsGiveDefaultsAndTheFirstWriteCreatesFoldersAndOneLine) {
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, 1, kMachineScope), 1);
    EXPECT_EQ(GetStoreInt(kSendErrorReportKey, 1, kUserScope), 1);
    char text[32];
    std::memset(text, 0xbd, sizeof text);
    EXPECT_EQ(GetStoreText(text, sizeof text, kLastDataFileKey, "none", kUserScope), 0u);
    EXPECT_STREQ(text, "none");
    EXPECT_EQ(storeContent(), "<no file>");

    EXPECT_EQ(SetStoreInt(kCheckForUpdatesKey, 0, kMachineScope), kStoreWritten);
    EXPECT_EQ(storeContent(), "CheckForUpdates=0\n");
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, 1, kMachineScope), 0);
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, 1, kUserScope), 1) << "scopes are separate files";
    EXPECT_FALSE(ReadWholeFile(storePath() + u".new").has_value()) << "no replacement left";
}

TEST_F(AppDataStoreTest, WritesReplaceTheFirstLineOfTheKeyOrAppendOne) {
    struct Case {
        const char* before;
        const char* key;
        std::int32_t number;
        const char* after;
    };
    const Case cases[] = {
        {"a=5", "b", 7, "a=5\nb=7\n"},
        {"a=5\nb=7\n", "a", 12, "a=12\nb=7\n"},
        {"a=12a\nb=7\n", "a", 3, "a=3\nb=7\n"},
        {"ab=1\na=2\n", "a", 9, "ab=1\na=9\n"},
        {"a=5\r\nb=7", "a", 1, "a=1\nb=7"},
        {"x=1\na=2\na=3\n", "a", 4, "x=1\na=4\na=3\n"},
        {"a=\"text\"\n", "a", -2147483647 - 1, "a=-2147483648\n"},
        {"a=5\n\n", "b", 0, "a=5\n\nb=0\n"},
        {"", "k", 2147483647, "k=2147483647\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("before: ") + c.before);
        givenStore(c.before);
        EXPECT_EQ(SetStoreInt(c.key, c.number, kMachineScope), kStoreWritten);
        EXPECT_EQ(storeContent(), c.after);
    }
}

TEST_F(AppDataStoreTest, NumbersReadOnlyFromAWellFormedFirstLineOfTheKey) {
    struct Case {
        const char* content;
        std::int32_t expected; // 42 is the default
    };
    const Case cases[] = {
        {"a=17", 17},
        {"a=-17\n", -17},
        {"a=", 0},
        {"a=-", 0},
        {"b=1\na=5\nc=2", 5},
        {"a=12a", 42},
        {"a=12\r\n", 42},
        {"a= 12", 42},
        {"a=+12", 42},
        {"a=2147483647", 2147483647},
        {"a=-2147483648", -2147483647 - 1},
        {"a=00000000007", 7},
        {"a=000000000007", 42}, // 12 characters
        {"a=12345678901", 42},  // 11 characters but past 32 bits
        {" a=5", 42},
        {"A=5", 42},
        {"a =5", 42},
        {"ab=3", 42},
        {"a=1\na=2", 1},
        {"a=x\na=2", 42},
        {"", 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("content: ") + c.content);
        givenStore(c.content);
        EXPECT_EQ(GetStoreInt("a", 42, kMachineScope), c.expected);
    }
}

TEST_F(AppDataStoreTest, TextsReadFromTheFirstQuotedLineOfTheKey) {
    struct Case {
        const char* content;
        const char* expected; // "default" when the default is given
        std::size_t length;
    };
    const Case cases[] = {
        {"p=\"C:\\Users\\me\\file.vlkd\"\n", "C:\\Users\\me\\file.vlkd", 21},
        {"p=   \"spaced out\"", "spaced out", 10},
        {"p=noquote\nq=\"other\"\np=\"later\"\n", "later", 5},
        {"p=\"unterminated", "unterminated", 12},
        {"p=\"two\nlines\"", "two\nlines", 9},
        {"p=\"x\"y\"", "x", 1},
        {"p=\"\"", "", 0},
        {"p=noquote", "default", 0},
        {"p=\"", "", 0},
        {"pp=\"no\"", "default", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("content: ") + c.content);
        givenStore(c.content, kUserScope);
        char text[64];
        std::memset(text, 0xbd, sizeof text);
        EXPECT_EQ(GetStoreText(text, sizeof text, "p", "default", kUserScope), c.length);
        EXPECT_STREQ(text, c.expected);
    }
}

TEST_F(AppDataStoreTest, ATextThatLeavesNoRoomForItsZeroGivesTheCutDefault) {
    givenStore("p=\"12345\"\n");
    char text[8];
    std::memset(text, 0xbd, sizeof text);
    EXPECT_EQ(GetStoreText(text, 6, "p", "abcdefgh", kMachineScope), 5u);
    EXPECT_STREQ(text, "12345");
    std::memset(text, 0xbd, sizeof text);
    EXPECT_EQ(GetStoreText(text, 5, "p", "abcdefgh", kMachineScope), 0u);
    EXPECT_STREQ(text, "abcd");
    EXPECT_EQ(static_cast<unsigned char>(text[5]), 0xbd) << "nothing written past the capacity";
}

TEST_F(AppDataStoreTest, TextWritesQuoteTheTextAndRoundTripUtf8) {
    const char* path = "C:\\Users\\Zo\xc3\xab\\Documents\\tweaks.vlkd";
    EXPECT_EQ(SetStoreText(kLastDataFileKey, path, kUserScope), kStoreWritten);
    EXPECT_EQ(storeContent(kUserScope), std::string("LastDataFile=\"") + path + "\"\n");
    char text[80];
    EXPECT_EQ(GetStoreText(text, sizeof text, kLastDataFileKey, "", kUserScope), std::strlen(path));
    EXPECT_STREQ(text, path);
    EXPECT_EQ(SetStoreText(kLastDataFileKey, "", kUserScope), kStoreWritten);
    EXPECT_EQ(storeContent(kUserScope), "LastDataFile=\"\"\n");
}

TEST_F(AppDataStoreTest, KeysOutsideOneTo150BytesAndMissingArgumentsAreRefused) {
    const std::string key150(150, 'k');
    const std::string key151(151, 'k');
    givenStore(key151 + "=5\n" + key151 + "=\"t\"\n");
    EXPECT_EQ(GetStoreInt(key151.c_str(), 9, kMachineScope), 9);
    char text[8];
    EXPECT_EQ(GetStoreText(text, sizeof text, key151.c_str(), "d", kMachineScope), 0u);
    EXPECT_STREQ(text, "d");
    EXPECT_EQ(SetStoreInt(key151.c_str(), 1, kMachineScope), kStoreBadKeyLength);
    EXPECT_EQ(SetStoreText(key151.c_str(), "x", kMachineScope), kStoreBadKeyLength);
    EXPECT_EQ(SetStoreInt("", 1, kMachineScope), kStoreBadKeyLength);
    EXPECT_EQ(SetStoreText("", "x", kMachineScope), kStoreBadKeyLength);
    EXPECT_EQ(SetStoreInt(nullptr, 1, kMachineScope), kStoreMissingKeyOrText);
    EXPECT_EQ(SetStoreText("a", nullptr, kMachineScope), kStoreMissingKeyOrText);
    EXPECT_EQ(SetStoreText("a", "say \"hi\"", kMachineScope), kStoreMissingKeyOrText);
    EXPECT_EQ(SetStoreText("a", "two\nlines", kMachineScope), kStoreMissingKeyOrText);
    EXPECT_EQ(GetStoreInt(nullptr, 3, kMachineScope), 3);
    EXPECT_EQ(storeContent(), key151 + "=5\n" + key151 + "=\"t\"\n") << "refusals change nothing";

    EXPECT_EQ(SetStoreInt(key150.c_str(), 150, kMachineScope), kStoreWritten);
    EXPECT_EQ(GetStoreInt(key150.c_str(), 0, kMachineScope), 150);
}

TEST_F(AppDataStoreTest, AFileOver52428BytesIsNeitherReadNorChanged) {
    std::string content = "a=1\n";
    content += std::string(kStoreSizeLimit - content.size() - 1, 'x') + "\n";
    ASSERT_EQ(content.size(), kStoreSizeLimit);
    givenStore(content);
    EXPECT_EQ(GetStoreInt("a", 0, kMachineScope), 1) << "52428 bytes are still read";
    EXPECT_EQ(SetStoreInt("a", 2, kMachineScope), kStoreWritten) << "same size after the change";
    EXPECT_EQ(SetStoreInt("a", 22, kMachineScope), kStoreTooLarge) << "would grow past the limit";
    EXPECT_EQ(SetStoreInt("b", 2, kMachineScope), kStoreTooLarge);
    EXPECT_EQ(GetStoreInt("a", 0, kMachineScope), 2);

    content = "a=1\n" + std::string(kStoreSizeLimit - 4, 'x') + "\n";
    givenStore(content);
    EXPECT_EQ(GetStoreInt("a", 7, kMachineScope), 7);
    char text[8];
    EXPECT_EQ(GetStoreText(text, sizeof text, "a", "d", kMachineScope), 0u);
    EXPECT_EQ(SetStoreInt("a", 2, kMachineScope), kStoreTooLarge);
    EXPECT_EQ(SetStoreText("a", "t", kMachineScope), kStoreTooLarge);
    EXPECT_EQ(storeContent(), content);
}

TEST_F(AppDataStoreTest, WithoutARootFolderThereIsNoFile) {
    SetTestVariable(kMachineRootVariable, nullptr);
    EXPECT_EQ(GetStoreInt("a", 5, kMachineScope), 5);
    EXPECT_EQ(SetStoreInt("a", 1, kMachineScope), kStoreCannotWrite);
    EXPECT_FALSE(OpenStoreFile(kStoreFileName, kReadMode, kMachineScope));
    for (const StoreScope scope : {-1, 2, 100}) {
        EXPECT_EQ(GetStoreInt("a", 5, scope), 5);
        EXPECT_EQ(SetStoreInt("a", 1, scope), kStoreCannotWrite);
    }
    EXPECT_EQ(SetStoreInt("a", 1, kUserScope), kStoreWritten) << "the other scope still works";
}

TEST_F(AppDataStoreTest, APathPast260UnitsIsNoPathRatherThanACutOne) {
    const std::u16string deep =
        user.path() + u"\\" + std::u16string(230 - user.path().size(), u'd');
    SetTestVariable(kUserRootVariable, deep.c_str());
    char16_t path[kStorePathCapacity];
    EXPECT_FALSE(StoreFilePath(kStoreFileName, kUserScope, path));
    EXPECT_EQ(SetStoreInt("a", 1, kUserScope), kStoreCannotWrite);
    EXPECT_EQ(GetStoreInt("a", 4, kUserScope), 4);
}

#ifndef _WIN32
TEST_F(AppDataStoreTest, AWriteThatCannotBeMovedInPlaceLeavesTheOldFileWhole) {
    givenStore("a=5\nb=7\n");
    hostfiles::FailReplace(true);
    EXPECT_EQ(SetStoreInt("a", 6, kMachineScope), kStoreCannotWrite);
    EXPECT_EQ(storeContent(), "a=5\nb=7\n");
    EXPECT_FALSE(ReadWholeFile(storePath() + u".new").has_value()) << "replacement removed";
}
#endif

} // namespace
