#pragma once
// Modal dialogs made from dialog template resources. UIDialog owns the dialog procedure and
// gives its subclasses item handles by id, callbacks for button commands, links that open an
// address, centring over the owner and one kind of painting (a picture file, a bitmap
// resource or an icon resource).

#include "ui/control_set.h"
#include "ui/dialog_picture.h"
#include "ui/gdi_handles.h"
#include "ui/ui_base.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// A rich-edit item of a dialog.
class UIRichEdit : public UIControl {
  public:
    using UIControl::UIControl;
    // Makes the characters from first to last bold (none when last is below first).
    void boldRange(LONG first, LONG last);
};

class UIDialog {
  public:
    // Takes the module, the parent window and the icon from the owner.
    UIDialog(const UIBase& owner, std::uint32_t dialogId);
    virtual ~UIDialog() = default;
    UIDialog(const UIDialog&) = delete;
    UIDialog& operator=(const UIDialog&) = delete;

    // Loads the rich-edit library the template's rich-edit items need; when it is missing
    // the dialog is blocked and run shows nothing.
    void loadRichEdit(bool load);
    // Whether picture files can be painted: GDI+ can be loaded and started.
    static bool CanPaintPictureFiles();
    // Runs the dialog modally; returns how it ended (1 OK or a click, 2 cancel, -1 when
    // the template could not be made into a dialog, 0 when blocked).
    INT_PTR run();
    // Asks the dialog to close as its close box does: it ends with 2.
    void close();

    HWND dialogHandle() const { return dialog_; }
    void setTitle(const char16_t* title);
    void setItemText(int id, const std::u16string& text);
    void showItem(int id, bool shown);
    // Registers the callback for the item's plain click; an id keeps its first callback.
    void onCommand(std::uint32_t id, std::function<void()> callback);
    // A click on the link item (or Enter on it) opens the address; an id keeps its first
    // address. With a font, the item gets it.
    void addLink(std::uint32_t id, std::u16string_view address, HFONT font);
    // A left click in the client area ends the dialog with 1.
    void closeOnClick() { closeOnClick_ = true; }

    // Items: the one object for the item of the id (acting on no window when there is no such
    // item), for as long as the dialog object lives.
    UICheckBox& checkBox(int id) { return item(checkBoxes_, id); }
    UILineEdit& lineEdit(int id) { return item(lineEdits_, id); }
    UILabel& label(int id) { return item(labels_, id); }
    UIButton& button(int id) { return item(buttons_, id); }
    UIRichEdit& richEdit(int id) { return item(richEdits_, id); }

    // Moves the dialog to the middle of its parent with the size (0, 0: its own); when that
    // place would not lie wholly on the screen it keeps its place and takes only the size.
    void centerOnParent(int width, int height);

    // What the dialog paints; the last call wins.
    void setImageFile(std::u16string_view path);
    void setBitmap(std::uint32_t resourceId);
    void setIcon(std::uint32_t resourceId);

  protected:
    // Runs once the dialog window exists: subclasses fill their items here.
    virtual void onInit() {}

  private:
    static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void initialize(HWND window);
    // Items whose texts (another language's) run past their places get room, items on their rows
    // move right, and the dialog widens to hold them.
    void makeRoomForTexts();

    // By window: a dialog run again has new items.
    template <typename Item> using Items = std::unordered_map<HWND, Item>;
    template <typename Item> Item& item(Items<Item>& items, int id) {
        const HWND handle = GetDlgItem(dialog_, id);
        return items.try_emplace(handle, handle).first->second;
    }

    HINSTANCE instance_;
    HWND parent_;
    HWND dialog_ = nullptr;
    std::uint32_t iconId_;
    std::uint32_t dialogId_;
    bool closeOnClick_ = false;
    bool blocked_ = false;
    UniqueModule richEditModule_;
    UniqueIcon bigIcon_; // the dialog's big icon; destroyed after the dialog has ended
    Items<UIButton> buttons_;
    Items<UICheckBox> checkBoxes_;
    Items<UILineEdit> lineEdits_;
    Items<UILabel> labels_;
    Items<UIRichEdit> richEdits_;
    std::unordered_map<std::uint32_t, std::function<void()>> commandHandlers_;
    std::unordered_map<std::uint32_t, std::u16string> linkTargets_;
    DialogPicture picture_;
};
