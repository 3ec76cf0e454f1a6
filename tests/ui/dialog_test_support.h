#pragma once
// Helpers for tests that run the program's modal dialogs over an owner window.

#include "tests/app/window_test_support.h"
#include "ui/ui_core.h"
#include "ui/ui_dialog.h"

#include <memory>

// Runs the dialog modally and calls drive with its window once it is up; the dialog's result.
inline INT_PTR RunDriven(UIDialog& dialog, const std::function<void(HWND)>& drive) {
    INT_PTR result = 0;
    int driven = 0;
    DriveModal([&] { result = dialog.run(); }, [&](HWND d) { driven++ ? void() : drive(d); });
    EXPECT_EQ(driven, 1) << "the dialog came up once";
    return result;
}

inline void PressKey(HWND dialog, WPARAM key) {
    PostMessageW(dialog, WM_KEYDOWN, key, 0);
    PostMessageW(dialog, WM_KEYUP, key, 0xC0000001);
}

// Counts the pixels of the colour in the client area, every second one in each direction.
inline int CountPixels(HWND window, const RECT& area, COLORREF colour) {
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = area.top; y < area.bottom; y += 2)
        for (int x = area.left; x < area.right; x += 2)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

// An owner window for the dialogs, shown at (x, 100) in 916 x 640 like the main window.
inline std::unique_ptr<UICore> MakeOwner(int x = 100) {
    auto owner = std::make_unique<UICore>(GetModuleHandleW(nullptr), u"Owner", 916, 640, 100, 101);
    SetWindowPos(owner->window, HWND_TOP, x, 100, 916, 640, SWP_SHOWWINDOW);
    PumpMessages();
    return owner;
}
