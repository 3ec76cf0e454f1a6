#include "dialogs/dlg_import_export.h"

#include "base/text.h"
#include "base/win32/wide.h"
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

} // namespace

dlgImportExport::dlgImportExport(UIBase& owner, Language language, Picker openPicker,
                                 Picker savePicker)
    : UIDialog(owner, kResource), owner(owner), language_(language),
      lastDataFileKey(kLastDataFileKey),
      openPicker_(openPicker ? std::move(openPicker) : Picker(ShowOpenFilePicker)),
      savePicker_(savePicker ? std::move(savePicker) : Picker(ShowSaveFilePicker)) {}

void dlgImportExport::onInit() {
    font.setHeight(-14);
    showItem(kExplanation, false);
    setTitle(Say(language_, Text::ImportExportTitle).c_str());
    for (const auto& [id, text] : {std::pair{kImportGroup, Text::GroupImport},
                                   {kExportGroup, Text::GroupExport},
                                   {kConfirm, Text::ImportOrExport},
                                   {kSwitch, Text::ShowExplanation}})
        setItemText(id, Say(language_, text));
    const std::u16string explanation = Say(language_, Text::ImportExportExplanation);
    const std::u16string note = Say(language_, Text::NoteLabel);
    richEdit(kExplanation);
    setItemText(kExplanation,
                explanation + u"\r\n\r\n" + note + u" " + Say(language_, Text::NoteText));
    SendDlgItemMessageW(dialogHandle(), kExplanation, WM_SETFONT,
                        reinterpret_cast<WPARAM>(font.create()), TRUE);
    // The note's label in bold; the rich edit counts a line break as one character.
    const auto noteFrom = static_cast<long>(explanation.size() + 2);
    richEdit(kExplanation).boldRange(noteFrom, noteFrom + static_cast<long>(note.size()));
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
    const PickedFile file = (exporting ? savePicker_ : openPicker_)(
        dialogHandle(), Say(language_, Text::DataFileType) + u" (*.vlkd)");
    if (file.failed)
        MessageBoxW(dialogHandle(), AsWide(Say(language_, Text::CannotOpenFileDialog).c_str()),
                    AsWide(Say(language_, Text::ImportExportTitle).c_str()), MB_OK | MB_ICONERROR);
    if (file.path.empty()) return;
    lineEdit(exporting ? kExportPath : kImportPath).setText(file.path.c_str());
    lineEdit(exporting ? kImportPath : kExportPath).clearText();
    button(kConfirm).setText(
        Say(language_, exporting ? Text::GroupExport : Text::GroupImport).c_str());
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
