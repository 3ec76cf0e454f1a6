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

HFONT MessageFont(UINT dpi) {
    const LOGFONTW font = MessageFontFor(dpi);
    return CreateFontIndirectW(&font);
}

// What a control draws beside its text at 96 DPI: a check box's or radio button's box and the
// gap after it, a push button's borders; 0 for a text label; -1 for controls without a text.
int TextChrome(HWND control) {
    wchar_t name[16] = {};
    GetClassNameW(control, name, 16);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (lstrcmpiW(name, L"Static") == 0) return (style & SS_TYPEMASK) == SS_LEFT ? 0 : -1;
    if (lstrcmpiW(name, L"Button") != 0) return -1;
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

std::uint64_t HashCommandKey(const CommandKey& key) {
    if (key.id < 1000) return static_cast<std::uint64_t>(static_cast<std::int64_t>(key.id));
    std::uint64_t value = reinterpret_cast<std::uintptr_t>(key.control);
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (int i = 0; i < 8; ++i) {
        hash ^= value & 0xff;
        hash *= 0x100000001b3ull;
        value >>= 8;
    }
    return hash;
}

UICore::UICore(HINSTANCE instance, const char16_t* title, int width, int height,
               std::uint32_t largeIconId, std::uint32_t smallIconId)
    : UIBase(instance, smallIconId), largeIconId_(largeIconId), initialWidth_(width),
      initialHeight_(height) {
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
    dpi_ = DpiOf(nullptr);
    const SIZE size = minimumSize();
    if (!CreateWindowExW(0, kClassName, AsWide(title), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance, this)) {
        window = nullptr; // a window refused after WM_NCCREATE is gone again
        noWindow_ = true;
        return;
    }
    // A window placed on a screen of another DPI than the system's takes that screen's.
    if (const UINT dpi = DpiOf(window); dpi != dpi_) changeDpi(dpi, nullptr);
}

UICore::~UICore() {
    if (loadingToolbarImages_.joinable()) loadingToolbarImages_.join();
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
        const SIZE minimum = minimumSize();
        info->ptMinTrackSize = {minimum.cx, minimum.cy};
        return 0;
    }
    case WM_CREATE:
        messageFont_.reset(MessageFont(dpi_));
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont_.get()), TRUE);
        return 0;
    case WM_DESTROY:
        messageFont_.reset();
        PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        anchorControls();
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
        lastCommandSource_ = reinterpret_cast<HWND>(lParam);
        dispatchCommand(lastCommandSource_, static_cast<std::int32_t>(wParam & 0xffffffffu));
        return 0;
    case WM_DPICHANGED:
        changeDpi(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NOTIFY:
        return handleNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case kMsgSetControlFont:
        SendMessageW(reinterpret_cast<HWND>(lParam), WM_SETFONT,
                     reinterpret_cast<WPARAM>(messageFont_.get()), IsWindowVisible(window));
        return 0;
    case kMsgShown:
        onCreate();
        return 0;
    // A menu or a move of the window runs a loop of its own; a modal dialog or message box
    // disables the window while it is open.
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

int UICore::scale(int figure) const {
    return ScaleToDpi(figure, dpi_);
}

RECT UICore::placeOf(const RECT& layout) const {
    const int left = scale(layout.left), top = scale(layout.top);
    return {left, top, left + scale(layout.right), top + scale(layout.bottom)};
}

SIZE UICore::minimumSize() const {
    RECT frame96{};
    AdjustWindowRectForDpi(frame96, WS_OVERLAPPEDWINDOW, 0, kBaseDpi);
    RECT frame{};
    AdjustWindowRectForDpi(frame, WS_OVERLAPPEDWINDOW, 0, dpi_);
    const int clientWidth = initialWidth_ - (frame96.right - frame96.left);
    const int clientHeight = initialHeight_ - (frame96.bottom - frame96.top);
    return {scale(clientWidth) + frame.right - frame.left,
            scale(clientHeight) + frame.bottom - frame.top};
}

// Anchors hold 96-DPI figures; the window's growth beyond its minimum size is added as it is.
void UICore::anchorControls() {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const SIZE minimum = minimumSize();
    const int dx = (bounds.right - bounds.left) - minimum.cx;
    const int dy = (bounds.bottom - bounds.top) - minimum.cy;
    for (const auto& [control, anchor] : anchorTable_) {
        const int x = scale(anchor.x), y = scale(anchor.y);
        const int width = scale(anchor.width), height = scale(anchor.height);
        if (anchor.right && anchor.bottom)
            MoveWindow(control, x + dx, y + dy, width, height, TRUE);
        else if (anchor.left && anchor.bottom)
            MoveWindow(control, x, y + dy, width, height, TRUE);
    }
}

// Whether every text fits the room its control leaves it: up to the control's right edge and to
// the first control of its page that lies to its right on the same row.
bool UICore::textsFit(HFONT font) const {
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

// The message font for the DPI, a pixel smaller at a time (down to three quarters of its
// height) while some text does not fit its place: the layout was made for the system font of
// Windows 10, and a wider one must not cut the texts.
void UICore::fitFont() {
    LOGFONTW description = MessageFontFor(dpi_);
    const LONG smallest = description.lfHeight * 3 / 4;
    UniqueFont font(CreateFontIndirectW(&description));
    while (font && !textsFit(font.get()) && description.lfHeight != smallest) {
        description.lfHeight += description.lfHeight < 0 ? 1 : -1;
        font.reset(CreateFontIndirectW(&description));
    }
    if (!font) return;
    const BOOL repaint = IsWindowVisible(window); // before the window shows, nothing to repaint
    for (const Placed& placed : placed_)
        SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), repaint);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), repaint);
    messageFont_ = std::move(font); // the old font goes once no control uses it
}

