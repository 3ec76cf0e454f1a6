#pragma once
// Working a window from the keyboard: Tab and Shift+Tab through the controls of the page in
// reading order, then the controls shown on every page, then the drop-down control; Ctrl+Tab and
// Ctrl+Shift+Tab through the pages as the toolbar switches them; the arrow keys within the radio
// buttons; Enter on a push button or the drop-down control clicks it, and so does Space on the
// drop-down control. Space is otherwise the controls' own (a check box toggles itself).
//
// The window reads the key and hands over its controls; these functions act on them.

#include "ui/tab_order.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

// A control as the keyboard sees it: its window, its place in the layout and its page.
struct KeyboardControl {
    HWND control;
    LayoutRect place;
    std::int32_t page; // -1: on every page
};

enum class NavigationKey {
    None,
    NextControl,
    PreviousControl,
    NextPage,
    PreviousPage,
    NextInGroup,
    PreviousInGroup,
    Enter,
    Space,
};

// What the key (with Shift and Ctrl as they are held) asks for.
NavigationKey NavigationKeyOf(WPARAM key);

// Makes the window show where the focus is, from now on.
void ShowFocusCues(HWND window);

// The controls Tab reaches on the page in order, then the drop-down control when it is usable.
std::vector<HWND> TabOrderOf(std::span<const KeyboardControl> controls, std::int32_t page,
                             HWND dropDown);

// Moves the focus to the next control of the order (the previous one backward) from the one that
// has it, or from none to the first (the last). A field reached has its text selected.
void MoveFocus(const std::vector<HWND>& order, bool backward);

// Moves the focus from the radio button that has it to the next usable one of the group (the
// previous one backward) and chooses it; false when no radio button of the group has the focus.
bool MoveInRadioGroup(std::span<const KeyboardControl> radios, bool backward);

// Clicks the push button that has the focus; false when none has it.
bool PressFocusedButton();
