// The Import and Export dialog through its picker seam, and the main window's dialog and
// update commands, in-process under Wine.
#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "engine/text.h"
#include "services/app_data_store.h"
#include "settings/dlg_import_export.h"
#include "tests/support/test_folder.h"
#include "tests/ui/dialog_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Environment(const char* name) {
    char value[512] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? value : "";
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
std::wstring ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

class ImportExportDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, folder.path().c_str());
        SetTestVariable(kUserRootVariable, folder.path().c_str());
        owner = MakeOwner();
        ASSERT_NE(owner, nullptr);
    }
    dlgImportExport::Picker returns(std::u16string path) {
        return [path](HWND, const std::u16string& filter) {
            EXPECT_EQ(filter, u"Velkarostrandemilquorbenix data file (*.vlkd)");
            return path;
        };
    }
    TestFolder folder;
    std::unique_ptr<UICore> owner;
};

TEST_F(ImportExportDialogTest, ConfirmWithNothingPickedKeepsTheDialogOpen) {
    dlgImportExport dialog(*owner, returns(u""), returns(u""));
    dialog.loadRichEdit(true);
    bool stillOpen = false;
    const INT_PTR result = RunDriven(dialog, [&](HWND d) {
        Click(d, 6009);
        Click(d, 6003); // a cancelled picker changes nothing
        Click(d, 6009);
        stillOpen = IsWindow(d) && IsWindowVisible(d);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(owner->dialogResult, -1) << "closing chooses nothing";
}

TEST_F(ImportExportDialogTest, TheLastPickDecidesAndConfirmLeavesItWithTheOwner) {
    dlgImportExport dialog(*owner, returns(u"C:\\in.vlkd"), returns(u"C:\\out.vlkd"));
    dialog.loadRichEdit(true);
    std::wstring afterImport, afterExport, importField;
    RunDriven(dialog, [&](HWND d) {
        Click(d, 6003);
        afterImport = ItemText(d, 6009);
        Click(d, 6006);
        afterExport = ItemText(d, 6009);
        importField = ItemText(d, 6002);
        EXPECT_EQ(ItemText(d, 6005), L"C:\\out.vlkd");
        Click(d, 6009);
    });
    EXPECT_EQ(afterImport, L"Import");
    EXPECT_EQ(afterExport, L"Export");
    EXPECT_EQ(importField, L"");
    EXPECT_EQ(owner->dialogResult, 1);
    EXPECT_EQ(owner->dialogText, u"C:\\out.vlkd");
    char stored[64] = {};
    GetStoreText(stored, sizeof stored, kLastDataFileKey, "", kUserScope);
    EXPECT_STREQ(stored, "C:\\out.vlkd");

    dlgImportExport again(*owner, returns(u"C:\\in.vlkd"), returns(u""));
    again.loadRichEdit(true);
    owner->resetDialogResult();
    RunDriven(again, [&](HWND d) { Click(d, 6003), Click(d, 6009); });
    EXPECT_EQ(owner->dialogResult, 0);
    EXPECT_EQ(owner->dialogText, u"C:\\in.vlkd");
}

TEST_F(ImportExportDialogTest, TheSwitchShowsTheExplanationInsteadOfTheGroups) {
    dlgImportExport dialog(*owner, returns(u""), returns(u""));
    dialog.loadRichEdit(true);
    RunDriven(dialog, [&](HWND d) {
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, 6007)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 6001)));
        EXPECT_EQ(ItemText(d, 6007).size(), 292u);
        Click(d, 6008);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 6007)));
        for (int id : {6001, 6002, 6003, 6004, 6005, 6006, 6009})
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, id))) << id;
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 6008)));
        Click(d, 6008);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, 6007)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, 6009)));
        PressKey(d, VK_ESCAPE);
    });
}

class WindowCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, folder.path().c_str());
        SetTestVariable(kUserRootVariable, folder.path().c_str());
        ServiceEndpoint nobody{};
        ASSERT_TRUE(ParseServiceBase(u"http://127.0.0.1:9/none", nobody));
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                              u"Velkarostrandemilquorbenix", nobody);
    }
    void TearDown() override {
        DestroyWindow(window->window);
        PumpMessages();
    }
    void clickPreview(const char* name) {
        HWND button = nullptr;
        const UIControlSet* set = window->controlSet(ControlKind::Button);
        if (auto found = set->entries().find(name); found != set->entries().end())
            button = found->second.handle;
        ASSERT_NE(button, nullptr) << name;
        SendClick(window->window, button);
    }
    TestFolder folder;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowCommandsTest, PreviewButtonsOpenTheirPictureWithTheTweaksCaption) {
    const struct {
        const char* button;
        const wchar_t* caption;
    } cases[] = {
        {"btnPreview3_13", L"Preview - Registered organization"},
        {"btnPreview1_2", L"Preview - Taskbar thumbnail delay time"},
        {"btnPreview1_0", L"Preview - Turn off thumbnail live preview"},
    };
    for (const auto& c : cases) {
        ModalWatcher watcher;
        watcher.watch([&] { clickPreview(c.button); });
        EXPECT_EQ(watcher.caption, c.caption) << c.button;
    }
}

