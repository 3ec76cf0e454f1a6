// Working the window from the keyboard: Tab and Shift+Tab through the controls of the page in
// reading order, then the controls shown on every page, then the drop-down control; Ctrl+Tab
// and Ctrl+Shift+Tab through the pages as the toolbar switches them; the arrow keys within the
// radio buttons; Enter on a push button or the drop-down control clicks it. Space is the
// controls' own (a check box toggles itself).

#include "ui/ui_core.h"

#include <algorithm>

namespace {

bool IsPressed(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

bool HasStyle(HWND control, DWORD style) {
    return (static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE)) & style) == style;
}

// The button type of a control of class Button; -1 for other classes.
int ButtonType(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    if (lstrcmpiW(name, L"Button") != 0) return -1;
    return static_cast<int>(GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK);
}

bool IsPushButton(HWND control) {
    const int type = ButtonType(control);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool IsRadioButton(HWND control) {
    const int type = ButtonType(control);
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

RECT ClientRectOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Rows from top to bottom (a control whose top lies above the middle of the row's first control
// shares its row), each row from left to right.
void SortInReadingOrder(std::vector<HWND>& controls) {
    std::vector<std::pair<RECT, HWND>> placed;
    for (HWND control : controls)
        placed.emplace_back(ClientRectOf(control), control);
    std::stable_sort(placed.begin(), placed.end(),
                     [](const auto& a, const auto& b) { return a.first.top < b.first.top; });
    controls.clear();
    for (std::size_t row = 0; row < placed.size();) {
        const RECT& first = placed[row].first;
        const LONG middle = first.top + (first.bottom - first.top) / 2;
        std::size_t end = row + 1;
        while (end < placed.size() && placed[end].first.top < middle)
            ++end;
        std::stable_sort(placed.begin() + row, placed.begin() + end,
                         [](const auto& a, const auto& b) { return a.first.left < b.first.left; });
        for (std::size_t i = row; i < end; ++i)
            controls.push_back(placed[i].second);
        row = end;
    }
}

} // namespace

std::vector<HWND> UICore::tabOrder() const {
    std::vector<HWND> page;
    std::vector<HWND> everyPage;
    std::vector<HWND> radios;
    for (const auto& set : sets_) {
        if (!set) continue;
        for (const auto& [name, entry] : set->entries()) {
            HWND control = entry->handle();
            if (!IsWindowVisible(control) || !IsWindowEnabled(control) ||
                !HasStyle(control, WS_TABSTOP))
                continue;
            if (entry->page() == -1)
                everyPage.push_back(control);
            else if (entry->page() == currentPage_)
                (IsRadioButton(control) ? radios : page).push_back(control);
        }
    }
    // The radio buttons are one stop: the checked one, or the first when none is.
    if (!radios.empty()) {
        SortInReadingOrder(radios);
        const auto checked = std::find_if(radios.begin(), radios.end(), [](HWND radio) {
            return SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED;
        });
        page.push_back(checked != radios.end() ? *checked : radios.front());
    }
    SortInReadingOrder(page);
    SortInReadingOrder(everyPage);
    page.insert(page.end(), everyPage.begin(), everyPage.end());
    if (dropDownControl_ && IsWindowVisible(dropDownControl_) && IsWindowEnabled(dropDownControl_))
        page.push_back(dropDownControl_);
    return page;
}

void UICore::moveFocus(bool backward) {
    completeControls();
    const std::vector<HWND> order = tabOrder();
    if (order.empty()) return;
    const auto found = std::find(order.begin(), order.end(), GetFocus());
    std::size_t next = 0;
    if (found == order.end())
        next = backward ? order.size() - 1 : 0;
    else {
        const auto at = static_cast<std::size_t>(found - order.begin());
        next = backward ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    }
    SetFocus(order[next]);
    // A field reached with Tab has its text selected, as in a dialog.
    wchar_t name[16] = {};
    GetClassNameW(order[next], name, 16);
    if (lstrcmpiW(name, L"Edit") == 0) SendMessageW(order[next], EM_SETSEL, 0, -1);
}

// The next page (the previous one backward), as its toolbar button shows it.
void UICore::switchPage(bool backward) {
    completeControls();
    std::int32_t pages = 0;
    for (const auto& set : sets_)
        if (set)
            for (const auto& [name, entry] : set->entries())
                pages = std::max(pages, entry->page() + 1);
    if (pages < 2) return;
    const std::int32_t page = (currentPage_ + (backward ? pages - 1 : 1)) % pages;
    SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(page + 1),
                 reinterpret_cast<LPARAM>(toolbar_));
    // The focus does not stay on a control that went with its page.
    HWND focus = GetFocus();
    if (!focus || focus == window || !IsWindowVisible(focus)) {
        const std::vector<HWND> order = tabOrder();
        if (!order.empty()) SetFocus(order.front());
    }
}

bool UICore::handleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !window ||
        (message.hwnd != window && !IsChild(window, message.hwnd)))
        return false;
    // Once the keyboard is in use, the focus shows (before it moves, so that the control it
    // reaches draws it).
    const WPARAM key = message.wParam;
    if (!focusShown_ && (key == VK_TAB || key == VK_SPACE || key == VK_RETURN ||
                         (key >= VK_LEFT && key <= VK_DOWN))) {
        focusShown_ = true;
        SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        if (HWND focus = GetFocus()) InvalidateRect(focus, nullptr, TRUE);
    }
    HWND focus = GetFocus();
    bool handled = false;
    switch (key) {
    case VK_TAB:
        if (IsPressed(VK_CONTROL))
            switchPage(IsPressed(VK_SHIFT));
        else
            moveFocus(IsPressed(VK_SHIFT));
        handled = true;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        if (!focus || !IsRadioButton(focus)) break;
        const UIControlSet* radios =
            sets_[static_cast<std::size_t>(ControlKind::RadioButton)].get();
        if (!radios) break;
        std::vector<HWND> group;
        for (const auto& [name, entry] : radios->entries())
            if (IsWindowVisible(entry->handle()) && IsWindowEnabled(entry->handle()))
                group.push_back(entry->handle());
        SortInReadingOrder(group);
        const auto at = std::find(group.begin(), group.end(), focus);
        if (at == group.end()) break;
        const bool back = key == VK_LEFT || key == VK_UP;
        const auto index = static_cast<std::size_t>(at - group.begin());
        HWND next =
            group[back ? (index + group.size() - 1) % group.size() : (index + 1) % group.size()];
        SetFocus(next);
        SendMessageW(next, BM_CLICK, 0, 0);
        handled = true;
        break;
    }
    case VK_RETURN:
    case VK_SPACE:
        if (focus && focus == dropDownControl_) {
            // As a click on it: the control's plain notification opens the menu.
            SendMessageW(window, WM_COMMAND, 0, reinterpret_cast<LPARAM>(focus));
            handled = true;
        } else if (key == VK_RETURN && focus && IsPushButton(focus)) {
            SendMessageW(focus, BM_CLICK, 0, 0);
            handled = true;
        }
        break;
    default:
        break;
    }
    return handled;
}
