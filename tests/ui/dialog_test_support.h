#pragma once
// Helpers for tests that run modal dialogs of this process: a driver that acts inside the
// dialog's own modal loop, a window picture saved as a BMP file and PNG files made with GDI+.

#include "tests/app/window_test_support.h"
#include "ui/gdiplus_handles.h"
#include "ui/ui_core.h"
#include "ui/ui_dialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

// Runs the dialog and calls drive with its window from a timer of the dialog's modal loop,
// once the dialog is up. A dialog still open about five seconds after that is ended with 99,
// so that a driver that fails to close it fails the test instead of hanging it.
inline INT_PTR RunDriven(UIDialog& dialog, std::function<void(HWND)> drive) {
    struct Driver {
        UIDialog* dialog;
        std::function<void(HWND)> drive;
        bool driven = false;
        int ticks = 0;
    };
    static thread_local Driver* current = nullptr;
    Driver driver{&dialog, std::move(drive)};
    current = &driver;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
        Driver& d = *current;
        const HWND window = d.dialog->dialogHandle();
        if (!window) return;
        if (!d.driven) {
            d.driven = true;
            d.drive(window);
        } else if (++d.ticks == 250) {
            ADD_FAILURE() << "the dialog was still open; ended by the test";
            EndDialog(window, 99);
        }
    });
    const INT_PTR result = dialog.run();
    KillTimer(nullptr, timer);
    EXPECT_TRUE(driver.driven) << "the dialog never came up";
    current = nullptr;
    return result;
}

// Lets the dialog's pending messages (painting included) run.
inline void Settle(HWND window) {
    UpdateWindow(window);
    for (int i = 0; i < 10; ++i) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER || message.message == WM_QUIT) continue;
            if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        Sleep(10);
    }
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
            if (GetPixel(dc, x, y) == colour) ++count;
    ReleaseDC(window, dc);
    return count;
}

inline RECT WindowRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// The rectangle of a template item (dialog units) in the dialog's client pixels.
// Position and size are converted each on its own, as the dialog manager does.
inline RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT rect{x, y, width, height};
    MapDialogRect(dialog, &rect);
    return RECT{rect.left, rect.top, rect.left + rect.right, rect.top + rect.bottom};
}

// An owner window for the dialogs, shown at (100, 100) in 916 x 640 like the main window.
inline std::unique_ptr<UICore> MakeOwner() {
    auto owner = std::make_unique<UICore>(GetModuleHandleW(nullptr), u"Owner", 916, 640, 100, 101);
    SetWindowPos(owner->window, HWND_TOP, 100, 100, 916, 640, SWP_SHOWWINDOW);
    PumpMessages();
    return owner;
}

// Writes the window's picture as a 24-bit BMP file; false when nothing could be captured.
// uniform tells whether every pixel has one colour.
inline bool SaveWindowPicture(HWND window, const std::wstring& path, bool& uniform) {
    const RECT r = WindowRectOf(window);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    const UniqueMemoryDC memory(CreateCompatibleDC(screen));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueBitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    const bool copied =
        bits && BitBlt(memory.get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    ReleaseDC(nullptr, screen);
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD size = stride * height;
    const auto* pixels = static_cast<const BYTE*>(bits);
    uniform = true;
    for (DWORD i = 3; copied && i + 2 < size && uniform; i += 3)
        uniform =
            pixels[i] == pixels[0] && pixels[i + 1] == pixels[1] && pixels[i + 2] == pixels[2];
    bool written = false;
    if (FILE* file = copied ? _wfopen(path.c_str(), L"wb") : nullptr) {
        BITMAPFILEHEADER header{};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        header.bfSize = header.bfOffBits + size;
        written = fwrite(&header, sizeof(header), 1, file) == 1 &&
                  fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, file) == 1 &&
                  fwrite(bits, size, 1, file) == 1;
        fclose(file);
    }
    SelectObject(memory.get(), old);
    return copied && written;
}

inline std::string toNarrowName(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// Saves "screenshots\<name>.bmp" under the current folder and checks it shows something.
inline void SaveScreenshot(HWND window, const std::wstring& folder, const std::wstring& name) {
    CreateDirectoryW((folder + L"\\screenshots").c_str(), nullptr);
    bool uniform = true;
    EXPECT_TRUE(SaveWindowPicture(window, folder + L"\\screenshots\\" + name + L".bmp", uniform))
        << "screenshot " << toNarrowName(name);
    EXPECT_FALSE(uniform) << "the screenshot " << toNarrowName(name) << " shows something";
}

// A PNG of one colour with a darker band across it, written with GDI+.
inline bool WritePng(const std::wstring& path, int width, int height) {
    namespace gp = Gdiplus::DllExports;
    const GdiplusSession session;
    if (!session) return false;
    Gdiplus::GpBitmap* raw = nullptr;
    gp::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat24bppRGB, nullptr, &raw);
    const UniqueGpBitmap bitmap(raw);
    if (!bitmap) return false;
    Gdiplus::GpGraphics* rawGraphics = nullptr;
    gp::GdipGetImageGraphicsContext(bitmap.get(), &rawGraphics);
    {
        const UniqueGpGraphics graphics(rawGraphics);
        gp::GdipGraphicsClear(graphics.get(), 0xFF3366CC);
    }
    static const CLSID kPngEncoder = {
        0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    return gp::GdipSaveImageToFile(bitmap.get(), path.c_str(), &kPngEncoder, nullptr) ==
           Gdiplus::Ok;
}

// The picture's width and height as GDI+ decodes it (0 x 0 when it cannot).
inline SIZE PictureSize(const std::wstring& path) {
    namespace gp = Gdiplus::DllExports;
    const GdiplusSession session;
    Gdiplus::GpBitmap* raw = nullptr;
    gp::GdipCreateBitmapFromFile(path.c_str(), &raw);
    const UniqueGpBitmap bitmap(raw);
    UINT width = 0, height = 0;
    if (bitmap) {
        gp::GdipGetImageWidth(bitmap.get(), &width);
        gp::GdipGetImageHeight(bitmap.get(), &height);
    }
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}
