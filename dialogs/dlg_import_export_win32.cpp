#include "dialogs/dlg_import_export.h"

#include "base/text.h"
#include "services/app_data_store.h"

namespace {

enum Item : int {
    kImportGroup = 6001,
    kImportPath = 6002,
    kImportBrowse = 6003,
    kExportGroup = 6004,
    kExportPath = 6005,
    kExportBrowse = 6006,
    kExplanation = 6007,
    kSwitch = 6008,
    kConfirm = 6009,
};

constexpr std::uint32_t kSwitchIcon = 103;
const char16_t* const kFilter = u"Velkarostrandemilquorbenix data file (*.vlkd)";
const char16_t* const kExplanationText =
    u"Export allows to save state of settings to file and Import load saved settings from "
    u"file. These functions can be used to backup current settings or to share settings "
    u"between computers to avoid manually set ech of them.\r\n\r\nNote: Export will also works "
    u"if settings have not been applied before.";

} // namespace

dlgImportExport::dlgImportExport(UIBase& owner, Picker openPicker, Picker savePicker)
    : UIDialog(owner, kResource), owner(owner), lastDataFileKey(kLastDataFileKey),
      openPicker_(openPicker ? std::move(openPicker) : Picker(ShowOpenFilePicker)),
      savePicker_(savePicker ? std::move(savePicker) : Picker(ShowSaveFilePicker)) {}

void dlgImportExport::onInit() {
    font.setHeight(-14);
    showItem(kExplanation, false);
    richEdit(kExplanation);
    SetDlgItemTextW(dialogHandle(), kExplanation,
                    reinterpret_cast<const wchar_t*>(kExplanationText));
    SendDlgItemMessageW(dialogHandle(), kExplanation, WM_SETFONT,
                        reinterpret_cast<WPARAM>(font.create()), TRUE);
    // The rich edit counts a line break as one character: these are "Note:".
    richEdit(kExplanation).boldRange(220, 225);
    button(kSwitch).setButtonIcon(kSwitchIcon);
    onCommand(kImportBrowse, [this] { pick(false); });
    onCommand(kExportBrowse, [this] { pick(true); });
    onCommand(kSwitch, [this] { switchViews(); });
    onCommand(kConfirm, [this] { confirm(); });
}

void dlgImportExport::switchViews() {
    infoHidden = !infoHidden;
    for (int id : {kImportGroup, kImportPath, kImportBrowse, kExportGroup, kExportPath,
                   kExportBrowse, kConfirm})
        showItem(id, infoHidden);
    showItem(kExplanation, !infoHidden);
}

void dlgImportExport::pick(bool exporting) {
    const PickedFile file = (exporting ? savePicker_ : openPicker_)(dialogHandle(), kFilter);
    if (file.failed)
        MessageBoxW(dialogHandle(), L"Cannot open the file dialog.", L"Import and Export",
                    MB_OK | MB_ICONERROR);
    if (file.path.empty()) return;
    lineEdit(exporting ? kExportPath : kImportPath).setText(file.path.c_str());
    lineEdit(exporting ? kImportPath : kExportPath).clearText();
    button(kConfirm).setText(exporting ? u"Export" : u"Import");
}

void dlgImportExport::confirm() {
    const std::u16string importPath = lineEdit(kImportPath).text();
    const std::u16string exportPath = lineEdit(kExportPath).text();
    if (importPath.empty() == exportPath.empty())
        return; // nothing picked yet, or (never by the pickers) both
    const bool exporting = !exportPath.empty();
    const std::u16string& path = exporting ? exportPath : importPath;
    SetStoreText(lastDataFileKey, toUtf8(path).c_str(), kUserScope);
    owner.setDialogResult(exporting ? 1 : 0);
    owner.setDialogText(path);
    close();
}
