#pragma once
// The "Import and Export" dialog: the user picks a settings data file to import or a path to
// export to; the choice is left with the owner (dialogResult 0 import, 1 export, -1 none;
// dialogText the path), which carries it out after the dialog has ended.

#include "base/texts/texts.h"
#include "dialogs/file_pickers.h"
#include "ui/ui_dialog.h"
#include "ui/ui_font.h"

#include <functional>
#include <string>

class dlgImportExport : public UIDialog {
  public:
    static constexpr std::uint32_t kResource = 6000;
    using Picker = std::function<PickedFile(HWND owner, const std::u16string& filter)>;

    // The pickers are the system's unless a caller (a test) passes its own.
    dlgImportExport(UIBase& owner, Language language, Picker openPicker = {},
                    Picker savePicker = {});

  protected:
    void onInit() override;

  private:
    // The file to import from or export to, from its picker; a picker that could not be shown
    // is told to the user.
    void pick(bool exporting);
    void switchViews();
    void confirm();

    bool infoHidden = true;
    UIBase& owner;
    const Language language_;
    const char* lastDataFileKey;
    UIFont font;
    Picker openPicker_;
    Picker savePicker_;
};
