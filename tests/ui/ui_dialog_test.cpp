// The dialog framework: every template with its items, how dialogs end, command routing,
// centring, item handles, rich-edit bold ranges, fonts and the three kinds of painting.

#include "tests/ui/dialog_test_support.h"
#include "ui/ui_dialog.h"
#include "ui/ui_font.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <vector>

namespace {

struct TemplateItem {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    int x, y, width, height;
};

struct DialogTemplate {
    std::uint32_t id;
    const wchar_t* caption;
    int width, height; // dialog units
    std::vector<TemplateItem> items;
};

const std::vector<DialogTemplate>& Templates() {
    static const std::vector<DialogTemplate> templates = {
        {1000,
         L"About",
         229,
         152,
         {{1001, L"Static", L"Velkarostrandemilquorbenix", 50, 10, 179, 15},
          {1002, L"Static", L"Version 1.1.0 (64-bit)", 50, 30, 140, 12},
          {1003, L"Button", L"About", 9, 50, 210, 73},
          {1004, L"Static", L"Company:", 14, 65, 40, 12},
          {1005, L"Static", L"Quenorith", 59, 65, 140, 12},
          {1006, L"Static", L"Web:", 14, 83, 40, 12},
          {1007, L"SysLink", nullptr, 59, 83, 140, 12},
          {1008, L"Static", L"Email:", 14, 101, 40, 12},
          {1009, L"Edit", L"", 57, 101, 140, 10},
          {IDOK, L"Button", L"OK", 177, 134, 43, 12}}},
        {2000,
         L"Settings",
         224,
         80,
         {{2001, L"Button", L"Check for updates", 9, 8, 130, 12},
          {2003, L"Button", L"Automatically send error report", 9, 35, 124, 12},
          {2004, L"SysLink", nullptr, 134, 37, 90, 12},
          {2005, L"Button", L"OK", 127, 62, 43, 12},
          {IDCANCEL, L"Button", L"Cancel", 173, 62, 43, 12}}},
        {5000, L"Preview", 228, 160, {}},
        {6000,
         L"Import and Export",
         309,
         104,
         {{6001, L"Button", L"Import", 9, 5, 291, 32},
          {6002, L"Edit", L"", 15, 16, 260, 11},
          {6003, L"Button", L"...", 280, 16, 14, 11},
          {6004, L"Button", L"Export", 9, 47, 291, 32},
          {6005, L"Edit", L"", 15, 58, 260, 11},
          {6006, L"Button", L"...", 280, 58, 14, 11},
          {6007, L"RICHEDIT50W", L"", 9, 9, 291, 60},
          {6008, L"Button", L"", 9, 83, 15, 15},
          {6009, L"Button", L"Import/Export", 240, 85, 60, 12}}},
    };
    return templates;
}

// The styles an item of each template needs beyond its class. An edit's border may show as
// WS_BORDER or as the client edge the dialog manager turns it into.
struct ItemStyle {
    std::uint32_t dialog;
    int id;
    DWORD set;
    DWORD clear;
    bool bordered = false;
};
constexpr ItemStyle kItemStyles[] = {
    {1000, 1003, BS_GROUPBOX, 0},
    {1000, 1009, ES_READONLY, WS_BORDER},
    {1000, IDOK, BS_DEFPUSHBUTTON, 0},
    {2000, 2001, BS_AUTOCHECKBOX, 0},
    {2000, 2003, BS_AUTOCHECKBOX, 0},
    {2000, IDCANCEL, BS_DEFPUSHBUTTON, 0},
    {6000, 6002, ES_READONLY, 0, true},
    {6000, 6005, ES_READONLY, 0, true},
    {6000, 6007, ES_READONLY | ES_MULTILINE, WS_BORDER},
    {6000, 6008, BS_ICON, 0},
    {6000, 6009, BS_DEFPUSHBUTTON, 0},
};

bool Bordered(HWND control) {
    return (WindowStyle(control) & WS_BORDER) ||
           (GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override { owner = MakeOwner(); }
    void TearDown() override {
        DestroyWindow(owner->window);
        PumpMessages();
    }
    std::unique_ptr<UICore> owner;
};

TEST_F(DialogTest, EveryTemplateHasItsCaptionSizeStyleAndItems) {
    for (const DialogTemplate& t : Templates()) {
        SCOPED_TRACE(t.id);
        UIDialog dialog(*owner, t.id);
        dialog.loadRichEdit(t.id == 6000);
        ASSERT_FALSE(dialog.blocked());
        const INT_PTR result = RunDriven(dialog, [&](HWND d) {
            EXPECT_EQ(WindowText(d), t.caption);
            EXPECT_EQ(WindowStyle(d) & 0x80C800C8u, 0x80C800C8u);
            RECT client{};
            GetClientRect(d, &client);
            const RECT expected = DialogUnits(d, 0, 0, t.width, t.height);
            EXPECT_EQ(client.right, expected.right);
            EXPECT_EQ(client.bottom, expected.bottom);
            int children = 0;
            for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                ++children;
            EXPECT_EQ(children, static_cast<int>(t.items.size()));
            for (const TemplateItem& item : t.items) {
                SCOPED_TRACE(item.id);
                const HWND control = GetDlgItem(d, item.id);
                ASSERT_NE(control, nullptr);
                EXPECT_EQ(_wcsicmp(WindowClass(control).c_str(), item.className), 0)
                    << toNarrowName(WindowClass(control));
                if (item.text) {
                    EXPECT_EQ(WindowText(control), item.text);
                }
                const RECT want = DialogUnits(d, item.x, item.y, item.width, item.height);
                const RECT got = ChildRect(control);
                EXPECT_EQ(got.left, want.left);
                EXPECT_EQ(got.top, want.top);
                EXPECT_EQ(got.right, want.right);
                EXPECT_EQ(got.bottom, want.bottom);
            }
            for (const ItemStyle& s : kItemStyles) {
                if (s.dialog != t.id) continue;
                const DWORD style = WindowStyle(GetDlgItem(d, s.id));
                EXPECT_EQ(style & s.set, s.set) << "item " << s.id;
                EXPECT_EQ(style & s.clear, 0u) << "item " << s.id;
                const bool hasBorder = Bordered(GetDlgItem(d, s.id));
                if (s.bordered || s.clear & WS_BORDER) {
                    EXPECT_EQ(hasBorder, s.bordered) << "item " << s.id;
                }
            }
            EXPECT_NE(SendMessageW(d, WM_GETICON, ICON_BIG, 0), 0) << "the owner's icon";
            PressKey(d, VK_ESCAPE);
        });
        EXPECT_EQ(result, IDCANCEL);
    }
}

// A dialog with two callbacks for Cancel (only the first may run) and one for item 2005.
class ProbeDialog : public UIDialog {
  public:
    explicit ProbeDialog(const UIBase& owner) : UIDialog(owner, 2000) {}
    std::vector<int> calls;

  protected:
    void onInit() override {
        onCommand(IDCANCEL, [this] { calls.push_back(1); });
        onCommand(IDCANCEL, [this] { calls.push_back(2); });
        onCommand(2005, [this] { calls.push_back(2005); });
    }
};

TEST_F(DialogTest, EscapeTheCloseBoxAndCloseEndWithCancelAfterItsFirstCallback) {
    struct Way {
        const char* name;
        void (*end)(ProbeDialog&, HWND);
    };
    const Way ways[] = {
        {"Escape", [](ProbeDialog&, HWND d) { PressKey(d, VK_ESCAPE); }},
        {"close box", [](ProbeDialog&, HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close", [](ProbeDialog& dialog, HWND) { dialog.close(); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        ProbeDialog dialog(*owner);
        const INT_PTR result = RunDriven(dialog, [&](HWND d) { way.end(dialog, d); });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(dialog.calls, std::vector<int>{1});
        EXPECT_EQ(dialog.dialogHandle(), nullptr) << "the window is gone after run";
    }
}

TEST_F(DialogTest, CommandsFireForPlainClicksOnlyAndOtherIdsDoNotEndTheDialog) {
    ProbeDialog dialog(*owner);
    std::vector<int> seenBeforeEnd;
    const INT_PTR result = RunDriven(dialog, [&](HWND d) {
        const HWND ok = GetDlgItem(d, 2005);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(2005, EN_CHANGE), reinterpret_cast<LPARAM>(ok));
        EXPECT_TRUE(dialog.calls.empty()) << "a notification other than a click is not routed";
        SendMessageW(ok, BM_CLICK, 0, 0);
        EXPECT_EQ(dialog.calls, std::vector<int>{2005});
        EXPECT_TRUE(IsWindow(d)) << "a registered id other than 1 and 2 leaves the dialog open";
        // A command without a callback does nothing; OK still ends the dialog.
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(4321, 0), 0);
        seenBeforeEnd = dialog.calls;
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(seenBeforeEnd, std::vector<int>{2005});
}

TEST_F(DialogTest, ItemHandlesActOnTheItemOrOnNothing) {
    ProbeDialog dialog(*owner);
    RunDriven(dialog, [&](HWND d) {
        UICheckBox& updates = dialog.checkBox(2001);
        EXPECT_EQ(updates.current(), GetDlgItem(d, 2001));
        updates.setChecked(true);
        EXPECT_EQ(SendDlgItemMessageW(d, 2001, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(dialog.checkBox(2001).isChecked());
        EXPECT_EQ(&dialog.checkBox(2003), &updates) << "one handle per kind";
        EXPECT_FALSE(dialog.checkBox(2003).isChecked());

        UICheckBox& missing = dialog.checkBox(4242);
        EXPECT_EQ(missing.current(), nullptr);
        missing.setChecked(true);
        EXPECT_FALSE(missing.isChecked());

        dialog.button(2005).setText(u"Save");
        EXPECT_EQ(WindowText(GetDlgItem(d, 2005)), L"Save");
        dialog.showItem(2003, false);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, 2003)));
        dialog.showItem(2003, true);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 2003)));
        dialog.setTitle(u"Probe");
        EXPECT_EQ(WindowText(d), L"Probe");
        dialog.close();
    });
}

