#include "engine/appraiser_task.h"

#include "engine/console_process.h"
#include "engine/text.h"

#include <cstring>

namespace {

#define TASK u"\"\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser\""

const char16_t* const kCommandLines[] = {
    u"schtasks.exe /Query /FO CSV /TN " TASK u" /HRESULT",
    u"schtasks.exe /Change /TN " TASK u" /ENABLE /HRESULT",
    u"schtasks.exe /Change /TN " TASK u" /DISABLE /HRESULT",
    u"schtasks.exe /End /TN " TASK u" /HRESULT",
};

constexpr std::size_t kCommandLineCapacity = 200;

} // namespace

const char16_t* TaskCommandLine(TaskCommand command) {
    return kCommandLines[command & 3];
}

TaskState RunAppraiserTask(TaskCommand command, ErrorTrail& trail) {
    char16_t commandLine[kCommandLineCapacity] = {};
    StrCopyBounded(commandLine, TaskCommandLine(command), kCommandLineCapacity);
    char output[kConsoleOutputLimit + 1] = {};

    const ConsoleRun run = RunConsoleCommand(commandLine, output, kConsoleTimeoutMs);
    if (run.failedStage != 0) {
        AppendErrorRecord(trail, run.failedStage, run.errorCode);
        return TaskOther;
    }
    if (std::strstr(output, kAppraiserTaskPath) == nullptr) return TaskOther;
    if (std::strstr(output, "Running") != nullptr) return TaskRunning;
    if (std::strstr(output, "Ready") != nullptr) return TaskReady;
    return TaskOther;
}
