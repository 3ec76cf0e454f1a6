// The error trail's records: their three forms, each failure once, and the trail's bounds.
#include "services/error_trail.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ErrorTrailTest, RecordsHaveTheirFormsAndAreAppendedOnlyWhenNotAlreadyThere) {
    ErrorTrail trail{"101000#", 7};
    AppendErrorRecord(trail, 2, 5);
    AppendErrorRecord(trail, 2, 5);
    AppendErrorRecord(trail, 2, 6);
    AppendSignedErrorRecord(trail, 54, -3);
    AppendTextErrorRecord(trail, 52, "abc");
    AppendErrorRecord(trail, 3, 18446744073709551615ull);
    AppendSignedErrorRecord(trail, 51, -9223372036854775807ll - 1);
    AppendErrorRecord(trail, 51, 5);
    AppendErrorRecord(trail, 1, 5); // the tail of "51:5;"
    EXPECT_STREQ(trail.text, "101000#2:5;2:6;54:-3;52:\"abc\";3:18446744073709551615;"
                             "51:-9223372036854775808;51:5;");
    EXPECT_EQ(trail.sentLength, 7u) << "appending never counts as reported";
}

TEST(ErrorTrailTest, ARecordIsCutAt255CharactersAndTheTrailAt1536) {
    ErrorTrail trail{"101000#", 7};
    AppendTextErrorRecord(trail, 52, std::string(300, 'x').c_str());
    EXPECT_EQ(std::string(trail.text), "101000#52:\"" + std::string(251, 'x'));
    for (std::uint64_t code = 1000000; std::strlen(trail.text) < 1536; ++code)
        AppendErrorRecord(trail, 3, code);
    EXPECT_EQ(std::strlen(trail.text), 1536u) << "the last record cut";
    const std::string full = trail.text;
    AppendErrorRecord(trail, 2, 424242);
    AppendTextErrorRecord(trail, 53, "tag");
    EXPECT_EQ(std::string(trail.text), full);
}

} // namespace
