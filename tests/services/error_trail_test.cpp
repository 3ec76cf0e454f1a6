#include "services/error_trail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class ErrorTrailTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
        trail.sentLength = 7;
    }
    ErrorTrail trail;
};

TEST_F(ErrorTrailTest, RecordsHaveTheirThreeFormsAndAppendInOrder) {
    AppendErrorRecord(trail, 2, 5);
    AppendSignedErrorRecord(trail, 54, -3);
    AppendTextErrorRecord(trail, 52, "abc");
    AppendErrorRecord(trail, 3, 18446744073709551615ull);
    AppendSignedErrorRecord(trail, 51, -9223372036854775807ll - 1);
    EXPECT_STREQ(trail.text, "101000#2:5;54:-3;52:\"abc\";3:18446744073709551615;"
                             "51:-9223372036854775808;");
    EXPECT_EQ(trail.sentLength, 7u) << "appending never counts as reported";
}

TEST_F(ErrorTrailTest, ARecordAlreadyPresentAsSubstringIsNotRepeated) {
    AppendErrorRecord(trail, 2, 5);
    AppendErrorRecord(trail, 2, 5);
    AppendErrorRecord(trail, 2, 6);
    EXPECT_STREQ(trail.text, "101000#2:5;2:6;");
    AppendErrorRecord(trail, 51, 5);
    AppendErrorRecord(trail, 1, 5); // the tail of "51:5;"
    EXPECT_STREQ(trail.text, "101000#2:5;2:6;51:5;");
}

TEST_F(ErrorTrailTest, ALongTextRecordLosesItsClosingQuoteAndSemicolon) {
    const std::string text(300, 'x');
    AppendTextErrorRecord(trail, 52, text.c_str());
    const std::string record = std::string(trail.text).substr(7);
    EXPECT_EQ(record.size(), 255u);
    EXPECT_EQ(record, "52:\"" + std::string(251, 'x'));
}

TEST_F(ErrorTrailTest, AFullTrailIsCutAtItsCapacityAndThenKeptAsItIs) {
    for (std::uint64_t code = 1000000; std::strlen(trail.text) < 1536; ++code)
        AppendErrorRecord(trail, 3, code);
    EXPECT_EQ(std::strlen(trail.text), 1536u);
    const std::string full = trail.text;
    AppendErrorRecord(trail, 2, 424242);
    AppendTextErrorRecord(trail, 53, "tag");
    EXPECT_EQ(std::string(trail.text), full);
}

} // namespace
