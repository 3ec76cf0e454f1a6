#pragma once
// The About dialog: the product's name, version and icon, and the maker's contact data.

#include "base/texts/texts.h"
#include "ui/ui_dialog.h"
#include "ui/ui_font.h"

inline constexpr std::uint32_t kAboutDialogId = 1000;
inline constexpr std::uint32_t kAboutIconId = 102;
inline constexpr const char16_t* kMakerWebAddress = u"https://quenorith.example/";
inline constexpr const char16_t* kSupportEmailAddress = u"support@quenorith.example";

class dlgAbout : public UIDialog {
  public:
    dlgAbout(const UIBase& owner, std::uint32_t dialogId, Language language)
        : UIDialog(owner, dialogId), language_(language) {}

  protected:
    void onInit() override;

  private:
    const Language language_;
    UIFont titleFont_;
    UIFont versionFont_;
    UIFont labelFont_;
};
