// Under Wine: the real WinINet requests against the local stand-in of the maker's services
// (started by with_stand_in.sh, which tells this test where it listens), the program's dialogs
// run modally over an owner window, and the window's commands that talk to its own service.

#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "engine/text.h"
#include "services/app_data_store.h"
#include "services/dlg_about.h"
#include "services/dlg_preview.h"
#include "services/dlg_settings.h"
#include "services/update_check.h"
#include "settings/dlg_import_export.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Environment(const char* name) {
    return std::getenv(name) ? std::getenv(name) : "";
}

// A file the stand-in wrote (through Wine's Z: drive) or any other.
std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The stand-in with the segment that picks its behaviour, a port nobody listens on, an https
// address that accepts connections and never answers, and the folder of what it was sent.
class ServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    static ServiceEndpoint endpoint(const std::string& base) {
        ServiceEndpoint endpoint{};
        EXPECT_TRUE(ParseServiceBase(fromUtf8(base), endpoint)) << "run through with_stand_in.sh";
        return endpoint;
    }
    static ServiceEndpoint standIn(const std::string& segment) {
        return endpoint(Environment("VELKARO_TEST_SERVICE") + "/" + segment);
    }
    // A deadline the stand-in's prompt answers meet with ease.
    static WebClock::time_point soon() { return WebClock::now() + kServiceTimeLimit; }
    const ServiceEndpoint unreachable =
        endpoint("http://127.0.0.1:" + Environment("VELKARO_TEST_CLOSED_PORT"));
    const ServiceEndpoint silentHttps = endpoint(Environment("VELKARO_TEST_SILENT_HTTPS"));
    const std::string state = "Z:" + Environment("VELKARO_TEST_STATE") + "/";
    TestFolder machine, user;
};

// What an answer means is the update check's own table; here what WinINet makes of the request.
TEST_F(ServicesTest, TheUpdateRequestCarriesItsAddressAndUserAgentAndReadsAtMostTheBuffer) {
    unsigned char buffer[kUpdateAnswerCapacity];
    std::size_t received = 0;
    EXPECT_EQ(FetchUpdateInfo(standIn("longyes"), buffer, sizeof buffer, &received, soon()),
              kFetchDone);
    EXPECT_EQ(received, sizeof buffer) << "no more than the buffer";
    const std::string log = FileText(state + "requests.log");
    EXPECT_NE(log.find("/longyes/update?product=4&version=101000&edition=1 "
                       "Velkarostrandemilquorbenix/101000\n"),
              std::string::npos)
        << log;
    // An error page, no page, no service.
    for (const ServiceEndpoint& down : {standIn("error"), standIn("nothing-here"), unreachable})
        EXPECT_EQ(FetchUpdateInfo(down, buffer, sizeof buffer, &received, soon()), kFetchCannotOpen)
            << toUtf8(down.folder);
    EXPECT_EQ(FetchUpdateInfo(standIn("one"), nullptr, 0, nullptr, soon()), kFetchDone) << "probe";
    EXPECT_EQ(FetchUpdateInfo(unreachable, nullptr, 0, nullptr, soon()), kFetchCannotOpen);
}

TEST_F(ServicesTest, NoServiceHoldsACheckOrAReportPastItsDeadline) {
    // Answering after 12 s (past the handles' own 4 s); a byte every 2 s; stuck in the TLS
    // handshake.
    for (const ServiceEndpoint& service : {standIn("slow"), standIn("trickle"), silentHttps}) {
        SCOPED_TRACE(toUtf8(service.folder));
        const auto limit = std::chrono::seconds(1);
        UpdateCheckState state{0, 0};
        ULONGLONG start = GetTickCount64();
        EXPECT_EQ(CheckForUpdate(true, state, service, WebClock::now() + limit),
                  kServiceUnavailable);
        EXPECT_LT(GetTickCount64() - start, 3000u) << "milliseconds";
        start = GetTickCount64();
        EXPECT_EQ(SendErrorReport(service, "2:5;", WebClock::now() + limit), kReportFailed);
        EXPECT_LT(GetTickCount64() - start, 3000u) << "milliseconds";
    }
}

// A report arrives with its header and body; one the service refuses or cannot take is not sent.
TEST_F(ServicesTest, AReportArrivesWithItsHeaderAndBodyAndOnlyAnAcceptedOneCountsAsSent) {
    EXPECT_EQ(SendErrorReport(standIn("accept"), "2:5;52:\"a&b\";", soon()), kReportSent);
    EXPECT_EQ(SendErrorReport(standIn("reject"), "2:5;", soon()), kReportFailed);
    EXPECT_EQ(SendErrorReport(unreachable, "2:5;", soon()), kReportFailed);
    EXPECT_EQ(FileText(state + "accept-1.body"),
              "product=4&version=101000&edition=1&kind=2&system=18362&trail=2:5;52:\"a&b\";")
        << "Wine's Windows 10 build";
    const std::string head = FileText(state + "accept-1.head");
    EXPECT_EQ(head.rfind("POST /accept/report HTTP/1.1\n", 0), 0u) << head;
    EXPECT_NE(head.find("Content-Type: text/plain; charset=utf-8"), std::string::npos) << head;
    EXPECT_NE(head.find("User-Agent: Velkarostrandemilquorbenix/101000"), std::string::npos)
        << head;
}

