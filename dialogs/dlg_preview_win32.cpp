#include "dialogs/dlg_preview.h"

#include "base/text.h"
#include "services/app_files.h"

dlgPreview::dlgPreview(const UIBase& owner, std::uint32_t dialogId,
                       std::u16string_view pictureFolder, std::string_view pictureName,
                       std::u16string_view captionSuffix, Language language)
    : UIDialog(owner, dialogId),
      caption_(Say(language, Text::PreviewTitle) + captionSuffix.data()) {
    const std::u16string path =
        std::u16string(pictureFolder) + u"\\previews\\" + fromUtf8(pictureName) + u".png";
    // Whether the file opens and GDI+ can be had decide; the picture is decoded when the dialog
    // paints.
    if (!pictureFolder.empty() && OpenDataFile(path.c_str(), u"rb") && CanPaintPictureFiles())
        setImageFile(path);
    else
        setBitmap(kNoPreviewBitmapId);
}

void dlgPreview::onInit() {
    setTitle(caption_.c_str());
}
