#include "ui/text_widths.h"

#include "base/win32/wide.h"
#include "ui/dpi.h"

#include <commctrl.h>

#include <cwchar>

int TextChrome(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (lstrcmpiW(name, L"Static") == 0) return (style & SS_TYPEMASK) == SS_LEFT ? 0 : -1;
    if (lstrcmpiW(name, WC_LINK) == 0) return 0;
    if (lstrcmpiW(name, L"Button") != 0 || (style & (BS_ICON | BS_BITMAP))) return -1;
    switch (style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
    case BS_CHECKBOX:
    case BS_AUTORADIOBUTTON:
    case BS_RADIOBUTTON:
        return 16;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return 8;
    default:
        return -1;
    }
}

int TextNeed(HWND control, UINT dpi) {
    const int chrome = TextChrome(control);
    wchar_t text[1025];
    int length = GetWindowTextW(control, text, 1025);
    if (chrome < 0 || length == 0) return 0;
    const wchar_t* shown = text;
    if (length > 7 && wcsncmp(text, L"<A>", 3) == 0) shown += 3, length -= 7; // a link's markup
    const ScopedGetDC dc(control);
    const ScopedSelectObject font(dc.get(),
                                  reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    if (!GetTextExtentPoint32W(dc.get(), shown, length, &size)) return 0;
    return ScaleToDpi(chrome, dpi) + size.cx;
}

TextWidths::TextWidths(UINT dpi) : dc_(CreateCompatibleDC(nullptr)), dpi_(dpi) {
    const LOGFONTW description = MessageFontFor(dpi);
    font_.reset(CreateFontIndirectW(&description));
    if (dc_ && font_) SelectObject(dc_.get(), font_.get());
}

int TextWidths::operator()(std::u16string_view text) const {
    SIZE size{};
    if (!dc_ || !font_ ||
        !GetTextExtentPoint32W(dc_.get(), AsWide(text.data()), static_cast<int>(text.size()),
                               &size))
        return 0;
    return (size.cx * static_cast<int>(kBaseDpi) + static_cast<int>(dpi_) - 1) /
           static_cast<int>(dpi_);
}
