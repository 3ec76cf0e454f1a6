#pragma once
// The platform's task scheduler as the engine uses it: one call opens one registered task and
// does one thing to it. On Windows this is the Task Scheduler's COM interface; the native build
// links a substitute.

#include "base/error_trail.h"

#include <cstdint>

enum class TaskAction : std::uint32_t {
    ReadState, // IRegisteredTask::get_State
    Enable,    // IRegisteredTask::put_Enabled(VARIANT_TRUE)
    Disable,   // IRegisteredTask::put_Enabled(VARIANT_FALSE)
    Stop,      // IRegisteredTask::Stop
};

// The step of a call that failed:
//   connect: COM for this thread, creating the scheduler object, ITaskService::Connect;
//   open:    ITaskService::GetFolder, ITaskFolder::GetTask;
//   action:  the action itself.
enum TaskServiceStep : std::uint32_t {
    TaskStepNone = 0,
    TaskStepConnect = kStageSchedulerUnreachable,
    TaskStepOpen = kStageTaskNotOpened,
    TaskStepAction = kStageTaskCommandFailed,
};

// The scheduler's task states (TASK_STATE) that the engine tells apart.
inline constexpr std::uint32_t kSchedulerTaskReady = 3;
inline constexpr std::uint32_t kSchedulerTaskRunning = 4;

struct TaskServiceResult {
    TaskServiceStep failedStep; // TaskStepNone when every call succeeded
    std::uint32_t code;         // the failing call's HRESULT
    std::uint32_t state;        // ReadState: the TASK_STATE reported (0 unknown, 1 disabled,
                                // 2 queued, 3 ready, 4 running)
};

// Opens the task `name` in the scheduler folder `folder` ("\A\B") and does the action.
TaskServiceResult CallTaskService(const char16_t* folder, const char16_t* name, TaskAction action);
