// The telemetry task against the Task Scheduler service of the test prefix, and the proof that
// no program is started for it from a folder a user can write to.
#include "engine/appraiser_task.h"
#include "engine/win32/wide.h"
#include "tests/support/scheduled_task.h"

#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

class SchedulerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteAppraiserTask();
        std::memset(&trail, 0, sizeof trail);
        std::strcpy(trail.text, "101000#");
    }
    ErrorTrail trail;
};

TEST_F(SchedulerTest, TheRegisteredTaskReadsReadyAndAMissingOneIsNoFailure) {
    {
        RegisteredAppraiserTask task;
        ASSERT_EQ(task.result(), 0u);
        EXPECT_EQ(RunAppraiserTask(TaskQuery, trail), TaskReady);
        // A thread that already joined the multithreaded apartment reads it the same way.
        TaskState fromMta = TaskOther;
        std::thread([&] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            fromMta = RunAppraiserTask(TaskQuery, trail);
            CoUninitialize();
        }).join();
        EXPECT_EQ(fromMta, TaskReady);
        EXPECT_EQ(RunAppraiserTask(TaskDisable, trail), TaskOther);
        EXPECT_EQ(RunAppraiserTask(TaskEnable, trail), TaskOther);
        EXPECT_STREQ(trail.text, "101000#") << "the scheduler accepted both changes";
    }
    for (TaskCommand command : {TaskQuery, TaskEnable, TaskDisable, TaskEnd})
        EXPECT_EQ(RunAppraiserTask(command, trail), TaskOther);
    EXPECT_STREQ(trail.text, "101000#") << "a task that is not there is no failure";
}

TEST_F(SchedulerTest, NoCommandStartsAProgramFromTheProgramsFolderOrTheCurrentDirectory) {
    RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    const PlantedSchtasks besideProgram(ExecutableFolder());
    const PlantedSchtasks inCurrentFolder(CurrentFolder());
    ASSERT_TRUE(besideProgram.planted() && inCurrentFolder.planted());

    // Searched for by its bare name, the planted program is what would run.
    wchar_t bareName[] = L"schtasks.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, bareName, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &info));
    WaitForSingleObject(info.hProcess, 20000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    ASSERT_TRUE(besideProgram.ran());
    besideProgram.forget();

    for (TaskCommand command : {TaskQuery, TaskEnd, TaskDisable, TaskEnable})
        RunAppraiserTask(command, trail);
    EXPECT_EQ(RunAppraiserTask(TaskQuery, trail), TaskReady);
    EXPECT_FALSE(besideProgram.ran());
    EXPECT_FALSE(inCurrentFolder.ran());
}

} // namespace
