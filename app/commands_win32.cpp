// The main window's commands.

#include "app/main_window.h"

#include "engine/catalogue.h"
#include "engine/change_outcome.h"
#include "engine/registry.h"
#include "engine/file_system.h"
#include "base/text.h"
#include "app/settings_transfer.h"
#include "app/tweak_texts.h"
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
        std::u16string line =
            Say(language, Text::ChangeOnPage,
                {TweakLabel(c, shownDrives, language), PageName(language, c.page)});
        if (c.refused)
            line = Say(language, Text::RefusedChange, {line, RefusalText(language, c.refused)});
        refused.append(u"\n").append(line);
        denied = denied || c.refused == kRegAccessDenied;
    }
    if (!refused.empty()) {
        refused.insert(0, Say(language, Text::NotTaken) + u"\n");
        if (denied) refused.append(u"\n\n").append(Say(language, Text::NeedsAdministrator));
        messageBox(kProductName, refused.c_str(), MB_OK);
    }
    if (outcome.logOut)
        messageBox(kProductName, Say(language, Text::LogOutRequired).c_str(), MB_OK);
    if (TextLength(errorTrail.text) > errorTrail.sentLength) saveErrorTrail();
}

// The dialogs: each lives for one modal run.
void MainWindow::openAbout() {
    auto dialog = std::make_unique<dlgAbout>(*this, 1000, language);
    dialog->run();
}

void MainWindow::openSettings() {
    auto dialog = std::make_unique<dlgSettings>(*this, 2000, language);
    dialog->run();
}

void MainWindow::openImportExport() {
    {
        auto dialog = std::make_unique<dlgImportExport>(*this, language);
        dialog->loadRichEdit(true);
        if (dialog->run() <= 0) // the system's rich edit control could not be had
            messageBox(kProductName, Say(language, Text::CannotOpenImportExport).c_str(), MB_OK);
    }
    RunImportExport(*this, dialogResult, dialogText.c_str());
}

// The Preview button of a tweak (page, item) shows the picture "<page><item>", captioned with
// the tweak's label.
void MainWindow::openPreview(std::int32_t page, int item) {
    const std::string pictureName = std::to_string(page) + std::to_string(item);
    const std::u16string captionSuffix =
        u" - " + TweakLabel({static_cast<std::uint32_t>(page), static_cast<std::uint32_t>(item),
                             false, nullptr},
                            shownDrives, language);
    // The pictures lie beside the program, whatever folder it was started in.
    char16_t folder[kPathCapacity] = {};
    ProgramFolder(folder, kPathCapacity);
    auto dialog = std::make_unique<dlgPreview>(*this, kPreviewDialogId, folder, pictureName,
                                               captionSuffix, language);
    dialog->closeOnClick();
    dialog->run();
}

void MainWindow::onCheckForUpdate() {
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
        messageBox(kProductName, Say(language, Text::LatestVersion).c_str(), MB_OK);
        break;
    case kNewVersion:
        offerNewVersion(result);
        break;
    case kServiceUnavailable:
        messageBox(kProductName, Say(language, Text::ServiceUnavailable).c_str(), MB_OK);
        break;
    default:
        break;
    }
}
