#pragma once
// The window's layout is given in pixels at 96 DPI; on a screen of another DPI every figure is
// scaled here, in one place, with one rounding (to the nearest pixel, halves away from zero).

#include <windows.h>

inline constexpr UINT kBaseDpi = 96;

inline int ScaleToDpi(int figure, UINT dpi) {
    return MulDiv(figure, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

// The DPI of the window, or of the system while there is no window.
inline UINT DpiOf(HWND window) {
    const UINT dpi = window ? GetDpiForWindow(window) : GetDpiForSystem();
    return dpi != 0 ? dpi : kBaseDpi;
}
