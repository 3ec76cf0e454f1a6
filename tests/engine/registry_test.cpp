// Registry operations. The same cases run natively against the in-memory registry and,
// in the Windows build, against the real registry under Wine: the substitute has to give
// the answers Windows gives.
#include "engine/registry.h"
#include "engine/registry_key.h"
#include "tests/support/registry_tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr Hive HKCU = Hive::CurrentUser;
constexpr Hive HKLM = Hive::LocalMachine;
const char16_t* const kBase = u"Software\\VelkarostrandemilquorbenixTest";

std::u16string at(const char16_t* sub) {
    return std::u16string(kBase) + u"\\" + sub;
}

// Sets a value of any type and size, bypassing the operations under test.
void rawSet(const std::u16string& path, const char16_t* name, std::uint32_t type,
            std::vector<unsigned char> bytes) {
    reg::Key key;
    ASSERT_EQ(key.create(HKCU, path.c_str(), reg::kAllAccess), reg::kSuccess);
    ASSERT_EQ(key.set(name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size())),
              reg::kSuccess);
}

struct Raw {
    reg::Status status;
    std::uint32_t type;
    std::vector<unsigned char> bytes;
};
Raw rawGet(const std::u16string& path, const char16_t* name) {
    reg::Key key;
    Raw raw{key.open(HKCU, path.c_str(), reg::kQueryValue), 0, {}};
    if (raw.status != reg::kSuccess) return raw;
    std::uint32_t size = 0;
    raw.status = key.query(name, &raw.type, nullptr, &size);
    if (raw.status != reg::kSuccess) return raw;
    raw.bytes.resize(size);
    raw.status = key.query(name, &raw.type, raw.bytes.data(), &size);
    return raw;
}

std::vector<unsigned char> utf16Bytes(std::u16string_view text, bool terminated) {
    std::vector<unsigned char> bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c));
        bytes.push_back(static_cast<unsigned char>(c >> 8));
    }
    if (terminated) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteRegTree(HKCU, kBase);
        ASSERT_TRUE(CreateRegKey(HKCU, kBase));
    }
    void TearDown() override { DeleteRegTree(HKCU, kBase); }
};

TEST_F(RegistryTest, CreateRegKeyCreatesEveryMissingComponentAndAcceptsAnExistingKey) {
    const auto deep = at(u"a\\b\\c");
    EXPECT_FALSE(RegKeyExists(HKCU, at(u"a").c_str()));
    EXPECT_TRUE(CreateRegKey(HKCU, deep.c_str()));
    EXPECT_TRUE(RegKeyExists(HKCU, at(u"a").c_str()));
    EXPECT_TRUE(RegKeyExists(HKCU, at(u"a\\b").c_str()));
    EXPECT_TRUE(RegKeyExists(HKCU, deep.c_str()));
    EXPECT_TRUE(CreateRegKey(HKCU, deep.c_str()));
}

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreCase) {
    ASSERT_TRUE(WriteRegDword(HKCU, at(u"MixedCase").c_str(), u"Value", 7));
    EXPECT_TRUE(RegKeyExists(HKCU, at(u"MIXEDCASE").c_str()));
    EXPECT_EQ(ReadRegDword(HKCU, at(u"mixedcase").c_str(), u"VALUE", 0), 7u);
    EXPECT_TRUE(DeleteRegValue(HKCU, at(u"MixedCASE").c_str(), u"value"));
    EXPECT_FALSE(RegValueExists(HKCU, at(u"MixedCase").c_str(), u"Value"));
}

