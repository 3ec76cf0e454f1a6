#pragma once
// GDI+ for the length of one piece of work: a session started and shut down by its owner, and
// owners of the GDI+ objects made within it (released before the session ends when declared
// after it).

#include <windows.h>

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>

#include <gdiplus.h>

#include <memory>

class GdiplusSession {
  public:
    GdiplusSession() {
        const Gdiplus::GdiplusStartupInput input; // version 1, no debug callback
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
    }
    ~GdiplusSession() {
        if (token_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    explicit operator bool() const { return token_ != 0; }

  private:
    ULONG_PTR token_ = 0;
};

struct GdipImageRelease {
    void operator()(Gdiplus::GpImage* image) const { Gdiplus::DllExports::GdipDisposeImage(image); }
};
struct GdipGraphicsRelease {
    void operator()(Gdiplus::GpGraphics* graphics) const {
        Gdiplus::DllExports::GdipDeleteGraphics(graphics);
    }
};
struct GdipCachedBitmapRelease {
    void operator()(Gdiplus::GpCachedBitmap* cached) const {
        Gdiplus::DllExports::GdipDeleteCachedBitmap(cached);
    }
};

using UniqueGpBitmap = std::unique_ptr<Gdiplus::GpBitmap, GdipImageRelease>;
using UniqueGpGraphics = std::unique_ptr<Gdiplus::GpGraphics, GdipGraphicsRelease>;
using UniqueGpCachedBitmap = std::unique_ptr<Gdiplus::GpCachedBitmap, GdipCachedBitmapRelease>;
