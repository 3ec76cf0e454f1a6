// The registry operations and the text routines. The same cases run natively against the
// in-memory registry and the portable conversion, and in the Windows build against Wine's
// registry and code pages: the substitute has to give the answers Windows gives.
#include "engine/registry.h"
#include "engine/registry_key.h"
#include "engine/text.h"
#include "tests/support/registry_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr Hive HKCU = Hive::CurrentUser;
const std::u16string kBase = u"Software\\VelkarostrandemilquorbenixTest";

using Bytes = std::vector<unsigned char>;

Bytes utf16(std::u16string_view text) {
    Bytes bytes;
    for (char16_t c : text)
        bytes.insert(bytes.end(),
                     {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8)});
    return bytes;
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteRegTree(HKCU, kBase.c_str());
        ASSERT_TRUE(CreateRegKey(HKCU, kBase.c_str()));
    }
    void TearDown() override { DeleteRegTree(HKCU, kBase.c_str()); }

    // A path below the test key.
    static std::u16string at(const char16_t* sub) { return kBase + u"\\" + sub; }
    bool exists(const char16_t* sub) { return RegKeyExists(HKCU, at(sub).c_str()); }
};

// What the engine's rows rely on beyond the round-trip table: keys and values found without
// regard to case, and a key with a subkey refused deletion.
TEST_F(RegistryTest, KeysAreCreatedWholeFoundWithoutRegardToCaseAndDeletedLeafFirst) {
    EXPECT_TRUE(CreateRegKey(HKCU, at(u"a\\b\\c").c_str()));
    EXPECT_TRUE(exists(u"a") && exists(u"A\\B") && exists(u"a\\b\\C"));
    EXPECT_EQ(reg::DeleteKey(HKCU, at(u"a\\b").c_str(), reg::kWow64_64Key), reg::kAccessDenied);
    EXPECT_TRUE(DeleteRegKey(HKCU, at(u"A\\b\\c").c_str()) &&
                DeleteRegKey(HKCU, at(u"a\\b").c_str()));
    EXPECT_FALSE(exists(u"a\\b") || DeleteRegKey(HKCU, at(u"a\\b").c_str()));
    ASSERT_TRUE(WriteRegDword(HKCU, at(u"a").c_str(), u"Value", 7));
    EXPECT_TRUE(RegValueExists(HKCU, at(u"A").c_str(), u"VALUE"));
    EXPECT_TRUE(DeleteRegValue(HKCU, at(u"a").c_str(), u"value"));
    EXPECT_FALSE(RegValueExists(HKCU, at(u"a").c_str(), u"Value") ||
                 DeleteRegValue(HKCU, at(u"a").c_str(), u"Value"));
}

