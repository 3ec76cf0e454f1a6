#pragma once
// The page toolbar: a separator, then one button per icon with command ids from 1; the button of
// the page shown stays pressed, and each button names what it shows in a tooltip. Its images are
// drawn on a thread of their own while the window builds its pages, and taken before it shows.

#include "base/worker.h"
#include "ui/gdi_handles.h"

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <memory>
#include <vector>

class PageToolbar {
  public:
    PageToolbar() = default;
    PageToolbar(const PageToolbar&) = delete;
    PageToolbar& operator=(const PageToolbar&) = delete;

    // Makes the toolbar in the parent with icons of the size (96-DPI pixels) at the DPI; null
    // when it cannot be made.
    HWND create(HWND parent, HINSTANCE instance, int iconSize,
                std::span<const std::uint32_t> iconIds, bool checkFirst, UINT dpi);
    HWND handle() const { return toolbar_; }

    // The images drawn since the toolbar was made go in (nothing after the first call).
    void takeImages();
    // The images at the icon size for the DPI.
    void loadImages(UINT dpi);
    // Tooltips of the buttons, in button order.
    void setTips(std::span<const char16_t* const> tips);
    // Answers the toolbar's request for a button's tooltip; other notifications are not its own.
    void answerTip(const NMHDR& header) const;
    // Raises the button of one page and presses that of the other (pages from 0).
    void switchPage(std::int32_t from, std::int32_t to) const;

  private:
    void setImages(UniqueImageList images, int pixels);

    HWND toolbar_ = nullptr;
    HINSTANCE instance_ = nullptr;
    int iconSize_ = 0; // 96-DPI pixels
    std::vector<std::uint32_t> iconIds_;
    std::vector<std::u16string> tips_;
    UniqueImageList images_;
    // The images being drawn since the toolbar was made; a toolbar gone before they are done
    // leaves them behind.
    std::unique_ptr<Worker<std::shared_ptr<UniqueImageList>>> loading_;
    int loadedPixels_ = 0;
};
