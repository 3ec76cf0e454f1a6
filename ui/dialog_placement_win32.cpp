#include "ui/dialog_placement.h"

void CenterOnParent(HWND dialog, int width, int height) {
    RECT parent{};
    GetWindowRect(GetParent(dialog), &parent);
    if (width == 0 && height == 0) {
        RECT own{};
        GetWindowRect(dialog, &own);
        width = own.right - own.left;
        height = own.bottom - own.top;
    }
    const int x = parent.left + (parent.right - parent.left - width) / 2;
    const int y = parent.top + (parent.bottom - parent.top - height) / 2;
    if (x >= 0 && y >= 0 && x + width <= GetSystemMetrics(SM_CXSCREEN) &&
        y + height <= GetSystemMetrics(SM_CYSCREEN))
        SetWindowPos(dialog, HWND_NOTOPMOST, x, y, width, height, SWP_SHOWWINDOW | SWP_NOZORDER);
    else
        SetWindowPos(dialog, HWND_NOTOPMOST, x, y, width, height,
                     SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOMOVE);
}
