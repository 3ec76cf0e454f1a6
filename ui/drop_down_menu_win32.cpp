#include "ui/drop_down_menu.h"

#include "base/win32/wide.h"
#include "ui/dpi.h"
#include "ui/gdi_handles.h"

#include <commctrl.h>

namespace {

// The menu opens this far below the top edge of its control (96-DPI pixels).
constexpr int kMenuOffset = 48;

// The drop-down control is a static icon, which shows no focus of its own: it gets a focus
// rectangle around its icon while it has the keyboard focus (and focus cues are shown).
LRESULT CALLBACK ShowFocusProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        InvalidateRect(control, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        if (GetFocus() == control &&
            !(SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
            RECT client{};
            GetClientRect(control, &client);
            const ScopedGetDC dc(control);
            DrawFocusRect(dc.get(), &client);
        }
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, ShowFocusProcedure, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

void DropDownMenu::attach(HWND control, std::span<const char16_t* const> items) {
    if (control && control != control_) SetWindowSubclass(control, ShowFocusProcedure, 1, 0);
    control_ = control;
    for (const char16_t* item : items)
        items_.emplace_back(item);
}

std::int32_t DropDownMenu::run(UINT dpi) const {
    UniqueMenu menu(CreatePopupMenu());
    RECT bounds{};
    GetWindowRect(control_, &bounds);
    for (std::size_t i = 0; i < items_.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, kFirstMenuCommand + i, AsWide(items_[i].c_str()));
    return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_VERPOSANIMATION, bounds.left,
                          bounds.top + ScaleToDpi(kMenuOffset, dpi), 0, control_, nullptr);
}
