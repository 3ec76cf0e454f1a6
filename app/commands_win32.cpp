// The main window's commands.

#include "app/main_window.h"

#include "engine/apply_changes.h"
#include "engine/system_state.h"
#include "engine/text.h"
#include "services/diagnostic_log.h"

void MainWindow::onLivePreviewToggled() {
    UICheckBox* livePreview = checkBox("chb1_0");
    if (!livePreview) return;
    const bool turnedOff = livePreview->isChecked();
    if (UISpinBox* delay = spinBox("spb1_3")) delay->setEnabled(!turnedOff);
}

// Writes what the user changed, reads the system again and says when a log-out is needed. The
// controls keep the user's choices; only the GodMode box, an action rather than a state, is
// cleared.
void MainWindow::onApply() {
    collectControls();
    FeatureModel& m = model;
    const std::uint32_t logOut = ApplyChanges(m.computer, m.taskbar, m.contextMenu, m.system,
                                              m.security, m.privacy, errorTrail);
    ReadSystemState(m.computer, m.taskbar, m.contextMenu, m.system, m.security, m.privacy,
                    errorTrail);
    if (UICheckBox* godMode = checkBox("chb3_1")) godMode->setChecked(false);
    if (logOut == 1)
        messageBox(u"Velkarostrandemilquorbenix",
                   u"Log out is required for the changes to take effect.", MB_OK);
    if (TextLength(errorTrail.text) > errorTrail.sentLength)
        SaveErrorTrail(errorTrail, false, services);
}

// Not built yet: the dialogs and the update check. Their controls and menu items are wired to
// these so that each lands in one place when it is built.
void MainWindow::openPreview() {}
void MainWindow::openAbout() {}
void MainWindow::openSettings() {}
void MainWindow::openImportExport() {}
void MainWindow::onCheckForUpdate() {}
