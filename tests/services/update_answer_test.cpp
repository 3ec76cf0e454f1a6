// The update answer's parsing rules beyond the answers the update check's own table covers:
// only the named field followed by a colon and digits that read as 1 means a new version.
#include "services/update_answer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UpdateAnswerTest, OnlyDigitsReadingOneAfterTheFieldsColonMeanANewVersion) {
    const std::pair<std::string, int> rows[] = {
        {R"({"u" : 1 ,"n":"x"})", 1},
        {R"({"u":1}x)", 1},
        {R"({"u" junk: 01})", 1},
        {R"({"u":1,"u":0})", 1},
        {std::string("\0{\"u\":1}", 8), 1},
        {"{\"u\":" + std::string(49, '0') + "1}", 1},
        {"{\"u\":" + std::string(50, '0') + "1}", 0}, // at most 50 digits are collected
        {R"({"u":11})", 0},
        {R"({"u":1x})", 0},
        {"{\"u\":\t1}", 0},
        {R"({"u" 1})", 0},
        {R"({"u":,"v":1})", 0},
        {R"({"uu":1})", 0},
        {R"({"a":"u","u":1})", 0},
    };
    for (const auto& [answer, expected] : rows)
        EXPECT_EQ(ParseUpdateAnswer(answer, "u"), expected) << answer;
}

} // namespace
