// Creates the main window's controls by walking the layout table.

#include "app/main_window.h"
#include "app/page_layout.h"
#include "app/tweak_tooltips.h"

#include <bit>

namespace {

// The first page shows with the controls of every page and its own, but for the boxes of drives
// that are not there: those stay hidden for good.
bool OnFirstPage(const LayoutRow& row, int n, int drivesShown) {
    return row.page <= 0 && (row.type != ControlType::DriveBox || n < drivesShown);
}

} // namespace

void MainWindow::buildPages() {
    HWND bar = createToolbar(kToolbarIconSize, 7, kToolbarIcons, true);
    setToolbarTips(kToolbarTips);
    for (int k = 1; k <= 6; ++k)
        onCommand(
            bar, [this, k] { showPage(k - 1); }, k);
    onCommand(
        bar, [this] { openAbout(); }, kAboutButton);
    buildRows(true);
}

void MainWindow::buildOtherPages() {
    buildRows(false);
    showOtherPagesState();
    showAvailability(Availability()); // the controls just made
    tweakTips_ = AddTweakTooltips(*this, availability);
}

void MainWindow::buildRows(bool firstPage) {
    const int drivesShown = std::popcount(shownDrives);
    for (const LayoutRow& row : MainWindowLayout()) {
        for (int n = 0; n < LayoutControlCount(row); ++n) {
            if (OnFirstPage(row, n, drivesShown) != firstPage) continue;
            const LayoutControl c = LayoutControlAt(row, n);
            const bool shown = row.type != ControlType::DriveBox;
            HWND control = nullptr;
            switch (row.type) {
            case ControlType::CheckBox:
            case ControlType::DriveBox:
                control =
                    createCheckBox(c.name, c.text, c.x, c.y, c.width, c.height, shown, row.page);
                break;
            case ControlType::Button:
                control =
                    createButton(c.name, c.text, c.x, c.y, c.width, c.height, shown, row.page);
                break;
            case ControlType::Label:
            case ControlType::IconLabel:
                control = createLabel(c.name, c.text, c.x, c.y, c.width, c.height, shown, row.page,
                                      row.type == ControlType::IconLabel ? kSettingsIcon : 0);
                break;
            case ControlType::SpinBox:
                createSpinBox(c.name, kSpinValue, kNumberMinimum, kNumberMaximum, c.x, c.y, c.width,
                              c.height, shown, row.page);
                break;
            case ControlType::LineEdit:
                createLineEdit(c.name, c.text, c.x, c.y, c.width, c.height, shown, row.page, false);
                break;
            case ControlType::RadioButton:
                createRadioButton(c.name, c.text, c.x, c.y, c.width, c.height, shown, row.page);
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
            case Action::SettingsMenu:
                setDropDownMenu(control, kSettingsMenu);
                onCommand(
                    control, [this] { openSettings(); }, kFirstMenuCommand);
                onCommand(
                    control, [this] { openImportExport(); }, kFirstMenuCommand + 1);
                onCommand(
                    control, [this] { onCheckForUpdate(); }, kFirstMenuCommand + 2);
                break;
            }
            if (row.anchor != Anchor::None && control)
                setAnchor(control, c.x, c.y, c.width, c.height, row.anchor == Anchor::RightBottom,
                          true, row.anchor == Anchor::LeftBottom);
            if (row.previewX != 0) {
                const LayoutControl b = PreviewButtonAt(row, n);
                onCommand(
                    createButton(b.name, b.text, b.x, b.y, b.width, b.height, shown, row.page),
                    [this, page = row.page, item = b.item] { openPreview(page, item); }, 0);
            }
        }
    }
}
