#pragma once
// Where the window's controls stand. The layout gives every figure in pixels at 96 DPI; here the
// controls are placed at the window's DPI, the anchored ones follow the window's edges, icon
// labels get their icons at their size, and the message font is made as large as the texts allow.

#include "ui/gdi_handles.h"
#include "ui/tab_order.h"

#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

class WindowLayout {
  public:
    // The window's outer size at 96 DPI, which is also its least; the system's DPI to begin with.
    WindowLayout(HINSTANCE instance, int width, int height);

    UINT dpi() const { return dpi_; }
    // The outer size the window has at the least: the initial size, its client area scaled.
    SIZE minimumSize() const;
    // Where the layout's figures (left, top, width, height) put a control, in client pixels.
    RECT placeOf(int x, int y, int width, int height) const;

    // Records a control as created at the layout's figures, on the page (-1: every page).
    void add(HWND control, int x, int y, int width, int height, std::int32_t page);
    // The layout's place of a recorded control (an empty one at 0, 0 for another).
    LayoutRect layoutOf(HWND control) const;
    // Arrows that sit beside their field, wherever it is placed.
    void addSpinArrows(HWND arrows) { spinArrows_.push_back(arrows); }
    // An icon label: its icon at its size for the DPI, now and after every DPI change.
    void addLabelIcon(HWND control, std::uint32_t iconId, int size);
    // Records the geometry; the control then moves with the window's bottom (and right) edge.
    void setAnchor(HWND control, int x, int y, int width, int height, bool right, bool bottom,
                   bool left);

    // Places every control anew for the DPI.
    void setDpi(UINT dpi);
    // Moves the anchored controls by the window's growth beyond its least size.
    void anchor(HWND window) const;
    // Whether every text fits the room its control leaves it in the font.
    bool textsFit(HWND window, HFONT font) const;
    // Gives the window and every control the largest message font for the DPI in which every text
    // fits, down to three quarters of its height; returns it (null when none could be made), to be
    // kept while the controls use it.
    UniqueFont fitFont(HWND window) const;

  private:
    struct Placed {
        HWND control;
        LayoutRect layout;
        std::int32_t page;
    };
    struct LabelIcon {
        HWND control;
        std::uint32_t iconId;
        int size; // 96-DPI pixels
        UniqueIcon icon;
    };
    struct Anchor {
        LayoutRect layout;
        bool right, bottom, left;
    };

    int scale(int figure) const;
    RECT placeOf(const LayoutRect& layout) const;
    void loadLabelIcons();

    HINSTANCE instance_;
    int width_, height_;
    UINT dpi_;
    std::vector<Placed> placed_;
    std::vector<HWND> spinArrows_;
    std::vector<LabelIcon> labelIcons_;
    std::unordered_map<HWND, Anchor> anchors_;
};
