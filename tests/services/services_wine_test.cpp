// The real WinINet requests against the local stand-in of the maker's services, started by
// with_stand_in.sh, which tells this test (and nothing in the program) where it listens.
#include "services/app_data_store.h"
#include "services/diagnostic_log.h"
#include "services/update_check.h"
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

// The stand-in's address with the segment that picks its behaviour; a port nobody listens on;
// an https address that accepts and never answers.
ServiceEndpoint standIn(const std::string& segment) {
    ServiceEndpoint endpoint{};
    EXPECT_TRUE(
        ParseServiceBase(fromUtf8(environment("VELKARO_TEST_SERVICE") + "/" + segment), endpoint))
        << "run through tests/services/with_stand_in.sh";
    return endpoint;
}
ServiceEndpoint unreachable() {
    ServiceEndpoint endpoint{};
    ParseServiceBase(fromUtf8("http://127.0.0.1:" + environment("VELKARO_TEST_CLOSED_PORT")),
                     endpoint);
    return endpoint;
}
ServiceEndpoint silentHttps() {
    ServiceEndpoint endpoint{};
    ParseServiceBase(fromUtf8(environment("VELKARO_TEST_SILENT_HTTPS")), endpoint);
    return endpoint;
}

// A deadline the stand-in's prompt answers meet with ease.
WebClock::time_point soon() {
    return WebClock::now() + kServiceTimeLimit;
}

// A file the stand-in wrote, through Wine's Z: drive.
std::string recorded(const std::string& name) {
    std::ifstream in("Z:" + environment("VELKARO_TEST_STATE") + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class StandInTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    TestFolder machine, user;
};

TEST_F(StandInTest, TheUpdateRequestCarriesItsAddressAndUserAgentAndReadsAtMostTheBuffer) {
    unsigned char buffer[kUpdateAnswerCapacity];
    std::size_t received = 12345;
    ASSERT_EQ(FetchUpdateInfo(standIn("one"), buffer, sizeof buffer, &received, soon()),
              kFetchDone);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), received), R"({"update_available": 1})");
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
    // Through the whole check: an answer past the 512 bytes read, an error page, no page.
    const std::pair<const char*, int> cases[] = {
        {"long", kUpToDate}, {"error", kServiceUnavailable}, {"nothing-here", kServiceUnavailable}};
    for (const auto& [segment, expected] : cases) {
        UpdateCheckState state{0, 0};
        EXPECT_EQ(CheckForUpdate(true, state, standIn(segment), soon()), expected) << segment;
    }
    EXPECT_EQ(GetStoreInt(kLastUpdateResultKey, -1, kMachineScope), 808000) << "from \"long\"";
}

TEST_F(StandInTest, NoServiceHoldsACheckOrAReportPastItsDeadline) {
    // Answering after 12 s; a byte every 2 s; stuck in the TLS handshake.
    for (const ServiceEndpoint& service : {standIn("slow"), standIn("trickle"), silentHttps()}) {
        SCOPED_TRACE(toUtf8(service.folder));
        const auto limit = std::chrono::seconds(1);
        UpdateCheckState state{0, 0};
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(CheckForUpdate(true, state, service, WebClock::now() + limit),
                  kServiceUnavailable);
        EXPECT_LT(GetTickCount64() - start, 5000u) << "milliseconds";
        start = GetTickCount64();
        EXPECT_EQ(SendErrorReport(service, "2:5;", WebClock::now() + limit), kReportFailed);
        EXPECT_LT(GetTickCount64() - start, 5000u) << "milliseconds";
    }
    EXPECT_EQ(GetStoreInt(kLastUpdateResultKey, -1, kMachineScope), -1) << "nothing stored";
}

// A report that cannot be sent goes with the next save's, which arrives with its header and
// body; the next run loads the trail with all of it reported.
TEST_F(StandInTest, AReportArrivesWithItsHeaderAndBodyAndCarriesWhatWasNotSentBefore) {
    ErrorTrail trail;
    LoadErrorTrail(trail);
    AppendErrorRecord(trail, 2, 5);
    SaveErrorTrail(trail, true, unreachable(), soon());
    SaveErrorTrail(trail, true, standIn("reject"), soon());
    EXPECT_EQ(trail.sentLength, 7u);
    AppendTextErrorRecord(trail, 52, "a&b");
    SaveErrorTrail(trail, false, standIn("accept"), soon());
    EXPECT_EQ(trail.sentLength, std::strlen(trail.text));
    EXPECT_EQ(recorded("accept-1.body"), "product=4&version=101000&edition=1&kind=2&system=18362&"
                                         "trail=2:5;52:\"a&b\";")
        << "Wine's Windows 10 build";
    const std::string head = recorded("accept-1.head");
    EXPECT_EQ(head.rfind("POST /accept/report HTTP/1.1\n", 0), 0u) << head;
    EXPECT_NE(head.find("Content-Type: text/plain; charset=utf-8"), std::string::npos) << head;
    EXPECT_NE(head.find("User-Agent: Velkarostrandemilquorbenix/101000"), std::string::npos)
        << head;
    ErrorTrail next;
    LoadErrorTrail(next);
    EXPECT_STREQ(next.text, "101000#2:5;52:\"a&b\";");
    EXPECT_EQ(next.sentLength, 20u);
}

} // namespace
