#pragma once
// What a screen reader reads after a control's name: its description, given by Dynamic
// Annotation. The window gives each tweak control its tooltip's text.

#include "base/win32/com.h"

#include <windows.h>

#include <oleacc.h>

#include <optional>

class ControlDescriptions {
  public:
    virtual ~ControlDescriptions() = default;
    virtual void describe(HWND control, const char16_t* text) = 0;
};

// The system's annotation service, on the window's thread from the first description on (not
// at start-up: the window shows first). Where it cannot be had or refuses a description (Wine
// answers E_NOTIMPL), the control goes undescribed and nothing else changes.
class SystemDescriptions final : public ControlDescriptions {
  public:
    void describe(HWND control, const char16_t* text) override;

  private:
    std::optional<ComApartment> com_;
    ComPtr<IAccPropServices> service_;
};
