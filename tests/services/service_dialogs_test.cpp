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

TEST_F(ServiceDialogTest, AboutShowsItsFontsIconAndAnEmailThatCannotBeEditedAndEndsWithOk) {
    dlgAbout about(*owner, kAboutDialogId);
    EXPECT_EQ(RunDriven(about,
                        [&](HWND d) {
                            auto font = [&](int id) {
                                LOGFONTW f{};
                                GetObjectW(reinterpret_cast<HFONT>(
                                               SendDlgItemMessageW(d, id, WM_GETFONT, 0, 0)),
                                           sizeof f, &f);
                                return f;
                            };
                            EXPECT_EQ(font(1001).lfHeight, -22);
                            EXPECT_EQ(font(1002).lfHeight, -14);
                            for (int id : {1004, 1006, 1008})
                                EXPECT_EQ(font(id).lfWeight, FW_BOLD) << id;
                            const COLORREF ground = GetSysColor(COLOR_BTNFACE);
                            EXPECT_LT(CountPixels(d, {20, 20, 68, 68}, ground), 24 * 12);
                            EXPECT_EQ(CountPixels(d, {0, 0, 18, 18}, ground), 9 * 9);
                            const HWND email = GetDlgItem(d, 1009);
                            SendMessageW(email, WM_CHAR, L'x', 0);
                            EXPECT_EQ(WindowText(email), L"support@quenorith.example");
                            SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
                        }),
              IDOK);
}

bool Checked(HWND d, int id) {
    return SendDlgItemMessageW(d, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Each round shows the two boxes, clicks some, and ends the dialog: only OK stores, each option
// in its own scope, and the next round shows what was stored. Enter is Cancel, the default.
TEST_F(ServiceDialogTest, SettingsShowsTheStoreAndOnlyOkStoresEachOptionInItsScope) {
    const struct {
        bool shownUpdates, shownReports;
        std::vector<int> clicks;
        bool key;
        int end;
        int storedUpdates, storedReports;
    } rounds[] = {
        {true, true, {2001, 2003}, true, VK_ESCAPE, -7, -7},
        {true, true, {2001, 2003}, true, VK_RETURN, -7, -7},
        {true, true, {2001}, false, 2005, 0, 1},
        {false, true, {2003, 2001}, false, IDCANCEL, 0, 1},
        {false, true, {2003, 2001}, false, 2005, 1, 0},
    };
    for (const auto& r : rounds) {
        SCOPED_TRACE(testing::Message() << "ended with " << r.end);
        dlgSettings settings(*owner, kSettingsDialogId);
        RunDriven(settings, [&](HWND d) {
            EXPECT_EQ(Checked(d, 2001), r.shownUpdates);
            EXPECT_EQ(Checked(d, 2003), r.shownReports);
            for (int id : r.clicks)
                SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0);
            SetFocus(GetDlgItem(d, 2001));
            if (r.key)
                PressKey(d, r.end);
            else
                SendMessageW(GetDlgItem(d, r.end), BM_CLICK, 0, 0);
        });
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), r.storedUpdates);
        EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), r.storedReports);
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kUserScope), -7) << "only in scope 0";
    }
}

// The previews the build places beside the program are 600 x 400 pictures: the dialog takes
// their size and is centred on its owner where that fits on the screen, and keeps its place
// where not. Without its picture it shows "No preview" at its template size.
TEST_F(ServiceDialogTest, APreviewTakesItsPicturesSizeOrShowsNoPreview) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:" VELKARO_PREVIEWS_DIR L"\\.."));
    const struct {
        const char* picture;
        int ownerX;
        int width, left;
        INT_PTR result;
    } rows[] = {{"312", 100, 616, 100 + (916 - 616) / 2, IDOK},
                {"10", -700, 616, -1, IDOK},
                {"999", 100, 0, -1, IDCANCEL}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.picture);
        DestroyWindow(owner->window);
        owner = MakeOwner(row.ownerX);
        dlgPreview preview(*owner, kPreviewDialogId, row.picture, u" - Registered owner");
        preview.closeOnClick();
        EXPECT_EQ(RunDriven(preview,
                            [&](HWND d) {
                                EXPECT_EQ(WindowText(d), L"Preview - Registered owner");
                                RECT r{}, client{}, units{0, 0, 228, 160};
                                GetWindowRect(d, &r);
                                GetClientRect(d, &client);
                                MapDialogRect(d, &units);
                                if (row.width) {
                                    EXPECT_EQ(r.right - r.left, row.width);
                                    EXPECT_EQ(r.bottom - r.top, 440);
                                    EXPECT_EQ(r.left, row.left < 0 ? r.left : row.left);
                                    EXPECT_GE(r.left, 0) << "kept its place on the screen";
                                    PostMessageW(d, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                                    return;
                                }
                                EXPECT_EQ(client.right, units.right);
                                EXPECT_EQ(client.bottom, units.bottom);
                                EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, 0), 100);
                                EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, 0xFFFFFF), 20000);
                                PressKey(d, VK_ESCAPE);
                            }),
                  row.result);
    }
    SetCurrentDirectoryW(previous);
}

} // namespace