// Runs the dialog modally and calls drive with its window once it is up; the dialog's result.
INT_PTR RunDriven(UIDialog& dialog, const std::function<void(HWND)>& drive) {
    INT_PTR result = 0;
    int driven = 0;
    DriveModal([&] { result = dialog.run(); }, [&](HWND d) { driven++ ? void() : drive(d); });
    EXPECT_EQ(driven, 1) << "the dialog came up once";
    return result;
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// An owner shown at (100, 100) in 916 x 640 like the main window.
class DialogTest : public ServicesTest {
  protected:
    void SetUp() override {
        ServicesTest::SetUp();
        SetWindowPos(owner.window, HWND_TOP, 100, 100, 916, 640, SWP_SHOWWINDOW);
        PumpMessages();
    }
    void TearDown() override { DestroyWindow(owner.window), PumpMessages(); }
    UICore owner{GetModuleHandleW(nullptr), u"Owner", 916, 640, 100, 101};
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
    dlgAbout about(owner, kAboutDialogId);
    auto drive = [&](HWND d) {
        auto font = [&](int id) {
            LOGFONTW f{};
            GetObjectW((HGDIOBJ)SendDlgItemMessageW(d, id, WM_GETFONT, 0, 0), sizeof f, &f);
            return f;
        };
        EXPECT_EQ(font(1001).lfHeight, -22);
        EXPECT_EQ(font(1002).lfHeight, -14);
        for (int id : {1004, 1006, 1008})
            EXPECT_EQ(font(id).lfWeight, FW_BOLD) << id;
        SendDlgItemMessageW(d, 1009, WM_CHAR, L'x', 0);
        EXPECT_EQ(WindowText(GetDlgItem(d, 1009)), L"support@quenorith.example");
        about.addLink(1004, u"velkarotest:double", nullptr);
        about.addLink(1006, u"velkarotest:first", nullptr);
        about.addLink(1006, u"velkarotest:second", nullptr);
        const std::string first = "velkarotest:first\n";
        for (const auto& [id, code, count] :
             {std::tuple{1006, NM_CLICK, 1}, {1004, NM_DBLCLK, 1}, {1006, NM_RETURN, 2}}) {
            NMHDR header{GetDlgItem(d, id), static_cast<UINT_PTR>(id), static_cast<UINT>(code)};
            SendMessageW(d, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
            EXPECT_EQ(opened(count), count == 1 ? first : first + first) << id << " " << code;
        }
        Click(d, IDOK);
    };
    EXPECT_EQ(RunDriven(about, drive), IDOK);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"velkarotest");
    DeleteFileA(file.c_str());
}

// Each round shows the two boxes, clicks some, and ends the dialog: only OK stores, each option
// in its own scope, and the next round shows what was stored. Enter is Cancel, the default.
TEST_F(DialogTest, SettingsShowsTheStoreAndOnlyOkStoresEachOptionInItsScope) {
    const struct {
        bool shownUpdates;
        std::vector<int> clicks;
        int key, end, storedUpdates, storedReports;
    } rounds[] = {{true, {2001, 2003}, VK_ESCAPE, 0, -7, -7},
                  {true, {2001}, 0, 2005, 0, 1},
                  {false, {2003, 2001}, VK_RETURN, 0, 0, 1},
                  {false, {2003, 2001}, 0, 2005, 1, 0}};
    for (const auto& r : rounds) {
        SCOPED_TRACE(testing::Message() << "ended with " << r.key << " " << r.end);
        dlgSettings settings(owner, kSettingsDialogId);
        RunDriven(settings, [&](HWND d) {
            EXPECT_EQ(SendDlgItemMessageW(d, 2001, BM_GETCHECK, 0, 0), r.shownUpdates);
            EXPECT_EQ(SendDlgItemMessageW(d, 2003, BM_GETCHECK, 0, 0), BST_CHECKED);
            for (int id : r.clicks)
                Click(d, id);
            SetFocus(GetDlgItem(d, 2001));
            r.key ? void(PostMessageW(d, WM_KEYDOWN, r.key, 0)) : Click(d, r.end);
        });
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kMachineScope), r.storedUpdates);
        EXPECT_EQ(GetStoreInt(kSendErrorReportKey, -7, kUserScope), r.storedReports);
        EXPECT_EQ(GetStoreInt(kCheckForUpdatesKey, -7, kUserScope), -7) << "only in scope 0";
    }
}

