#include "tests/support/scheduled_task.h"

#include "engine/win32/com.h"
#include "engine/win32/wide.h"

#include <taskschd.h>

namespace {

const wchar_t kFolder[] = L"\\Microsoft\\Windows\\Application Experience";
const wchar_t kName[] = L"Microsoft Compatibility Appraiser";

HRESULT connect(ComPtr<ITaskService>& service) {
    HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskService, service.putVoid());
    if (FAILED(hr)) return hr;
    VARIANT local;
    VariantInit(&local);
    return service->Connect(local, local, local, local);
}

HRESULT registerTask() {
    ComApartment com;
    if (!com.usable()) return com.result();
    ComPtr<ITaskService> service;
    HRESULT hr = connect(service);
    if (FAILED(hr)) return hr;
    ComPtr<ITaskDefinition> definition;
    if (FAILED(hr = service->NewTask(0, definition.put()))) return hr;
    ComPtr<IActionCollection> actions;
    if (FAILED(hr = definition->get_Actions(actions.put()))) return hr;
    ComPtr<IAction> action;
    if (FAILED(hr = actions->Create(TASK_ACTION_EXEC, action.put()))) return hr;
    ComPtr<IExecAction> exec;
    if (FAILED(hr = action->QueryInterface(IID_IExecAction, exec.putVoid()))) return hr;
    const Bstr program(L"%windir%\\system32\\compattelrunner.exe");
    if (FAILED(hr = exec->put_Path(program.get()))) return hr;
    ComPtr<ITaskFolder> root;
    const Bstr rootPath(L"\\");
    if (FAILED(hr = service->GetFolder(rootPath.get(), root.put()))) return hr;
    const Bstr path((std::wstring(kFolder) + L"\\" + kName).c_str());
    VARIANT none;
    VariantInit(&none);
    ComPtr<IRegisteredTask> registered;
    return root->RegisterTaskDefinition(path.get(), definition.get(), TASK_CREATE_OR_UPDATE, none,
                                        none, TASK_LOGON_INTERACTIVE_TOKEN, none, registered.put());
}

} // namespace

RegisteredAppraiserTask::RegisteredAppraiserTask()
    : result_(static_cast<std::uint32_t>(registerTask())) {}

RegisteredAppraiserTask::~RegisteredAppraiserTask() {
    DeleteAppraiserTask();
}

void DeleteAppraiserTask() {
    ComApartment com;
    ComPtr<ITaskService> service;
    if (!com.usable() || FAILED(connect(service))) return;
    ComPtr<ITaskFolder> folder;
    const Bstr folderPath(kFolder);
    if (FAILED(service->GetFolder(folderPath.get(), folder.put()))) return;
    const Bstr name(kName);
    folder->DeleteTask(name.get(), 0);
}

PlantedSchtasks::PlantedSchtasks(const std::u16string& folder) : path_(folder + u"\\schtasks.exe") {
    const std::u16string source = ExecutableFolder() + u"\\planted_program.exe";
    planted_ = CopyFileW(AsWide(source.c_str()), AsWide(path_.c_str()), FALSE) != 0;
    DeleteFileW(AsWide((path_ + u".ran").c_str()));
}

PlantedSchtasks::~PlantedSchtasks() {
    DeleteFileW(AsWide((path_ + u".ran").c_str()));
    if (planted_) DeleteFileW(AsWide(path_.c_str()));
}

bool PlantedSchtasks::ran() const {
    return GetFileAttributesW(AsWide((path_ + u".ran").c_str())) != INVALID_FILE_ATTRIBUTES;
}

std::u16string ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::u16string folder(AsU16(path), length);
    return folder.substr(0, folder.find_last_of(u'\\'));
}

std::u16string CurrentFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, path);
    std::u16string folder(AsU16(path), length);
    if (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    return folder;
}
