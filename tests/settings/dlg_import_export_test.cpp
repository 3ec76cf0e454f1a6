// The Import and Export dialog, with pickers of the test's own in place of the system's.

#include "services/app_data_store.h"
#include "settings/dlg_import_export.h"
#include "tests/support/test_folder.h"
#include "tests/ui/dialog_test_support.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <string>

namespace {

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}
std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

class ImportExportDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { SetTestVariable(kUserRootVariable, folder.path().c_str()); }
    void TearDown() override {
        DestroyWindow(owner->window);
        PumpMessages();
    }
    // Runs the dialog with pickers that return these paths; the owner's outcome is reset first.
    INT_PTR run(const std::u16string& open, const std::u16string& save,
                const std::function<void(HWND)>& drive) {
        auto picker = [](std::u16string path) {
            return [path](HWND, const std::u16string& filter) {
                EXPECT_EQ(filter, u"Velkarostrandemilquorbenix data file (*.vlkd)");
                return path;
            };
        };
        owner->resetDialogResult();
        dlgImportExport dialog(*owner, picker(open), picker(save));
        dialog.loadRichEdit(true);
        return RunDriven(dialog, drive);
    }
    TestFolder folder;
    std::unique_ptr<UICore> owner = MakeOwner();
};

TEST_F(ImportExportDialogTest, TheLastPickDecidesAndConfirmLeavesItWithTheOwner) {
    EXPECT_EQ(run(u"", u"",
                  [&](HWND d) {
                      Click(d, 6009);
                      Click(d, 6003); // a cancelled picker changes nothing
                      Click(d, 6009);
                      EXPECT_TRUE(IsWindowVisible(d)) << "nothing picked: it stays open";
                      PressKey(d, VK_ESCAPE);
                  }),
              IDCANCEL);
    EXPECT_EQ(owner->dialogResult, -1) << "closing chooses nothing";

    run(u"C:\\in.vlkd", u"C:\\out.vlkd", [&](HWND d) {
        Click(d, 6003);
        EXPECT_EQ(ItemText(d, 6009), L"Import");
        Click(d, 6006);
        EXPECT_EQ(ItemText(d, 6009), L"Export");
        EXPECT_EQ(ItemText(d, 6002), L"") << "the import path goes";
        EXPECT_EQ(ItemText(d, 6005), L"C:\\out.vlkd");
        Click(d, 6009);
    });
    EXPECT_EQ(owner->dialogResult, 1);
    EXPECT_EQ(owner->dialogText, u"C:\\out.vlkd");
    char stored[64] = {};
    GetStoreText(stored, sizeof stored, kLastDataFileKey, "", kUserScope);
    EXPECT_STREQ(stored, "C:\\out.vlkd");

    run(u"C:\\in.vlkd", u"", [&](HWND d) { Click(d, 6003), Click(d, 6009); });
    EXPECT_EQ(owner->dialogResult, 0);
    EXPECT_EQ(owner->dialogText, u"C:\\in.vlkd");
}

TEST_F(ImportExportDialogTest, TheSwitchShowsTheExplanationWithItsNoteInBold) {
    run(u"", u"", [&](HWND d) {
        const HWND text = GetDlgItem(d, 6007);
        EXPECT_FALSE(IsWindowVisible(text));
        Click(d, 6008);
        EXPECT_TRUE(IsWindowVisible(text));
        for (int id : {6001, 6002, 6003, 6004, 6005, 6006, 6009})
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, id))) << id;
        auto bold = [&](LONG first, LONG last) {
            CHARRANGE range{first, last};
            SendMessageW(text, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
            CHARFORMAT2W format{};
            format.cbSize = sizeof(format);
            SendMessageW(text, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
            return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
        };
        wchar_t note[6] = {};
        TEXTRANGEW range{{220, 225}, note};
        SendMessageW(text, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        EXPECT_STREQ(note, L"Note:");
        EXPECT_TRUE(bold(220, 225));
        EXPECT_FALSE(bold(0, 10));
        Click(d, 6008);
        EXPECT_FALSE(IsWindowVisible(text));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 6009)));
        PressKey(d, VK_ESCAPE);
    });
}

} // namespace
