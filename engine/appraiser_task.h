#pragma once
// Control of the "Microsoft Compatibility Appraiser" scheduled task through the Task Scheduler's
// own interface: the state is a number whatever the system's language, and no program is
// started for it.

#include "services/error_trail.h"

#include <cstdint>

enum TaskCommand : std::uint32_t { TaskQuery = 0, TaskEnable = 1, TaskDisable = 2, TaskEnd = 3 };

enum TaskState : std::uint32_t {
    TaskOther = 0, // neither running nor ready: disabled, queued, unknown, missing, or failed
    TaskRunning = 1,
    TaskReady = 2,
};

inline constexpr const char* kAppraiserTaskPath =
    "\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser";

// Query reads the task's state; Enable and Disable set whether it may run; End stops a running
// instance. Every command opens the task afresh and gives one result; only Query's result
// means anything.
//
// A failure appends one record to the trail (once per distinct record) with the failing
// call's HRESULT, and gives TaskOther:
//   stage 1: the scheduler cannot be reached: CoInitializeEx, CoCreateInstance of the Task
//            Scheduler, ITaskService::Connect;
//   stage 2: the task cannot be opened: ITaskService::GetFolder, ITaskFolder::GetTask;
//   stage 3: the command fails: IRegisteredTask::get_State, put_Enabled or Stop.
// A task (or folder) that does not exist is no failure: TaskOther and no record.
TaskState RunAppraiserTask(TaskCommand command, ErrorTrail& trail);
