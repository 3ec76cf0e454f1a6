#include "tests/support/scheduled_task.h"

#include "base/win32/com.h"
#include "base/win32/wide.h"

#include <taskschd.h>

namespace {

const wchar_t kPath[] =
    L"\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser";

// Calls f with the scheduler's root folder, in an apartment of this thread.
template <typename F> HRESULT atRoot(F f) {
    ComApartment com;
    if (!com.usable()) return com.result();
    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    VARIANT none;
    VariantInit(&none);
    HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskService, service.putVoid());
    if (SUCCEEDED(hr)) hr = service->Connect(none, none, none, none);
    if (SUCCEEDED(hr)) hr = service->GetFolder(Bstr(L"\\").get(), root.put());
    return SUCCEEDED(hr) ? f(root.get(), none) : hr;
}

} // namespace

// clang-format off
RegisteredAppraiserTask::RegisteredAppraiserTask()
    : result_(static_cast<std::uint32_t>(atRoot([](ITaskFolder* root, VARIANT none) {
          const Bstr xml(L"<Task xmlns='http://schemas.microsoft.com/windows/2004/02/mit/task'><Actions><Exec>"
                         L"<Command>%windir%\\system32\\compattelrunner.exe</Command></Exec></Actions></Task>");
          ComPtr<IRegisteredTask> task;
          return root->RegisterTask(Bstr(kPath).get(), xml.get(), TASK_CREATE_OR_UPDATE, none, none,
                                    TASK_LOGON_INTERACTIVE_TOKEN, none, task.put());
      }))) {}
RegisteredAppraiserTask::~RegisteredAppraiserTask() { DeleteAppraiserTask(); }
void DeleteAppraiserTask() { atRoot([](ITaskFolder* root, VARIANT) { return root->DeleteTask(Bstr(kPath).get(), 0); }); }

PlantedSchtasks::PlantedSchtasks(const std::u16string& folder) : path_(folder + u"\\schtasks.exe") {
    const std::u16string source = ExecutableFolder() + u"\\planted_program.exe";
    planted_ = CopyFileW(AsWide(source.c_str()), AsWide(path_.c_str()), FALSE) != 0;
    DeleteFileW(AsWide((path_ + u".ran").c_str()));
}
PlantedSchtasks::~PlantedSchtasks() {
    DeleteFileW(AsWide((path_ + u".ran").c_str()));
    if (planted_) DeleteFileW(AsWide(path_.c_str()));
}
bool PlantedSchtasks::ran() const { return GetFileAttributesW(AsWide((path_ + u".ran").c_str())) != INVALID_FILE_ATTRIBUTES; }

std::u16string ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    const std::u16string file(AsU16(path), GetModuleFileNameW(nullptr, path, MAX_PATH));
    return file.substr(0, file.find_last_of(u'\\'));
}
std::u16string CurrentFolder() {
    wchar_t path[MAX_PATH] = {};
    std::u16string folder(AsU16(path), GetCurrentDirectoryW(MAX_PATH, path));
    if (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    return folder;
}
// clang-format on
