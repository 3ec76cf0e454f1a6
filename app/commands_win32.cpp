// The main window's commands.

#include "app/main_window.h"

void MainWindow::onLivePreviewToggled() {
    UICheckBox* livePreview = checkBox("chb1_0");
    if (!livePreview) return;
    const bool turnedOff = livePreview->isChecked();
    if (UISpinBox* delay = spinBox("spb1_3")) delay->setEnabled(!turnedOff);
}

// Not built yet: applying, the dialogs and the update check. Their controls and menu items
// are wired to these so that each lands in one place when it is built.
void MainWindow::onApply() {}
void MainWindow::openPreview() {}
void MainWindow::openAbout() {}
void MainWindow::openSettings() {}
void MainWindow::openImportExport() {}
void MainWindow::onCheckForUpdate() {}
