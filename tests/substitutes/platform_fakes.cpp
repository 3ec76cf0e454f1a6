// The native build's drives, task scheduler and file system.
#include "tests/substitutes/platform_fakes.h"

#include "engine/drives.h"
#include "engine/file_system.h"
#include "engine/task_service.h"
#include "engine/text.h"

#include <cstring>
#include <map>
#include <set>

namespace {

std::u16string fold(std::u16string_view s) {
    std::u16string out(s);
    for (auto& c : out) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    }
    return out;
}

std::u16string parentOf(const std::u16string& path) {
    const auto slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

struct State {
    std::uint32_t drives = 0x4; // C:
    bool taskExists = true;
    std::uint32_t taskState = 1; // disabled
    TaskServiceStep failStep = TaskStepNone;
    std::uint32_t failCode = 0;
    std::vector<std::string> taskCalls;
    std::u16string windows = u"C:\\Windows";
    bool wow64 = true;
    std::u16string desktop = u"C:\\Users\\user\\Desktop";
    std::u16string program = u"C:\\Program";
    std::set<std::u16string> folders;            // folded
    std::map<std::u16string, std::string> files; // folded
    std::vector<std::string> log;
};

State& state() {
    static State s;
    return s;
}

void addFolderChain(const std::u16string& path) {
    for (std::u16string p = path; !p.empty(); p = parentOf(p))
        state().folders.insert(fold(p));
}

std::u16string copy(const char16_t* text, std::size_t capacity) {
    return std::u16string(text, TextLength(text) < capacity ? TextLength(text) : capacity);
}

} // namespace

namespace fakes {

void Reset() {
    state() = State{};
    for (const auto* folder :
         {u"C:\\Windows\\System32", u"C:\\Users\\user\\Desktop", u"C:\\Program"})
        addFolderChain(folder);
}

void SetDriveMask(std::uint32_t mask) {
    state().drives = mask;
}

void SetTaskState(std::uint32_t taskState) {
    state().taskExists = true;
    state().taskState = taskState;
}
void RemoveTask() {
    state().taskExists = false;
}
std::uint32_t TaskStateNow() {
    return state().taskState;
}
void FailTaskCalls(std::uint32_t step, std::uint32_t code) {
    state().failStep = static_cast<TaskServiceStep>(step);
    state().failCode = code;
}
const std::vector<std::string>& TaskCalls() {
    return state().taskCalls;
}

void SetWindowsFolder(const std::u16string& path) {
    state().windows = path;
}
void SetSystemWow64(bool present) {
    state().wow64 = present;
}
void SetDesktop(const std::u16string& path) {
    state().desktop = path;
}
void SetProgramFolder(const std::u16string& path) {
    state().program = path;
}
void AddFolder(const std::u16string& path) {
    addFolderChain(path);
}
void AddFile(const std::u16string& path, const std::string& bytes) {
    addFolderChain(parentOf(path));
    state().files[fold(path)] = bytes;
}
bool FolderExists(const std::u16string& path) {
    return state().folders.count(fold(path)) != 0;
}
bool FileExists(const std::u16string& path) {
    return state().files.count(fold(path)) != 0;
}
std::string FileBytes(const std::u16string& path) {
    auto it = state().files.find(fold(path));
    return it == state().files.end() ? std::string() : it->second;
}
const std::vector<std::string>& FileLog() {
    return state().log;
}

} // namespace fakes

std::uint32_t PresentDriveMask() {
    return state().drives;
}

TaskServiceResult CallTaskService(const char16_t* folder, const char16_t* name, TaskAction action) {
    State& s = state();
    static const char* const kActions[] = {"state", "enable", "disable", "stop"};
    const std::string path = toUtf8(folder) + "\\" + toUtf8(name);
    s.taskCalls.push_back(std::string(kActions[static_cast<int>(action)]) + " " + path);
    if (s.failStep != TaskStepNone) return {s.failStep, s.failCode, 0};
    if (!s.taskExists ||
        path != "\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser")
        return {TaskStepOpen, 0x80070002, 0};
    switch (action) {
    case TaskAction::ReadState:
        return {TaskStepNone, 0, s.taskState};
    case TaskAction::Stop:
        if (s.taskState == kSchedulerTaskRunning) s.taskState = kSchedulerTaskReady;
        break;
    case TaskAction::Disable:
        s.taskState = 1;
        break;
    case TaskAction::Enable:
        if (s.taskState == 1) s.taskState = kSchedulerTaskReady;
        break;
    }
    return {TaskStepNone, 0, 0};
}

bool DesktopFolder(char16_t* buffer, std::size_t capacity) {
    if (state().desktop.empty()) return false;
    StrCopyBounded(buffer, state().desktop.c_str(), capacity);
    return true;
}

bool ProgramFolder(char16_t* buffer, std::size_t capacity) {
    const auto& p = state().program;
    if (p.empty() || p.size() >= capacity) return false;
    StrCopyBounded(buffer, p.c_str(), capacity);
    return true;
}

std::uint32_t WindowsFolder(char16_t* buffer, std::uint32_t capacity) {
    const auto& w = state().windows;
    if (w.empty() || w.size() >= capacity) return 0;
    StrCopyBounded(buffer, w.c_str(), capacity);
    return static_cast<std::uint32_t>(w.size());
}

std::uint32_t SystemWow64Folder(char16_t* buffer, std::uint32_t capacity) {
    if (!state().wow64) return 0;
    const std::u16string path = state().windows + u"\\SysWOW64";
    StrCopyBounded(buffer, path.c_str(), capacity);
    return static_cast<std::uint32_t>(path.size());
}

bool MakeDirectory(const char16_t* path) {
    const std::u16string p = copy(path, kPathCapacity);
    if (fakes::FolderExists(p) || !fakes::FolderExists(parentOf(p))) return false;
    state().folders.insert(fold(p));
    state().log.push_back("mkdir " + toUtf8(p));
    return true;
}

bool CopyFileIfAbsent(const char16_t* source, const char16_t* target) {
    const std::u16string from = copy(source, kPathCapacity);
    const std::u16string to = copy(target, kPathCapacity);
    if (!fakes::FileExists(from) || fakes::FileExists(to) || !fakes::FolderExists(parentOf(to)))
        return false;
    state().files[fold(to)] = state().files[fold(from)];
    state().log.push_back("copy " + toUtf8(from) + " -> " + toUtf8(to));
    return true;
}

bool RemoveFile(const char16_t* path) {
    const std::u16string p = copy(path, kPathCapacity);
    if (state().files.erase(fold(p)) == 0) return false;
    state().log.push_back("delete " + toUtf8(p));
    return true;
}
