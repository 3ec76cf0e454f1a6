// The dialog framework's links: a URL scheme of the test's own whose "open" command writes the
// address it was given to a file shows what a link opened.

#include "tests/ui/dialog_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// The file's first line once it exists (waiting up to the given time), or empty text.
std::string WaitForLine(const std::wstring& path, int milliseconds = 5000) {
    for (int waited = 0; waited <= milliseconds; waited += 50, Sleep(50)) {
        FILE* file = _wfopen(path.c_str(), L"rb");
        char line[256] = {};
        if (!file) continue;
        fgets(line, sizeof line, file);
        fclose(file);
        const std::string text(line);
        if (!text.empty()) return text.substr(0, text.find_last_not_of(" \r\n") + 1);
    }
    return {};
}

TEST(DialogFramework, ALinkOpensItsFirstRegisteredAddressOnClickAndEnterOnly) {
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
        auto notify = [&](int id, int code) {
            NMHDR header{GetDlgItem(d, id), static_cast<UINT_PTR>(id), static_cast<UINT>(code)};
            SendMessageW(d, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
        };
        notify(2004, NM_DBLCLK);
        notify(2001, NM_CLICK); // an item without an address
        EXPECT_EQ(WaitForLine(output, 1000), "");
        for (const int code : {NM_CLICK, NM_RETURN}) {
            notify(2004, code);
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
