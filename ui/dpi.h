#pragma once
// The window's layout is given in pixels at 96 DPI; on a screen of another DPI every figure is
// scaled here, in one place, with one rounding (to the nearest pixel, halves away from zero).
//
// The per-monitor DPI functions came with Windows 10 version 1607. They are looked up once at run
// time, so that the program still loads on an older Windows (to decline it politely, or to run
// there at the system's DPI): where one is missing, the system DPI stands in for every window.

#include <windows.h>

inline constexpr UINT kBaseDpi = 96;

inline int ScaleToDpi(int figure, UINT dpi) {
    return MulDiv(figure, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

// The DPI of the window, or of the system while there is no window.
UINT DpiOf(HWND window);
// The system's message font at the DPI.
LOGFONTW MessageFontFor(UINT dpi);
// The window rectangle around the client rectangle of a window with the styles at the DPI.
void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD extendedStyle, UINT dpi);
