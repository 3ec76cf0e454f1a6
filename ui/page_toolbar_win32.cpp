#include "ui/page_toolbar.h"

#include "base/win32/wide.h"
#include "ui/dpi.h"

#include <commctrl.h>

namespace {

constexpr int kSeparatorCommand = 100;

void AddButton(HWND toolbar, int image, int command, BYTE style) {
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
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

HWND PageToolbar::create(HWND parent, HINSTANCE instance, int iconSize,
                         std::span<const std::uint32_t> iconIds, bool checkFirst, UINT dpi) {
    // The buttons' tooltips name what they show (setTips).
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | TBSTYLE_TOOLTIPS, 0, 0, 0,
                               0, parent, nullptr, instance, nullptr);
    if (!toolbar_) return nullptr;

    instance_ = instance;
    iconSize_ = iconSize;
    iconIds_.assign(iconIds.begin(), iconIds.end());
    // Drawing the icons into the image list takes a while: it runs beside the building of the
    // pages, and the toolbar takes the list before the window shows.
    loadedPixels_ = ScaleToDpi(iconSize, dpi);
    loading_ = std::make_unique<Worker<std::shared_ptr<UniqueImageList>>>(
        [instance, pixels = loadedPixels_, ids = iconIds_] {
            return std::make_shared<UniqueImageList>(ToolbarImages(instance, pixels, ids));
        });

    AddButton(toolbar_, 0, kSeparatorCommand, BTNS_SEP);
    for (int k = 1; k <= static_cast<int>(iconIds.size()); ++k)
        AddButton(toolbar_, k - 1, k, BTNS_BUTTON);
    if (checkFirst) SendMessageW(toolbar_, TB_CHECKBUTTON, 1, TRUE);
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar_, SW_SHOWNORMAL);
    return toolbar_;
}

void PageToolbar::takeImages() {
    if (!loading_) return;
    const std::shared_ptr<UniqueImageList> images = loading_->wait();
    loading_.reset();
    setImages(std::move(*images), loadedPixels_);
}

void PageToolbar::loadImages(UINT dpi) {
    if (!toolbar_) return;
    takeImages();
    const int pixels = ScaleToDpi(iconSize_, dpi);
    setImages(ToolbarImages(instance_, pixels, iconIds_), pixels);
}

void PageToolbar::setImages(UniqueImageList images, int pixels) {
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(pixels, pixels));
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    images_ = std::move(images); // the old list goes once the toolbar has the new one
}

void PageToolbar::setTips(std::span<const char16_t* const> tips) {
    tips_.assign(tips.begin(), tips.end());
}

// The toolbar asks for a button's tooltip with the button's command id.
void PageToolbar::answerTip(const NMHDR& header) const {
    if (header.code != TBN_GETINFOTIPW || !toolbar_ || header.hwndFrom != toolbar_) return;
    auto& tip = reinterpret_cast<NMTBGETINFOTIPW&>(const_cast<NMHDR&>(header));
    const auto index = static_cast<std::size_t>(tip.iItem - 1);
    if (tip.iItem >= 1 && index < tips_.size() && tip.pszText && tip.cchTextMax > 0)
        lstrcpynW(tip.pszText, AsWide(tips_[index].c_str()), tip.cchTextMax);
}

void PageToolbar::switchPage(std::int32_t from, std::int32_t to) const {
    SendMessageW(toolbar_, TB_CHECKBUTTON, from + 1, FALSE);
    SendMessageW(toolbar_, TB_CHECKBUTTON, to + 1, TRUE);
}
