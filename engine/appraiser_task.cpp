#include "engine/appraiser_task.h"

namespace {

const char16_t* const kTaskFolder = u"\\Microsoft\\Windows\\Application Experience";
const char16_t* const kTaskName = u"Microsoft Compatibility Appraiser";

// HRESULT_FROM_WIN32 of ERROR_FILE_NOT_FOUND (no such task) and ERROR_PATH_NOT_FOUND (no such
// folder).
constexpr std::uint32_t kNoSuchTask = 0x80070002;
constexpr std::uint32_t kNoSuchFolder = 0x80070003;

TaskAction actionOf(TaskCommand command) {
    switch (command) {
    case TaskEnable:
        return TaskAction::Enable;
    case TaskDisable:
        return TaskAction::Disable;
    case TaskEnd:
        return TaskAction::Stop;
    case TaskQuery:
        break;
    }
    return TaskAction::ReadState;
}

} // namespace

std::unique_ptr<TaskCall> StartAppraiserTask(TaskCommand command) {
    const TaskAction action = actionOf(command);
    return std::make_unique<TaskCall>(
        [action] { return CallTaskService(kTaskFolder, kTaskName, action); });
}

TaskState TaskStateOf(const TaskServiceResult& result, ErrorTrail& trail) {
    if (result.failedStep != TaskStepNone) {
        if (result.failedStep == TaskStepOpen &&
            (result.code == kNoSuchTask || result.code == kNoSuchFolder))
            return TaskMissing;
        AppendErrorRecord(trail, result.failedStep, result.code);
        return TaskNoAnswer;
    }
    if (result.state == kSchedulerTaskRunning) return TaskRunning;
    if (result.state == kSchedulerTaskReady) return TaskReady;
    return TaskOther;
}

namespace {

TaskServiceResult awaited(TaskCall& call, TaskClock::time_point deadline) {
    TaskServiceResult result{};
    if (!call.waitUntil(deadline, result)) result = {TaskStepConnect, kSchedulerTimedOut, 0};
    return result;
}

} // namespace

TaskState AwaitAppraiserTask(TaskCall& call, TaskClock::time_point deadline, ErrorTrail& trail) {
    return TaskStateOf(awaited(call, deadline), trail);
}

TaskState RunAppraiserTask(TaskCommand command, ErrorTrail& trail, std::uint32_t* failed) {
    const TaskServiceResult result =
        awaited(*StartAppraiserTask(command), TaskClock::now() + kSchedulerAnswerLimit);
    const TaskState state = TaskStateOf(result, trail);
    if (failed) *failed = state == TaskNoAnswer ? result.code : 0;
    return state;
}
