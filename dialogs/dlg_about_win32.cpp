#include "dialogs/dlg_about.h"

#include "ui/dpi.h"

#include <velkaro_version.h>

namespace {

enum Item : int {
    kProductName = 1001,
    kVersion = 1002,
    kGroup = 1003,
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
    setTitle(Say(language_, Text::AboutTitle).c_str());
    setItemText(kVersion, Say(language_, Text::Version, {u"" VELKARO_VERSION_TEXT}));
    for (const auto& [id, text] : {std::pair<int, Text>{kGroup, Text::AboutGroup},
                                   {kCompanyLabel, Text::Company},
                                   {kWebLabel, Text::Web},
                                   {kEmailLabel, Text::Email},
                                   {IDOK, Text::Ok}})
        setItemText(id, Say(language_, text));

    label(kProductName).setFont(titleFont_.create());
    label(kVersion).setFont(versionFont_.create());
    const HFONT bold = labelFont_.create();
    for (int id : {kCompanyLabel, kWebLabel, kEmailLabel})
        label(id).setFont(bold);

    lineEdit(kEmailField).setText(kSupportEmailAddress);
    addLink(kWebLink, kMakerWebAddress, nullptr);
}