// One stored value read by each reader: ReadRegDword (default 0xdeadbeef), ReadRegString
// (capacity 51, default "default") and ReadRegData (4 bytes over the default 1 1 1 1).
TEST_F(RegistryTest, EachReaderTakesTheValueOrWhatFitsOrGivesItsDefault) {
    const Bytes none{1, 1, 1, 1};
    const struct {
        const char* what;
        std::uint32_t type; // 0: no value
        Bytes bytes;
        std::uint32_t dword;
        std::u16string text;
        bool dataRead;
        Bytes data;
    } cases[] = {
        // clang-format off
        {"dword", kRegDword, {0x78, 0x56, 0x34, 0xf2}, 0xf2345678, u"\u5678", true, {0x78, 0x56, 0x34, 0xf2}},
        {"qword", kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}, 0xdeadbeef, u"\u0001", false, none},
        {"five bytes", kRegBinary, {1, 2, 3, 4, 5}, 0xdeadbeef, u"\u0201", false, none},
        {"two bytes", kRegBinary, {0x34, 0x12}, 0x1234, u"", true, {0x34, 0x12, 1, 1}},
        {"one byte", kRegBinary, {'A'}, 0x41, u"", true, {'A', 1, 1, 1}},
        {"no bytes", kRegBinary, {}, 0, u"default", true, none},
        {"no value", 0, {}, 0xdeadbeef, u"default", false, none},
        {"short text", kRegSz, {'A', 0, 0, 0}, 0x41, u"A", true, {'A', 0, 0, 0}},
        {"empty text", kRegSz, {0, 0}, 0, u"", true, {0, 0, 1, 1}},
        {"fifty units", kRegSz, utf16(std::u16string(50, u'x') + u'\0'), 0xdeadbeef, std::u16string(50, u'x'), false, none},
        {"sixty units do not fit", kRegSz, utf16(std::u16string(60, u'y') + u'\0'), 0xdeadbeef, u"default", false, none},
        {"last unit taken as terminator", kRegBinary, utf16(u"abc"), 0xdeadbeef, u"ab", false, none},
        // clang-format on
    };
    char16_t text[51];
    unsigned char data[4];
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        reg::Key key;
        ASSERT_EQ(key.create(HKCU, kBase.c_str(), reg::kAllAccess), reg::kSuccess);
        const auto size = static_cast<std::uint32_t>(c.bytes.size());
        ASSERT_EQ(c.type ? key.set(u"v", c.type, c.bytes.data(), size) : key.deleteValue(u"v"), 0);
        EXPECT_EQ(ReadRegDword(HKCU, kBase.c_str(), u"v", 0xdeadbeef), c.dword);
        std::memset(text, 0xbd, sizeof text);
        EXPECT_EQ(ReadRegString(HKCU, kBase.c_str(), u"v", text, 51, u"default"), text);
        EXPECT_EQ(std::u16string(text), c.text);
        std::memset(data, 0xbd, sizeof data);
        EXPECT_EQ(ReadRegData(HKCU, kBase.c_str(), u"v", data, 4, none.data()), c.dataRead);
        EXPECT_EQ(Bytes(data, data + 4), c.data);
    }
    const std::u16string missing = at(u"missing");
    EXPECT_EQ(ReadRegDword(HKCU, missing.c_str(), u"v", 7), 7u);
    EXPECT_EQ(std::u16string(ReadRegString(HKCU, missing.c_str(), u"v", text, 51, u"d")), u"d");
    EXPECT_FALSE(ReadRegData(HKCU, missing.c_str(), u"v", data, 4, none.data()));
    EXPECT_EQ(Bytes(data, data + 4), none);
    ReadRegString(HKCU, kBase.c_str(), u"v", text, 1, u"default");
    EXPECT_EQ(text[0], u'\0') << "capacity 1 holds only the terminator";
}

TEST(TextTest, Utf8ConversionAtEveryLengthBoundaryAndForIllFormedInput) {
    const std::pair<std::u16string, std::string> both[] = {
        {u"A\u007f\u0080\u07ff", "A\x7f\xc2\x80\xdf\xbf"},
        {u"\u0800\uffff\U00010000\U0010ffff",
         "\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf"}};
    for (const auto& [utf16, utf8] : both) {
        EXPECT_EQ(toUtf8(utf16), utf8);
        EXPECT_EQ(fromUtf8(utf8), utf16);
    }
    // Ill-formed: a stray byte, overlong, a surrogate, above U+10FFFF, cut short.
    for (std::string bad :
         {"a\xff", "a\xe0\x80\x80", "a\xed\xa0\x80", "a\xf4\x90\x80\x80", "a\xe4\xb8"})
        EXPECT_TRUE(fromUtf8(bad + "b").starts_with(u"a\ufffd") &&
                    fromUtf8(bad + "b").ends_with(u"\ufffdb"))
            << bad.size();
    EXPECT_EQ(fromUtf8("\xc3\xbc\xbc"), u"\u00fc\ufffd") << "a continuation byte too many";
    EXPECT_EQ(toUtf8(u"a\xd800"), "a\xef\xbf\xbd");
}

} // namespace
