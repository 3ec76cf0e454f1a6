// The About, Settings and Preview dialogs run modally over an owner window, with screenshots
// under "screenshots", and the preview pictures the build places beside the program.

#include "app/page_layout.h"
#include "services/app_data_store.h"
#include "services/dlg_about.h"
#include "services/dlg_preview.h"
#include "services/dlg_settings.h"
#include "tests/support/test_folder.h"
#include "tests/ui/dialog_test_support.h"

#include "engine/win32/wide.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

class ServiceDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner = MakeOwner();
        screenshots = CurrentFolder();
    }
    void TearDown() override {
        DestroyWindow(owner->window);
        PumpMessages();
    }
    std::unique_ptr<UICore> owner;
    std::wstring screenshots;
};

// Whether the text, drawn with the item's font, fits the item's width.
bool FitsItsItem(HWND item, const std::wstring& text) {
    RECT client{};
    GetClientRect(item, &client);
    return TextWidth(item, text) <= client.right;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

TEST_F(ServiceDialogTest, AboutShowsItsFontsIconAndEmailAndEndsWithOk) {
    dlgAbout about(*owner, kAboutDialogId);
    const INT_PTR result = RunDriven(about, [&](HWND d) {
        EXPECT_EQ(WindowText(d), L"About");
        EXPECT_EQ(about.paintMode(), PaintMode::Icon);
        EXPECT_EQ(about.paintResourceId(), kAboutIconId);
        EXPECT_EQ(FontOf(GetDlgItem(d, 1001)).lfHeight, -22);
        EXPECT_EQ(FontOf(GetDlgItem(d, 1002)).lfHeight, -14);
        for (int id : {1004, 1006, 1008})
            EXPECT_EQ(FontOf(GetDlgItem(d, id)).lfWeight, FW_BOLD) << id;
        EXPECT_NE(FontOf(GetDlgItem(d, 1005)).lfWeight, FW_BOLD);
        EXPECT_TRUE(FitsItsItem(GetDlgItem(d, 1001), WindowText(GetDlgItem(d, 1001))));

        // The e-mail field: selectable, not editable.
        const HWND email = GetDlgItem(d, 1009);
        EXPECT_EQ(WindowText(email), AsWide(kSupportEmailAddress));
        SendMessageW(email, EM_SETSEL, 0, -1);
        DWORD first = 1, last = 0;
        SendMessageW(email, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                     reinterpret_cast<LPARAM>(&last));
        EXPECT_EQ(first, 0u);
        EXPECT_EQ(last, wcslen(AsWide(kSupportEmailAddress)));
        SendMessageW(email, WM_CHAR, L'x', 0);
        SendMessageW(email, WM_CLEAR, 0, 0);
        EXPECT_EQ(WindowText(email), AsWide(kSupportEmailAddress));

        InvalidateRect(d, nullptr, TRUE);
        Settle(d);
        SaveScreenshot(d, screenshots, L"dialog-about");
        SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, IDOK);
}

class SettingsDialogTest : public ServiceDialogTest {
  protected:
    void SetUp() override {
        ServiceDialogTest::SetUp();
        ASSERT_FALSE(machine.path().empty());
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    void TearDown() override {
        SetTestVariable(kMachineRootVariable, nullptr);
        SetTestVariable(kUserRootVariable, nullptr);
        ServiceDialogTest::TearDown();
    }
    static bool Checked(HWND d, int id) {
        return SendDlgItemMessageW(d, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static void Click(HWND d, int id) { SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0); }
    TestFolder machine;
    TestFolder user;
};

TEST_F(SettingsDialogTest, WithoutAStoreBothAreCheckedAndOkStoresWhatIsShown) {
    dlgSettings settings(*owner, kSettingsDialogId);
    const INT_PTR result = RunDriven(settings, [&](HWND d) {
        EXPECT_TRUE(Checked(d, 2001));
        EXPECT_TRUE(Checked(d, 2003));
        EXPECT_TRUE(FitsItsItem(GetDlgItem(d, 2004), L"What data are collected"));
        Settle(d);
        SaveScreenshot(d, screenshots, L"dialog-settings");
        Click(d, 2001);
        EXPECT_FALSE(Checked(d, 2001));
        Click(d, 2005);
    });
    EXPECT_EQ(result, IDCANCEL) << "OK stores and closes the dialog";
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), 0);
    EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), 1);
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kUserScope), -7) << "only in scope 0";

    // The next opening shows what was stored.
    dlgSettings again(*owner, kSettingsDialogId);
    RunDriven(again, [&](HWND d) {
        EXPECT_FALSE(Checked(d, 2001));
        EXPECT_TRUE(Checked(d, 2003));
        Click(d, 2003);
        Click(d, 2001);
        Click(d, 2005);
    });
    EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), 1);
    EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), 0);
}