TEST_F(WindowCommandsTest, EveryPreviewButtonOpensItsPreview) {
    const UIControlSet* buttons = window->controlSet(ControlKind::Button);
    int opened = 0;
    for (const auto& [name, entry] : buttons->entries()) {
        if (name.rfind("btnPreview", 0) != 0) continue;
        ModalWatcher watcher;
        watcher.watch([&] { SendClick(window->window, entry.handle); });
        EXPECT_EQ(watcher.caption.rfind(L"Preview - ", 0), 0u) << name;
        ++opened;
    }
    EXPECT_EQ(opened, 41);
}

TEST_F(WindowCommandsTest, AFailedImportSaysSoWithItsCodeAndReportsToTheWindowsService) {
    ServiceEndpoint standIn{};
    ASSERT_TRUE(
        ParseServiceBase(fromUtf8(Environment("VELKARO_TEST_SERVICE") + "/imports"), standIn))
        << "run through tests/services/with_stand_in.sh";
    MainWindow reporting(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix", standIn);
    ModalWatcher watcher{{}, {}, IDOK};
    watcher.watch([&] { RunImportExport(reporting, 0, u"C:\\no-such-folder\\x.vlkd"); });
    EXPECT_EQ(watcher.caption, L"Import");
    EXPECT_EQ(watcher.text, L"Cannot import settings. Error code: 1");
    EXPECT_EQ(reporting.dialogResult, -1);
    // The stand-in keeps each report it is sent; the missing file is record 51 with errno 2.
    std::ifstream report("Z:" + Environment("VELKARO_TEST_STATE") + "/imports-1.body");
    const std::string body((std::istreambuf_iterator<char>(report)), {});
    EXPECT_NE(body.find("&trail=51:2;"), std::string::npos) << body;
    DestroyWindow(reporting.window);
    PumpMessages();
}

TEST_F(WindowCommandsTest, CheckForUpdateTellsEachAnswerOfTheService) {
    const std::string base = Environment("VELKARO_TEST_SERVICE");
    ASSERT_FALSE(base.empty()) << "run through tests/services/with_stand_in.sh";
    // No start-up check: only the command asks the service.
    ASSERT_EQ(SetStoreInt(kCheckForUpdatesKey, 0, kMachineScope), 0);
    const struct {
        const char* answer;
        int reply;
        const wchar_t* text;
    } cases[] = {
        {"zero", IDOK, L"You are using the latest version of Velkarostrandemilquorbenix."},
        {"one", IDNO, L"New version available. Would you like to download it."},
        {"error", IDOK, L"Service is currently unavailable."},
    };
    for (const auto& c : cases) {
        ServiceEndpoint endpoint{};
        ASSERT_TRUE(ParseServiceBase(fromUtf8(base + "/" + c.answer), endpoint));
        MainWindow asking(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix", endpoint);
        ModalWatcher watcher{{}, {}, c.reply};
        watcher.watch([&] { asking.onCheckForUpdate(); });
        EXPECT_EQ(watcher.text, c.text) << c.answer;
        EXPECT_TRUE(IsWindow(asking.window)) << "No keeps the program running";
        DestroyWindow(asking.window);
        PumpMessages();
    }
}

TEST_F(WindowCommandsTest, CheckForUpdateWithoutTheServiceSaysItIsUnavailable) {
    ModalWatcher watcher{{}, {}, IDOK};
    watcher.watch([&] { window->onCheckForUpdate(); });
    EXPECT_EQ(watcher.caption, L"Velkarostrandemilquorbenix");
    EXPECT_EQ(watcher.text, L"Service is currently unavailable.");
}

TEST_F(WindowCommandsTest, AboutSettingsAndImportExportOpenTheirDialogs) {
    const struct {
        std::function<void()> command;
        const wchar_t* caption;
    } cases[] = {
        {[&] { window->openAbout(); }, nullptr},
        {[&] { window->openSettings(); }, nullptr},
        {[&] { window->openImportExport(); }, L"Import and Export"},
    };
    for (const auto& c : cases) {
        ModalWatcher watcher;
        watcher.watch(c.command);
        EXPECT_FALSE(watcher.caption.empty()) << "no dialog came up";
        if (c.caption) {
            EXPECT_EQ(watcher.caption, c.caption);
        }
    }
    EXPECT_EQ(window->dialogResult, -1) << "closing Import and Export imports nothing";
}

} // namespace
