// Moves values between the feature model and the controls of the main window: one loop each over
// the layout's rows that hold a tweak's value.

#include "app/main_window.h"

#include "app/page_layout.h"
#include "app/tweak_texts.h"
#include "app/tweak_tooltips.h"
#include "base/text.h"
#include "engine/change_outcome.h"
#include "engine/system_state.h"

#include <bit>
#include <string>
#include <vector>

namespace {

// The controls of the rows that hold a tweak's value, on the first page or on the others.
enum class Pages { First, Others, All };
template <typename Visit> void ForEachValueControl(Pages pages, Visit visit) {
    for (const LayoutRow& row : MainWindowLayout()) {
        if (!HoldsValue(row) || (pages == Pages::First && row.page != 0) ||
            (pages == Pages::Others && row.page == 0))
            continue;
        for (int n = 0; n < LayoutControlCount(row); ++n)
            visit(row, LayoutControlAt(row, n));
    }
}

// The window of a control already made, looked for without making the deferred ones; null when
// there is none yet. A number box comes with its arrows.
std::vector<HWND> MadeControls(const UICore& core, const LayoutRow& row, const std::string& name) {
    const ControlKind kind = row.type == ControlType::SpinBox       ? ControlKind::SpinBox
                             : row.type == ControlType::LineEdit    ? ControlKind::LineEdit
                             : row.type == ControlType::RadioButton ? ControlKind::RadioButton
                                                                    : ControlKind::CheckBox;
    std::vector<HWND> made;
    if (const UIControlSet* set = core.controlSet(kind))
        for (const std::string& n : {name, name + "updown"})
            if (const auto found = set->entries().find(n); found != set->entries().end())
                made.push_back(found->second->handle());
    return made;
}

} // namespace

void MainWindow::showStartState() {
    // A box for each drive present now, in letter order; the rest stay hidden for good.
    const UICore& core = *this;
    ForEachValueControl(Pages::First, [&](const LayoutRow& row, const LayoutControl& c) {
        if (row.type != ControlType::DriveBox || MadeControls(core, row, c.name).empty()) return;
        UICheckBox* box = checkBox(c.name);
        const auto slot = static_cast<std::uint32_t>(c.item);
        box->setVisible(slot - DriveSlot::firstItem <
                        static_cast<std::uint32_t>(std::popcount(shownDrives)));
        box->setText(TweakLabel({0, slot, false, nullptr}, shownDrives, language).c_str());
    });
    showState();
    showAvailability(Availability());
}

void MainWindow::showState() {
    showFirstPageState();
    showOtherPagesState();
}

namespace {

// Sets the made controls of the rows from the model's current values.
void ShowRows(MainWindow& window, Pages pages) {
    const UICore& core = window;
    ForEachValueControl(pages, [&](const LayoutRow& row, const LayoutControl& c) {
        if (MadeControls(core, row, c.name).empty()) return;
        const FeatureValue& value = PageItems(window.model, row.page)[c.item].current;
        switch (row.type) {
        case ControlType::SpinBox:
            window.spinBox(c.name)->setValue(value.number);
            break;
        case ControlType::LineEdit:
            window.lineEdit(c.name)->setText(value.text);
            break;
        case ControlType::RadioButton: {
            // A button is touched only when it must change: at start-up only the one to check
            // is, and after an Apply a choice the system refused does not stay checked beside
            // the one that holds.
            UIRadioButton* radio = window.radioButton(c.name);
            if (const bool checked = value.number == row.onValue; radio->isChecked() != checked)
                radio->setChecked(checked);
            break;
        }
        default:
            window.checkBox(c.name)->setChecked(value.number != 0);
            break;
        }
    });
}

} // namespace

void MainWindow::showFirstPageState() {
    ShowRows(*this, Pages::First);
}

void MainWindow::showOtherPagesState() {
    ShowRows(*this, Pages::Others);
}

void MainWindow::showAvailability(const Availability& before) {
    ForEachValueControl(Pages::All, [&](const LayoutRow& row, const LayoutControl& c) {
        const auto item = static_cast<std::uint32_t>(c.item);
        const char16_t* reason = availability.reason(row.page, item);
        if (reason || before.reason(row.page, item))
            for (HWND control : MadeControls(*this, row, c.name))
                EnableWindow(control, !reason);
    });
    if (tweakTips_) UpdateTweakTooltips(tweakTips_, *this, language, availability, descriptions_);
}

// Controls not made yet take the model's values when they are.
void MainWindow::takeAppraiserTask(const TaskServiceResult& answer) {
    const FeatureModel shown = model;
    TakeAppraiserTask(model, availability, TaskStateOf(answer, errorTrail));
    appraiserTask_.reset();
    ForEachValueControl(Pages::All, [&](const LayoutRow& row, const LayoutControl& c) {
        const auto item = static_cast<std::size_t>(c.item);
        if (kCataloguePages[row.page][item].read != ReadRule::AppraiserTask) return;
        const bool was = PageItems(shown, row.page)[item].current.number != 0;
        // A box the user (or an import) changed keeps the choice.
        for (HWND box : MadeControls(*this, row, c.name))
            if ((SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) == was)
                SendMessageW(box, BM_SETCHECK,
                             PageItems(model, row.page)[item].current.number ? BST_CHECKED : 0, 0);
    });
}

void MainWindow::collectControls() {
    completeControls();
    KeepCurrentValues(model); // a control not made yet was not touched
    const UICore& core = *this;
    ForEachValueControl(Pages::All, [&](const LayoutRow& row, const LayoutControl& c) {
        if (MadeControls(core, row, c.name).empty()) return;
        FeatureItem& item = PageItems(model, row.page)[c.item];
        switch (row.type) {
        case ControlType::SpinBox:
            item.pending.number = spinBox(c.name)->value();
            break;
        case ControlType::LineEdit:
            SetPendingText(item, lineEdit(c.name)->text().c_str());
            break;
        case ControlType::RadioButton:
            if (radioButton(c.name)->isChecked()) item.pending.number = row.onValue;
            break;
        default:
            item.pending.number = checkBox(c.name)->isChecked() ? 1 : 0;
            break;
        }
    });
}
