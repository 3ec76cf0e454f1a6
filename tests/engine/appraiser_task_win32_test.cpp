// The real console runner under Windows, with our stand-in schtasks.exe beside the test.
#include "engine/appraiser_task.h"
#include "engine/console_process.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class ConsoleRunnerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
    }
    void TearDown() override { SetEnvironmentVariableA("FAKE_SCHTASKS_MODE", nullptr); }
    void mode(const char* m) { SetEnvironmentVariableA("FAKE_SCHTASKS_MODE", m); }
    ErrorTrail trail;
};

TEST_F(ConsoleRunnerTest, TaskStatesFromTheStandInsOutput) {
    const struct {
        const char* mode;
        TaskState state;
    } cases[] = {
        {"ready", TaskReady}, {"running", TaskRunning}, {"disabled", TaskOther},
        {"error", TaskOther}, {"silent", TaskOther},    {"flood", TaskOther},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        mode(c.mode);
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(RunAppraiserTask(TaskQuery, trail), c.state);
        EXPECT_LT(GetTickCount64() - start, 20000u);
    }
    EXPECT_STREQ(trail.text, "101000#") << "none of these is a failure to run";
}

TEST_F(ConsoleRunnerTest, LongOutputKeepsTheFirstKilobyteAndTheChildFinishes) {
    mode("flood");
    char16_t commandLine[200] = u"schtasks.exe /Query";
    char output[kConsoleOutputLimit + 1] = {};
    const ConsoleRun run = RunConsoleCommand(commandLine, output, 20000);
    EXPECT_EQ(run.failedStage, 0u) << run.errorCode;
    EXPECT_EQ(std::strlen(output), kConsoleOutputLimit);
    EXPECT_EQ(std::string(output, 100), std::string(99, 'x') + "\n");
}

TEST_F(ConsoleRunnerTest, AChildThatHangsIsEndedAfterTheTimeLimit) {
    mode("hang");
    char16_t commandLine[200] = u"schtasks.exe /Query";
    char output[kConsoleOutputLimit + 1] = {};
    const ULONGLONG start = GetTickCount64();
    const ConsoleRun run = RunConsoleCommand(commandLine, output, 1500);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_EQ(run.failedStage, 3u);
    EXPECT_EQ(run.errorCode, static_cast<std::uint32_t>(WAIT_TIMEOUT));
    EXPECT_GE(elapsed, 1500u);
    EXPECT_LT(elapsed, 10000u);
}

TEST_F(ConsoleRunnerTest, AProgramThatCannotStartFailsAtStageTwo) {
    char16_t commandLine[200] = u"velkaro-no-such-program.exe /Query";
    char output[kConsoleOutputLimit + 1] = {};
    const ConsoleRun run = RunConsoleCommand(commandLine, output, 5000);
    EXPECT_EQ(run.failedStage, 2u);
    EXPECT_EQ(run.errorCode, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ConsoleRunnerTest, NoHandleOutlivesACall) {
    mode("ready");
    DWORD before = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
    for (int i = 0; i < 5; ++i)
        RunAppraiserTask(TaskQuery, trail);
    char16_t commandLine[200] = u"velkaro-no-such-program.exe";
    char output[kConsoleOutputLimit + 1] = {};
    RunConsoleCommand(commandLine, output, 5000);
    DWORD after = 0;
    ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}

} // namespace
