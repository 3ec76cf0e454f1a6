// The real WinINet requests against the local stand-in of the maker's services, started by
// with_stand_in.sh, which tells this test (and nothing in the program) where it listens.
#include "services/app_data_store.h"
#include "services/diagnostic_log.h"
#include "services/update_check.h"
#include "services/update_answer.h"
#include "services/web.h"

#include "engine/text.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

ServiceEndpoint standIn(const std::string& segment) {
    ServiceEndpoint endpoint{};
    EXPECT_TRUE(
        ParseServiceBase(fromUtf8(environment("VELKARO_TEST_SERVICE") + "/" + segment), endpoint));
    return endpoint;
}

ServiceEndpoint unreachable() {
    ServiceEndpoint endpoint{};
    EXPECT_TRUE(ParseServiceBase(
        fromUtf8("http://127.0.0.1:" + environment("VELKARO_TEST_CLOSED_PORT") + "/gone"),
        endpoint));
    return endpoint;
}

// A deadline the stand-in's prompt answers meet with ease.
WebClock::time_point soon() {
    return WebClock::now() + kServiceTimeLimit;
}

ServiceEndpoint silentHttps() {
    ServiceEndpoint endpoint{};
    EXPECT_TRUE(ParseServiceBase(fromUtf8(environment("VELKARO_TEST_SILENT_HTTPS")), endpoint));
    return endpoint;
}

// A file the stand-in wrote, through Wine's Z: drive.
std::string recorded(const std::string& name) {
    std::string path = "Z:" + environment("VELKARO_TEST_STATE") + "/" + name;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StandInTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(environment("VELKARO_TEST_SERVICE").empty())
            << "run through tests/services/with_stand_in.sh";
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    TestFolder machine;
    TestFolder user;
};

TEST_F(StandInTest, TheUpdateRequestReachesTheServiceWithItsAddressAndUserAgent) {
    unsigned char buffer[kUpdateAnswerCapacity];
    std::memset(buffer, 0xbd, sizeof buffer);
    std::size_t received = 12345;
    ASSERT_EQ(FetchUpdateInfo(standIn("one"), buffer, sizeof buffer, &received, soon()),
              kFetchDone);
    const std::string answer = R"({"update_available": 1})";
    ASSERT_EQ(received, answer.size());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), received), answer);
    EXPECT_NE(recorded("requests.log")
                  .find("/one/update?product=4&version=101000&edition=1 "
                        "Velkarostrandemilquorbenix/101000\n"),
              std::string::npos)
        << recorded("requests.log");

    EXPECT_EQ(FetchUpdateInfo(standIn("longyes"), buffer, sizeof buffer, &received, soon()),
              kFetchDone);
    EXPECT_EQ(received, sizeof buffer) << "no more than the buffer";
    EXPECT_EQ(FetchUpdateInfo(standIn("one"), nullptr, 0, nullptr, soon()), kFetchDone) << "probe";
    EXPECT_EQ(FetchUpdateInfo(unreachable(), nullptr, 0, nullptr, soon()), kFetchCannotOpen);
    EXPECT_EQ(FetchUpdateInfo(standIn("error"), buffer, sizeof buffer, &received, soon()),
              kFetchCannotOpen)
        << "an error page is no answer";
}

TEST_F(StandInTest, AnswersMapToZeroOneAndTwo) {
    const std::pair<const char*, int> cases[] = {
        {"one", kNewVersion},
        {"longyes", kNewVersion},
        {"zero", kUpToDate},
        {"two", kUpToDate},
        {"quoted", kUpToDate},
        {"missing", kUpToDate},
        {"malformed", kUpToDate},
        {"long", kUpToDate},
        {"error", kServiceUnavailable},
        {"nothing-here", kServiceUnavailable},
    };
    for (const auto& [segment, expected] : cases) {
        UpdateCheckState state{0, 0};
        EXPECT_EQ(CheckForUpdate(true, state, standIn(segment), soon()), expected) << segment;
    }
    EXPECT_EQ(GetStoreInt(kLastUpdateResultKey, -1, kMachineScope), 808000) << "from \"long\"";
    EXPECT_EQ(GetStoreInt(kLastUpdateCheckDayKey, -1, kMachineScope),
              static_cast<std::int32_t>(DayNumber()));
}

TEST_F(StandInTest, NoServiceHoldsACheckOrAReportPastItsTimeLimit) {
    // Unreachable; answering after 12 s; answering a byte every 2 s; accepting and never
    // answering over https (stuck in the TLS handshake).
    for (const ServiceEndpoint& service :
         {unreachable(), standIn("slow"), standIn("trickle"), silentHttps()}) {
        SCOPED_TRACE(toUtf8(service.folder));
        const auto limit = std::chrono::seconds(2);
        UpdateCheckState state{0, 0};
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(CheckForUpdate(true, state, service, WebClock::now() + limit),
                  kServiceUnavailable);
        EXPECT_LT(GetTickCount64() - start, 6000u) << "milliseconds";
        start = GetTickCount64();
        EXPECT_EQ(SendErrorReport(service, "2:5;", WebClock::now() + limit), kReportFailed);
        EXPECT_LT(GetTickCount64() - start, 6000u) << "milliseconds";
    }
    EXPECT_EQ(GetStoreInt(kLastUpdateResultKey, -1, kMachineScope), -1) << "nothing stored";
}

TEST_F(StandInTest, AReportArrivesWithItsHeaderAndBody) {
    const char* unsent = "2:5;52:\"a&b\";";
    ASSERT_EQ(SendErrorReport(standIn("accept"), unsent, soon()), kReportSent);
    char body[kReportBodyCapacity];
    BuildReportBody(body, ReadSystemNumber(), unsent);
    EXPECT_EQ(recorded("accept-1.body"), body);
    EXPECT_NE(recorded("accept-1.body").find("&system=18362&"), std::string::npos)
        << "Wine's Windows 10 build";
    const std::string head = recorded("accept-1.head");
    EXPECT_EQ(head.rfind("POST /accept/report HTTP/1.1\n", 0), 0u) << head;
    EXPECT_NE(head.find("Content-Type: text/plain; charset=utf-8"), std::string::npos) << head;
    EXPECT_NE(head.find("User-Agent: Velkarostrandemilquorbenix/101000"), std::string::npos)
        << head;

    EXPECT_EQ(SendErrorReport(standIn("reject"), unsent, soon()), kReportFailed);
    EXPECT_EQ(SendErrorReport(unreachable(), unsent, soon()), kReportFailed);
}

TEST_F(StandInTest, AnUnsentReportIsSentWithTheNextRecords) {
    ErrorTrail trail;
    std::memset(&trail, 0, sizeof trail);
    LoadErrorTrail(trail);
    AppendErrorRecord(trail, 2, 5);
    SaveErrorTrail(trail, true, unreachable(), soon());
    EXPECT_EQ(trail.sentLength, 7u);

    AppendSignedErrorRecord(trail, 51, 2);
    SaveErrorTrail(trail, false, standIn("later"), soon());
    EXPECT_EQ(trail.sentLength, std::strlen(trail.text));
    const std::string body = recorded("later-1.body");
    EXPECT_EQ(body.substr(body.find("&trail=")), "&trail=2:5;51:2;") << body;

    ErrorTrail next;
    std::memset(&next, 0, sizeof next);
    LoadErrorTrail(next);
    EXPECT_STREQ(next.text, "101000#2:5;51:2;");
    EXPECT_EQ(next.sentLength, 16u);
}

} // namespace
