#include "ui/keyboard.h"

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

bool IsRadioButton(HWND control) {
    const int type = ButtonType(control);
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsUsable(HWND control) {
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

} // namespace

NavigationKey NavigationKeyOf(WPARAM key) {
    const bool shift = IsPressed(VK_SHIFT);
    switch (key) {
    case VK_TAB:
        if (IsPressed(VK_CONTROL))
            return shift ? NavigationKey::PreviousPage : NavigationKey::NextPage;
        return shift ? NavigationKey::PreviousControl : NavigationKey::NextControl;
    case VK_LEFT:
    case VK_UP:
        return NavigationKey::PreviousInGroup;
    case VK_RIGHT:
    case VK_DOWN:
        return NavigationKey::NextInGroup;
    case VK_RETURN:
        return NavigationKey::Enter;
    case VK_SPACE:
        return NavigationKey::Space;
    default:
        return NavigationKey::None;
    }
}

// Before the focus moves, so that the control it reaches draws it.
void ShowFocusCues(HWND window) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (HWND focus = GetFocus()) InvalidateRect(focus, nullptr, TRUE);
}

std::vector<HWND> TabOrderOf(std::span<const KeyboardControl> controls, std::int32_t page,
                             HWND dropDown) {
    std::vector<HWND> reached;
    std::vector<TabStop> stops;
    for (const KeyboardControl& c : controls) {
        if (!IsUsable(c.control) || !HasStyle(c.control, WS_TABSTOP)) continue;
        const bool radio = IsRadioButton(c.control);
        const bool checked = radio && SendMessageW(c.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        reached.push_back(c.control);
        stops.push_back({c.place, c.page, radio, checked});
    }
    std::vector<HWND> order;
    for (std::size_t i : TabOrder(stops, page))
        order.push_back(reached[i]);
    if (dropDown && IsUsable(dropDown)) order.push_back(dropDown);
    return order;
}

void MoveFocus(const std::vector<HWND>& order, bool backward) {
    if (order.empty()) return;
    const auto found = std::find(order.begin(), order.end(), GetFocus());
    std::size_t next = 0;
    if (found == order.end()) {
        next = backward ? order.size() - 1 : 0;
    } else {
        const auto at = static_cast<std::size_t>(found - order.begin());
        next = backward ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
    }
    SetFocus(order[next]);
    // A field reached with Tab has its text selected, as in a dialog.
    wchar_t name[16] = {};
    GetClassNameW(order[next], name, 16);
    if (lstrcmpiW(name, L"Edit") == 0) SendMessageW(order[next], EM_SETSEL, 0, -1);
}

bool MoveInRadioGroup(std::span<const KeyboardControl> radios, bool backward) {
    HWND focus = GetFocus();
    if (!focus || !IsRadioButton(focus)) return false;
    std::vector<HWND> usable;
    std::vector<LayoutRect> places;
    for (const KeyboardControl& radio : radios)
        if (IsUsable(radio.control)) usable.push_back(radio.control), places.push_back(radio.place);
    std::vector<HWND> group;
    for (std::size_t i : ReadingOrder(places))
        group.push_back(usable[i]);
    const auto at = std::find(group.begin(), group.end(), focus);
    if (at == group.end()) return false;
    const auto index = static_cast<std::size_t>(at - group.begin());
    HWND next =
        group[backward ? (index + group.size() - 1) % group.size() : (index + 1) % group.size()];
    SetFocus(next);
    SendMessageW(next, BM_CLICK, 0, 0);
    return true;
}

bool PressFocusedButton() {
    HWND focus = GetFocus();
    const int type = focus ? ButtonType(focus) : -1;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return false;
    SendMessageW(focus, BM_CLICK, 0, 0);
    return true;
}
