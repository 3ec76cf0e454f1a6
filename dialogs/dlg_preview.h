#pragma once
// The Preview dialog: the picture "previews\<name>.png" in the given folder (the program's own,
// so that a shortcut's start-in folder changes nothing), or the built-in "No preview" picture
// when that file cannot be opened.

#include "base/texts/texts.h"
#include "ui/ui_dialog.h"

#include <string>
#include <string_view>

inline constexpr std::uint32_t kPreviewDialogId = 5000;
inline constexpr std::uint32_t kNoPreviewBitmapId = 5001;

class dlgPreview : public UIDialog {
  public:
    // pictureFolder holds "previews" (empty: unknown, no picture); pictureName is UTF-8;
    // captionSuffix goes behind the caption "Preview" in the language.
    dlgPreview(const UIBase& owner, std::uint32_t dialogId, std::u16string_view pictureFolder,
               std::string_view pictureName, std::u16string_view captionSuffix, Language language);

  protected:
    void onInit() override;

  private:
    std::u16string caption_;
};
