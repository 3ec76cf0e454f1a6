#pragma once
// Widths of texts as controls draw them.

#include "ui/gdi_handles.h"

#include <string_view>

// What a control draws beside its text at 96 DPI: a check box's or radio button's box and the
// gap after it, a push button's borders; 0 for a text label or a link; -1 for controls without a
// line of text.
int TextChrome(HWND control);
// The pixels the control's text takes in the control's own font, with its chrome at the DPI; 0
// for a control with no text to fit.
int TextNeed(HWND control, UINT dpi);

// Widths of texts as a window at the DPI draws them in the system's message font, in pixels at
// 96 DPI (the figures a layout is given in), rounded up.
class TextWidths {
  public:
    explicit TextWidths(UINT dpi);
    // The text's width; 0 where the font or a device context could not be had.
    int operator()(std::u16string_view text) const;

  private:
    UniqueFont font_; // selected into the DC, so deleted after it
    UniqueMemoryDC dc_;
    UINT dpi_;
};
