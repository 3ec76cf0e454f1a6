#include "ui/control_set.h"

#include "base/win32/wide.h"

#include <cwchar>

void UIControl::setEnabled(bool enabled) {
    EnableWindow(handle_, enabled);
}

bool UITextControl::isChecked() const {
    return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void UITextControl::setChecked(bool checked) {
    SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void UITextControl::setVisible(bool visible) {
    ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
    shownOnPage_ = visible;
}

void UITextControl::setText(const char16_t* text) {
    SetWindowTextW(handle_, AsWide(text));
}

std::u16string UITextControl::text() const {
    wchar_t buffer[1025] = {};
    const int copied = GetWindowTextW(handle_, buffer, 1025);
    return std::u16string(AsU16(buffer), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void UITextControl::clearText() {
    SetWindowTextW(handle_, L"");
}

void UITextControl::setFont(HFONT font) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void UITextControl::setButtonIcon(std::uint32_t iconId) {
    UniqueIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0, 0)));
    SendMessageW(handle_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
    if (icon) icon_ = std::move(icon); // the one shown before goes once the button has this one
}

bool UIRadioButton::isChecked() const {
    return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void UIRadioButton::setChecked(bool checked) {
    SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::uint32_t UISpinBox::value() const {
    wchar_t buffer[12] = {};
    GetWindowTextW(handle_, buffer, 12);
    const unsigned long number = std::wcstoul(buffer, nullptr, 10);
    if (number < range_.minimum) return range_.minimum;
    if (number > range_.maximum) return range_.maximum;
    return static_cast<std::uint32_t>(number);
}

void UISpinBox::setValue(std::uint32_t value) {
    SetWindowTextW(handle_, std::to_wstring(value).c_str());
}
