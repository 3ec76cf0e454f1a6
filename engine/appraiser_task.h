#pragma once
// Control of the "Microsoft Compatibility Appraiser" scheduled task through the Task Scheduler's
// own interface: the state is a number whatever the system's language, and no program is
// started for it. Every call is made on a thread of its own and waited for a bounded time, so a
// scheduler that does not answer holds nobody.

#include "engine/task_service.h"
#include "base/error_trail.h"
#include "base/worker.h"

#include <chrono>
#include <cstdint>
#include <memory>

enum TaskCommand : std::uint32_t { TaskQuery = 0, TaskEnable = 1, TaskDisable = 2, TaskEnd = 3 };

enum TaskState : std::uint32_t {
    TaskOther = 0, // neither running nor ready: disabled, queued or unknown
    TaskRunning = 1,
    TaskReady = 2,
    TaskMissing = 3,  // the task (or its folder) does not exist: no failure
    TaskNoAnswer = 4, // the scheduler failed, or did not answer in time
};

inline constexpr const char* kAppraiserTaskPath =
    "\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser";

// The HRESULT recorded for an answer that did not come in time (ERROR_TIMEOUT).
inline constexpr std::uint32_t kSchedulerTimedOut = 0x800705B4;
// How long a caller waits for the scheduler's answer.
inline constexpr std::chrono::milliseconds kSchedulerAnswerLimit{1000};
using TaskClock = std::chrono::steady_clock;

// A command under way on a thread of its own: the caller may wait for it or be told when done;
// one left behind ends alone.
using TaskCall = Worker<TaskServiceResult>;
std::unique_ptr<TaskCall> StartAppraiserTask(TaskCommand command);

// What the scheduler answered. Query reads the task's state; Enable and Disable set whether it
// may run; End stops a running instance. Only Query's state means anything.
//
// A failure appends one record to the trail (once per distinct record) with the failing call's
// HRESULT, and gives TaskNoAnswer:
//   stage 1: the scheduler cannot be reached: CoInitializeEx, CoCreateInstance of the Task
//            Scheduler, ITaskService::Connect; or it did not answer in time (ERROR_TIMEOUT);
//   stage 2: the task cannot be opened: ITaskService::GetFolder, ITaskFolder::GetTask;
//   stage 3: the command fails: IRegisteredTask::get_State, put_Enabled or Stop.
// A task (or folder) that does not exist is no failure: TaskMissing and no record.
TaskState TaskStateOf(const TaskServiceResult& result, ErrorTrail& trail);
// The call's answer by the deadline; past it TaskNoAnswer, recorded as a wait that timed out.
TaskState AwaitAppraiserTask(TaskCall& call, TaskClock::time_point deadline, ErrorTrail& trail);

// The command, waited for kSchedulerAnswerLimit at most; a failure's HRESULT goes to `failed`
// when given (0 for none).
TaskState RunAppraiserTask(TaskCommand command, ErrorTrail& trail, std::uint32_t* failed = nullptr);
