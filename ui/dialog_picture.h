#pragma once
// What a dialog paints, at most one of: a picture file through GDI+ (the dialog takes the
// picture's size), a bitmap resource or an icon resource.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

class DialogPicture {
  public:
    explicit DialogPicture(HINSTANCE instance) : instance_(instance) {}

    // Whether picture files can be painted: GDI+ can be loaded and started.
    static bool CanPaintFiles();

    // The last call wins.
    void setFile(std::u16string_view path);
    void setBitmap(std::uint32_t resourceId);
    void setIcon(std::uint32_t resourceId);

    // Paints into the dialog's paint device context.
    void paint(HDC dc, HWND dialog) const;

  private:
    enum class Kind { None, File, Bitmap, Icon };

    void paintFile(HDC dc, HWND dialog) const;
    void paintBitmap(HDC dc, HWND dialog) const;
    void paintIcon(HDC dc, HWND dialog) const;

    HINSTANCE instance_;
    Kind kind_ = Kind::None;
    std::u16string path_;
    std::uint32_t resourceId_ = 0;
};
