#pragma once
// The controls of a window, one object per control, and the sets that find them by name. An
// object stands for its one control for as long as the set lives: a kept pointer acts on that
// control and on no other.

#include "ui/gdi_handles.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

// A control: its window, its page (-1: on every page) and whether page switches show it.
class UIControl {
  public:
    explicit UIControl(HWND handle, std::int32_t page = -1, bool shownOnPage = true)
        : handle_(handle), page_(page), shownOnPage_(shownOnPage) {}
    virtual ~UIControl() = default;
    UIControl(const UIControl&) = delete;
    UIControl& operator=(const UIControl&) = delete;

    HWND handle() const { return handle_; }
    std::int32_t page() const { return page_; }
    bool shownOnPage() const { return shownOnPage_; }
    void setEnabled(bool enabled);

  protected:
    HWND handle_;
    std::int32_t page_;
    bool shownOnPage_;
};

// Check boxes, line edits, labels and push buttons share their operations.
class UITextControl : public UIControl {
  public:
    using UIControl::UIControl;

    bool isChecked() const;
    void setChecked(bool checked);
    // Shows or hides the control and records whether page switches show it.
    void setVisible(bool visible);
    void setText(const char16_t* text);
    // The control's text, at most 1024 units.
    std::u16string text() const;
    void clearText();
    void setFont(HFONT font);
    // Shows the icon on the button; the icon lives as long as this object.
    void setButtonIcon(std::uint32_t iconId);

  private:
    UniqueIcon icon_;
};

class UICheckBox : public UITextControl {
    using UITextControl::UITextControl;
};
class UILineEdit : public UITextControl {
    using UITextControl::UITextControl;
};
class UILabel : public UITextControl {
    using UITextControl::UITextControl;
};
class UIButton : public UITextControl {
    using UITextControl::UITextControl;
};

class UIRadioButton : public UIControl {
  public:
    using UIControl::UIControl;
    bool isChecked() const;
    void setChecked(bool checked);
};

// A spin box's number field, or its arrows (registered under the field's name + "updown").
class UISpinBox : public UIControl {
  public:
    struct Range {
        std::uint32_t minimum = 0;
        std::uint32_t maximum = UINT32_MAX;
    };

    UISpinBox(HWND handle, std::int32_t page, bool shownOnPage, Range range)
        : UIControl(handle, page, shownOnPage), range_(range) {}

    // The field's number, limited to the range it was created with; text that is no number
    // reads as 0.
    std::uint32_t value() const;
    void setValue(std::uint32_t value);

  private:
    Range range_;
};

// The controls of one kind by name (compared byte for byte). A name keeps the first control
// registered under it.
class UIControlSet {
  public:
    using Entries = std::unordered_map<std::string, std::unique_ptr<UIControl>>;

    virtual ~UIControlSet() = default;
    const Entries& entries() const { return entries_; }

  protected:
    Entries entries_;
};

template <typename Control> class UIControls : public UIControlSet {
  public:
    void add(std::string_view name, std::unique_ptr<Control> control) {
        entries_.try_emplace(std::string(name), std::move(control));
    }
    // The control registered under the name; null when there is none.
    Control* find(std::string_view name) const {
        const auto found = entries_.find(std::string(name));
        // Only add puts controls in, each of this set's kind.
        return found != entries_.end() ? static_cast<Control*>(found->second.get()) : nullptr;
    }
};
