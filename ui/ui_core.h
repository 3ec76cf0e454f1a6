#pragma once
// The window core: one top-level window of class QUENORITH with its window procedure, the
// registry of its controls by name and the command table that routes clicks to callbacks. It
// uses the parts that keep the rest: the layout at the window's DPI, the page toolbar, the
// drop-down menu and the keyboard's moves.

#include "ui/command_table.h"
#include "ui/control_set.h"
#include "ui/drop_down_menu.h"
#include "ui/gdi_handles.h"
#include "ui/keyboard.h"
#include "ui/page_toolbar.h"
#include "ui/ui_base.h"
#include "ui/window_layout.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The kinds of control, in the order the core keeps their sets.
enum class ControlKind { Button, CheckBox, LineEdit, RadioButton, SpinBox, Label };
inline constexpr std::size_t kControlKinds = 6;

// Messages the core posts to itself.
inline constexpr UINT kMsgSetControlFont = WM_APP + 1; // lParam: the control
inline constexpr UINT kMsgShown = WM_APP + 10;         // runs onCreate
inline constexpr UINT kMsgRunPosted = WM_APP + 12;     // runs the work postToWindow queued
// The timer that builds the deferred controls once the shown window has painted.
inline constexpr UINT_PTR kDeferredControlsTimer = 1;
// The timer that looks, while work waits for it, whether every modal loop of the window ended.
inline constexpr UINT_PTR kAfterModalTimer = 2;
inline constexpr UINT kAfterModalCheckMs = 200;

class UICore : public UIBase {
  public:
    UICore(HINSTANCE instance, const char16_t* title, int width, int height,
           std::uint32_t largeIconId, std::uint32_t smallIconId);
    virtual ~UICore();
    UICore(const UICore&) = delete;
    UICore& operator=(const UICore&) = delete;

    // On Windows older than 10.0 shows the text and closes the window.
    void requireWindows10(const char16_t* text, const char16_t* caption);
    // ShowWindow with the command, SW_SHOWDEFAULT for 0; nothing when closing or never created.
    void show(int command);
    // Runs until WM_QUIT; returns its exit code (0 at once when the window was never created).
    int runMessageLoop();
    void close();
    void setTitle(const char16_t* title);
    // A topmost message box owned by the window, with the window's large icon.
    int messageBox(const char16_t* caption, const char16_t* text, UINT style);
    // Lets the tooltip control show the tips of disabled controls: the pointer's moves over one
    // go to the window (a disabled control gets none), which passes them on as the control's
    // own, and the tooltip takes the disabled control for the window under the pointer.
    void relayDisabledChildren(HWND tooltip);
    // Runs the work on the window's thread, from its message loop: the one way back from a
    // worker. Callable from any thread; work still queued when the window goes is dropped.
    void postToWindow(std::function<void()> work);
    // Runs the work once no dialog, message box or menu of the window is open (nor a move or
    // resize of it): at once when none is, else from the window's own loop after the last ends.
    void whenNoModalOpen(std::function<void()> work);

    // Registers the callback for (control, id); a key that has one keeps its first callback.
    void onCommand(HWND control, std::function<void()> callback, std::int32_t id);
    // Records the geometry; the control then moves with the window's bottom (and right) edge.
    void setAnchor(HWND control, int x, int y, int width, int height, bool right, bool bottom,
                   bool left);

    // Creating controls: each registers the control under its name in its kind's set.
    HWND createCheckBox(std::string_view name, const char16_t* text, int x, int y, int width,
                        int height, bool shown, std::int32_t page);
    void createLineEdit(std::string_view name, const char16_t* text, int x, int y, int width,
                        int height, bool shown, std::int32_t page, bool readOnly);
    HWND createLabel(std::string_view name, const char16_t* text, int x, int y, int width,
                     int height, bool shown, std::int32_t page, std::uint32_t iconId);
    HWND createButton(std::string_view name, const char16_t* text, int x, int y, int width,
                      int height, bool shown, std::int32_t page);
    void createRadioButton(std::string_view name, const char16_t* text, int x, int y, int width,
                           int height, bool shown, std::int32_t page);
    void createSpinBox(std::string_view name, std::int32_t value, std::uint32_t minimum,
                       std::uint32_t maximum, int x, int y, int width, int height, bool shown,
                       std::int32_t page);

