#pragma once
// The menu that one control of the window opens when clicked: its items, in order, are commands
// of that control with ids from kFirstMenuCommand on.

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr std::int32_t kFirstMenuCommand = 15;

class DropDownMenu {
  public:
    // Makes the control the one that opens the menu and appends the items to any earlier. The
    // control, a static icon, gets a focus rectangle while it has the keyboard focus.
    void attach(HWND control, std::span<const char16_t* const> items);
    HWND control() const { return control_; }
    // Runs the menu at the control's left edge, 48 pixels (at 96 DPI) below its top edge; the
    // command id chosen, 0 when the menu was dismissed.
    std::int32_t run(UINT dpi) const;

  private:
    HWND control_ = nullptr;
    std::vector<std::u16string> items_;
};
