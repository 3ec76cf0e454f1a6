// Creates the main window's controls by walking the layout table.

#include "app/main_window.h"
#include "app/page_layout.h"
#include "app/tweak_tooltips.h"
#include "ui/dpi.h"
#include "ui/text_widths.h"

#include <bit>
#include <string>
#include <vector>

namespace {

// The first page shows with the controls of every page and its own, but for the boxes of drives
// that are not there: those stay hidden for good.
bool OnFirstPage(const LayoutRow& row, int n, int drivesShown) {
    return row.page <= 0 && (row.type != ControlType::DriveBox || n < drivesShown);
}

std::vector<std::u16string> Said(Language language, std::span<const Text> texts) {
    std::vector<std::u16string> said;
    for (Text text : texts)
        said.push_back(Say(language, text));
    return said;
}

// The toolkit takes texts as pointers; it keeps copies.
std::vector<const char16_t*> Pointers(const std::vector<std::u16string>& texts) {
    std::vector<const char16_t*> pointers;
    for (const std::u16string& text : texts)
        pointers.push_back(text.c_str());
    return pointers;
}

} // namespace

void MainWindow::buildPages() {
    HWND bar = createToolbar(kToolbarIconSize, 7, kToolbarIcons, true);
    const std::vector<std::u16string> tips = Said(language, kToolbarTips);
    setToolbarTips(Pointers(tips));
    for (int k = 1; k <= 6; ++k)
        onCommand(
            bar, [this, k] { showPage(k - 1); }, k);
    onCommand(
        bar, [this] { openAbout(); }, kAboutButton);
    // The table's places are English's own; another language's texts get room where they need it.
    layout_ = LayoutControls(language);
    if (language != Language::English) {
        const TextWidths widths(DpiOf(window));
        MakeRoomForTexts(layout_, [&widths](std::u16string_view text) { return widths(text); });
    }
    buildRows(true);
}

void MainWindow::buildOtherPages() {
    buildRows(false);
    showOtherPagesState();
    showAvailability(Availability()); // the controls just made
    tweakTips_ = AddTweakTooltips(*this, language, availability, descriptions_);
}

void MainWindow::buildRows(bool firstPage) {
    const int drivesShown = std::popcount(shownDrives);
    for (const LayoutControl& c : layout_) {
        const LayoutRow& row = *c.row;
        if (OnFirstPage(row, c.n, drivesShown) != firstPage) continue;
        const bool shown = row.type != ControlType::DriveBox;
        const char16_t* text = c.text.c_str();
        if (c.preview) {
            onCommand(
                createButton(c.name, text, c.x, c.y, c.width, c.height, shown, row.page),
                [this, page = row.page, item = c.item] { openPreview(page, item); }, 0);
            continue;
        }
        HWND control = nullptr;
        switch (row.type) {
        case ControlType::CheckBox:
        case ControlType::DriveBox:
            control = createCheckBox(c.name, text, c.x, c.y, c.width, c.height, shown, row.page);
            break;
        case ControlType::Button:
            control = createButton(c.name, text, c.x, c.y, c.width, c.height, shown, row.page);
            break;
        case ControlType::Label:
        case ControlType::IconLabel:
            control = createLabel(c.name, text, c.x, c.y, c.width, c.height, shown, row.page,
                                  row.type == ControlType::IconLabel ? kSettingsIcon : 0);
            break;
        case ControlType::SpinBox:
            createSpinBox(c.name, kSpinValue, kNumberMinimum, kNumberMaximum, c.x, c.y, c.width,
                          c.height, shown, row.page);
            break;
        case ControlType::LineEdit:
            createLineEdit(c.name, text, c.x, c.y, c.width, c.height, shown, row.page, false);
            break;
        case ControlType::RadioButton:
            createRadioButton(c.name, text, c.x, c.y, c.width, c.height, shown, row.page);
            break;
        }

        switch (row.action) {
        case Action::None:
            break;
        case Action::LivePreviewToggled:
            onCommand(
                control, [this] { onLivePreviewToggled(); }, 0);
            break;
        case Action::Apply:
            onCommand(
                control, [this] { onApply(); }, 0);
            break;
        case Action::SettingsMenu: {
            const std::vector<std::u16string> items = Said(language, kSettingsMenu);
            setDropDownMenu(control, Pointers(items));
            onCommand(
                control, [this] { openSettings(); }, kFirstMenuCommand);
            onCommand(
                control, [this] { openImportExport(); }, kFirstMenuCommand + 1);
            onCommand(
                control, [this] { onCheckForUpdate(); }, kFirstMenuCommand + 2);
            break;
        }
        }
        if (row.anchor != Anchor::None && control)
            setAnchor(control, c.x, c.y, c.width, c.height, row.anchor == Anchor::RightBottom, true,
                      row.anchor == Anchor::LeftBottom);
    }
}
