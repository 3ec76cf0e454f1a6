// The program's dialogs run modally over an owner window, and the window's commands that talk to
// its own service (the stand-in).

#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "engine/text.h"
#include "services/app_data_store.h"
#include "services/dlg_about.h"
#include "services/dlg_preview.h"
#include "services/dlg_settings.h"
#include "settings/dlg_import_export.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"
#include "ui/ui_core.h"
#include "ui/ui_dialog.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// Runs the dialog modally and calls drive with its window once it is up; the dialog's result.
INT_PTR RunDriven(UIDialog& dialog, const std::function<void(HWND)>& drive) {
    INT_PTR result = 0;
    int driven = 0;
    DriveModal([&] { result = dialog.run(); }, [&](HWND d) { driven++ ? void() : drive(d); });
    EXPECT_EQ(driven, 1) << "the dialog came up once";
    return result;
}

void PressKey(HWND dialog, WPARAM key) {
    PostMessageW(dialog, WM_KEYDOWN, key, 0);
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Counts the pixels of the colour in the client area, every second one in each direction.
int CountPixels(HWND window, const RECT& area, COLORREF colour) {
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = area.top; y < area.bottom; y += 2)
        for (int x = area.left; x < area.right; x += 2)
            count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

// An owner shown at (x, 100) in 916 x 640 like the main window, and the store's folders.
class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
        placeOwner(100);
    }
    void TearDown() override {
        DestroyWindow(owner->window);
        PumpMessages();
    }
    void placeOwner(int x) {
        if (owner) DestroyWindow(owner->window);
        owner = std::make_unique<UICore>(GetModuleHandleW(nullptr), u"Owner", 916, 640, 100, 101);
        SetWindowPos(owner->window, HWND_TOP, x, 100, 916, 640, SWP_SHOWWINDOW);
        PumpMessages();
    }
    TestFolder machine, user;
    std::unique_ptr<UICore> owner;
};

// A URL scheme of the test's own, whose "open" command appends the address it is given to a
// file, shows what a link opened: the first address registered, on a click and on Enter only.
TEST_F(DialogTest, AboutHasItsFontsAndAFixedEmailAndALinkOpensItsFirstAddress) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string file = std::string(temp) + "velkaro-opened.txt";
    const std::wstring command =
        L"cmd.exe /c echo %1>>\"" + std::wstring(file.begin(), file.end()) + L"\"";
    DeleteFileA(file.c_str());
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"velkarotest", L"URL Protocol", REG_SZ, L"", 2);
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"velkarotest\\shell\\open\\command", nullptr, REG_SZ,
                    command.c_str(), static_cast<DWORD>((command.size() + 1) * 2));
    // The addresses opened so far, once there are n of them (at most 10 s later).
    auto opened = [&](int n) {
        std::string lines;
        for (int waited = 0; std::count(lines.begin(), lines.end(), '\n') < n && waited < 10000;
             waited += 50, Sleep(50))
            lines = FileText(file);
        lines.erase(std::remove_if(lines.begin(), lines.end(),
                                   [](char c) { return c == ' ' || c == '\r'; }),
                    lines.end());
        return lines;
    };
    auto notify = [](HWND d, int id, int code) {
        NMHDR header{GetDlgItem(d, id), static_cast<UINT_PTR>(id), static_cast<UINT>(code)};
        SendMessageW(d, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
    };
    dlgAbout about(*owner, kAboutDialogId);
    EXPECT_EQ(RunDriven(about,
                        [&](HWND d) {
                            auto font = [&](int id) {
                                LOGFONTW f{};
                                GetObjectW((HGDIOBJ)SendDlgItemMessageW(d, id, WM_GETFONT, 0, 0),
                                           sizeof f, &f);
                                return f;
                            };
                            EXPECT_EQ(font(1001).lfHeight, -22);
                            EXPECT_EQ(font(1002).lfHeight, -14);
                            for (int id : {1004, 1006, 1008})
                                EXPECT_EQ(font(id).lfWeight, FW_BOLD) << id;
                            SendDlgItemMessageW(d, 1009, WM_CHAR, L'x', 0);
                            EXPECT_EQ(WindowText(GetDlgItem(d, 1009)),
                                      L"support@quenorith.example");
                            about.addLink(1004, u"velkarotest:double", nullptr);
                            about.addLink(1006, u"velkarotest:first", nullptr);
                            about.addLink(1006, u"velkarotest:second", nullptr);
                            notify(d, 1006, NM_CLICK);
                            EXPECT_EQ(opened(1), "velkarotest:first\n");
                            notify(d, 1004, NM_DBLCLK);
                            notify(d, 1006, NM_RETURN);
                            EXPECT_EQ(opened(2), "velkarotest:first\nvelkarotest:first\n");
                            Click(d, IDOK);
                        }),
              IDOK);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"velkarotest");
    DeleteFileA(file.c_str());
}

