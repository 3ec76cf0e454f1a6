#pragma once
// Control of the "Microsoft Compatibility Appraiser" scheduled task through schtasks.exe.

#include "services/error_trail.h"

#include <cstdint>

enum TaskCommand : std::uint32_t { TaskQuery = 0, TaskEnable = 1, TaskDisable = 2, TaskEnd = 3 };

enum TaskState : std::uint32_t {
    TaskOther = 0, // neither running nor ready (disabled, not named, or the command failed)
    TaskRunning = 1,
    TaskReady = 2,
};

inline constexpr const char* kAppraiserTaskPath =
    "\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser";

// The command line of each command, exactly as it is run.
const char16_t* TaskCommandLine(TaskCommand command);

// Runs the command and looks for the task path, then "Running", then "Ready" in its first
// 1024 bytes of output. A failure to create the pipe, start the process or read its output
// appends stage 1, 2 or 3 with the system error code to the trail and gives TaskOther.
TaskState RunAppraiserTask(TaskCommand command, ErrorTrail& trail);
