// Creating and finding the controls of a UICore window.

#include "ui/ui_core.h"

#include "base/win32/wide.h"

#include <commctrl.h>

#include <string>

namespace {

constexpr DWORD kCheckBoxStyle = WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kLineEditStyle = WS_CHILD | WS_BORDER | WS_TABSTOP;
constexpr DWORD kTextLabelStyle = WS_CHILD | SS_LEFT;
constexpr DWORD kIconLabelStyle = WS_CHILD | SS_ICON | SS_NOTIFY;
constexpr DWORD kButtonStyle = WS_CHILD | WS_TABSTOP | BS_FLAT;
constexpr DWORD kRadioButtonStyle = WS_CHILD | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD kNumberFieldStyle = WS_CHILD | WS_BORDER | WS_TABSTOP | ES_NUMBER;
// Without UDS_NOTHOUSANDS the arrows would write "1,000" into the field, which reads back as 1.
constexpr DWORD kArrowsStyle =
    WS_CHILD | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | UDS_HOTTRACK;

} // namespace

template <typename Control> UIControls<Control>& UICore::ensureSet(ControlKind kind) {
    auto& set = sets_[static_cast<std::size_t>(kind)];
    if (!set) set = std::make_unique<UIControls<Control>>();
    return static_cast<UIControls<Control>&>(*set);
}

template <typename Control> Control* UICore::find(ControlKind kind, std::string_view name) const {
    const auto* set =
        static_cast<const UIControls<Control>*>(sets_[static_cast<std::size_t>(kind)].get());
    return set ? set->find(name) : nullptr;
}

// The figures are 96-DPI pixels; the control is placed for the window's DPI.
HWND UICore::createChild(const wchar_t* className, const char16_t* text, DWORD style, int x, int y,
                         int width, int height, std::int32_t page, bool shown) {
    // Shown now when on every page, or on the page shown and meant to be.
    const DWORD visible = page == -1 || (page == currentPage_ && shown) ? WS_VISIBLE : 0;
    const RECT place = layout_.placeOf(x, y, width, height);
    HWND control = CreateWindowExW(0, className, AsWide(text), style | visible, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top,
                                   window, nullptr, instance, nullptr);
    if (control) layout_.add(control, x, y, width, height, page);
    return control;
}

template <typename Control>
HWND UICore::registerControl(ControlKind kind, std::string_view name,
                             std::unique_ptr<Control> control) {
    UIControls<Control>& set = ensureSet<Control>(kind);
    if (control) {
        const HWND handle = control->handle();
        set.add(name, std::move(control));
        SendMessageW(window, kMsgSetControlFont, 0, reinterpret_cast<LPARAM>(handle));
    }
    const Control* registered = set.find(name);
    return registered ? registered->handle() : nullptr;
}

HWND UICore::createCheckBox(std::string_view name, const char16_t* text, int x, int y, int width,
                            int height, bool shown, std::int32_t page) {
    HWND control = createChild(L"Button", text, kCheckBoxStyle, x, y, width, height, page, shown);
    return registerControl(ControlKind::CheckBox, name,
                           control ? std::make_unique<UICheckBox>(control, page, shown) : nullptr);
}

void UICore::createLineEdit(std::string_view name, const char16_t* text, int x, int y, int width,
                            int height, bool shown, std::int32_t page, bool readOnly) {
    const DWORD style = kLineEditStyle | (readOnly ? ES_READONLY : 0);
    HWND control = createChild(L"Edit", text, style, x, y, width, height, page, shown);
    registerControl(ControlKind::LineEdit, name,
                    control ? std::make_unique<UILineEdit>(control, page, shown) : nullptr);
}

HWND UICore::createLabel(std::string_view name, const char16_t* text, int x, int y, int width,
                         int height, bool shown, std::int32_t page, std::uint32_t iconId) {
    const DWORD style = iconId != 0 ? kIconLabelStyle : kTextLabelStyle;
    HWND control = createChild(L"Static", text, style, x, y, width, height, page, shown);
    const HWND registered =
        registerControl(ControlKind::Label, name,
                        control ? std::make_unique<UILabel>(control, page, shown) : nullptr);
    // The icon at the label's size for the DPI.
    if (control && iconId != 0) layout_.addLabelIcon(control, iconId, height);
    return registered;
}

HWND UICore::createButton(std::string_view name, const char16_t* text, int x, int y, int width,
                          int height, bool shown, std::int32_t page) {
    HWND control = createChild(L"Button", text, kButtonStyle, x, y, width, height, page, shown);
    return registerControl(ControlKind::Button, name,
                           control ? std::make_unique<UIButton>(control, page, shown) : nullptr);
}

void UICore::createRadioButton(std::string_view name, const char16_t* text, int x, int y, int width,
                               int height, bool shown, std::int32_t page) {
    HWND control =
        createChild(L"Button", text, kRadioButtonStyle, x, y, width, height, page, shown);
    registerControl(ControlKind::RadioButton, name,
                    control ? std::make_unique<UIRadioButton>(control, page, shown) : nullptr);
}

void UICore::createSpinBox(std::string_view name, std::int32_t value, std::uint32_t minimum,
                           std::uint32_t maximum, int x, int y, int width, int height, bool shown,
                           std::int32_t page) {
    const std::wstring text = std::to_wstring(value);
    HWND field = createChild(L"Edit", AsU16(text.c_str()), kNumberFieldStyle, x, y, width, height,
                             page, shown);
    HWND arrows =
        field ? createChild(UPDOWN_CLASSW, u"", kArrowsStyle, 0, 0, 0, 0, page, shown) : nullptr;
    if (field && arrows) {
        SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
        SendMessageW(arrows, UDM_SETRANGE32, minimum, maximum);
        registerControl(ControlKind::SpinBox, std::string(name) + "updown",
                        std::make_unique<UISpinBox>(arrows, page, shown, UISpinBox::Range{}));
        layout_.addSpinArrows(arrows);
    }
    registerControl(ControlKind::SpinBox, name,
                    field && arrows ? std::make_unique<UISpinBox>(
                                          field, page, shown, UISpinBox::Range{minimum, maximum})
                                    : nullptr);
}

UICheckBox* UICore::checkBox(std::string_view name) {
    return find<UICheckBox>(ControlKind::CheckBox, name);
}
UILineEdit* UICore::lineEdit(std::string_view name) {
    return find<UILineEdit>(ControlKind::LineEdit, name);
}
UILabel* UICore::label(std::string_view name) {
    return find<UILabel>(ControlKind::Label, name);
}
UIRadioButton* UICore::radioButton(std::string_view name) {
    return find<UIRadioButton>(ControlKind::RadioButton, name);
}
UISpinBox* UICore::spinBox(std::string_view name) {
    return find<UISpinBox>(ControlKind::SpinBox, name);
}