// Each round shows the two boxes, clicks some, and ends the dialog: only OK stores, each option
// in its own scope, and the next round shows what was stored. Enter is Cancel, the default.
TEST_F(DialogTest, SettingsShowsTheStoreAndOnlyOkStoresEachOptionInItsScope) {
    const struct {
        bool shownUpdates;
        std::vector<int> clicks;
        bool key;
        int end, storedUpdates, storedReports;
    } rounds[] = {
        {true, {2001, 2003}, true, VK_ESCAPE, -7, -7},
        {true, {2001}, false, 2005, 0, 1},
        {false, {2003, 2001}, true, VK_RETURN, 0, 1},
        {false, {2003, 2001}, false, 2005, 1, 0},
    };
    for (const auto& r : rounds) {
        SCOPED_TRACE(testing::Message() << "ended with " << r.end);
        dlgSettings settings(*owner, kSettingsDialogId);
        RunDriven(settings, [&](HWND d) {
            EXPECT_EQ(SendDlgItemMessageW(d, 2001, BM_GETCHECK, 0, 0), r.shownUpdates);
            EXPECT_EQ(SendDlgItemMessageW(d, 2003, BM_GETCHECK, 0, 0), BST_CHECKED);
            for (int id : r.clicks)
                Click(d, id);
            SetFocus(GetDlgItem(d, 2001));
            r.key ? PressKey(d, r.end) : Click(d, r.end);
        });
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), r.storedUpdates);
        EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), r.storedReports);
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kUserScope), -7) << "only in scope 0";
    }
}

// The previews beside the program are 600 x 400: the dialog takes their size, centred on its owner
// where that fits on the screen; without its picture it shows "No preview" at its template size.
TEST_F(DialogTest, APreviewTakesItsPicturesSizeOrShowsNoPreview) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:" VELKARO_PREVIEWS_DIR L"\\.."));
    const struct {
        const char* picture;
        int ownerX, left;
        INT_PTR result;
    } rows[] = {
        {"312", 100, 100 + (916 - 616) / 2, IDOK}, {"10", -700, -1, IDOK}, {"999", 100, 0, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.picture);
        placeOwner(row.ownerX);
        dlgPreview preview(*owner, kPreviewDialogId, row.picture, u" - Registered owner");
        preview.closeOnClick();
        EXPECT_EQ(RunDriven(preview,
                            [&](HWND d) {
                                EXPECT_EQ(WindowText(d), L"Preview - Registered owner");
                                RECT r{}, client{}, units{0, 0, 228, 160};
                                GetWindowRect(d, &r);
                                GetClientRect(d, &client);
                                MapDialogRect(d, &units);
                                if (row.result == IDOK) {
                                    EXPECT_EQ(r.right - r.left, 616);
                                    EXPECT_EQ(r.bottom - r.top, 440);
                                    EXPECT_EQ(r.left, row.left < 0 ? r.left : row.left);
                                    EXPECT_GE(r.left, 0) << "kept its place on the screen";
                                    return PostMessageW(d, WM_LBUTTONDOWN, MK_LBUTTON, 0), void();
                                }
                                EXPECT_TRUE(EqualRect(&client, &units));
                                EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, 0), 100);
                                EXPECT_GT(CountPixels(d, {0, 0, 399, 300}, 0xFFFFFF), 20000);
                                PressKey(d, VK_ESCAPE);
                            }),
                  row.result);
    }
    SetCurrentDirectoryW(previous);
}

