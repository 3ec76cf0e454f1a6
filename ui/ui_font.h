#pragma once
// A font for dialog items, made from the system's message font with a few changes.

#include "ui/gdi_handles.h"

#include <windows.h>

class UIFont {
  public:
    // Starts from the message font of the system's non-client metrics; no font exists yet.
    UIFont();

    // The character height in logical units (negative: character height, not cell height).
    void setHeight(LONG height) { logFont_.lfHeight = height; }
    void setBold(bool bold) { logFont_.lfWeight = bold ? FW_BOLD : FW_NORMAL; }
    // Makes the font from the description (replacing one made before) and returns it.
    HFONT create();
    void destroy() { font_.reset(); }

  private:
    LOGFONTW logFont_{};
    UniqueFont font_;
};