void UICore::changeDpi(UINT dpi, const RECT* suggested) {
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
    if (toolbar_) loadToolbarImages();

    if (suggested) {
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const SIZE size = minimumSize();
        SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    anchorControls();
    fitFont();
}

void UICore::dispatchCommand(HWND source, std::int32_t id) {
    if (dropDownControl_ && source == dropDownControl_) id = runDropDownMenu();
    const auto found = commandTable_.find({source, id});
    if (found != commandTable_.end() && found->second.callback) found->second.callback();
}

void UICore::onCommand(HWND control, std::function<void()> callback, std::int32_t id) {
    if (!control) return;
    commandTable_.try_emplace({control, id}, CommandEntry{std::move(callback), lastControlName_});
}

const CommandEntry* UICore::findCommand(HWND control, std::int32_t id) const {
    const auto found = commandTable_.find({control, id});
    return found != commandTable_.end() ? &found->second : nullptr;
}

std::string UICore::commandSourceName() const {
    const CommandEntry* entry = findCommand(lastCommandSource_, 0);
    return entry ? entry->controlName : std::string();
}

void UICore::setAnchor(HWND control, int x, int y, int width, int height, bool right, bool bottom,
                       bool left) {
    anchorTable_.insert_or_assign(control, AnchorEntry{x, y, width, height, right, bottom, left});
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
    takeToolbarImages();
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
    if (IsWindowVisible(window) && !textsFit(messageFont_.get())) fitFont();
}

std::vector<KeyboardControl> UICore::keyboardControls(std::optional<ControlKind> kind) const {
    std::vector<KeyboardControl> controls;
    for (std::size_t k = 0; k < kControlKinds; ++k) {
        if (!sets_[k] || (kind && static_cast<std::size_t>(*kind) != k)) continue;
        for (const auto& [name, control] : sets_[k]->entries()) {
            const auto placed = std::find_if(placed_.begin(), placed_.end(), [&](const Placed& p) {
                return p.control == control->handle();
            });
            const RECT& l = placed->layout; // left, top, width, height
            controls.push_back({control->handle(),
                                {l.left, l.top, l.left + l.right, l.top + l.bottom},
                                control->page()});
        }
    }
    return controls;
}

std::vector<HWND> UICore::tabOrder() const {
    return TabOrderOf(keyboardControls(), currentPage_, dropDownControl_);
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
                 reinterpret_cast<LPARAM>(toolbar_));
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
        if (HWND focus = GetFocus(); focus && focus == dropDownControl_) {
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
