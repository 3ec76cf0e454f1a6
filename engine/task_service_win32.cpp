#include "engine/task_service.h"

#include "base/win32/com.h"
#include "base/win32/wide.h"

#include <taskschd.h>

static_assert(kSchedulerTaskReady == TASK_STATE_READY);
static_assert(kSchedulerTaskRunning == TASK_STATE_RUNNING);

namespace {

TaskServiceResult failed(TaskServiceStep step, HRESULT result) {
    return {step, static_cast<std::uint32_t>(result), 0};
}

} // namespace

TaskServiceResult CallTaskService(const char16_t* folderPath, const char16_t* name,
                                  TaskAction action) {
    // Declared first, so every interface below is released before COM is left.
    ComApartment com;
    if (!com.usable()) return failed(TaskStepConnect, com.result());
    ComPtr<ITaskService> service;
    HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskService, service.putVoid());
    if (FAILED(hr)) return failed(TaskStepConnect, hr);
    VARIANT local; // VT_EMPTY: this computer, the caller's account
    VariantInit(&local);
    hr = service->Connect(local, local, local, local);
    if (FAILED(hr)) return failed(TaskStepConnect, hr);

    const Bstr folderName(AsWide(folderPath));
    const Bstr taskName(AsWide(name));
    if (!folderName || !taskName) return failed(TaskStepOpen, E_OUTOFMEMORY);
    ComPtr<ITaskFolder> folder;
    hr = service->GetFolder(folderName.get(), folder.put());
    if (FAILED(hr)) return failed(TaskStepOpen, hr);
    ComPtr<IRegisteredTask> task;
    hr = folder->GetTask(taskName.get(), task.put());
    if (FAILED(hr)) return failed(TaskStepOpen, hr);

    TASK_STATE state = TASK_STATE_UNKNOWN;
    switch (action) {
    case TaskAction::ReadState:
        hr = task->get_State(&state);
        break;
    case TaskAction::Enable:
        hr = task->put_Enabled(VARIANT_TRUE);
        break;
    case TaskAction::Disable:
        hr = task->put_Enabled(VARIANT_FALSE);
        break;
    case TaskAction::Stop:
        hr = task->Stop(0);
        break;
    }
    if (FAILED(hr)) return failed(TaskStepAction, hr);
    return {TaskStepNone, 0, static_cast<std::uint32_t>(state)};
}