TEST_F(SettingsDialogTest, CancelEscapeAndEnterStoreNothing) {
    struct Way {
        const char* name;
        void (*end)(HWND);
    };
    const Way ways[] = {
        {"Cancel", [](HWND d) { Click(d, IDCANCEL); }},
        {"Escape", [](HWND d) { PressKey(d, VK_ESCAPE); }},
        {"Enter (Cancel is the default button)", [](HWND d) { PressKey(d, VK_RETURN); }},
        {"close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        dlgSettings settings(*owner, kSettingsDialogId);
        const INT_PTR result = RunDriven(settings, [&](HWND d) {
            Click(d, 2001);
            Click(d, 2003);
            SetFocus(GetDlgItem(d, 2001));
            way.end(d);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), -7);
        EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), -7);
    }
}

class PreviewDialogTest : public ServiceDialogTest {
  protected:
    void SetUp() override {
        ServiceDialogTest::SetUp();
        ASSERT_FALSE(folder.path().empty());
        ASSERT_TRUE(SetCurrentDirectoryW(AsWide(folder.path().c_str())));
    }
    void TearDown() override {
        SetCurrentDirectoryW(screenshots.c_str());
        ServiceDialogTest::TearDown();
    }
    std::wstring picturePath(const wchar_t* name) const {
        CreateDirectoryW((std::wstring(AsWide(folder.path().c_str())) + L"\\previews").c_str(),
                         nullptr);
        return std::wstring(AsWide(folder.path().c_str())) + L"\\previews\\" + name + L".png";
    }
    TestFolder folder;
};

