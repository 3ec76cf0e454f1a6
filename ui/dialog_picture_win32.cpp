#include "ui/dialog_picture.h"

#include "base/win32/wide.h"
#include "ui/dialog_placement.h"
#include "ui/dpi.h"
#include "ui/gdi_handles.h"
#include "ui/gdiplus_handles.h"

bool DialogPicture::CanPaintFiles() {
    return static_cast<bool>(GdiplusSession());
}

void DialogPicture::setFile(std::u16string_view path) {
    kind_ = Kind::File;
    path_.assign(path);
}

void DialogPicture::setBitmap(std::uint32_t resourceId) {
    kind_ = Kind::Bitmap;
    resourceId_ = resourceId;
}

void DialogPicture::setIcon(std::uint32_t resourceId) {
    kind_ = Kind::Icon;
    resourceId_ = resourceId;
}

void DialogPicture::paint(HDC dc, HWND dialog) const {
    switch (kind_) {
    case Kind::File:
        paintFile(dc, dialog);
        break;
    case Kind::Bitmap:
        paintBitmap(dc, dialog);
        break;
    case Kind::Icon:
        paintIcon(dc, dialog);
        break;
    case Kind::None:
        break;
    }
}

// The picture is read again on every paint and drawn at its own size with the fastest
// settings; the dialog takes the picture's size under its caption, centred on its parent.
// A picture that cannot be read has the size 0 x 0. gdiplus.dll is delay-loaded: the first
// picture painted loads it, from System32.
void DialogPicture::paintFile(HDC dc, HWND dialog) const {
    namespace gp = Gdiplus::DllExports;
    const GdiplusSession session;
    if (!session) return;

    Gdiplus::GpBitmap* rawBitmap = nullptr;
    gp::GdipCreateBitmapFromFile(AsWide(path_.c_str()), &rawBitmap);
    const UniqueGpBitmap bitmap(rawBitmap);

    Gdiplus::GpGraphics* rawGraphics = nullptr;
    gp::GdipCreateFromHDC(dc, &rawGraphics);
    const UniqueGpGraphics graphics(rawGraphics);
    gp::GdipSetCompositingMode(graphics.get(), Gdiplus::CompositingModeSourceCopy);
    gp::GdipSetCompositingQuality(graphics.get(), Gdiplus::CompositingQualityHighSpeed);
    gp::GdipSetPixelOffsetMode(graphics.get(), Gdiplus::PixelOffsetModeNone);
    gp::GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeNone);
    gp::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeDefault);

    Gdiplus::GpCachedBitmap* rawCached = nullptr;
    if (bitmap && graphics) gp::GdipCreateCachedBitmap(bitmap.get(), graphics.get(), &rawCached);
    const UniqueGpCachedBitmap cached(rawCached);

    UINT width = 0;
    UINT height = 0;
    if (bitmap) {
        gp::GdipGetImageWidth(bitmap.get(), &width);
        gp::GdipGetImageHeight(bitmap.get(), &height);
    }
    RECT before{};
    GetWindowRect(dialog, &before);
    // The frame and caption around the picture grow with the dialog's DPI; the picture, a
    // screenshot, keeps its pixels.
    const UINT dpi = DpiOf(dialog);
    CenterOnParent(dialog, static_cast<int>(width) + ScaleToDpi(16, dpi),
                   static_cast<int>(height) + ScaleToDpi(40, dpi));
    RECT after{};
    GetWindowRect(dialog, &after);
    if (!EqualRect(&before, &after)) {
        // This paint's context still has the old origin and clipping: the whole picture is
        // drawn by the paint that the new geometry asks for, at once.
        InvalidateRect(dialog, nullptr, FALSE);
        UpdateWindow(dialog);
        return;
    }
    if (cached) gp::GdipDrawCachedBitmap(graphics.get(), cached.get(), 0, 0);
}

// The bitmap at the client origin in its own size at 96 DPI, scaled with the dialog at other
// DPIs (its template grows with the DPI too); the dialog keeps its size.
void DialogPicture::paintBitmap(HDC dc, HWND dialog) const {
    const UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(resourceId_), IMAGE_BITMAP, 0, 0, 0)));
    if (!bitmap) return;
    BITMAP info{};
    GetObjectW(bitmap.get(), sizeof(info), &info);
    const UniqueMemoryDC memory(CreateCompatibleDC(dc));
    if (!memory) return;
    const ScopedSelectObject selected(memory.get(), bitmap.get());
    const UINT dpi = DpiOf(dialog);
    if (dpi == kBaseDpi) {
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, 0, 0, ScaleToDpi(info.bmWidth, dpi), ScaleToDpi(info.bmHeight, dpi),
                   memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
}

// The icon at (20, 20) in 48 x 48 pixels at 96 DPI, whatever sizes the resource holds; at
// other DPIs place and size scale, and the icon is loaded at that size.
void DialogPicture::paintIcon(HDC dc, HWND dialog) const {
    const UINT dpi = DpiOf(dialog);
    const int at = ScaleToDpi(20, dpi);
    const int size = ScaleToDpi(48, dpi);
    const UniqueIcon icon(static_cast<HICON>(LoadImageW(
        instance_, MAKEINTRESOURCEW(resourceId_), IMAGE_ICON, size, size, LR_LOADTRANSPARENT)));
    if (icon) DrawIconEx(dc, at, at, icon.get(), size, size, 0, nullptr, DI_NORMAL);
}
