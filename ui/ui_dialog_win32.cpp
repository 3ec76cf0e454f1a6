#include "ui/ui_dialog.h"

#include "base/win32/wide.h"
#include "ui/dialog_placement.h"
#include "ui/dpi.h"
#include "ui/text_room.h"
#include "ui/text_widths.h"

#include <richedit.h>
#include <shellapi.h>

#include <algorithm>
#include <vector>

void UIRichEdit::boldRange(LONG first, LONG last) {
    CHARRANGE range{first, last};
    if (last < first) range = {0, 0};
    SendMessageW(handle_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    static_assert(sizeof(format) == 116);
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BOLD | CFM_WEIGHT;
    format.dwEffects = CFE_BOLD;
    format.wWeight = FW_BOLD;
    SendMessageW(handle_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

UIDialog::UIDialog(const UIBase& owner, std::uint32_t dialogId)
    : instance_(owner.instance), parent_(owner.window), iconId_(owner.iconId), dialogId_(dialogId),
      picture_(owner.instance) {}

void UIDialog::loadRichEdit(bool load) {
    if (!load || richEditModule_) return;
    // From System32 only: a msftedit.dll beside the program must never be loaded.
    richEditModule_.reset(LoadLibraryExW(L"msftedit.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!richEditModule_) blocked_ = true;
}

INT_PTR UIDialog::run() {
    if (blocked_) return 0;
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent_, GWLP_HINSTANCE));
    const INT_PTR result = DialogBoxParamW(module, MAKEINTRESOURCEW(dialogId_), parent_,
                                           dialogProcedure, reinterpret_cast<LPARAM>(this));
    // The window is gone: its icon and its handle are no longer needed.
    dialog_ = nullptr;
    bigIcon_.reset();
    return result;
}

void UIDialog::close() {
    SendMessageW(dialog_, WM_CLOSE, 0, 0);
}

void UIDialog::setTitle(const char16_t* title) {
    SetWindowTextW(dialog_, AsWide(title));
}

void UIDialog::setItemText(int id, const std::u16string& text) {
    SetDlgItemTextW(dialog_, id, AsWide(text.c_str()));
}

void UIDialog::showItem(int id, bool shown) {
    ShowWindow(GetDlgItem(dialog_, id), shown ? SW_SHOW : SW_HIDE);
}

void UIDialog::onCommand(std::uint32_t id, std::function<void()> callback) {
    commandHandlers_.try_emplace(id, std::move(callback));
}

void UIDialog::addLink(std::uint32_t id, std::u16string_view address, HFONT font) {
    linkTargets_.try_emplace(id, address);
    if (font)
        SendDlgItemMessageW(dialog_, static_cast<int>(id), WM_SETFONT,
                            reinterpret_cast<WPARAM>(font), TRUE);
}

void UIDialog::centerOnParent(int width, int height) {
    CenterOnParent(dialog_, width, height);
}

bool UIDialog::CanPaintPictureFiles() {
    return DialogPicture::CanPaintFiles();
}

void UIDialog::setImageFile(std::u16string_view path) {
    picture_.setFile(path);
}

void UIDialog::setBitmap(std::uint32_t resourceId) {
    picture_.setBitmap(resourceId);
}

void UIDialog::setIcon(std::uint32_t resourceId) {
    picture_.setIcon(resourceId);
}

INT_PTR CALLBACK UIDialog::dialogProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        reinterpret_cast<UIDialog*>(lParam)->initialize(window);
        return FALSE;
    }
    if (auto* self = reinterpret_cast<UIDialog*>(GetWindowLongPtrW(window, DWLP_USER)))
        self->handleMessage(message, wParam, lParam);
    // The default dialog handling runs for every message as well.
    return FALSE;
}

void UIDialog::initialize(HWND window) {
    dialog_ = window;
    bigIcon_.reset(
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconId_), IMAGE_ICON, 0, 0, 0)));
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    onInit();
    makeRoomForTexts();
    centerOnParent(0, 0);
}

void UIDialog::makeRoomForTexts() {
    const UINT dpi = DpiOf(dialog_);
    std::vector<HWND> items;
    std::vector<RoomBox> boxes;
    int right = 0; // of the items as the template places them
    for (HWND item = GetWindow(dialog_, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(item, &r);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
        items.push_back(item);
        boxes.push_back(
            {0, r.left, r.top, r.right - r.left, r.bottom - r.top, TextNeed(item, dpi)});
        right = std::max(right, static_cast<int>(r.right));
    }
    const std::vector<RoomBox> before = boxes;
    MakeRoom(boxes, RoomMoves::Rows, ScaleToDpi(4, dpi));
    int grown = right;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const RoomBox& b = boxes[i];
        if (b.x != before[i].x || b.width != before[i].width)
            SetWindowPos(items[i], nullptr, b.x, b.y, b.width, b.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        grown = std::max(grown, b.x + b.width);
    }
    if (grown == right) return;
    RECT outer{};
    GetWindowRect(dialog_, &outer);
    SetWindowPos(dialog_, nullptr, 0, 0, outer.right - outer.left + grown - right,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void UIDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        // The key carries the notification code: a registered id answers plain clicks only.
        const auto key = static_cast<std::uint32_t>(wParam);
        const auto found = commandHandlers_.find(key);
        if (found != commandHandlers_.end() && found->second) found->second();
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) EndDialog(dialog_, id);
        break;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != static_cast<UINT>(NM_CLICK) &&
            header->code != static_cast<UINT>(NM_RETURN))
            break;
        const auto found = linkTargets_.find(static_cast<std::uint32_t>(header->idFrom));
        if (found != linkTargets_.end())
            ShellExecuteW(nullptr, L"open", AsWide(found->second.c_str()), nullptr, nullptr,
                          SW_SHOWNORMAL);
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(dialog_, &ps);
        picture_.paint(dc, dialog_);
        EndPaint(dialog_, &ps);
        break;
    }
    case WM_LBUTTONDOWN:
        if (closeOnClick_) EndDialog(dialog_, IDOK);
        break;
    default:
        break;
    }
}
