#include "ui/control_set.h"

#include "base/win32/wide.h"

#include <cwchar>

bool UIControlSet::add(std::string_view name, const ControlEntry& entry) {
    return entries_.try_emplace(std::string(name), entry).second;
}

bool UIControlSet::select(std::string_view name) {
    const auto found = entries_.find(std::string(name));
    current_ = found != entries_.end() ? found->second.handle : nullptr;
    currentName_.assign(name);
    return current_ != nullptr;
}

void UIControlSet::selectHandle(HWND handle, std::string_view name) {
    current_ = handle;
    currentName_.assign(name);
}

bool UITextControlSet::isChecked() const {
    return SendMessageW(current_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void UITextControlSet::setChecked(bool checked) {
    SendMessageW(current_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void UITextControlSet::setEnabled(bool enabled) {
    EnableWindow(current_, enabled);
}

void UITextControlSet::setVisible(bool visible) {
    ShowWindow(current_, visible ? SW_SHOW : SW_HIDE);
    const auto found = entries_.find(currentName_);
    if (found != entries_.end()) found->second.shownOnPage = visible;
}

void UITextControlSet::setText(const char16_t* text) {
    SetWindowTextW(current_, AsWide(text));
}

std::u16string UITextControlSet::text() const {
    wchar_t buffer[1025] = {};
    const int copied = GetWindowTextW(current_, buffer, 1025);
    return std::u16string(AsU16(buffer), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void UITextControlSet::clearText() {
    SetWindowTextW(current_, L"");
}

void UITextControlSet::setFont(HFONT font) {
    SendMessageW(current_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void UITextControlSet::setButtonIcon(std::uint32_t iconId) {
    UniqueIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0, 0)));
    SendMessageW(current_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
    if (icon) icons_.push_back(std::move(icon));
}

bool UIRadioButton::isChecked() const {
    return SendMessageW(current_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void UIRadioButton::setChecked(bool checked) {
    SendMessageW(current_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::uint32_t UISpinBox::value() const {
    wchar_t buffer[12] = {};
    GetWindowTextW(current_, buffer, 12);
    const unsigned long number = std::wcstoul(buffer, nullptr, 10);
    const auto found = ranges_.find(current_);
    if (found == ranges_.end()) return static_cast<std::uint32_t>(number);
    if (number < found->second.minimum) return found->second.minimum;
    if (number > found->second.maximum) return found->second.maximum;
    return static_cast<std::uint32_t>(number);
}

void UISpinBox::setValue(std::uint32_t value) {
    SetWindowTextW(current_, std::to_wstring(value).c_str());
}

void UISpinBox::setEnabled(bool enabled) {
    EnableWindow(current_, enabled);
}
