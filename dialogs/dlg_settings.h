#pragma once
// The Settings dialog: the program's two options, stored in the data store on OK.

#include "base/texts/texts.h"
#include "ui/ui_dialog.h"

inline constexpr std::uint32_t kSettingsDialogId = 2000;

class dlgSettings : public UIDialog {
  public:
    dlgSettings(const UIBase& owner, std::uint32_t dialogId, Language language)
        : UIDialog(owner, dialogId), language_(language) {}

  protected:
    void onInit() override;

  private:
    void save();

    const Language language_;
};