// A preview beside the program (600 x 400) gives the dialog its size, centred on its owner; without
// its picture the dialog keeps its template's size and shows "No preview".
TEST_F(DialogTest, APreviewIsCentredAtItsPicturesSizeOrShowsNoPreview) {
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(L"Z:" VELKARO_PREVIEWS_DIR L"\\.."));
    for (const bool found : {true, false}) {
        auto drive = [&](HWND d) {
            RECT r{}, client{}, units{0, 0, 228, 160}; // the template's size
            GetWindowRect(d, &r), GetClientRect(d, &client), MapDialogRect(d, &units);
            EXPECT_EQ(WindowText(d), L"Preview - Registered owner");
            const RECT centred{250, 200, 866, 640}; // 616 x 440 in the owner at (100, 100)
            if (found) {
                EXPECT_TRUE(EqualRect(&r, &centred)) << r.left << " " << r.top << " " << r.right;
            } else {
                EXPECT_TRUE(EqualRect(&client, &units));
                int black = 0; // the "No preview" text
                HDC dc = GetDC(d);
                for (int y = 0; y < 300; y += 2)
                    for (int x = 0; x < 400; x += 2)
                        black += GetPixel(dc, x, y) == 0;
                ReleaseDC(d, dc);
                EXPECT_GT(black, 100);
            }
            PostMessageW(d, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        };
        dlgPreview preview(owner, kPreviewDialogId, found ? "312" : "999", u" - Registered owner");
        preview.closeOnClick();
        EXPECT_EQ(RunDriven(preview, drive), IDOK) << "a click closes it";
    }
    SetCurrentDirectoryW(previous);
}

// The switch shows the explanation, its "Note:" alone in bold; the last pick decides and
// confirming leaves the choice with the owner.
TEST_F(DialogTest, ImportExportExplainsWithABoldNoteAndTheLastPickDecides) {
    auto run = [&](std::u16string open, std::u16string save,
                   const std::function<void(HWND)>& drive) {
        auto picker = [](std::u16string path) {
            return [path](HWND, const std::u16string&) { return path; };
        };
        owner.resetDialogResult();
        dlgImportExport dialog(owner, picker(open), picker(save));
        dialog.loadRichEdit(true);
        return RunDriven(dialog, drive);
    };
    auto explain = [&](HWND d) {
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
        Click(d, 6003); // a cancelled picker changes nothing
        Click(d, 6009);
        EXPECT_TRUE(IsWindowVisible(d)) << "nothing picked: it stays open";
        PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    EXPECT_EQ(run(u"", u"", explain), IDCANCEL);
    EXPECT_EQ(owner.dialogResult, -1) << "closing chooses nothing";
    run(u"C:\\in.vlkd", u"C:\\out.vlkd", [&](HWND d) {
        Click(d, 6003);
        EXPECT_EQ(WindowText(GetDlgItem(d, 6009)), L"Import");
        Click(d, 6006);
        EXPECT_EQ(WindowText(GetDlgItem(d, 6009)), L"Export");
        EXPECT_EQ(WindowText(GetDlgItem(d, 6002)), L"") << "the import path goes";
        Click(d, 6009);
    });
    EXPECT_EQ(std::pair(owner.dialogResult, owner.dialogText),
              std::pair(1, std::u16string(u"C:\\out.vlkd")));
    char stored[64] = {};
    GetStoreText(stored, sizeof stored, kLastDataFileKey, "", kUserScope);
    EXPECT_STREQ(stored, "C:\\out.vlkd");
    run(u"C:\\in.vlkd", u"", [&](HWND d) { Click(d, 6003), Click(d, 6009); });
    EXPECT_EQ(std::pair(owner.dialogResult, owner.dialogText),
              std::pair(0, std::u16string(u"C:\\in.vlkd")));
}

// A failed import says so with its code and reports its record to the window's own service, not
// to the built-in address; the update command says what that service answers (a new version,
// then none), and No to the new version keeps the window open.
TEST_F(DialogTest, TheWindowReportsAFailedImportToItsServiceAndTellsItsUpdateAnswers) {
    ASSERT_EQ(SetStoreInt(kCheckForUpdatesKey, 0, kMachineScope), 0);
    MainWindow window(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix", standIn("flip"));
    Boxes boxes =
        AnswerBoxes([&] { RunImportExport(window, 0, u"C:\\no-such-folder\\x.vlkd"); }, IDOK);
    EXPECT_EQ(boxes.captions, std::vector<std::wstring>{L"Import"});
    EXPECT_EQ(boxes.texts, std::vector<std::wstring>{L"Cannot import settings. Error code: 1"});
    // The stand-in keeps each report it is sent; the missing file is record 51 with errno 2.
    const std::string body = FileText(state + "flip-1.body");
    EXPECT_NE(body.find("&trail=51:2;"), std::string::npos) << body;
    boxes = AnswerBoxes([&] { window.onCheckForUpdate(); }, IDNO);
    PumpMessages();
    ASSERT_TRUE(IsWindow(window.window)) << "No keeps the window";
    boxes.texts.push_back(AnswerBoxes([&] { window.onCheckForUpdate(); }, IDOK).texts.at(0));
    EXPECT_EQ(boxes.texts,
              (std::vector<std::wstring>{
                  L"New version available. Would you like to download it.",
                  L"You are using the latest version of Velkarostrandemilquorbenix."}));
    DestroyWindow(window.window);
    PumpMessages();
}

} // namespace
