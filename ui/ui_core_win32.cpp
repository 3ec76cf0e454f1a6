#include "ui/ui_core.h"

#include "base/win32/wide.h"
#include "ui/dpi.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr wchar_t kClassName[] = L"QUENORITH";
constexpr WORD kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT); // 0x0400

// The disabled child control of the window at the point (client pixels); null for none.
HWND DisabledChildAt(HWND window, POINT at) {
    HWND child = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE);
    return child && child != window && !IsWindowEnabled(child) ? child : nullptr;
}

// The tooltip asks which window lies under the pointer before it shows a tip: over a disabled
// control of its window, that control rather than the window.
LRESULT CALLBACK TooltipOverDisabled(HWND tip, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(tip, TooltipOverDisabled, id);
    if (message != TTM_WINDOWFROMPOINT) return DefSubclassProc(tip, message, wParam, lParam);
    const POINT screen = *reinterpret_cast<const POINT*>(lParam);
    const auto window = reinterpret_cast<HWND>(data);
    const HWND under = WindowFromPoint(screen);
    POINT at = screen;
    ScreenToClient(window, &at);
    const HWND disabled = under == window ? DisabledChildAt(window, at) : nullptr;
    return reinterpret_cast<LRESULT>(disabled ? disabled : under);
}

} // namespace

UICore::UICore(HINSTANCE instance, const char16_t* title, int width, int height,
               std::uint32_t largeIconId, std::uint32_t smallIconId)
    : UIBase(instance, smallIconId), largeIconId_(largeIconId), layout_(instance, width, height) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LINK_CLASS | ICC_STANDARD_CLASSES |
                                                        ICC_NATIVEFNTCTL_CLASS | ICC_UPDOWN_CLASS |
                                                        ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    // The class icons belong to the class once it is registered; otherwise they are freed here.
    UniqueIcon largeIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(largeIconId), IMAGE_ICON, 0, 0, 0)));
    UniqueIcon smallIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(smallIconId), IMAGE_ICON, 0, 0, 0)));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = largeIcon.get();
    windowClass.hCursor =
        static_cast<HCURSOR>(LoadImageW(nullptr, IDC_ARROW, IMAGE_CURSOR, 0, 0, LR_SHARED));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = kClassName;
    windowClass.hIconSm = smallIcon.get();
    if (RegisterClassExW(&windowClass)) {
        largeIcon.release();
        smallIcon.release();
    } else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        // A class registered earlier by this module (another window of the same process)
        // serves as well as a new one; any other failure ends the start.
        noWindow_ = true;
        return;
    }
    // Without its window the program cannot run: the start has failed, as without the class.
    const SIZE size = layout_.minimumSize();
    if (!CreateWindowExW(0, kClassName, AsWide(title), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, this)) {
        window = nullptr; // a window refused after WM_NCCREATE is gone again
        noWindow_ = true;
        return;
    }
    // A window placed on a screen of another DPI than the system's takes that screen's.
    if (const UINT dpi = DpiOf(window); dpi != layout_.dpi()) changeDpi(dpi, nullptr);
}

UICore::~UICore() {
    // The window may outlive this object (it is never destroyed here): stop its procedure
    // from reaching the object.
    if (window && IsWindow(window) &&
        GetWindowLongPtrW(window, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK UICore::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* core = static_cast<UICore*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        core->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(core));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* core = reinterpret_cast<UICore*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!core) return DefWindowProcW(window, message, wParam, lParam);
    return core->handleMessage(message, wParam, lParam);
}