TEST_F(RegistryTest, DeleteRegKeyDeletesOnlyAnExistingLeaf) {
    EXPECT_FALSE(DeleteRegKey(HKCU, at(u"missing").c_str()));
    ASSERT_TRUE(CreateRegKey(HKCU, at(u"parent\\child").c_str()));
    EXPECT_FALSE(DeleteRegKey(HKCU, at(u"parent").c_str()));
    EXPECT_TRUE(RegKeyExists(HKCU, at(u"parent").c_str()));
    EXPECT_TRUE(RegKeyExists(HKCU, at(u"parent\\child").c_str()));
    EXPECT_TRUE(DeleteRegKey(HKCU, at(u"parent\\child").c_str()));
    EXPECT_FALSE(RegKeyExists(HKCU, at(u"parent\\child").c_str()));
    EXPECT_TRUE(DeleteRegKey(HKCU, at(u"parent").c_str()));
    EXPECT_FALSE(RegKeyExists(HKCU, at(u"parent").c_str()));
}

TEST_F(RegistryTest, DeleteKeyWithSubkeyIsRefusedWithAccessDenied) {
    ASSERT_TRUE(CreateRegKey(HKCU, at(u"p\\c").c_str()));
    EXPECT_EQ(reg::DeleteKey(HKCU, at(u"p").c_str(), reg::kWow64_64Key), reg::kAccessDenied);
    EXPECT_EQ(reg::DeleteKey(HKCU, at(u"nothing").c_str(), reg::kWow64_64Key), reg::kFileNotFound);
}

TEST_F(RegistryTest, DeleteRegValueNeedsTheKeyAndTheValue) {
    EXPECT_FALSE(DeleteRegValue(HKCU, at(u"missing").c_str(), u"v"));
    ASSERT_TRUE(CreateRegKey(HKCU, at(u"k").c_str()));
    EXPECT_FALSE(DeleteRegValue(HKCU, at(u"k").c_str(), u"v"));
    ASSERT_TRUE(WriteRegDword(HKCU, at(u"k").c_str(), u"v", 1));
    EXPECT_TRUE(DeleteRegValue(HKCU, at(u"k").c_str(), u"v"));
    EXPECT_FALSE(RegValueExists(HKCU, at(u"k").c_str(), u"v"));
    EXPECT_TRUE(RegKeyExists(HKCU, at(u"k").c_str()));
}

TEST_F(RegistryTest, ValueExistsForNamedAndUnnamedValuesOnly) {
    EXPECT_FALSE(RegValueExists(HKCU, at(u"missing").c_str(), u"v"));
    ASSERT_TRUE(CreateRegKey(HKCU, at(u"k").c_str()));
    EXPECT_FALSE(RegValueExists(HKCU, at(u"k").c_str(), u"v"));
    EXPECT_FALSE(RegValueExists(HKCU, at(u"k").c_str(), u""));
    ASSERT_TRUE(WriteRegString(HKCU, at(u"k").c_str(), u"", u"default"));
    EXPECT_TRUE(RegValueExists(HKCU, at(u"k").c_str(), u""));
    rawSet(at(u"k"), u"empty", kRegBinary, {});
    EXPECT_TRUE(RegValueExists(HKCU, at(u"k").c_str(), u"empty"));
}

struct DwordCase {
    const char* what;
    bool createKey;
    bool setValue;
    std::uint32_t type;
    std::vector<unsigned char> bytes;
    std::uint32_t expected;
};

