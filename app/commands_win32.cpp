// The main window's commands.

#include "app/main_window.h"

#include "engine/catalogue.h"
#include "engine/change_outcome.h"
#include "engine/registry.h"
#include "engine/file_system.h"
#include "base/text.h"
#include "app/settings_transfer.h"
#include "base/win32/wide.h"
#include "services/diagnostic_log.h"
#include "dialogs/dlg_about.h"
#include "dialogs/dlg_preview.h"
#include "dialogs/dlg_settings.h"
#include "services/update_check.h"
#include "settings/apply_with_backup.h"
#include "dialogs/dlg_import_export.h"

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

void MainWindow::onLivePreviewToggled() {
    UICheckBox* livePreview = checkBox("chb1_0");
    if (!livePreview) return;
    const bool turnedOff = livePreview->isChecked();
    if (UISpinBox* delay = spinBox("spb1_3")) delay->setEnabled(!turnedOff);
}

// Writes what the user changed, reads the system again and shows it: a change the system
// refused (a machine-wide setting without administrator rights) shows as it is, and is named
// in one message. A log-out is asked for only when a change that took needs it.
void MainWindow::onApply() {
    collectControls();
    LocalTime now{};
    ReadLocalTime(now);
    const Availability before = availability;
    const ApplyOutcome outcome = ApplyWithBackup(model, availability, shownDrives, now, errorTrail);
    showState(); // the GodMode box too: an action rather than a state, it always reads 0
    showAvailability(before);
    std::u16string refused;
    bool denied = false;
    for (const TweakChange& c : outcome.changes) {
        if (c.held || c.skipped) continue;
        refused.append(u"\n").append(TweakLabel(c, shownDrives));
        refused.append(u" (").append(kPageNames[c.page]).append(u" page)");
        if (c.refused) refused.append(u": ").append(fromUtf8(RefusalText(c.refused)));
        denied = denied || c.refused == kRegAccessDenied;
    }
    if (!refused.empty()) {
        refused.insert(0, u"These changes did not take effect:\n");
        if (denied)
            refused.append(u"\n\nAdministrator rights are needed to change machine-wide settings. "
                           u"Run Velkarostrandemilquorbenix as an administrator and apply them "
                           u"again.");
        messageBox(u"Velkarostrandemilquorbenix", refused.c_str(), MB_OK);
    }
    if (outcome.logOut)
        messageBox(u"Velkarostrandemilquorbenix",
                   u"Log out is required for the changes to take effect.", MB_OK);
    if (TextLength(errorTrail.text) > errorTrail.sentLength) saveErrorTrail();
}

// The dialogs: each lives for one modal run.
void MainWindow::openAbout() {
    auto dialog = std::make_unique<dlgAbout>(*this, 1000);
    dialog->run();
}

void MainWindow::openSettings() {
    auto dialog = std::make_unique<dlgSettings>(*this, 2000);
    dialog->run();
}

void MainWindow::openImportExport() {
    {
        auto dialog = std::make_unique<dlgImportExport>(*this);
        dialog->loadRichEdit(true);
        if (dialog->run() <= 0) // the system's rich edit control could not be had
            messageBox(u"Velkarostrandemilquorbenix", u"Cannot open the Import and Export dialog.",
                       MB_OK);
    }
    RunImportExport(*this, dialogResult, dialogText.c_str());
}

// The Preview button of a tweak (page, item) shows the picture "<page><item>", captioned with
// the tweak's label.
void MainWindow::openPreview(std::int32_t page, int item) {
    const std::string pictureName = std::to_string(page) + std::to_string(item);
    const std::u16string captionSuffix =
        u" - " + std::u16string(kCataloguePages[page][static_cast<std::size_t>(item)].label);
    // The pictures lie beside the program, whatever folder it was started in.
    char16_t folder[kPathCapacity] = {};
    ProgramFolder(folder, kPathCapacity);
    auto dialog =
        std::make_unique<dlgPreview>(*this, kPreviewDialogId, folder, pictureName, captionSuffix);
    dialog->closeOnClick();
    dialog->run();
}

void MainWindow::onCheckForUpdate() {
    constexpr char16_t kCaption[] = u"Velkarostrandemilquorbenix";
    // This check answers for a start-up check still under way, which then asks nothing.
    if (pendingCheck_) {
        UpdateFetch fetch;
        if (pendingCheck_->waitUntil(WebClock::now(), fetch))
            FinishUpdateCheck(startupCheck_, fetch);
        pendingCheck_.reset();
    }
    const int result =
        CheckForUpdate(true, updateCheck, services, WebClock::now() + kServiceTimeLimit);
    switch (result) {
    case kUpToDate:
        messageBox(kCaption, u"You are using the latest version of Velkarostrandemilquorbenix.",
                   MB_OK);
        break;
    case kNewVersion:
        offerNewVersion(result);
        break;
    case kServiceUnavailable:
        messageBox(kCaption, u"Service is currently unavailable.", MB_OK);
        break;
    default:
        break;
    }
}