    // Controls the first page does without: built once the shown window has painted, or sooner,
    // when another page is shown, the keyboard moves the focus or every control is asked for.
    void deferControls(std::function<void()> build);
    // Builds the deferred controls now, if they are not yet: for callers that need every control.
    void completeControls();

    // Finders: the control of the name among those made, or null when none has it. A finder
    // builds nothing: a caller that needs every control completes them first.
    UICheckBox* checkBox(std::string_view name);
    UILineEdit* lineEdit(std::string_view name);
    UILabel* label(std::string_view name);
    UIRadioButton* radioButton(std::string_view name);
    UISpinBox* spinBox(std::string_view name);

    // The page toolbar: a separator, then one button per icon with command ids from 1.
    HWND createToolbar(int iconSize, int iconCount, const std::uint32_t* iconIds, bool checkFirst);
    // Shows the controls of the page (those whose shownOnPage is set), hides other pages'.
    void showPage(std::int32_t page);
    // Clicking the control opens a menu of the items (ids from kFirstMenuCommand on, appended to
    // any earlier).
    void setDropDownMenu(HWND control, std::span<const char16_t* const> items);
    // Tooltips of the toolbar buttons, in button order.
    void setToolbarTips(std::span<const char16_t* const> tips);

    // The page toolbar; null before createToolbar.
    HWND toolbar() const { return toolbar_.handle(); }
    // The controls of the kind made so far (null before the first); nothing is built.
    const UIControlSet* controlSet(ControlKind kind) const {
        return sets_[static_cast<std::size_t>(kind)].get();
    }
    // Every control of the kind, the deferred ones built first.
    const UIControlSet* controlSet(ControlKind kind);
    // The controls Tab reaches on the current page, in order.
    std::vector<HWND> tabOrder() const;

  protected:
    // Runs from the message loop after the window was shown.
    virtual void onCreate() {}
    virtual void onQuit() {}

  private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Lays every control, the toolbar and the font out anew for the DPI; then the window takes
    // the suggested rectangle (its minimum size at its place when none).
    void changeDpi(UINT dpi, const RECT* suggested);
    void fitFont();
    // Keyboard navigation: Tab, Ctrl+Tab, arrows in the radio pair, Enter; true when handled.
    bool handleKey(const MSG& message);
    // The controls of the kind (of every kind without one) as the keyboard sees them.
    std::vector<KeyboardControl> keyboardControls(std::optional<ControlKind> kind = {}) const;
    void switchPage(bool backward);
    void dispatchCommand(HWND source, std::int32_t id);
    bool modalOpen() const;

    template <typename Control> UIControls<Control>& ensureSet(ControlKind kind);
    template <typename Control> Control* find(ControlKind kind, std::string_view name) const;
    HWND createChild(const wchar_t* className, const char16_t* text, DWORD style, int x, int y,
                     int width, int height, std::int32_t page, bool shown);
    // Registers the control (none when it could not be made) under its name; the control then
    // registered under the name.
    template <typename Control>
    HWND registerControl(ControlKind kind, std::string_view name, std::unique_ptr<Control> control);

    std::uint32_t largeIconId_;
    bool closing_ = false;
    bool noWindow_ = false; // the class could not be registered or the window not be created
    WindowLayout layout_;
    UniqueFont messageFont_;
    std::array<std::unique_ptr<UIControlSet>, kControlKinds> sets_;
    std::function<void()> deferredControls_;
    CommandTable commands_;
    std::int32_t currentPage_ = 0;
    PageToolbar toolbar_;
    DropDownMenu menu_;
    bool focusShown_ = false;
    HWND relayTooltip_ = nullptr;
    std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
    std::vector<std::function<void()>> afterModal_;
    bool inMenu_ = false;
    bool inSizeMove_ = false;
};