TEST_F(PreviewDialogTest, APictureSizesTheDialogCentredOnItsOwnerAndIsReadOnEveryPaint) {
    ASSERT_TRUE(WritePng(picturePath(L"77"), 600, 400));
    dlgPreview preview(*owner, kPreviewDialogId, "77", u" - Registered owner");
    EXPECT_EQ(preview.paintMode(), PaintMode::PictureFile);
    EXPECT_EQ(preview.picturePath(), u"previews\\77.png");
    preview.closeOnClick();
    const INT_PTR result = RunDriven(preview, [&](HWND d) {
        EXPECT_EQ(WindowText(d), L"Preview - Registered owner");
        Settle(d);
        RECT r = WindowRectOf(d);
        EXPECT_EQ(r.right - r.left, 616);
        EXPECT_EQ(r.bottom - r.top, 440);
        EXPECT_EQ(r.left, 100 + (916 - 616) / 2);
        EXPECT_EQ(r.top, 100 + (640 - 440) / 2);
        EXPECT_GT(CountPixels(d, {0, 0, 600, 400}, RGB(0x33, 0x66, 0xCC)), 50000)
            << "the picture is drawn";

        // Another picture under the same name is read at the next paint.
        ASSERT_TRUE(WritePng(picturePath(L"77"), 300, 200));
        InvalidateRect(d, nullptr, TRUE);
        Settle(d);
        r = WindowRectOf(d);
        EXPECT_EQ(r.right - r.left, 316);
        EXPECT_EQ(r.bottom - r.top, 240);

        PostMessageW(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
    });
    EXPECT_EQ(result, IDOK) << "a click closes it";
}

TEST_F(PreviewDialogTest, APictureTooLargeForTheScreenKeepsTheDialogsPlace) {
    ASSERT_TRUE(WritePng(picturePath(L"88"), 1300, 1000));
    dlgPreview preview(*owner, kPreviewDialogId, "88", u"");
    RunDriven(preview, [&](HWND d) {
        EXPECT_EQ(WindowText(d), L"Preview");
        const RECT before = WindowRectOf(d);
        Settle(d);
        const RECT r = WindowRectOf(d);
        EXPECT_EQ(r.right - r.left, 1316);
        EXPECT_EQ(r.bottom - r.top, 1040);
        EXPECT_EQ(r.left, before.left);
        EXPECT_EQ(r.top, before.top);
        PressKey(d, VK_ESCAPE);
    });
}

TEST_F(PreviewDialogTest, WithoutThePictureNoPreviewShowsAtTheTemplateSize) {
    dlgPreview preview(*owner, kPreviewDialogId, "312", u" - Registered owner");
    EXPECT_EQ(preview.paintMode(), PaintMode::Bitmap);
    EXPECT_EQ(preview.paintResourceId(), kNoPreviewBitmapId);
    preview.closeOnClick();
    const INT_PTR result = RunDriven(preview, [&](HWND d) {
        EXPECT_EQ(WindowText(d), L"Preview - Registered owner");
        Settle(d);
        RECT client{};
        GetClientRect(d, &client);
        const RECT template_ = DialogUnits(d, 0, 0, 228, 160);
        EXPECT_EQ(client.right, template_.right);
        EXPECT_EQ(client.bottom, template_.bottom);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL) << "Escape closes it too";
}

// Every preview button of the main window has its picture beside the program.
TEST_F(PreviewDialogTest, EveryPreviewButtonHasItsPictureBesideTheProgram) {
    const std::wstring previews = L"Z:" VELKARO_PREVIEWS_DIR;
    std::set<std::string> names;
    for (const LayoutRow& row : MainWindowLayout()) {
        if (row.action != Action::Preview) continue;
        for (int n = 0; n < (row.count == 0 ? 1 : row.count); ++n) {
            const std::string button = LayoutControlAt(row, n).name;
            ASSERT_EQ(button.rfind("btnPreview", 0), 0u) << button;
            std::string picture = button.substr(10);
            picture.erase(picture.find('_'), 1);
            EXPECT_TRUE(names.insert(picture).second) << "picture names never collide";
            const SIZE size = PictureSize(previews + L"\\" +
                                          std::wstring(picture.begin(), picture.end()) + L".png");
            EXPECT_EQ(size.cx, 600) << picture;
            EXPECT_EQ(size.cy, 400) << picture;
        }
    }
    EXPECT_EQ(names.size(), 41u);

    // The Preview dialog with a real picture, run from the program's folder.
    ASSERT_TRUE(SetCurrentDirectoryW((previews + L"\\..").c_str()));
    dlgPreview preview(*owner, kPreviewDialogId, "312", u" - Registered owner");
    EXPECT_EQ(preview.paintMode(), PaintMode::PictureFile);
    RunDriven(preview, [&](HWND d) {
        Settle(d);
        SaveScreenshot(d, screenshots, L"dialog-preview");
        PressKey(d, VK_ESCAPE);
    });
    SetCurrentDirectoryW(screenshots.c_str());
    dlgPreview none(*owner, kPreviewDialogId, "999", u"");
    RunDriven(none, [&](HWND d) {
        Settle(d);
        SaveScreenshot(d, screenshots, L"dialog-preview-none");
        PressKey(d, VK_ESCAPE);
    });
}

} // namespace
