#pragma once
// Control sets: one per kind of control. A set maps names to controls; a finder makes one
// control current, and the set's operations act on that current control.

#include "ui/gdi_handles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct ControlEntry {
    HWND handle;
    std::int32_t page; // -1: on every page
    bool shownOnPage;  // shown when its page becomes current
};

class UIControlSet {
  public:
    using Entries = std::unordered_map<std::string, ControlEntry>;

    explicit UIControlSet(HWND owner = nullptr) : owner_(owner) {}
    UIControlSet(const UIControlSet&) = delete;
    UIControlSet& operator=(const UIControlSet&) = delete;
    virtual ~UIControlSet() = default;

    // Adds the entry unless the name is taken; returns whether it was added.
    bool add(std::string_view name, const ControlEntry& entry);
    // Makes the named control current (null when the name is unknown); returns whether found.
    bool select(std::string_view name);
    // Makes a control current by handle, under the given name.
    void selectHandle(HWND handle, std::string_view name);
    void reserve(std::size_t count) { entries_.reserve(count); }

    HWND owner() const { return owner_; }
    HWND current() const { return current_; }
    const std::string& currentName() const { return currentName_; }
    const Entries& entries() const { return entries_; }
    Entries& entries() { return entries_; }

  protected:
    HWND owner_;
    HWND current_ = nullptr;
    std::string currentName_;
    Entries entries_;
};

// Check boxes, line edits, labels and push buttons share their operations.
class UITextControlSet : public UIControlSet {
  public:
    using UIControlSet::UIControlSet;

    bool isChecked() const;
    void setChecked(bool checked);
    void setEnabled(bool enabled);
    // Shows or hides the current control and records whether page switches show it.
    void setVisible(bool visible);
    void setText(const char16_t* text);
    // The control's text, at most 1024 units.
    std::u16string text() const;
    void clearText();
    void setFont(HFONT font);
    // Shows the icon on the current button; the set keeps the icon for the life of the set.
    void setButtonIcon(std::uint32_t iconId);

  private:
    std::vector<UniqueIcon> icons_;
};

class UICheckBox : public UITextControlSet {
    using UITextControlSet::UITextControlSet;
};
class UILineEdit : public UITextControlSet {
    using UITextControlSet::UITextControlSet;
};
class UILabel : public UITextControlSet {
    using UITextControlSet::UITextControlSet;
};
class UIButton : public UITextControlSet {
    using UITextControlSet::UITextControlSet;
};

class UIRadioButton : public UIControlSet {
  public:
    bool isChecked() const;
    void setChecked(bool checked);
};

// Spin boxes: a number field (registered under the name) and its arrows (name + "updown").
class UISpinBox : public UIControlSet {
  public:
    struct Range {
        std::uint32_t minimum;
        std::uint32_t maximum;
    };

    // Records the range a number field was created with.
    void setRange(HWND field, Range range) { ranges_[field] = range; }
    // The field's number, limited to the range; text that is no number reads as 0.
    std::uint32_t value() const;
    void setValue(std::uint32_t value);
    // Enables or disables the number field only; the arrows keep their state.
    void setEnabled(bool enabled);

  private:
    std::unordered_map<HWND, Range> ranges_;
};
