#include "ui/window_layout.h"

#include "ui/dpi.h"
#include "ui/text_widths.h"

#include <commctrl.h>

#include <algorithm>

namespace {

LayoutRect FromFigures(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

} // namespace

WindowLayout::WindowLayout(HINSTANCE instance, int width, int height)
    : instance_(instance), width_(width), height_(height), dpi_(DpiOf(nullptr)) {}

int WindowLayout::scale(int figure) const {
    return ScaleToDpi(figure, dpi_);
}

RECT WindowLayout::placeOf(int x, int y, int width, int height) const {
    const int left = scale(x), top = scale(y);
    return {left, top, left + scale(width), top + scale(height)};
}

RECT WindowLayout::placeOf(const LayoutRect& layout) const {
    return placeOf(layout.left, layout.top, layout.right - layout.left, layout.bottom - layout.top);
}

SIZE WindowLayout::minimumSize() const {
    RECT frame96{};
    AdjustWindowRectForDpi(frame96, WS_OVERLAPPEDWINDOW, 0, kBaseDpi);
    RECT frame{};
    AdjustWindowRectForDpi(frame, WS_OVERLAPPEDWINDOW, 0, dpi_);
    const int clientWidth = width_ - (frame96.right - frame96.left);
    const int clientHeight = height_ - (frame96.bottom - frame96.top);
    return {scale(clientWidth) + frame.right - frame.left,
            scale(clientHeight) + frame.bottom - frame.top};
}

void WindowLayout::add(HWND control, int x, int y, int width, int height, std::int32_t page) {
    placed_.push_back({control, FromFigures(x, y, width, height), page});
}

LayoutRect WindowLayout::layoutOf(HWND control) const {
    const auto found = std::find_if(placed_.begin(), placed_.end(),
                                    [&](const Placed& p) { return p.control == control; });
    return found != placed_.end() ? found->layout : LayoutRect{};
}

void WindowLayout::addLabelIcon(HWND control, std::uint32_t iconId, int size) {
    labelIcons_.push_back({control, iconId, size, {}});
    loadLabelIcons();
}

void WindowLayout::setAnchor(HWND control, int x, int y, int width, int height, bool right,
                             bool bottom, bool left) {
    anchors_.insert_or_assign(control,
                              Anchor{FromFigures(x, y, width, height), right, bottom, left});
}

void WindowLayout::loadLabelIcons() {
    for (LabelIcon& label : labelIcons_) {
        const int size = scale(label.size);
        UniqueIcon icon(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(label.iconId),
                                                      IMAGE_ICON, size, size, LR_LOADTRANSPARENT)));
        SendMessageW(label.control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
        // The static shows the icon but does not own it.
        label.icon = std::move(icon);
    }
}

void WindowLayout::setDpi(UINT dpi) {
    dpi_ = dpi;
    for (const Placed& placed : placed_) {
        const RECT place = placeOf(placed.layout);
        MoveWindow(placed.control, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, TRUE);
    }
    // The arrows take their place beside their field again.
    for (HWND arrows : spinArrows_)
        SendMessageW(arrows, UDM_SETBUDDY, SendMessageW(arrows, UDM_GETBUDDY, 0, 0), 0);
    loadLabelIcons();
}

// Anchors hold 96-DPI figures; the window's growth beyond its minimum size is added as it is.
void WindowLayout::anchor(HWND window) const {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const SIZE minimum = minimumSize();
    const int dx = (bounds.right - bounds.left) - minimum.cx;
    const int dy = (bounds.bottom - bounds.top) - minimum.cy;
    for (const auto& [control, anchor] : anchors_) {
        const RECT place = placeOf(anchor.layout);
        const int width = place.right - place.left, height = place.bottom - place.top;
        if (anchor.right && anchor.bottom)
            MoveWindow(control, place.left + dx, place.top + dy, width, height, TRUE);
        else if (anchor.left && anchor.bottom)
            MoveWindow(control, place.left, place.top + dy, width, height, TRUE);
    }
}

// Up to the control's right edge and to the first control of its page that lies to its right on
// the same row.
bool WindowLayout::textsFit(HWND window, HFONT font) const {
    // The places come from the layout, not from the windows: under Wine each GetWindowRect of a
    // window that follows its screen's DPI asks the wineserver three times.
    const ScopedGetDC dc(window);
    const ScopedSelectObject selected(dc.get(), font);
    wchar_t text[1025];
    for (const Placed& c : placed_) {
        const int chrome = TextChrome(c.control);
        const int length = GetWindowTextW(c.control, text, 1025);
        if (chrome < 0 || length == 0) continue;
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text, length, &size);
        const RECT place = placeOf(c.layout);
        LONG room = place.right;
        for (const Placed& other : placed_)
            if (const RECT o = placeOf(other.layout); other.page == c.page && o.left > place.left &&
                                                      o.top < place.bottom && o.bottom > place.top)
                room = std::min(room, o.left);
        if (place.left + scale(chrome) + size.cx > room) return false;
    }
    return true;
}

// The layout was made for the system font of Windows 10: a wider one must not cut the texts.
UniqueFont WindowLayout::fitFont(HWND window) const {
    LOGFONTW description = MessageFontFor(dpi_);
    const LONG smallest = description.lfHeight * 3 / 4;
    UniqueFont font(CreateFontIndirectW(&description));
    while (font && !textsFit(window, font.get()) && description.lfHeight != smallest) {
        description.lfHeight += description.lfHeight < 0 ? 1 : -1;
        font.reset(CreateFontIndirectW(&description));
    }
    if (!font) return font;
    const BOOL repaint = IsWindowVisible(window); // before the window shows, nothing to repaint
    for (const Placed& placed : placed_)
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), repaint);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), repaint);
    return font;
}
