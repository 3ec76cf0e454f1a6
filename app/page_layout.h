#pragma once
// The controls of the main window, one row per control or per run of controls that lie 25 pixels
// apart, in the order they are created. A row that shows a tweak names its page and item: its
// name, text and explanation come from the catalogue, and showing, collecting, tooltips and
// greying follow from the rows.

#include "base/texts/texts.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
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
    Text text = Text::Count; // Count: the tweak's label
    int count = 0;           // a run of this many controls; 0: a single control
    int previewX = 0;        // each control's Preview button starts here; 0: none
    Action action = Action::None;
    Anchor anchor = Anchor::None;
    std::uint32_t onValue = 1; // a radio button: its tweak's value while it is the one checked
};

inline constexpr int kRunStep = 25;
inline constexpr std::uint32_t kSettingsIcon = 200;
inline constexpr std::int32_t kSpinValue = 400;

std::span<const LayoutRow> MainWindowLayout();

// One control of a row: the n-th of a run (n from 0), or the row's single control (n = 0), or
// the Preview button beside it. Places are in pixels at 96 DPI.
struct LayoutControl {
    const LayoutRow* row;
    int n;
    bool preview; // the Preview button beside the row's n-th control
    std::string name;
    std::u16string text; // in the window's language
    int x, y, width, height;
    int item; // the tweak's item, or -1
    // Pixels the control takes before its text can start (a check box's box and gap, a button's
    // borders); -1 for a control whose text is not drawn as a line (an icon, a field's value).
    int textChrome;
};
LayoutControl LayoutControlAt(const LayoutRow& row, int n, Language language = Language::English);
inline int LayoutControlCount(const LayoutRow& row) {
    return row.count == 0 ? 1 : row.count;
}
// Whether the row's controls hold a tweak's value (not a label, a button or a Preview button).
bool HoldsValue(const LayoutRow& row);

// Every control of the layout in the order they are made, each Preview button after its control.
std::vector<LayoutControl> LayoutControls(Language language);

// Gives every text of a language its room: `textWidth` is a text's width in the window's font,
// in pixels at 96 DPI. A control whose text runs past its place or into the control to its right
// grows, and the controls of its page from that neighbour's column rightwards move right by as
// much. Texts that fit leave every place as the table gives it.
using TextWidth = std::function<int(std::u16string_view)>;
void MakeRoomForTexts(std::span<LayoutControl> controls, const TextWidth& textWidth);

// The toolbar: icons of the page buttons and the About button.
inline constexpr std::uint32_t kToolbarIcons[7] = {110, 111, 112, 113, 114, 115, 116};
inline constexpr int kToolbarIconSize = 96;
inline constexpr int kAboutButton = 7;
// The toolbar buttons' tooltips: the pages they show, then About.
inline constexpr Text kToolbarTips[7] = {
    Text::PageComputer, Text::PageTaskbar,  Text::PageContextMenu,
    Text::PageSystem,   Text::PageSecurity, Text::PagePrivacy,
    Text::About};
// Items of the settings icon's menu, in order.
inline constexpr Text kSettingsMenu[3] = {Text::MenuSettings, Text::MenuImportExport,
                                          Text::MenuCheckForUpdate};
