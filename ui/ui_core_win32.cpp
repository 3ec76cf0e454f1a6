#include "ui/ui_core.h"

#include "engine/win32/wide.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kClassName[] = L"QUENORITH";
constexpr WORD kNeutralLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT); // 0x0400

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
    if (!CreateWindowExW(0, kClassName, AsWide(title), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                         CW_USEDEFAULT, width, height, nullptr, nullptr, instance, this)) {
        window = nullptr; // a window refused after WM_NCCREATE is gone again
        noWindow_ = true;
    }
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
        info->ptMinTrackSize = {initialWidth_, initialHeight_};
        return 0;
    }
    case WM_CREATE: {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        messageFont_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(messageFont_.get()), TRUE);
        return 0;
    }
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
        return 0;
    case WM_COMMAND:
        lastCommandSource_ = reinterpret_cast<HWND>(lParam);
        dispatchCommand(lastCommandSource_, static_cast<std::int32_t>(wParam & 0xffffffffu));
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case kMsgSetControlFont:
        SendMessageW(reinterpret_cast<HWND>(lParam), WM_SETFONT,
                     reinterpret_cast<WPARAM>(messageFont_.get()), TRUE);
        return 0;
    case kMsgShown:
        onCreate();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void UICore::anchorControls() {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int dx = (bounds.right - bounds.left) - initialWidth_;
    const int dy = (bounds.bottom - bounds.top) - initialHeight_;
    for (const auto& [control, anchor] : anchorTable_) {
        if (anchor.right && anchor.bottom)
            MoveWindow(control, anchor.x + dx, anchor.y + dy, anchor.width, anchor.height, TRUE);
        else if (anchor.left && anchor.bottom)
            MoveWindow(control, anchor.x, anchor.y + dy, anchor.width, anchor.height, TRUE);
    }
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
    ShowWindow(window, command != 0 ? command : SW_SHOWDEFAULT);
}

int UICore::runMessageLoop() {
    if (noWindow_) return 0;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
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
