// Under Wine: real WinINet requests against the stand-in of the maker's services that
// with_stand_in.sh starts, the program's dialogs run modally, the window's commands that use both.
#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "base/text.h"
#include "services/app_data_store.h"
#include "dialogs/dlg_about.h"
#include "services/update_check.h"
#include "dialogs/dlg_import_export.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// A file the stand-in wrote (through Wine's Z: drive), or any other.
std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The stand-in (a segment picks its behaviour), a port nobody listens on, an https address that
// never answers, the folder of what the stand-in was sent; an owner for the dialogs.
class ServicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetTestVariable(kMachineRootVariable, machine.path().c_str());
        SetTestVariable(kUserRootVariable, user.path().c_str());
    }
    void TearDown() override { DestroyWindow(owner.window), PumpMessages(); }
    static std::string environment(const char* n) { return std::getenv(n) ? std::getenv(n) : ""; }
    static ServiceEndpoint endpoint(const std::string& base) {
        ServiceEndpoint endpoint{};
        EXPECT_TRUE(ParseServiceBase(fromUtf8(base), endpoint)) << "run through with_stand_in.sh";
        return endpoint;
    }
    static ServiceEndpoint standIn(const std::string& segment) {
        return endpoint(environment("VELKARO_TEST_SERVICE") + "/" + segment);
    }
    static WebClock::time_point soon() { return WebClock::now() + kServiceTimeLimit; }
    const ServiceEndpoint unreachable =
        endpoint("http://127.0.0.1:" + environment("VELKARO_TEST_CLOSED_PORT"));
    const ServiceEndpoint silentHttps = endpoint(environment("VELKARO_TEST_SILENT_HTTPS"));
    const std::string state = "Z:" + environment("VELKARO_TEST_STATE") + "/";
    TestFolder machine, user;
    UICore owner{GetModuleHandleW(nullptr), u"Owner", 916, 640, 100, 101};
};

// What an answer means is the update check's own table; here what WinINet makes of the requests.
TEST_F(ServicesTest, RequestsCarryTheirAddressAgentAndBodyAndFailWhereWinInetDoes) {
    unsigned char buffer[kUpdateAnswerCapacity];
    std::size_t received = 0;
    EXPECT_EQ(FetchUpdateInfo(standIn("longyes"), buffer, sizeof buffer, &received, soon()),
              kFetchDone);
    EXPECT_EQ(received, sizeof buffer) << "no more than the buffer";
    EXPECT_NE(FileText(state + "requests.log")
                  .find("/longyes/update?product=4&version=" VELKARO_VERSION_NUMBER_TEXT
                        "&edition=1 Velkarostrandemilquorbenix/" VELKARO_VERSION_NUMBER_TEXT "\n"),
              std::string::npos);
    for (const ServiceEndpoint& down : {standIn("error"), standIn("nothing-here"), unreachable})
        EXPECT_EQ(FetchUpdateInfo(down, buffer, sizeof buffer, &received, soon()), kFetchCannotOpen)
            << toUtf8(down.folder);
    EXPECT_EQ(FetchUpdateInfo(standIn("one"), nullptr, 0, nullptr, soon()), kFetchDone) << "probe";
    EXPECT_EQ(FetchUpdateInfo(unreachable, nullptr, 0, nullptr, soon()), kFetchCannotOpen);
    // A report the service refuses or cannot take is not sent.
    EXPECT_EQ(SendErrorReport(standIn("accept"), "2:5;52:\"a&b\";", soon()), kReportSent);
    EXPECT_EQ(SendErrorReport(standIn("reject"), "2:5;", soon()), kReportFailed);
    EXPECT_EQ(SendErrorReport(unreachable, "2:5;", soon()), kReportFailed);
    EXPECT_EQ(FileText(state + "accept-1.body"),
              "product=4&version=" VELKARO_VERSION_NUMBER_TEXT
              "&edition=1&kind=2&system=18362&trail=2:5;52:\"a&b\";")
        << "Wine's Windows 10 build";
    const std::string head = FileText(state + "accept-1.head");
    for (const char* line :
         {"POST /accept/report HTTP/1.1\n", "Content-Type: text/plain; charset=utf-8",
          "User-Agent: Velkarostrandemilquorbenix/" VELKARO_VERSION_NUMBER_TEXT})
        EXPECT_NE(head.find(line), std::string::npos) << head;
}

