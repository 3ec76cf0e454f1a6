#include "ui/dpi.h"

#include "ui/gdi_handles.h"

namespace {

// The functions, found once in user32 (always loaded: the program imports it).
struct DpiFunctions {
    UINT(WINAPI* forWindow)(HWND);
    UINT(WINAPI* forSystem)();
    BOOL(WINAPI* systemParameters)(UINT, UINT, PVOID, UINT, UINT);
    BOOL(WINAPI* adjustRect)(LPRECT, DWORD, BOOL, DWORD, UINT);
};

template <typename Function> Function Find(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const DpiFunctions& Functions() {
    static const DpiFunctions functions = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return DpiFunctions{
            Find<decltype(DpiFunctions::forWindow)>(user32, "GetDpiForWindow"),
            Find<decltype(DpiFunctions::forSystem)>(user32, "GetDpiForSystem"),
            Find<decltype(DpiFunctions::systemParameters)>(user32, "SystemParametersInfoForDpi"),
            Find<decltype(DpiFunctions::adjustRect)>(user32, "AdjustWindowRectExForDpi")};
    }();
    return functions;
}

UINT SystemDpi() {
    if (Functions().forSystem) return Functions().forSystem();
    const ScopedGetDC screen(nullptr);
    return static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

} // namespace

UINT DpiOf(HWND window) {
    const UINT dpi = window && Functions().forWindow ? Functions().forWindow(window) : SystemDpi();
    return dpi != 0 ? dpi : kBaseDpi;
}

LOGFONTW MessageFontFor(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (Functions().systemParameters) {
        Functions().systemParameters(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    } else {
        // The system's font is made for the system DPI.
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        metrics.lfMessageFont.lfHeight = MulDiv(
            metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    }
    return metrics.lfMessageFont;
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD extendedStyle, UINT dpi) {
    if (Functions().adjustRect)
        Functions().adjustRect(&rect, style, FALSE, extendedStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
}
