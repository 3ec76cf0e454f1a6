// Moves values between the feature model and the controls of the main window.

#include "app/main_window.h"

#include "app/page_layout.h"
#include "app/tweak_tooltips.h"
#include "engine/catalogue.h"
#include "engine/change_outcome.h"
#include "engine/drives.h"
#include "engine/system_state.h"
#include "base/text.h"

#include <bit>
#include <string>
#include <utility>

namespace {

std::string ItemName(const char* stem, std::size_t item) {
    return stem + std::to_string(item);
}

template <typename Page>
void ShowChecks(MainWindow& window, const Page& page, const char* stem, std::size_t first,
                std::size_t last) {
    for (std::size_t i = first; i <= last; ++i)
        if (UICheckBox* box = window.checkBox(ItemName(stem, i)))
            box->setChecked(page.items[i].current.number != 0);
}

template <typename Page>
void CollectChecks(MainWindow& window, Page& page, const char* stem, std::size_t first,
                   std::size_t last) {
    for (std::size_t i = first; i <= last; ++i)
        if (UICheckBox* box = window.checkBox(ItemName(stem, i)))
            SetPendingValue(page, i, box->isChecked() ? 1 : 0);
}

template <typename Page> void ShowNumber(MainWindow& window, const Page& page, std::size_t item) {
    if (UISpinBox* spin = window.spinBox(ItemName("spb1_", item)))
        spin->setValue(page.items[item].current.number);
}

template <typename Page> void CollectNumber(MainWindow& window, Page& page, std::size_t item) {
    if (UISpinBox* spin = window.spinBox(ItemName("spb1_", item)))
        SetPendingValue(page, item, spin->value());
}

void ShowText(MainWindow& window, const SystemPage& page, std::size_t item) {
    if (UILineEdit* edit = window.lineEdit(ItemName("le3_", item)))
        edit->setText(page.items[item].current.text);
}

void CollectText(MainWindow& window, SystemPage& page, std::size_t item) {
    if (UILineEdit* edit = window.lineEdit(ItemName("le3_", item)))
        SetPendingText(page, item, edit->text().c_str());
}

} // namespace

void MainWindow::showStartState() {
    // A box for each drive present now, in letter order; the rest stay hidden for good.
    for (std::size_t slot = 0; slot < kDriveSlots; ++slot)
        if (UICheckBox* box = checkBox(ItemName("chb0_1_", slot))) box->setVisible(false);
    std::size_t slot = 0;
    for (std::size_t letter = 0; letter < kDriveSlots; ++letter) {
        if (!(shownDrives & DriveSlot::bit(letter))) continue;
        if (UICheckBox* box = checkBox(ItemName("chb0_1_", slot))) {
            const TweakChange slotItem{0, static_cast<std::uint32_t>(DriveSlot::item(slot)), false,
                                       nullptr};
            box->setText(TweakLabel(slotItem, shownDrives).c_str()); // "Hide drive C"
            box->setVisible(true);
        }
        ++slot;
    }
    showState();
    showAvailability(Availability());
}

void MainWindow::showState() {
    showFirstPageState();
    showOtherPagesState();
}

void MainWindow::showFirstPageState() {
    FeatureModel& m = model;
    ShowChecks(*this, m.computer, "chb0_", 0, kThisPcFolders - 1);
    const auto drives = static_cast<std::size_t>(std::popcount(shownDrives));
    for (std::size_t slot = 0; slot < drives; ++slot)
        if (UICheckBox* box = checkBox(ItemName("chb0_1_", slot)))
            box->setChecked(m.computer.items[DriveSlot::item(slot)].current.number != 0);
}

