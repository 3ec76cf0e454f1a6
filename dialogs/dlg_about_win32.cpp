#include "dialogs/dlg_about.h"

#include "ui/dpi.h"

namespace {

enum Item : int {
    kProductName = 1001,
    kVersion = 1002,
    kCompanyLabel = 1004,
    kWebLabel = 1006,
    kWebLink = 1007,
    kEmailLabel = 1008,
    kEmailField = 1009,
};

} // namespace

void dlgAbout::onInit() {
    // Character heights in pixels at 96 DPI, scaled with the dialog.
    const UINT dpi = DpiOf(dialogHandle());
    titleFont_.setHeight(-ScaleToDpi(22, dpi));
    versionFont_.setHeight(-ScaleToDpi(14, dpi));
    labelFont_.setBold(true);
    setIcon(kAboutIconId);

    label(kProductName).setFont(titleFont_.create());
    label(kVersion).setFont(versionFont_.create());
    const HFONT bold = labelFont_.create();
    for (int id : {kCompanyLabel, kWebLabel, kEmailLabel})
        label(id).setFont(bold);

    lineEdit(kEmailField).setText(kSupportEmailAddress);
    addLink(kWebLink, kMakerWebAddress, nullptr);
}
