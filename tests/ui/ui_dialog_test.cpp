// The dialog framework: how a dialog ends, which commands reach their callbacks, and links.

#include "tests/ui/dialog_test_support.h"
#include "ui/ui_dialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The Settings template with two callbacks for Cancel (only the first may run) and one for 2005.
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

TEST(DialogFramework, EndingCodesAndOnlyPlainClicksReachTheFirstCallback) {
    const auto owner = MakeOwner();
    const struct {
        const char* name;
        void (*end)(ProbeDialog&, HWND);
        INT_PTR result;
        std::vector<int> calls;
    } ways[] = {
        {"Escape", [](ProbeDialog&, HWND d) { PressKey(d, VK_ESCAPE); }, IDCANCEL, {1}},
        {"close box",
         [](ProbeDialog&, HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
         IDCANCEL,
         {1}},
        {"close", [](ProbeDialog& p, HWND) { p.close(); }, IDCANCEL, {1}},
        {"OK after other commands",
         [](ProbeDialog&, HWND d) {
             const HWND item = GetDlgItem(d, 2005);
             SendMessageW(d, WM_COMMAND, MAKEWPARAM(2005, EN_CHANGE), (LPARAM)item); // not a click
             SendMessageW(item, BM_CLICK, 0, 0); // runs its callback, the dialog stays
             SendMessageW(d, WM_COMMAND, MAKEWPARAM(4321, 0), 0); // no callback: nothing
             EXPECT_TRUE(IsWindowVisible(d));
             SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
         },
         IDOK,
         {2005}},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        ProbeDialog dialog(*owner);
        EXPECT_EQ(RunDriven(dialog, [&](HWND d) { way.end(dialog, d); }), way.result);
        EXPECT_EQ(dialog.calls, way.calls);
    }
    DestroyWindow(owner->window);
    PumpMessages();
}

// The first line of the file once it exists (waiting up to the given time), or empty text.
std::string WaitForLine(const std::wstring& path, int milliseconds = 5000) {
    for (int waited = 0; waited <= milliseconds; waited += 50, Sleep(50)) {
        FILE* file = _wfopen(path.c_str(), L"rb");
        if (!file) continue;
        char line[256] = {};
        const bool read = fgets(line, sizeof line, file) != nullptr;
        fclose(file);
        std::string text(line);
        if (read) return text.substr(0, text.find_last_not_of(" \r\n") + 1);
    }
    return {};
}

// A URL scheme of the test's own whose "open" command writes the address it was given to a
// file shows what a link opened, on a click and on Enter, and only for a registered item.
TEST(DialogFramework, ALinkOpensItsFirstRegisteredAddressOnClickAndEnter) {
    const auto owner = MakeOwner();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring output = std::wstring(temp) + L"velkaro-link.txt";
    DeleteFileW(output.c_str());
    const std::wstring scheme = L"velkarotest", command = L"cmd.exe /c echo %1>\"" + output + L"\"";
    RegSetKeyValueW(HKEY_CLASSES_ROOT, scheme.c_str(), L"URL Protocol", REG_SZ, L"", 2);
    RegSetKeyValueW(HKEY_CLASSES_ROOT, (scheme + L"\\shell\\open\\command").c_str(), nullptr,
                    REG_SZ, command.c_str(), static_cast<DWORD>((command.size() + 1) * 2));
    UIDialog dialog(*owner, 2000);
    RunDriven(dialog, [&](HWND d) {
        dialog.addLink(2004, u"velkarotest:first", nullptr);
        dialog.addLink(2004, u"velkarotest:second", nullptr);
        NMHDR header{GetDlgItem(d, 2004), 2004, static_cast<UINT>(NM_DBLCLK)};
        SendMessageW(d, WM_NOTIFY, 2004, reinterpret_cast<LPARAM>(&header));
        header = {GetDlgItem(d, 2001), 2001, static_cast<UINT>(NM_CLICK)}; // no address
        SendMessageW(d, WM_NOTIFY, 2001, reinterpret_cast<LPARAM>(&header));
        EXPECT_EQ(WaitForLine(output, 1000), "") << "only clicks and Enter on a link open it";
        for (const int code : {NM_CLICK, NM_RETURN}) {
            header = {GetDlgItem(d, 2004), 2004, static_cast<UINT>(code)};
            SendMessageW(d, WM_NOTIFY, 2004, reinterpret_cast<LPARAM>(&header));
            EXPECT_EQ(WaitForLine(output), "velkarotest:first") << code;
            DeleteFileW(output.c_str());
        }
        dialog.close();
    });
    RegDeleteTreeW(HKEY_CLASSES_ROOT, scheme.c_str());
    DestroyWindow(owner->window);
    PumpMessages();
}

} // namespace
