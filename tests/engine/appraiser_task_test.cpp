// The task runner's search rules and failure records, over a scripted console.
#include "engine/appraiser_task.h"
#include "tests/substitutes/platform_fakes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class AppraiserTaskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fakes::Reset();
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
    }
    ErrorTrail trail;
};

const std::string kRow = std::string("\"") + kAppraiserTaskPath + "\",\"N/A\",";

TEST_F(AppraiserTaskTest, TheTaskPathThenRunningThenReadyDecide) {
    const struct {
        const char* what;
        std::string output;
        TaskState state;
    } cases[] = {
        {"ready", "\"TaskName\",\"Next Run Time\",\"Status\"\r\n" + kRow + "\"Ready\"", TaskReady},
        {"running", kRow + "\"Running\"", TaskRunning},
        {"disabled", kRow + "\"Disabled\"", TaskOther},
        {"ready without the task", "ERROR: Ready.", TaskOther},
        {"running and ready", kRow + "Ready Running", TaskRunning},
        {"nothing", "", TaskOther},
        {"past the first 1024 bytes", std::string(1024 - kRow.size() + 2, ' ') + kRow + "Ready",
         TaskOther},
        {"within the first 1024 bytes", std::string(1019 - kRow.size(), ' ') + kRow + "Ready",
         TaskReady},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::ScriptConsole({{c.output}});
        EXPECT_EQ(RunAppraiserTask(TaskQuery, trail), c.state);
    }
    EXPECT_STREQ(trail.text, "101000#");
}

TEST_F(AppraiserTaskTest, EachFailingStageIsRecordedOnceWithItsCode) {
    fakes::ScriptConsole({{"", 2, 2}, {"", 2, 2}, {"", 2, 5}, {"", 1, 8}, {"", 3, 258}});
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(RunAppraiserTask(TaskQuery, trail), TaskOther);
    EXPECT_STREQ(trail.text, "101000#2:2;2:5;1:8;3:258;");
}

TEST_F(AppraiserTaskTest, CommandLinesAreTheFourFixedOnes) {
    const std::u16string task =
        u"\"\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser\"";
    EXPECT_EQ(TaskCommandLine(TaskQuery),
              u"schtasks.exe /Query /FO CSV /TN " + task + u" /HRESULT");
    EXPECT_EQ(TaskCommandLine(TaskEnable),
              u"schtasks.exe /Change /TN " + task + u" /ENABLE /HRESULT");
    EXPECT_EQ(TaskCommandLine(TaskDisable),
              u"schtasks.exe /Change /TN " + task + u" /DISABLE /HRESULT");
    EXPECT_EQ(TaskCommandLine(TaskEnd), u"schtasks.exe /End /TN " + task + u" /HRESULT");
    EXPECT_LT(std::u16string(TaskCommandLine(TaskQuery)).size(), 200u) << "fits the buffer";
}

} // namespace