TEST_F(RegistryTest, ReadRegDwordTakesUpToFourLittleEndianBytesOfAnyType) {
    const std::vector<DwordCase> cases = {
        {"missing key", false, false, 0, {}, 0xdeadbeef},
        {"missing value", true, false, 0, {}, 0xdeadbeef},
        {"dword", true, true, kRegDword, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {"qword is too large", true, true, kRegQword, {1, 0, 0, 0, 0, 0, 0, 0}, 0xdeadbeef},
        {"two binary bytes", true, true, kRegBinary, {0x34, 0x12}, 0x1234},
        {"short string", true, true, kRegSz, {'A', 0, 0, 0}, 0x41},
        {"empty value", true, true, kRegBinary, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteRegTree(HKCU, at(u"d").c_str());
        if (c.createKey) {
            ASSERT_TRUE(CreateRegKey(HKCU, at(u"d").c_str()));
        }
        if (c.setValue) {
            rawSet(at(u"d"), u"v", c.type, c.bytes);
        }
        EXPECT_EQ(ReadRegDword(HKCU, at(u"d").c_str(), u"v", 0xdeadbeef), c.expected);
    }
}

TEST_F(RegistryTest, ReadRegStringRoundTripsAndFallsBackWhenMissingEmptyOrTooLong) {
    const auto k = at(u"s");
    char16_t buffer[51];
    auto read = [&](const char16_t* name) {
        std::memset(buffer, 0xbd, sizeof buffer);
        return std::u16string(ReadRegString(HKCU, k.c_str(), name, buffer, 51, u"fallback"));
    };
    EXPECT_EQ(read(u"v"), u"fallback") << "missing key";
    ASSERT_TRUE(WriteRegString(HKCU, k.c_str(), u"text", u"Hello, world"));
    EXPECT_EQ(read(u"text"), u"Hello, world");
    EXPECT_EQ(read(u"missing"), u"fallback");

    const std::u16string fifty(50, u'x');
    ASSERT_TRUE(WriteRegString(HKCU, k.c_str(), u"fifty", fifty.c_str()));
    EXPECT_EQ(read(u"fifty"), fifty);
    const std::u16string sixty(60, u'y');
    ASSERT_TRUE(WriteRegString(HKCU, k.c_str(), u"sixty", sixty.c_str()));
    EXPECT_EQ(read(u"sixty"), u"fallback") << "a value that does not fit is not cut";

    ASSERT_TRUE(WriteRegString(HKCU, k.c_str(), u"empty", u""));
    EXPECT_EQ(read(u"empty"), u"") << "a stored empty text is one terminator, not missing";
    rawSet(k, u"nobytes", kRegSz, {});
    EXPECT_EQ(read(u"nobytes"), u"fallback");
    rawSet(k, u"onebyte", kRegBinary, {'A'});
    EXPECT_EQ(read(u"onebyte"), u"");
    rawSet(k, u"unterminated", kRegSz, utf16Bytes(u"abc", false));
    EXPECT_EQ(read(u"unterminated"), u"abc") << "the registry delivers the missing terminator";
    EXPECT_EQ(rawGet(k, u"unterminated").bytes, utf16Bytes(u"abc", true));
    rawSet(k, u"bin", kRegBinary, utf16Bytes(u"abc", false));
    EXPECT_EQ(read(u"bin"), u"ab") << "the last delivered unit is taken as terminator";
}

TEST_F(RegistryTest, ReadRegStringWithCapacityOneGivesEmptyText) {
    ASSERT_TRUE(WriteRegString(HKCU, at(u"s").c_str(), u"v", u"abc"));
    char16_t buffer[1] = {u'?'};
    ReadRegString(HKCU, at(u"s").c_str(), u"v", buffer, 1, u"default");
    EXPECT_EQ(buffer[0], u'\0');
}

TEST_F(RegistryTest, ReadRegDataGivesTheValueOrCopiesTheDefault) {
    const auto k = at(u"b");
    const unsigned char def[4] = {1, 1, 1, 1};
    unsigned char buffer[4];
    auto fill = [&] { std::memset(buffer, 0xbd, sizeof buffer); };

    fill();
    EXPECT_FALSE(ReadRegData(HKCU, k.c_str(), u"link", buffer, 4, def));
    EXPECT_EQ(std::memcmp(buffer, def, 4), 0);

    const unsigned char zeros[4] = {0, 0, 0, 0};
    ASSERT_TRUE(WriteRegBinary(HKCU, k.c_str(), u"link", zeros, 4));
    fill();
    EXPECT_TRUE(ReadRegData(HKCU, k.c_str(), u"link", buffer, 4, def));
    EXPECT_EQ(std::memcmp(buffer, zeros, 4), 0);

    rawSet(k, u"long", kRegBinary, {0, 0, 0, 0, 0});
    fill();
    EXPECT_FALSE(ReadRegData(HKCU, k.c_str(), u"long", buffer, 4, def));
    EXPECT_EQ(std::memcmp(buffer, def, 4), 0);

    rawSet(k, u"short", kRegBinary, {9, 8});
    fill();
    EXPECT_TRUE(ReadRegData(HKCU, k.c_str(), u"short", buffer, 4, def));
    const unsigned char partial[4] = {9, 8, 1, 1};
    EXPECT_EQ(std::memcmp(buffer, partial, 4), 0) << "a short value lies over the default";
}

TEST_F(RegistryTest, WritesStoreTheirTypeAndExactBytesAndCreateMissingKeys) {
    const auto k = at(u"w\\x\\y");
    ASSERT_TRUE(WriteRegDword(HKCU, k.c_str(), u"d", 0x01020304));
    auto raw = rawGet(k, u"d");
    EXPECT_EQ(raw.type, kRegDword);
    EXPECT_EQ(raw.bytes, (std::vector<unsigned char>{4, 3, 2, 1}));

    ASSERT_TRUE(WriteRegString(HKCU, k.c_str(), u"s", u"ab"));
    raw = rawGet(k, u"s");
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.bytes, utf16Bytes(u"ab", true));

    ASSERT_TRUE(WriteRegString(HKCU, k.c_str(), u"e", u""));
    EXPECT_EQ(rawGet(k, u"e").bytes, (std::vector<unsigned char>{0, 0}));

    const unsigned char bin[3] = {0, 0xff, 7};
    ASSERT_TRUE(WriteRegBinary(HKCU, k.c_str(), u"b", bin, 3));
    raw = rawGet(k, u"b");
    EXPECT_EQ(raw.type, kRegBinary);
    EXPECT_EQ(raw.bytes, (std::vector<unsigned char>{0, 0xff, 7}));

    ASSERT_TRUE(WriteRegDword(HKCU, k.c_str(), u"d", 5)) << "rewriting replaces the value";
    EXPECT_EQ(ReadRegDword(HKCU, k.c_str(), u"d", 0), 5u);
}

// The build number lives in HKLM; the case saves and restores it.
class BuildNumberTest : public ::testing::Test {
  protected:
    static constexpr const char16_t* kKey = u"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    void SetUp() override {
        char16_t buffer[64];
        had_ = RegValueExists(HKLM, kKey, u"CurrentBuildNumber");
        saved_ = ReadRegString(HKLM, kKey, u"CurrentBuildNumber", buffer, 64, u"");
    }
    void TearDown() override {
        if (had_)
            WriteRegString(HKLM, kKey, u"CurrentBuildNumber", saved_.c_str());
        else
            DeleteRegValue(HKLM, kKey, u"CurrentBuildNumber");
    }
    bool had_ = false;
    std::u16string saved_;
};

TEST_F(BuildNumberTest, IsBuildAtLeastReadsTheDecimalBuildNumber) {
    const struct {
        const char16_t* stored;
        bool atLeast19041;
    } cases[] = {
        {u"19041", true},  {u"19042", true},        {u"19040", false}, {u"", false},
        {u" 19041", true}, {u"19041.1", true},      {u"1904x", false}, {u"abc", false},
        {u"+19041", true}, {u"12345678901", false}, // 11 digits do not fit the 11-unit buffer
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.stored)));
        ASSERT_TRUE(WriteRegString(HKLM, kKey, u"CurrentBuildNumber", c.stored));
        EXPECT_EQ(IsBuildAtLeast(19041), c.atLeast19041);
    }
    ASSERT_TRUE(WriteRegString(HKLM, kKey, u"CurrentBuildNumber", u"0"));
    EXPECT_TRUE(IsBuildAtLeast(0));
    ASSERT_TRUE(DeleteRegValue(HKLM, kKey, u"CurrentBuildNumber"));
    EXPECT_FALSE(IsBuildAtLeast(19041)) << "a missing number counts as build 0";
    EXPECT_TRUE(IsBuildAtLeast(0));
}

} // namespace
