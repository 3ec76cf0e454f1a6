// The native build's drives, task scheduler and file system.
#include "tests/substitutes/platform_fakes.h"

#include "engine/drives.h"
#include "engine/file_system.h"
#include "engine/task_service.h"
#include "base/text.h"

#include <array>
#include <condition_variable>
#include <mutex>

// clang-format off
fakes::Platform& fakes::Now() { static Platform p; return p; }
void fakes::Reset() { Now() = Platform{}; }
// clang-format on

namespace {

using fakes::Now;

std::mutex schedulerMutex;
std::condition_variable schedulerSpeaks;
bool schedulerSilent = false;

std::u16string parentOf(const std::u16string& path) {
    const auto slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

std::uint32_t copyOut(const std::u16string& path, char16_t* buffer, std::size_t capacity) {
    if (path.empty() || path.size() >= capacity) return 0;
    StrCopyBounded(buffer, path.c_str(), capacity);
    return static_cast<std::uint32_t>(path.size());
}

} // namespace

void fakes::SilenceScheduler(bool silent) {
    const std::lock_guard lock(schedulerMutex);
    schedulerSilent = silent;
    schedulerSpeaks.notify_all();
}

// clang-format off
TaskServiceResult CallTaskService(const char16_t* folder, const char16_t* name, TaskAction action) {
    { // a call the silence held fails when it ends, and touches nothing of the test's
        std::unique_lock lock(schedulerMutex);
        if (schedulerSilent) return schedulerSpeaks.wait(lock, [] { return !schedulerSilent; }), TaskServiceResult{TaskStepConnect, 0x800706BA, 0};
    }
    fakes::Platform& p = Now();
    p.taskCalls.push_back(std::array{"state", "enable", "disable", "stop"}[static_cast<int>(action)]);
    if (p.failStep != 0) return {static_cast<TaskServiceStep>(p.failStep), p.failCode, 0};
    if (!p.taskExists || std::u16string(folder) + u"\\" + name != u"\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser")
        return {TaskStepOpen, 0x80070002, 0};
    if (action == TaskAction::ReadState) return {TaskStepNone, 0, p.taskState};
    if (action == TaskAction::Stop && p.taskState == kSchedulerTaskRunning) p.taskState = kSchedulerTaskReady;
    if (action == TaskAction::Disable) p.taskState = 1;
    if (action == TaskAction::Enable && p.taskState == 1) p.taskState = kSchedulerTaskReady;
    return {TaskStepNone, 0, 0};
}
std::uint32_t PresentDriveMask() { return Now().drives; }
bool DesktopFolder(char16_t* buffer, std::size_t capacity) { return copyOut(Now().desktop, buffer, capacity) != 0; }
bool ProgramFolder(char16_t* buffer, std::size_t capacity) { return copyOut(Now().program, buffer, capacity) != 0; }
std::uint32_t WindowsFolder(char16_t* buffer, std::uint32_t capacity) { return copyOut(Now().windows, buffer, capacity); }
std::uint32_t SystemWow64Folder(char16_t* buffer, std::uint32_t capacity) {
    return Now().wow64 ? copyOut(Now().windows + u"\\SysWOW64", buffer, capacity) : 0;
}
bool MakeDirectory(const char16_t* path) { return Now().folders.count(parentOf(path)) && Now().folders.insert(path).second; }
bool CopyFileIfAbsent(const char16_t* source, const char16_t* target) {
    fakes::Platform& p = Now();
    const auto from = p.files.find(source);
    return from != p.files.end() && !p.files.count(target) && p.folders.count(parentOf(target)) &&
           p.files.emplace(target, from->second).second;
}
bool RemoveFile(const char16_t* path) { return Now().files.erase(path) != 0; }
// clang-format on