TEST_F(DialogTest, CentringOverTheParentAndKeepingThePlaceWhenItWouldLeaveTheScreen) {
    ProbeDialog dialog(*owner);
    RunDriven(dialog, [&](HWND d) {
        // WM_INITDIALOG centred the template's size over the owner (100, 100, 916 x 640).
        RECT r = WindowRectOf(d);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        EXPECT_EQ(r.left, 100 + (916 - width) / 2);
        EXPECT_EQ(r.top, 100 + (640 - height) / 2);

        dialog.centerOnParent(300, 200);
        r = WindowRectOf(d);
        EXPECT_EQ(r.left, 100 + (916 - 300) / 2);
        EXPECT_EQ(r.top, 100 + (640 - 200) / 2);
        EXPECT_EQ(r.right - r.left, 300);
        EXPECT_EQ(r.bottom - r.top, 200);

        // The owner lies partly left of the screen: the dialog keeps its place, takes the size.
        const RECT before = WindowRectOf(d);
        SetWindowPos(owner->window, nullptr, -600, 50, 916, 640, SWP_NOZORDER | SWP_NOACTIVATE);
        dialog.centerOnParent(320, 210);
        r = WindowRectOf(d);
        EXPECT_EQ(r.left, before.left);
        EXPECT_EQ(r.top, before.top);
        EXPECT_EQ(r.right - r.left, 320);
        EXPECT_EQ(r.bottom - r.top, 210);

        dialog.close();
    });
}