LRESULT UICore::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE minimum = layout_.minimumSize();
        info->ptMinTrackSize = {minimum.cx, minimum.cy};
        return 0;
    }
    case WM_CREATE: {
        const LOGFONTW font = MessageFontFor(layout_.dpi());
        messageFont_.reset(CreateFontIndirectW(&font));
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont_.get()), TRUE);
        return 0;
    }
    case WM_DESTROY:
        messageFont_.reset();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        layout_.anchor(window);
        return 0;
    case WM_QUIT:
        onQuit();
        return 0;
    case WM_SHOWWINDOW:
        PostMessageW(window, kMsgShown, 0, 0);
        // A timer message comes only when no other message waits, painting included.
        if (deferredControls_)
            SetTimer(window, kDeferredControlsTimer, USER_TIMER_MINIMUM, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == kDeferredControlsTimer) completeControls();
        if (wParam == kAfterModalTimer && !modalOpen()) {
            KillTimer(window, kAfterModalTimer);
            for (const auto& work : std::exchange(afterModal_, {}))
                work();
        }
        return 0;
    case WM_COMMAND:
        dispatchCommand(reinterpret_cast<HWND>(lParam),
                        static_cast<std::int32_t>(wParam & 0xffffffffu));
        return 0;
    case WM_DPICHANGED:
        changeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NOTIFY:
        toolbar_.answerTip(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case kMsgSetControlFont:
        SendMessageW(reinterpret_cast<HWND>(lParam), WM_SETFONT,
                     reinterpret_cast<WPARAM>(messageFont_.get()), IsWindowVisible(window));
        return 0;
    case kMsgShown:
        onCreate();
        return 0;
    case kMsgRunPosted: {
        std::vector<std::function<void()>> works;
        {
            const std::lock_guard lock(postedMutex_);
            works.swap(posted_);
        }
        for (const auto& work : works)
            work();
        return 0;
    }
    case WM_MOUSEMOVE:
        if (relayTooltip_) {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            MSG move{window, message, wParam, lParam, 0, {}};
            if (HWND child = DisabledChildAt(window, at)) {
                MapWindowPoints(window, child, &at, 1);
                move = {child, message, wParam, MAKELPARAM(at.x, at.y), 0, {}};
            }
            SendMessageW(relayTooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
        }
        return 0;
    // A menu or a move of the window runs a loop of its own; a modal dialog or message box
    // disables the window while it is open.
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
        inMenu_ = message == WM_ENTERMENULOOP;
        return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        inSizeMove_ = message == WM_ENTERSIZEMOVE;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The message font for the DPI, as large as the texts allow; the old font goes once no control
// uses it.
void UICore::fitFont() {
    if (UniqueFont font = layout_.fitFont(window)) messageFont_ = std::move(font);
}

void UICore::changeDpi(UINT dpi, const RECT* suggested) {
    layout_.setDpi(dpi);
    toolbar_.loadImages(dpi);
    if (suggested) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const SIZE size = layout_.minimumSize();
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    layout_.anchor(window);
    fitFont();
}

void UICore::dispatchCommand(HWND source, std::int32_t id) {
    if (menu_.control() && source == menu_.control()) id = menu_.run(layout_.dpi());
    const std::function<void()>* callback = commands_.find(source, id);
    if (callback && *callback) (*callback)();
}

void UICore::onCommand(HWND control, std::function<void()> callback, std::int32_t id) {
    if (control) commands_.add(control, id, std::move(callback));
}

void UICore::setAnchor(HWND control, int x, int y, int width, int height, bool right, bool bottom,
                       bool left) {
    layout_.setAnchor(control, x, y, width, height, right, bottom, left);
}

void UICore::requireWindows10(const char16_t* text, const char16_t* caption) {
    OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    version.dwMajorVersion = 10;
    version.dwMinorVersion = 0;
    version.wServicePackMajor = 0;
    DWORDLONG conditions = 0;
    conditions = VerSetConditionMask(conditions, VER_MAJORVERSION, VER_GREATER_EQUAL);
    conditions = VerSetConditionMask(conditions, VER_MINORVERSION, VER_GREATER_EQUAL);
    conditions = VerSetConditionMask(conditions, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
    if (VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR,
                           conditions))
        return;
    messageBox(caption, text, MB_OK);
    closing_ = true;
    SendMessageW(window, WM_CLOSE, 0, 0);
}

void UICore::show(int command) {
    if (closing_ || noWindow_) return;
    // The controls and their texts exist now: the font is made to fit them.
    toolbar_.takeImages();
    fitFont();
    ShowWindow(window, command != 0 ? command : SW_SHOWDEFAULT);
}

void UICore::deferControls(std::function<void()> build) {
    deferredControls_ = std::move(build);
    if (IsWindowVisible(window))
        SetTimer(window, kDeferredControlsTimer, USER_TIMER_MINIMUM, nullptr);
}

const UIControlSet* UICore::controlSet(ControlKind kind) {
    completeControls();
    return sets_[static_cast<std::size_t>(kind)].get();
}

void UICore::completeControls() {
    if (!deferredControls_) return;
    KillTimer(window, kDeferredControlsTimer);
    const std::function<void()> build = std::move(deferredControls_);
    deferredControls_ = nullptr;
    build();
    // The font was fitted to the texts shown first; a text come since may need a smaller one.
    if (IsWindowVisible(window) && !layout_.textsFit(window, messageFont_.get())) fitFont();
}

std::vector<KeyboardControl> UICore::keyboardControls(std::optional<ControlKind> kind) const {
    std::vector<KeyboardControl> controls;
    for (std::size_t k = 0; k < kControlKinds; ++k) {
        if (!sets_[k] || (kind && static_cast<std::size_t>(*kind) != k)) continue;
        for (const auto& [name, control] : sets_[k]->entries())
            controls.push_back(
                {control->handle(), layout_.layoutOf(control->handle()), control->page()});
    }
    return controls;
}

std::vector<HWND> UICore::tabOrder() const {
    return TabOrderOf(keyboardControls(), currentPage_, menu_.control());
}

// The next page (the previous one backward), as its toolbar button shows it.
void UICore::switchPage(bool backward) {
    std::int32_t pages = 0;
    for (const auto& set : sets_)
        if (set)
            for (const auto& [name, control] : set->entries())
                pages = std::max(pages, control->page() + 1);
    if (pages < 2) return;
    const std::int32_t page = (currentPage_ + (backward ? pages - 1 : 1)) % pages;
    SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(page + 1),
                 reinterpret_cast<LPARAM>(toolbar_.handle()));
    // The focus does not stay on a control that went with its page.
    HWND focus = GetFocus();
    if (!focus || focus == window || !IsWindowVisible(focus)) {
        const std::vector<HWND> order = tabOrder();
        if (!order.empty()) SetFocus(order.front());
    }
}

bool UICore::handleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !window ||
        (message.hwnd != window && !IsChild(window, message.hwnd)))
        return false;
    const NavigationKey key = NavigationKeyOf(message.wParam);
    if (key == NavigationKey::None) return false;
    if (!focusShown_) {
        focusShown_ = true;
        ShowFocusCues(window);
    }
    switch (key) {
    case NavigationKey::NextControl:
    case NavigationKey::PreviousControl:
        completeControls();
        MoveFocus(tabOrder(), key == NavigationKey::PreviousControl);
        return true;
    case NavigationKey::NextPage:
    case NavigationKey::PreviousPage:
        completeControls();
        switchPage(key == NavigationKey::PreviousPage);
        return true;
    case NavigationKey::NextInGroup:
    case NavigationKey::PreviousInGroup:
        return MoveInRadioGroup(keyboardControls(ControlKind::RadioButton),
                                key == NavigationKey::PreviousInGroup);
    case NavigationKey::Enter:
    case NavigationKey::Space:
        if (HWND focus = GetFocus(); focus && focus == menu_.control()) {
            // As a click on it: the control's plain notification opens the menu.
            SendMessageW(window, WM_COMMAND, 0, reinterpret_cast<LPARAM>(focus));
            return true;
        }
        return key == NavigationKey::Enter && PressFocusedButton();
    case NavigationKey::None:
        break;
    }
    return false;
}

