#pragma once
// The controls of the main window, one row per control or per run of controls that lie 25 pixels
// apart, in the order they are created. A row that shows a tweak names its page and item: its
// name, text and explanation come from the catalogue, and showing, collecting, tooltips and
// greying follow from the rows.

#include <cstdint>
#include <span>
#include <string>

enum class ControlType : std::uint8_t {
    CheckBox,
    DriveBox, // a check box shown only once its drive is known to exist
    Button,
    Label,
    IconLabel,
    SpinBox,
    LineEdit,
    RadioButton,
};

// What a click on the control does.
enum class Action : std::uint8_t { None, LivePreviewToggled, Apply, SettingsMenu };

// Which window edges an anchored control follows when the window is resized.
enum class Anchor : std::uint8_t { None, LeftBottom, RightBottom };

struct LayoutRow {
    ControlType type;
    std::int32_t page; // -1: on every page
    // The tweak the control shows: its item in the page block (a run: the first's); -1 for none.
    // A label with an item shows that tweak's label.
    int item = -1;
    int x, y, width, height;
    // Null: the catalogue's name for the tweak. A run: the stem, followed by the item's number
    // (a drive box's: its slot).
    const char* name = nullptr;
    const char16_t* text = nullptr; // null: the catalogue's label for the tweak
    int count = 0;                  // a run of this many controls; 0: a single control
    int previewX = 0;               // each control's Preview button starts here; 0: none
    Action action = Action::None;
    Anchor anchor = Anchor::None;
    std::uint32_t onValue = 1; // a radio button: its tweak's value while it is the one checked
};

inline constexpr int kRunStep = 25;
inline constexpr std::uint32_t kSettingsIcon = 200;
inline constexpr std::int32_t kSpinValue = 400;

std::span<const LayoutRow> MainWindowLayout();

// One control of a row: the n-th of a run (n from 0), or the row's single control (n = 0).
struct LayoutControl {
    std::string name;
    const char16_t* text;
    int x, y, width, height;
    int item; // the tweak's item, or -1
};
LayoutControl LayoutControlAt(const LayoutRow& row, int n);
inline int LayoutControlCount(const LayoutRow& row) {
    return row.count == 0 ? 1 : row.count;
}
// Whether the row's controls hold a tweak's value (not a label, a button or a Preview button).
bool HoldsValue(const LayoutRow& row);

// The Preview button beside a control of a row that has one.
LayoutControl PreviewButtonAt(const LayoutRow& row, int n);

// The toolbar: icons of the page buttons and the About button.
inline constexpr std::uint32_t kToolbarIcons[7] = {110, 111, 112, 113, 114, 115, 116};
inline constexpr int kToolbarIconSize = 96;
inline constexpr int kAboutButton = 7;
// The toolbar buttons' tooltips: the pages they show, then About.
inline constexpr const char16_t* kToolbarTips[7] = {
    u"Computer", u"Taskbar", u"Context menu", u"System", u"Security", u"Privacy", u"About"};
// Items of the settings icon's menu, in order.
inline constexpr const char16_t* kSettingsMenu[3] = {u"Settings", u"Import/Export",
                                                     u"Check for update"};
