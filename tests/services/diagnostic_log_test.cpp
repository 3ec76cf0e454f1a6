// The diagnostic log's load and save rules with a scripted report service and real files.
#include "services/diagnostic_log.h"

#include "services/app_data_store.h"
#include "services/service_address.h"
#include "services/trail_image.h"
#include "services/web.h"
#include "tests/substitutes/app_files_host.h"
#include "tests/substitutes/web_scripted.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The scripted service answers whatever the address and however long it takes.
const ServiceEndpoint kScripted{};
constexpr WebClock::time_point kNoDeadline = WebClock::time_point::max();

class DiagnosticLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
        webscript::Reset();
        std::memset(&trail, 0, sizeof trail);
    }
    void TearDown() override {
        hostfiles::Reset();
        webscript::Reset();
    }
    std::u16string logPath() const {
        return machine.path() + u"\\Quenorith\\Velkarostrandemilquorbenix\\Trail.dat";
    }
    void givenTrail(const char* text, std::uint64_t sent) {
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, text);
        trail.sentLength = sent;
    }
    // The saved file, read back as a fresh run would.
    ErrorTrail reloaded() {
        ErrorTrail next;
        std::memset(&next, 0xbd, sizeof next);
        LoadErrorTrail(next);
        return next;
    }

    TestFolder machine;
    TestFolder user;
    ErrorTrail trail;
};

TEST_F(DiagnosticLogTest, WithoutALogFileTheTrailStartsFresh) {
    std::memset(&trail, 0xbd, sizeof trail);
    LoadErrorTrail(trail);
    EXPECT_STREQ(trail.text, "101000#");
    EXPECT_EQ(trail.sentLength, 7u);
}

TEST_F(DiagnosticLogTest, ASavedTrailIsReportedAndReloadsAsFullyReported) {
    givenTrail("101000#2:5;51:-2;", 7);
    SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    ASSERT_EQ(webscript::Made().reports.size(), 1u);
    EXPECT_EQ(webscript::Made().reports[0], "2:5;51:-2;");
    EXPECT_EQ(trail.sentLength, 17u);
    const auto file = ReadWholeFile(logPath());
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->size(), kTrailImageSize);

    const ErrorTrail next = reloaded();
    EXPECT_STREQ(next.text, "101000#2:5;51:-2;");
    EXPECT_EQ(next.sentLength, 17u);
}

TEST_F(DiagnosticLogTest, OlderShortOrBrokenLogFilesGiveAFreshTrail) {
    unsigned char image[kTrailImageSize];
    ErrorTrail old;
    std::memset(&old, 0, sizeof old);
    std::strcpy(old.text, "100000#2:5;");
    WriteTrailImage(old, image);
    const std::string older(reinterpret_cast<const char*>(image), sizeof image);
    std::string noise(kTrailImageSize, '\0');
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>(i * 7 + 3);
    for (const std::string& content : {older, older.substr(0, 1543), std::string(), noise}) {
        SCOPED_TRACE(content.size());
        char16_t path[kStorePathCapacity];
        ASSERT_TRUE(StoreFilePath(kDiagnosticLogFileName, kMachineScope, path));
        ASSERT_TRUE(WriteWholeFile(logPath(), content));
        const ErrorTrail next = reloaded();
        EXPECT_STREQ(next.text, "101000#");
        EXPECT_EQ(next.sentLength, 7u);
    }
}

TEST_F(DiagnosticLogTest, NothingNewMeansNoReportAndNoFile) {
    givenTrail("101000#2:5;", 11);
    SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    givenTrail("101000#2:5;", 40);
    SaveErrorTrail(trail, false, kScripted, kNoDeadline);
    EXPECT_TRUE(webscript::Made().reports.empty());
    EXPECT_FALSE(ReadWholeFile(logPath()).has_value());
}

TEST_F(DiagnosticLogTest, WithTheOptionOffOnlyTheForcedSaveSendsAndWrites) {
    ASSERT_EQ(SetStoreInt(kSendErrorReportKey, 0, kUserScope), kStoreWritten);
    givenTrail("101000#51:2;", 7);
    SaveErrorTrail(trail, false, kScripted, kNoDeadline);
    EXPECT_TRUE(webscript::Made().reports.empty());
    EXPECT_FALSE(ReadWholeFile(logPath()).has_value());
    EXPECT_STREQ(trail.text, "101000#51:2;");
    EXPECT_EQ(trail.sentLength, 7u);

    SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    ASSERT_EQ(webscript::Made().reports.size(), 1u);
    EXPECT_EQ(webscript::Made().reports[0], "51:2;");
    EXPECT_TRUE(ReadWholeFile(logPath()).has_value());

    ASSERT_EQ(SetStoreInt(kSendErrorReportKey, 3, kUserScope), kStoreWritten);
    std::strcat(trail.text, "52:\"x\";");
    SaveErrorTrail(trail, false, kScripted, kNoDeadline);
    EXPECT_EQ(webscript::Made().reports.size(), 2u) << "only 0 turns reporting off";
}

TEST_F(DiagnosticLogTest, AnotherVersionIsNeitherSentNorSaved) {
    for (const char* text : {"101001#2:5;", "100000#2:5;", "2:5;"}) {
        givenTrail(text, 0);
        SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    }
    EXPECT_TRUE(webscript::Made().reports.empty());
    EXPECT_FALSE(ReadWholeFile(logPath()).has_value());
}

TEST_F(DiagnosticLogTest, AFailedReportIsOfferedAgainWithTheNextRecords) {
    webscript::SetReportResult(kReportNoConnection);
    givenTrail("101000#2:5;", 7);
    SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    EXPECT_EQ(trail.sentLength, 7u);
    EXPECT_TRUE(ReadWholeFile(logPath()).has_value()) << "the file is written anyway";

    webscript::SetReportResult(kReportSent);
    std::strcat(trail.text, "3:6;");
    SaveErrorTrail(trail, false, kScripted, kNoDeadline);
    ASSERT_EQ(webscript::Made().reports.size(), 2u);
    EXPECT_EQ(webscript::Made().reports[1], "2:5;3:6;");
    EXPECT_EQ(trail.sentLength, 15u);
}

TEST_F(DiagnosticLogTest, ATrailLongerThanOneReportBodyIsSentWholeOverTwoSaves) {
    // What a report body carried of the unsent text: the body is cut at 1023 characters.
    auto carried = [](const std::string& unsent) {
        char body[kReportBodyCapacity];
        const std::size_t head = BuildReportBody(body, ReadSystemNumber(), "");
        return std::string(body, BuildReportBody(body, ReadSystemNumber(), unsent.c_str()))
            .substr(head);
    };
    std::string records;
    for (int stage = 0; records.size() < 1400; ++stage)
        records += std::to_string(stage) + ":12345;";
    givenTrail(("101000#" + records).c_str(), 7);
    SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    SaveErrorTrail(trail, true, kScripted, kNoDeadline);
    ASSERT_EQ(webscript::Made().reports.size(), 2u);
    const std::string first = carried(webscript::Made().reports[0]);
    EXPECT_LT(first.size(), records.size()) << "the first body is full";
    EXPECT_EQ(first + carried(webscript::Made().reports[1]), records);
    EXPECT_EQ(trail.sentLength, 7 + records.size());
}

} // namespace
