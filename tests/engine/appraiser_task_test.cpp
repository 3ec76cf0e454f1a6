// The task commands over the scheduler substitute: what each command reads or leaves behind,
// and the record each failing step leaves in the trail.
#include "engine/appraiser_task.h"
#include "tests/substitutes/platform_fakes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The scheduler's TASK_STATE numbers, and a task that is not there.
constexpr std::uint32_t Unknown = 0, Disabled = 1, Queued = 2, Ready = 3, Running = 4, Missing = 99;

TEST(AppraiserTaskTest, EachCommandReadsOrChangesTheTaskAndRecordsTheFailingStep) {
    const struct {
        const char* what;
        TaskCommand command;
        std::uint32_t before;
        std::uint32_t failStep, failCode; // every scheduler call fails so
        TaskState result;
        std::uint32_t after;
        const char* records;
    } cases[] = {
        {"unknown", TaskQuery, Unknown, 0, 0, TaskOther, Unknown, ""},
        {"disabled", TaskQuery, Disabled, 0, 0, TaskOther, Disabled, ""},
        {"queued", TaskQuery, Queued, 0, 0, TaskOther, Queued, ""},
        {"ready", TaskQuery, Ready, 0, 0, TaskReady, Ready, ""},
        {"running", TaskQuery, Running, 0, 0, TaskRunning, Running, ""},
        {"no such task", TaskQuery, Missing, 0, 0, TaskOther, Missing, ""},
        {"no such folder", TaskQuery, Ready, 2, 0x80070003, TaskOther, Ready, ""},
        {"service not running", TaskQuery, Running, 1, 0x80041315, TaskOther, Running,
         "1:2147750677;"},
        {"opening refused", TaskQuery, Ready, 2, 0x80070005, TaskOther, Ready, "2:2147942405;"},
        {"state unreadable", TaskQuery, Running, 3, 0x8007000E, TaskOther, Running,
         "3:2147942414;"},
        {"end a running task", TaskEnd, Running, 0, 0, TaskOther, Ready, ""},
        {"end not implemented", TaskEnd, Running, 3, 0x80004001, TaskOther, Running,
         "3:2147500033;"},
        {"disable", TaskDisable, Ready, 0, 0, TaskOther, Disabled, ""},
        {"disable refused", TaskDisable, Ready, 3, 0x80070005, TaskOther, Ready, "3:2147942405;"},
        {"enable", TaskEnable, Disabled, 0, 0, TaskOther, Ready, ""},
        {"enable a missing task", TaskEnable, Missing, 0, 0, TaskOther, Missing, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fakes::Reset();
        ErrorTrail trail{};
        std::strcpy(trail.text, "101000#");
        if (c.before == Missing)
            fakes::RemoveTask();
        else
            fakes::SetTaskState(c.before);
        fakes::FailTaskCalls(c.failStep, c.failCode);
        EXPECT_EQ(RunAppraiserTask(c.command, trail), c.result);
        EXPECT_EQ(fakes::TaskCalls().size(), 1u) << "one scheduler call per command";
        if (c.before != Missing) {
            EXPECT_EQ(fakes::TaskStateNow(), c.after);
        }
        EXPECT_EQ(std::string(trail.text), std::string("101000#") + c.records);
    }
}

} // namespace
