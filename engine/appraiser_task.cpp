#include "engine/appraiser_task.h"

#include "engine/task_service.h"

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

TaskState RunAppraiserTask(TaskCommand command, ErrorTrail& trail) {
    const TaskServiceResult result = CallTaskService(kTaskFolder, kTaskName, actionOf(command));
    if (result.failedStep != TaskStepNone) {
        const bool missing = result.failedStep == TaskStepOpen &&
                             (result.code == kNoSuchTask || result.code == kNoSuchFolder);
        if (!missing) AppendErrorRecord(trail, result.failedStep, result.code);
        return TaskOther;
    }
    if (result.state == kSchedulerTaskRunning) return TaskRunning;
    if (result.state == kSchedulerTaskReady) return TaskReady;
    return TaskOther;
}
