#pragma once
// The controls of the main window, one row per control or per run of controls that lie
// 25 pixels apart, in the order they are created.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

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
enum class Action : std::uint8_t { None, Preview, LivePreviewToggled, Apply, SettingsMenu };

// Which window edges an anchored control follows when the window is resized.
enum class Anchor : std::uint8_t { None, LeftBottom, RightBottom };

struct LayoutRow {
    const char* name; // for a run: the stem, followed by the item number
    ControlType type;
    const char16_t* text; // null: the catalogue's label for the control's name
    int x, y, width, height;
    std::int32_t page; // -1: on every page
    Action action = Action::None;
    int first = 0; // a run: item numbers first .. first + count - 1
    int count = 0; // 0: a single control
    Anchor anchor = Anchor::None;
};

inline constexpr int kRunStep = 25;
inline constexpr std::uint32_t kSettingsIcon = 200;
inline constexpr std::int32_t kSpinValue = 400;
inline constexpr std::uint32_t kSpinMinimum = 50;
inline constexpr std::uint32_t kSpinMaximum = 30000;

std::span<const LayoutRow> MainWindowLayout();

// One control of a row: the n-th of a run (n from 0), or the row's single control (n = 0).
struct LayoutControl {
    std::string name;
    const char16_t* text;
    int x, y, width, height;
};
LayoutControl LayoutControlAt(const LayoutRow& row, int n);
inline int LayoutControlCount(const LayoutRow& row) {
    return row.count == 0 ? 1 : row.count;
}

// The label the catalogue gives a control name, or null when the catalogue has none.
const char16_t* CatalogueLabel(const std::string& control);

// The controls that show a tweak: its own (the catalogue's name), a number box's arrows, the
// second button of the radio pair.
std::vector<std::string> TweakControlNames(const char16_t* control);

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