TEST_F(DialogTest, OverAParentSmallerThanItselfItMovesLeftAndAboveItUnlessThatIsOffTheScreen) {
    // A plain window as the owner, since the main window cannot be made this small.
    UIBase small(GetModuleHandleW(nullptr), 101);
    small.window = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 300, 300, 100, 100,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(small.window, nullptr);
    UIDialog dialog(small, 2000);
    RunDriven(dialog, [&](HWND d) {
        dialog.centerOnParent(300, 200);
        RECT r = WindowRectOf(d);
        EXPECT_EQ(r.left, 300 + (100 - 300) / 2);
        EXPECT_EQ(r.top, 300 + (100 - 200) / 2);
        EXPECT_EQ(r.right - r.left, 300);

        SetWindowPos(small.window, nullptr, 10, 10, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        const RECT kept = WindowRectOf(d);
        dialog.centerOnParent(310, 200);
        r = WindowRectOf(d);
        EXPECT_EQ(r.left, kept.left) << "x = 10 + (100 - 310) / 2 is negative";
        EXPECT_EQ(r.top, kept.top);
        EXPECT_EQ(r.right - r.left, 310);
        dialog.close();
    });
    DestroyWindow(small.window);
}

// A URL scheme of the test's own whose "open" command writes the address it was given into a
// file, so that a test sees what a link opened.
class ScopedUrlScheme {
  public:
    ScopedUrlScheme(const std::wstring& scheme, const std::wstring& output) : key_(scheme) {
        const std::wstring command =
            L"C:\\windows\\system32\\cmd.exe /c echo %1>\"" + output + L"\"";
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key_.c_str(), L"URL Protocol", REG_SZ, L"",
                        sizeof(wchar_t));
        RegSetKeyValueW(HKEY_CLASSES_ROOT, (key_ + L"\\shell\\open\\command").c_str(), nullptr,
                        REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    ~ScopedUrlScheme() { RegDeleteTreeW(HKEY_CLASSES_ROOT, key_.c_str()); }

  private:
    std::wstring key_;
};

// The file's first line once it exists (waiting up to five seconds), or empty text.
std::string WaitForLine(const std::wstring& path, int milliseconds = 5000) {
    for (int waited = 0; waited <= milliseconds; waited += 50) {
        if (FILE* file = _wfopen(path.c_str(), L"rb")) {
            char line[256] = {};
            const bool read = fgets(line, sizeof line, file) != nullptr;
            fclose(file);
            if (read)
                return std::string(line).substr(0, std::string(line).find_last_not_of(" \r\n") + 1);
        }
        Sleep(50);
    }
    return {};
}

TEST_F(DialogTest, ALinkOpensItsFirstRegisteredAddressOnClickAndEnter) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring output =
        std::wstring(temp) + L"velkaro-link-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(output.c_str());
    const ScopedUrlScheme scheme(L"velkarotest", output);
    UIFont font;
    font.setBold(true);
    UIDialog dialog(*owner, 2000);
    RunDriven(dialog, [&](HWND d) {
        const HWND link = GetDlgItem(d, 2004);
        dialog.addLink(2004, u"velkarotest:first", font.create());
        dialog.addLink(2004, u"velkarotest:second", nullptr);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)), font.handle());
        NMHDR header{link, 2004, static_cast<UINT>(NM_DBLCLK)};
        SendMessageW(d, WM_NOTIFY, 2004, reinterpret_cast<LPARAM>(&header));
        header.code = static_cast<UINT>(NM_CLICK);
        header.idFrom = 2001; // an item without an address
        SendMessageW(d, WM_NOTIFY, 2001, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(WaitForLine(output, 1000), "") << "only clicks and Enter on a link open it";

        header.idFrom = 2004;
        SendMessageW(d, WM_NOTIFY, 2004, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(WaitForLine(output), "velkarotest:first");
        DeleteFileW(output.c_str());
        header.code = static_cast<UINT>(NM_RETURN);
        SendMessageW(d, WM_NOTIFY, 2004, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(WaitForLine(output), "velkarotest:first");
        dialog.close();
    });
    DeleteFileW(output.c_str());
}

TEST_F(DialogTest, BoldRangeMakesThoseCharactersBold) {
    UIDialog dialog(*owner, 6000);
    dialog.loadRichEdit(true);
    ASSERT_FALSE(dialog.blocked());
    RunDriven(dialog, [&](HWND d) {
        UIRichEdit& edit = dialog.richEdit(6007);
        ASSERT_EQ(edit.current(), GetDlgItem(d, 6007));
        SetWindowTextW(edit.current(), L"Note: this is plain");
        auto boldAt = [&](LONG first, LONG last) {
            CHARRANGE range{first, last};
            SendMessageW(edit.current(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            CHARFORMAT2W format{};
            format.cbSize = sizeof(format);
            SendMessageW(edit.current(), EM_GETCHARFORMAT, SCF_SELECTION,
                         reinterpret_cast<LPARAM>(&format));
            return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
        };
        EXPECT_FALSE(boldAt(0, 5));
        edit.boldRange(0, 5);
        CHARRANGE selected{};
        SendMessageW(edit.current(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selected));
        EXPECT_EQ(selected.cpMin, 0);
        EXPECT_EQ(selected.cpMax, 5);
        EXPECT_TRUE(boldAt(0, 5));
        EXPECT_FALSE(boldAt(6, 10));
        edit.boldRange(12, 8); // last below first: an empty selection at the start
        SendMessageW(edit.current(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selected));
        EXPECT_EQ(selected.cpMin, 0);
        EXPECT_EQ(selected.cpMax, 0);
        EXPECT_FALSE(boldAt(8, 12));
        dialog.close();
    });
}

TEST(UIFontTest, StartsFromTheMessageFontAndTakesHeightAndWeight) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    UIFont font;
    EXPECT_EQ(font.handle(), nullptr);
    EXPECT_STREQ(font.logFont().lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(font.logFont().lfHeight, metrics.lfMessageFont.lfHeight);
    font.setHeight(-22);
    font.setBold(true);
    const HFONT made = font.create();
    ASSERT_NE(made, nullptr);
    LOGFONTW got{};
    ASSERT_EQ(GetObjectW(made, sizeof(got), &got), static_cast<int>(sizeof(got)));
    EXPECT_EQ(got.lfHeight, -22);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    EXPECT_STREQ(got.lfFaceName, metrics.lfMessageFont.lfFaceName);
    font.setBold(false);
    EXPECT_EQ(font.logFont().lfWeight, FW_NORMAL);
    font.destroy();
    EXPECT_EQ(font.handle(), nullptr);
    EXPECT_EQ(GetObjectW(made, sizeof(got), &got), 0) << "the font was deleted";
}

TEST_F(DialogTest, BitmapAndIconPaintingAndTheLastSetterWins) {
    UIDialog dialog(*owner, 5000);
    dialog.setImageFile(u"previews\\missing.png");
    dialog.setIcon(102);
    dialog.setBitmap(5001);
    EXPECT_EQ(dialog.paintMode(), PaintMode::Bitmap);
    EXPECT_EQ(dialog.paintResourceId(), 5001u);
    RunDriven(dialog, [&](HWND d) {
        const RECT before = WindowRectOf(d);
        InvalidateRect(d, nullptr, TRUE);
        Settle(d);
        const RECT after = WindowRectOf(d);
        EXPECT_EQ(after.right - after.left, before.right - before.left) << "template size kept";
        EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
        // "No preview" in black on white inside 399 x 300 at the client origin.
        EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, RGB(0, 0, 0)), 100);
        EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, RGB(255, 255, 255)), 20000);
        EXPECT_EQ(CountPixels(d, {400, 0, 420, 300}, RGB(255, 255, 255)), 0)
            << "nothing painted right of the bitmap";
        dialog.close();
    });

    UIDialog iconDialog(*owner, 5000);
    iconDialog.setIcon(102);
    EXPECT_EQ(iconDialog.paintMode(), PaintMode::Icon);
    RunDriven(iconDialog, [&](HWND d) {
        InvalidateRect(d, nullptr, TRUE);
        Settle(d);
        const COLORREF ground = GetSysColor(COLOR_BTNFACE);
        const RECT icon{20, 20, 68, 68};
        EXPECT_LT(CountPixels(d, icon, ground), 24 * 24 / 2) << "the icon covers 20,20 48x48";
        EXPECT_EQ(CountPixels(d, {0, 0, 18, 18}, ground), 9 * 9) << "nothing above and left";
        EXPECT_EQ(CountPixels(d, {70, 20, 100, 68}, ground), 15 * 24) << "nothing right of it";
        iconDialog.close();
    });
}

} // namespace
