#include "ui/control_descriptions.h"

#include "base/win32/wide.h"

void SystemDescriptions::describe(HWND control, const char16_t* text) {
    if (!com_) {
        com_.emplace();
        if (com_->usable())
            CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                             IID_IAccPropServices, service_.putVoid());
    }
    if (service_)
        service_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_DESCRIPTION, AsWide(text));
}
