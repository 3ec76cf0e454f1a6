// The About, Settings and Preview dialogs run modally over an owner window.

#include "services/app_data_store.h"
#include "services/dlg_about.h"
#include "services/dlg_preview.h"
#include "services/dlg_settings.h"
#include "tests/support/test_folder.h"
#include "tests/ui/dialog_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

class ServiceDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    void TearDown() override {
        DestroyWindow(owner->window);
        PumpMessages();
    }
    TestFolder machine, user;
    std::unique_ptr<UICore> owner = MakeOwner();
};

TEST_F(ServiceDialogTest, AboutShowsItsFontsIconAndACopyableEmailAndEndsWithOk) {
    dlgAbout about(*owner, kAboutDialogId);
    const INT_PTR result = RunDriven(about, [&](HWND d) {
        EXPECT_EQ(FontOf(GetDlgItem(d, 1001)).lfHeight, -22);
        EXPECT_EQ(FontOf(GetDlgItem(d, 1002)).lfHeight, -14);
        for (int id : {1004, 1006, 1008})
            EXPECT_EQ(FontOf(GetDlgItem(d, id)).lfWeight, FW_BOLD) << id;
        RECT title{};
        GetClientRect(GetDlgItem(d, 1001), &title);
        EXPECT_LE(TextWidth(GetDlgItem(d, 1001), WindowText(GetDlgItem(d, 1001))), title.right);
        const COLORREF ground = GetSysColor(COLOR_BTNFACE);
        EXPECT_LT(CountPixels(d, {20, 20, 68, 68}, ground), 24 * 24 / 2) << "the icon at 20,20";
        EXPECT_EQ(CountPixels(d, {0, 0, 18, 18}, ground), 9 * 9) << "and nothing above it";

        const HWND email = GetDlgItem(d, 1009);
        const std::wstring address = L"support@quenorith.example";
        EXPECT_EQ(WindowText(email), address);
        SendMessageW(email, EM_SETSEL, 0, -1);
        DWORD first = 1, last = 0;
        SendMessageW(email, EM_GETSEL, (WPARAM)&first, (LPARAM)&last);
        EXPECT_EQ(last - first, address.size()) << "it can be selected";
        SendMessageW(email, WM_CHAR, L'x', 0);
        SendMessageW(email, WM_CLEAR, 0, 0);
        EXPECT_EQ(WindowText(email), address) << "but not edited";
        SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, IDOK);
}

bool Checked(HWND d, int id) {
    return SendDlgItemMessageW(d, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void Click(HWND d, int id) {
    SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0);
}

TEST_F(ServiceDialogTest, SettingsShowsTheStoreAndOkStoresEachOptionInItsScope) {
    dlgSettings settings(*owner, kSettingsDialogId);
    RunDriven(settings, [&](HWND d) {
        EXPECT_TRUE(Checked(d, 2001)) << "on by default";
        EXPECT_TRUE(Checked(d, 2003));
        Click(d, 2001);
        Click(d, 2005);
    });
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), 0);
    EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), 1);
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kUserScope), -7) << "only in scope 0";

    dlgSettings again(*owner, kSettingsDialogId);
    RunDriven(again, [&](HWND d) {
        EXPECT_FALSE(Checked(d, 2001)) << "what was stored";
        Click(d, 2001);
        Click(d, 2003);
        Click(d, 2005);
    });
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), 1);
    EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), 0);
}

TEST_F(ServiceDialogTest, SettingsEndedWithoutOkStoresNothing) {
    const struct {
        const char* name;
        void (*end)(HWND);
    } ways[] = {
        {"Cancel", [](HWND d) { Click(d, IDCANCEL); }},
        {"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
        {"Enter, Cancel being the default button", [](HWND d) { PressKey(d, VK_RETURN); }},
        {"close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        dlgSettings settings(*owner, kSettingsDialogId);
        EXPECT_EQ(RunDriven(settings,
                            [&](HWND d) {
                                Click(d, 2001);
                                Click(d, 2003);
                                SetFocus(GetDlgItem(d, 2001));
                                way.end(d);
                            }),
                  IDCANCEL);
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), -7);
        EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), -7);
    }
}

// The previews the build places beside the program are 600 x 400 pictures.
class PreviewTest : public ServiceDialogTest {
  protected:
    void SetUp() override {
        ServiceDialogTest::SetUp();
        GetCurrentDirectoryW(MAX_PATH, previous);
        ASSERT_TRUE(SetCurrentDirectoryW(L"Z:" VELKARO_PREVIEWS_DIR L"\\.."));
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous);
        ServiceDialogTest::TearDown();
    }
    wchar_t previous[MAX_PATH] = {};
};

TEST_F(PreviewTest, APictureSizesTheDialogCentredOnItsOwnerAndAClickClosesIt) {
    dlgPreview preview(*owner, kPreviewDialogId, "312", u" - Registered owner");
    preview.closeOnClick();
    const INT_PTR result = RunDriven(preview, [&](HWND d) {
        EXPECT_EQ(WindowText(d), L"Preview - Registered owner");
        const RECT r = WindowRectOf(d);
        EXPECT_EQ(r.right - r.left, 616);
        EXPECT_EQ(r.bottom - r.top, 440);
        EXPECT_EQ(r.left, 100 + (916 - 616) / 2);
        EXPECT_EQ(r.top, 100 + (640 - 440) / 2);
        PostMessageW(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(PreviewTest, CentredOffTheScreenTheDialogKeepsItsPlaceAndTakesThePicturesSize) {
    DestroyWindow(owner->window);
    owner = MakeOwner(-700);
    dlgPreview preview(*owner, kPreviewDialogId, "10", u"");
    RunDriven(preview, [&](HWND d) {
        EXPECT_EQ(WindowText(d), L"Preview");
        const RECT r = WindowRectOf(d);
        EXPECT_EQ(r.right - r.left, 616);
        EXPECT_GE(r.left, 0) << "not at -700 + (916 - 616) / 2";
        PressKey(d, VK_ESCAPE);
    });
}

TEST_F(PreviewTest, WithoutItsPictureNoPreviewShowsAtTheTemplateSizeAndEscapeCloses) {
    dlgPreview preview(*owner, kPreviewDialogId, "999", u" - Nothing");
    const INT_PTR result = RunDriven(preview, [&](HWND d) {
        RECT client{}, units{0, 0, 228, 160};
        GetClientRect(d, &client);
        MapDialogRect(d, &units);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);
        // "No preview" in black on white, 399 x 300 at the client origin.
        EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, RGB(0, 0, 0)), 100);
        EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, RGB(255, 255, 255)), 20000);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
}

} // namespace
