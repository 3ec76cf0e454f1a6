// The update service's answer: only the named field followed by a colon and the number 1
// means a new version.
#include "services/service_address.h"
#include "services/update_answer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UpdateAnswerTest, OnlyTheNumberOneAfterTheFieldsColonMeansANewVersion) {
    struct Case {
        std::string answer;
        int expected;
    };
    const std::string zeros(60, '0');
    const Case cases[] = {
        {R"({"update_available": 1})", 1},
        {R"({"update_available":1,"notes":"x"})", 1},
        {R"({"update_available" : 1 })", 1},
        {R"({"update_available":01})", 1},
        {R"("update_available":1)", 1},
        {R"({"update_available" junk: 1})", 1},
        {R"({"update_available":1,"update_available":0})", 1},
        {R"({"update_available":0})", 0},
        {R"({"update_available":2})", 0},
        {R"({"update_available":11})", 0},
        {R"({"update_available":"1"})", 0},
        {R"({"update_available":1x})", 0},
        {"{\"update_available\":\t1}", 0},
        {"{\"update_available\":1\n}", 0},
        {R"({"update_available":,"other":1})", 0},
        {R"({"update_available"})", 0},
        {R"({"update_available_now":1})", 0},
        {R"({"other":1})", 0},
        {R"({"a":"update_available","update_available":1})", 0},
        {"{\"update_available\":" + zeros + "1}", 0}, // digits past 50 are not collected
        {"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseUpdateAnswer(c.answer, kUpdateField), c.expected) << c.answer;
}

TEST(UpdateAnswerTest, BytesAfterAZeroStillCount) {
    const std::string answer("\0\0{\"update_available\":1}", 25);
    EXPECT_EQ(ParseUpdateAnswer(answer, kUpdateField), 1);
}

} // namespace