// The switch shows the explanation, its "Note:" alone in bold; the last pick decides and
// confirming leaves the choice with the owner.
TEST_F(DialogTest, ImportExportExplainsWithABoldNoteAndTheLastPickDecides) {
    auto run = [&](std::u16string open, std::u16string save,
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
    };
    auto text = [](HWND d, int id) { return WindowText(GetDlgItem(d, id)); };
    EXPECT_EQ(
        run(u"", u"",
            [&](HWND d) {
                const HWND explanation = GetDlgItem(d, 6007);
                Click(d, 6008);
                EXPECT_TRUE(IsWindowVisible(explanation));
                EXPECT_FALSE(IsWindowVisible(GetDlgItem(d, 6009)));
                FINDTEXTEXW note{{0, -1}, L"Note:", {}};
                SendMessageW(explanation, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&note));
                auto bold = [&](CHARRANGE range) { // 1 bold, 0 not, -1 mixed
                    SendMessageW(explanation, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
                    CHARFORMAT2W f{};
                    f.cbSize = sizeof f;
                    SendMessageW(explanation, EM_GETCHARFORMAT, SCF_SELECTION,
                                 reinterpret_cast<LPARAM>(&f));
                    return (f.dwMask & CFM_BOLD) ? (f.dwEffects & CFE_BOLD) != 0 : -1;
                };
                EXPECT_EQ(note.chrgText.cpMax - note.chrgText.cpMin, 5);
                EXPECT_EQ(bold(note.chrgText), 1);
                EXPECT_EQ(bold({0, note.chrgText.cpMin}), 0);
                EXPECT_EQ(bold({note.chrgText.cpMax, -1}), 0);
                Click(d, 6008);
                EXPECT_FALSE(IsWindowVisible(explanation));
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
        EXPECT_EQ(text(d, 6009), L"Import");
        Click(d, 6006);
        EXPECT_EQ(text(d, 6009), L"Export");
        EXPECT_EQ(text(d, 6002), L"") << "the import path goes";
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

} // namespace

// A failed import says so with its code and reports its record to the window's own service, not
// to the built-in address; the update command says what that service answers (it answers a new
// version, then none), and No to the new version keeps the window open.
TEST(WindowAndItsService, AFailedImportReportsThereAndTheUpdateCommandTellsTheAnswer) {
    ServiceEndpoint standIn{};
    ASSERT_TRUE(ParseServiceBase(fromUtf8(Environment("VELKARO_TEST_SERVICE") + "/flip"), standIn))
        << "run through tests/services/with_stand_in.sh";
    TestFolder data;
    SetTestVariable(kMachineRootVariable, data.path().c_str());
    SetTestVariable(kUserRootVariable, data.path().c_str());
    ASSERT_EQ(SetStoreInt(kCheckForUpdatesKey, 0, kMachineScope), 0);
    MainWindow window(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix", standIn);
    Boxes boxes =
        AnswerBoxes([&] { RunImportExport(window, 0, u"C:\\no-such-folder\\x.vlkd"); }, IDOK);
    EXPECT_EQ(boxes.captions, std::vector<std::wstring>{L"Import"});
    EXPECT_EQ(boxes.texts, std::vector<std::wstring>{L"Cannot import settings. Error code: 1"});
    // The stand-in keeps each report it is sent; the missing file is record 51 with errno 2.
    const std::string body = FileText("Z:" + Environment("VELKARO_TEST_STATE") + "/flip-1.body");
    EXPECT_NE(body.find("&trail=51:2;"), std::string::npos) << body;

    boxes = AnswerBoxes([&] { window.onCheckForUpdate(); }, IDNO);
    PumpMessages();
    ASSERT_TRUE(IsWindow(window.window)) << "No keeps the window";
    const Boxes latest = AnswerBoxes([&] { window.onCheckForUpdate(); }, IDOK);
    boxes.texts.insert(boxes.texts.end(), latest.texts.begin(), latest.texts.end());
    EXPECT_EQ(boxes.texts,
              (std::vector<std::wstring>{
                  L"New version available. Would you like to download it.",
                  L"You are using the latest version of Velkarostrandemilquorbenix."}));
    DestroyWindow(window.window);
    PumpMessages();
}
