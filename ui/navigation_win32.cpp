// The page toolbar, page switching and the drop-down menu of a UICore window.

#include "ui/ui_core.h"

#include "base/win32/wide.h"

#include <commctrl.h>

namespace {

constexpr std::int32_t kFirstMenuCommand = 15;
constexpr int kSeparatorCommand = 100;
// The menu opens this far below the top edge of its control (96-DPI pixels).
constexpr int kMenuOffset = 48;

void AddToolbarButton(HWND toolbar, int image, int command, BYTE style) {
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

// The drop-down control is a static icon, which shows no focus of its own: it gets a focus
// rectangle around its icon while it has the keyboard focus (and focus cues are shown).
LRESULT CALLBACK ShowFocusProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        InvalidateRect(control, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        if (GetFocus() == control &&
            !(SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
            RECT client{};
            GetClientRect(control, &client);
            const ScopedGetDC dc(control);
            DrawFocusRect(dc.get(), &client);
        }
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(control, ShowFocusProcedure, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

// The toolbar's images at the size in pixels, each icon loaded at that size. Any thread. The
// icon's own bitmaps go in as they are: ImageList_ReplaceIcon would load each icon a second time
// from the resources and draw it in (some 5 ms an icon under Wine).
UniqueImageList ToolbarImages(HINSTANCE instance, int size, const std::vector<std::uint32_t>& ids) {
    const int count = static_cast<int>(ids.size());
    UniqueImageList images(
        ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK | ILC_HIGHQUALITYSCALE, count, 0));
    ImageList_SetImageCount(images.get(), count);
    for (int i = 0; i < count; ++i) {
        UniqueIcon icon(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(ids[i]), IMAGE_ICON, size, size, 0)));
        // An icon that cannot be loaded leaves its slot empty; the button stays.
        ICONINFO bitmaps{};
        if (!icon || !GetIconInfo(icon.get(), &bitmaps)) continue;
        const UniqueBitmap color(bitmaps.hbmColor), mask(bitmaps.hbmMask);
        ImageList_Replace(images.get(), i, color.get(), mask.get());
    }
    return images;
}

} // namespace

HWND UICore::createToolbar(int iconSize, int iconCount, const std::uint32_t* iconIds,
                           bool checkFirst) {
    if (toolbar_) return toolbar_;
    // The buttons' tooltips name what they show (setToolbarTips).
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | TBSTYLE_TOOLTIPS, 0, 0, 0,
                               0, window, nullptr, instance, nullptr);
    if (!toolbar_) return nullptr;

    toolbarIconSize_ = iconSize;
    toolbarIconIds_.assign(iconIds, iconIds + iconCount);
    // Drawing the icons into the image list takes a while: it runs beside the building of the
    // pages, and the toolbar takes the list before the window shows.
    loadingToolbarImages_ = std::thread([this, size = scale(iconSize)] {
        loadedToolbarImages_ = ToolbarImages(instance, size, toolbarIconIds_);
    });

    AddToolbarButton(toolbar_, 0, kSeparatorCommand, BTNS_SEP);
    for (int k = 1; k <= iconCount; ++k)
        AddToolbarButton(toolbar_, k - 1, k, BTNS_BUTTON);
    if (checkFirst) SendMessageW(toolbar_, TB_CHECKBUTTON, 1, TRUE);
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar_, SW_SHOWNORMAL);
    return toolbar_;
}

void UICore::takeToolbarImages() {
    if (!loadingToolbarImages_.joinable()) return;
    loadingToolbarImages_.join();
    setToolbarImages(std::move(loadedToolbarImages_));
}

void UICore::loadToolbarImages() {
    takeToolbarImages();
    setToolbarImages(ToolbarImages(instance, scale(toolbarIconSize_), toolbarIconIds_));
}

void UICore::setToolbarImages(UniqueImageList images) {
    const int size = scale(toolbarIconSize_);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    toolbarImages_ = std::move(images); // the old list goes once the toolbar has the new one
}

void UICore::setToolbarTips(std::span<const char16_t* const> tips) {
    toolbarTips_.assign(tips.begin(), tips.end());
}

// The toolbar asks for a button's tooltip with the button's command id.
LRESULT UICore::handleNotify(const NMHDR& header) {
    if (header.code != TBN_GETINFOTIPW || header.hwndFrom != toolbar_) return 0;
    auto& tip = reinterpret_cast<NMTBGETINFOTIPW&>(const_cast<NMHDR&>(header));
    const auto index = static_cast<std::size_t>(tip.iItem - 1);
    if (tip.iItem >= 1 && index < toolbarTips_.size() && tip.pszText && tip.cchTextMax > 0)
        lstrcpynW(tip.pszText, AsWide(toolbarTips_[index].c_str()), tip.cchTextMax);
    return 0;
}

void UICore::showPage(std::int32_t page) {
    completeControls();
    if (page == currentPage_) return;
    SendMessageW(toolbar_, TB_CHECKBUTTON, currentPage_ + 1, FALSE);
    SendMessageW(toolbar_, TB_CHECKBUTTON, page + 1, TRUE);
    for (const auto& set : sets_) {
        if (!set) continue;
        for (const auto& [name, control] : set->entries()) {
            if (control->page() == -1) continue;
            ShowWindow(control->handle(),
                       control->page() == page && control->shownOnPage() ? SW_SHOW : SW_HIDE);
        }
    }
    currentPage_ = page;
}

void UICore::setDropDownMenu(HWND control, std::span<const char16_t* const> items) {
    if (control && control != dropDownControl_)
        SetWindowSubclass(control, ShowFocusProcedure, 1, 0);
    dropDownControl_ = control;
    for (const char16_t* item : items)
        dropDownItems_.emplace_back(item);
}

std::int32_t UICore::runDropDownMenu() {
    UniqueMenu menu(CreatePopupMenu());
    RECT bounds{};
    GetWindowRect(dropDownControl_, &bounds);
    for (std::size_t i = 0; i < dropDownItems_.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, kFirstMenuCommand + i,
                    AsWide(dropDownItems_[i].c_str()));
    return TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_VERPOSANIMATION, bounds.left,
                          bounds.top + scale(kMenuOffset), 0, dropDownControl_, nullptr);
}