TEST_F(ServicesTest, NoServiceHoldsACheckOrAReportPastItsDeadline) {
    // Answering after 12 s (past the handles' own 4 s); a byte every 2 s; stuck in TLS.
    for (const ServiceEndpoint& service : {standIn("slow"), standIn("trickle"), silentHttps}) {
        SCOPED_TRACE(toUtf8(service.folder));
        UpdateCheckState state{0, 0};
        ULONGLONG start = GetTickCount64();
        const auto deadline = [] { return WebClock::now() + std::chrono::milliseconds(500); };
        EXPECT_EQ(CheckForUpdate(true, state, service, deadline()), kServiceUnavailable);
        EXPECT_LT(GetTickCount64() - start, 3500u) << "milliseconds, below the handles' own 4 s";
        start = GetTickCount64();
        EXPECT_EQ(SendErrorReport(service, "2:5;", deadline()), kReportFailed);
        EXPECT_LT(GetTickCount64() - start, 3500u) << "milliseconds, below the handles' own 4 s";
    }
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

// A URL scheme of the test's own, whose command appends the address it is given to a file, shows
// what a link opened: the first address registered, on a click and on Enter only.
TEST_F(ServicesTest, ALinkOpensItsFirstAddressOnAClickAndOnEnter) {
    const std::string file = toUtf8(user.path()) + "\\opened.txt";
    const std::wstring command =
        L"cmd.exe /c echo %1>>\"" + std::wstring(file.begin(), file.end()) + L"\"";
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"velkarotest", L"URL Protocol", REG_SZ, L"", 2);
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"velkarotest\\shell\\open\\command", nullptr, REG_SZ,
                    command.c_str(), static_cast<DWORD>((command.size() + 1) * 2));
    dlgAbout about(owner, kAboutDialogId, Language::English);
    auto drive = [&](HWND d) {
        about.addLink(1004, u"velkarotest:double", nullptr);
        about.addLink(1006, u"velkarotest:first", nullptr);
        about.addLink(1006, u"velkarotest:second", nullptr);
        for (const auto& [id, code, lines] :
             {std::tuple{1006, NM_CLICK, 1}, {1004, NM_DBLCLK, 1}, {1006, NM_RETURN, 2}}) {
            NMHDR header{GetDlgItem(d, id), static_cast<UINT_PTR>(id), static_cast<UINT>(code)};
            SendMessageW(d, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
            std::string opened; // once it has the lines expected, at most 10 s later
            for (int wait = 0; std::ranges::count(opened, '\n') < lines && wait < 200; ++wait)
                Sleep(50), opened = FileText(file);
            std::erase_if(opened, [](char c) { return c == ' ' || c == '\r'; });
            const std::string first = "velkarotest:first\n";
            EXPECT_EQ(opened, lines == 1 ? first : first + first) << id << " " << code;
        }
        Click(d, IDOK);
    };
    EXPECT_EQ(RunDriven(about, drive), IDOK);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"velkarotest");
}

// The last pick decides; confirming leaves the choice with the owner and stores the path.
TEST_F(ServicesTest, ImportExportLeavesTheLastPickWithTheOwner) {
    dlgImportExport dialog(
        owner, Language::English,
        [](HWND, const std::u16string&) { return PickedFile{u"C:\\in.vlkd"}; },
        [](HWND, const std::u16string&) { return PickedFile{u"C:\\out.vlkd"}; });
    dialog.loadRichEdit(true);
    RunDriven(dialog, [&](HWND d) {
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
}

// A picker that cannot be shown is told; one the user cancels is not. Neither changes a field.
TEST_F(ServicesTest, ImportExportTellsAPickerThatCouldNotBeShown) {
    dlgImportExport dialog(
        owner, Language::English,
        [](HWND, const std::u16string&) {
            return PickedFile{{}, true};
        },
        [](HWND, const std::u16string&) { return PickedFile{}; });
    dialog.loadRichEdit(true);
    RunDriven(dialog, [&](HWND d) {
        const Boxes told = AnswerBoxes([&] { Click(d, 6003), Click(d, 6006); }, IDOK);
        EXPECT_EQ(told.texts, std::vector<std::wstring>{L"Cannot open the file dialog."});
        EXPECT_EQ(WindowText(GetDlgItem(d, 6009)), L"Import/Export");
        PostMessageW(d, WM_CLOSE, 0, 0);
    });
}

// A failed import is told with its code and reported to the window's own service; the update
// command tells that service's answers (a new version, then none); No keeps the window open.
TEST_F(ServicesTest, TheWindowReportsAFailedImportToItsServiceAndTellsItsUpdateAnswers) {
    ASSERT_EQ(SetStoreInt(kCheckForUpdatesKey, 0, kMachineScope), 0);
    SystemDescriptions descriptions; // Wine's service refuses them: nothing else changes
    MainWindow window(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix", standIn("flip"),
                      Language::English, descriptions, StartSystemRead());
    Boxes boxes =
        AnswerBoxes([&] { RunImportExport(window, 0, u"C:\\no-such-folder\\x.vlkd"); }, IDOK);
    EXPECT_EQ(boxes.captions, std::vector<std::wstring>{L"Import"});
    EXPECT_EQ(boxes.texts, std::vector<std::wstring>{L"Cannot import settings. Error code: 1"});
    // The stand-in keeps each report it is sent; the missing file is record 51 with errno 2.
    EXPECT_NE(FileText(state + "flip-1.body").find("&trail=51:2;"), std::string::npos);
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
