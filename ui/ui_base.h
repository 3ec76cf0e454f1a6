#pragma once
// What every window of the toolkit shares with the dialogs it owns: the module, the window,
// the icon dialogs take over, and the outcome a dialog leaves for its owner.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

class UIBase {
  public:
    UIBase(HINSTANCE instance, std::uint32_t iconId) : instance(instance), iconId(iconId) {}

    void setDialogResult(std::int32_t result) { dialogResult = result; }
    void setDialogText(std::u16string_view text) { dialogText.assign(text); }
    void resetDialogResult() {
        dialogResult = -1;
        dialogText.clear();
    }

    HINSTANCE instance;
    HWND window = nullptr;          // set when the window procedure first sees the window
    std::uint32_t iconId;           // small icon; dialogs created from this owner show it
    std::int32_t dialogResult = -1; // -1: nothing was chosen
    std::u16string dialogText;
};