void MainWindow::showOtherPagesState() {
    FeatureModel& m = model;
    ShowChecks(*this, m.taskbar, "chb1_", 0, 1);
    ShowNumber(*this, m.taskbar, 2);
    ShowNumber(*this, m.taskbar, 3);
    ShowChecks(*this, m.taskbar, "chb1_", 4, 4);
    ShowChecks(*this, m.contextMenu, "chb2_", 0, kContextMenuItems - 1);
    ShowChecks(*this, m.system, "chb3_", 0, 11);
    ShowText(*this, m.system, 12);
    ShowText(*this, m.system, 13);
    // The radio pair: 0 enables autorun. A button is touched only when it must change, so
    // that at start-up only the button to check is, and after an Apply a choice the system
    // refused does not stay checked beside the one that holds.
    const bool autorunOff = m.security.items[0].current.number != 0;
    for (const auto& [name, checked] : {std::pair{"rbtn4_0", autorunOff}, {"rbtn4_1", !autorunOff}})
        if (UIRadioButton* radio = radioButton(name); radio && radio->isChecked() != checked)
            radio->setChecked(checked);
    ShowChecks(*this, m.security, "chb4_", 1, kSecurityItems - 1);
    ShowChecks(*this, m.privacy, "chb5_", 0, kPrivacyItems - 1);
}

namespace {

// The control of the name among the tweak controls already made; null when there is none yet.
HWND madeControl(const UICore& core, const std::string& name) {
    for (ControlKind kind : {ControlKind::CheckBox, ControlKind::RadioButton, ControlKind::SpinBox,
                             ControlKind::LineEdit})
        if (const UIControlSet* set = core.controlSet(kind))
            if (const auto found = set->entries().find(name); found != set->entries().end())
                return found->second->handle();
    return nullptr;
}

} // namespace

void MainWindow::showAvailability(const Availability& before) {
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item) {
            const char16_t* reason = availability.reason(page, item);
            if (!reason && !before.reason(page, item)) continue;
            for (const std::string& name : TweakControlNames(kCataloguePages[page][item].control))
                if (HWND control = madeControl(*this, name)) EnableWindow(control, !reason);
        }
    if (tweakTips_) UpdateTweakTooltips(tweakTips_, *this, availability);
}

// Controls not made yet take the model's values when they are.
void MainWindow::takeAppraiserTask(const TaskServiceResult& answer) {
    const FeatureModel shown = model;
    TakeAppraiserTask(model, availability, TaskStateOf(answer, errorTrail));
    appraiserTask.reset();
    for (std::uint32_t page = 0; page < 6; ++page)
        for (std::uint32_t item = 0; item < kCataloguePages[page].size(); ++item) {
            const Tweak& t = kCataloguePages[page][item];
            HWND box =
                t.read == ReadRule::AppraiserTask ? madeControl(*this, toUtf8(t.control)) : nullptr;
            const WPARAM was = PageItems(shown, page)[item].current.number ? BST_CHECKED : 0;
            // A box the user (or an import) changed keeps the choice.
            if (box && SendMessageW(box, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(was))
                SendMessageW(box, BM_SETCHECK,
                             PageItems(model, page)[item].current.number ? BST_CHECKED : 0, 0);
        }
}

void MainWindow::collectControls() {
    completeControls();
    FeatureModel& m = model;
    CollectChecks(*this, m.computer, "chb0_", 0, kThisPcFolders - 1);
    for (std::size_t slot = 0; slot < kDriveSlots; ++slot)
        if (UICheckBox* box = checkBox(ItemName("chb0_1_", slot)))
            SetPendingValue(m.computer, DriveSlot::item(slot), box->isChecked() ? 1 : 0);
    CollectChecks(*this, m.taskbar, "chb1_", 0, 1);
    CollectNumber(*this, m.taskbar, 2);
    CollectNumber(*this, m.taskbar, 3);
    CollectChecks(*this, m.taskbar, "chb1_", 4, 4);
    CollectChecks(*this, m.contextMenu, "chb2_", 0, kContextMenuItems - 1);
    CollectChecks(*this, m.system, "chb3_", 0, 11);
    CollectText(*this, m.system, 12);
    CollectText(*this, m.system, 13);
    if (UIRadioButton* radio = radioButton("rbtn4_0"))
        SetPendingValue(m.security, 0, radio->isChecked() ? 1 : 0);
    CollectChecks(*this, m.security, "chb4_", 1, kSecurityItems - 1);
    CollectChecks(*this, m.privacy, "chb5_", 0, kPrivacyItems - 1);
}
