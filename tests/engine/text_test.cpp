#include "engine/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(StrCopyBounded, CopiesWholeTextsAndCutsLongOnesReportingTheFullLength) {
    char16_t buffer[8];
    std::memset(buffer, 0xbd, sizeof buffer);
    EXPECT_EQ(StrCopyBounded(buffer, u"abc", 8), 3u);
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(StrCopyBounded(buffer, u"abcdefghij", 8), 10u);
    EXPECT_EQ(std::u16string(buffer), u"abcdefg");
    EXPECT_EQ(StrCopyBounded(buffer, u"abcdefghij", 1), 10u);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_EQ(buffer[1], u'b') << "capacity 1 writes only the terminator";
    buffer[0] = u'z';
    EXPECT_EQ(StrCopyBounded(buffer, u"abc", 0), 3u);
    EXPECT_EQ(buffer[0], u'z') << "capacity 0 writes nothing";
}

TEST(StrAppendBounded, AppendsWithinCapacityAndReportsTheCombinedLength) {
    char16_t buffer[8] = u"ab";
    EXPECT_EQ(StrAppendBounded(buffer, u"cd", 8), 4u);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    EXPECT_EQ(StrAppendBounded(buffer, u"efghij", 8), 10u);
    EXPECT_EQ(std::u16string(buffer), u"abcdefg");
    EXPECT_EQ(StrAppendBounded(buffer, u"x", 8), 8u) << "a full text gains nothing";
    EXPECT_EQ(std::u16string(buffer), u"abcdefg");
}

TEST(StrAppendBounded, WritesNothingWhenTheDestinationHasNoTerminatorWithinCapacity) {
    char16_t buffer[4] = {u'a', u'b', u'c', u'd'};
    EXPECT_EQ(StrAppendBounded(buffer, u"xyz", 4), 7u);
    EXPECT_EQ(std::u16string(buffer, 4), u"abcd");
}

TEST(StrBoundedNarrow, SameRulesForEightBitText) {
    char buffer[6] = "12";
    EXPECT_EQ(StrAppendBounded(buffer, "3456789", 6), 9u);
    EXPECT_STREQ(buffer, "12345");
    EXPECT_EQ(StrCopyBounded(buffer, "xy", 6), 2u);
    EXPECT_STREQ(buffer, "xy");
}

TEST(Utf8, ConvertsBothWaysIncludingSurrogatePairs) {
    const std::u16string text = u"Gr\u00fc\u00dfe \u4e16\u754c \U0001F600";
    const std::string utf8 = "Gr\xc3\xbc\xc3\x9f"
                             "e \xe4\xb8\x96\xe7\x95\x8c \xf0\x9f\x98\x80";
    EXPECT_EQ(toUtf8(text), utf8);
    EXPECT_EQ(fromUtf8(utf8), text);
    EXPECT_EQ(toUtf8(u""), "");
    EXPECT_EQ(fromUtf8(""), u"");
}

TEST(Utf8, IllFormedInputBecomesTheReplacementCharacter) {
    EXPECT_EQ(fromUtf8("a\xff"
                       "b"),
              u"a\ufffdb");
    EXPECT_EQ(toUtf8(u"a\xd800"
                     u"b"),
              "a\xef\xbf\xbd"
              "b");
}

} // namespace