int UICore::runMessageLoop() {
    if (noWindow_) return 0;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (handleKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void UICore::close() {
    closing_ = true;
    SendMessageW(window, WM_CLOSE, 0, 0);
}

void UICore::setTitle(const char16_t* title) {
    SetWindowTextW(window, AsWide(title));
}

// A message for each work posted: each runs whatever waits, so work whose message a dialog's loop
// took (and dropped) as it ended runs with the next.
void UICore::postToWindow(std::function<void()> work) {
    {
        const std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(work));
    }
    PostMessageW(window, kMsgRunPosted, 0, 0);
}

void UICore::relayDisabledChildren(HWND tooltip) {
    relayTooltip_ = tooltip;
    SetWindowSubclass(tooltip, TooltipOverDisabled, 0, reinterpret_cast<DWORD_PTR>(window));
}

bool UICore::modalOpen() const {
    return !IsWindowEnabled(window) || inMenu_ || inSizeMove_;
}

// A timer rather than a message: a message posted as a dialog ends can be taken and dropped by
// the dialog's own loop, a timer comes again.
void UICore::whenNoModalOpen(std::function<void()> work) {
    if (!modalOpen()) return work();
    afterModal_.push_back(std::move(work));
    SetTimer(window, kAfterModalTimer, kAfterModalCheckMs, nullptr);
}

int UICore::messageBox(const char16_t* caption, const char16_t* text, UINT style) {
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = window;
    params.hInstance = instance;
    params.lpszText = AsWide(text);
    params.lpszCaption = AsWide(caption);
    params.dwStyle = style | MB_USERICON | MB_TOPMOST;
    params.lpszIcon = MAKEINTRESOURCEW(largeIconId_);
    params.dwLanguageId = kNeutralLanguage;
    return MessageBoxIndirectW(&params);
}

HWND UICore::createToolbar(int iconSize, int iconCount, const std::uint32_t* iconIds,
                           bool checkFirst) {
    if (toolbar_.handle()) return toolbar_.handle();
    return toolbar_.create(window, instance, iconSize,
                           std::span(iconIds, static_cast<std::size_t>(iconCount)), checkFirst,
                           layout_.dpi());
}

void UICore::setToolbarTips(std::span<const char16_t* const> tips) {
    toolbar_.setTips(tips);
}

void UICore::setDropDownMenu(HWND control, std::span<const char16_t* const> items) {
    menu_.attach(control, items);
}

void UICore::showPage(std::int32_t page) {
    completeControls();
    if (page == currentPage_) return;
    toolbar_.switchPage(currentPage_, page);
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
