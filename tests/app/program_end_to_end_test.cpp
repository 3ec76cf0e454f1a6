// The program driven from outside as a user drives it, beside a stand-in of the maker's services.
// It runs from a folder, also the current directory, where a msftedit.dll, a wininet.dll and a
// schtasks.exe leave a marker when loaded or started; Wine prefers such DLLs, as Windows would.
#include "base/win32/wide.h"
#include "tests/app/window_test_support.h"
#include "tests/support/registry_tree.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>
#include <optional>

namespace {

constexpr char16_t kRecycleBinKey[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    u"MyComputer\\NameSpace\\{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr wchar_t kCaption[] = L"Velkarostrandemilquorbenix";
constexpr wchar_t kNewVersion[] = L"New version available. Would you like to download it.";
constexpr DWORD kWaitMs = 20000;

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = kWaitMs) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; !condition(); Sleep(20))
        if (GetTickCount64() >= end) return false;
    return true;
}

// Sends, then waits until the window's thread handled it or entered a nested loop (a box's).
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    SendNotifyMessageW(window, message, wParam, lParam);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &result);
}

HWND Child(HWND parent, const wchar_t* className, const std::wstring& text) {
    HWND found = FindWindowWhere(
        parent, [&](HWND c) { return WindowClass(c) == className && WindowText(c) == text; });
    EXPECT_NE(found, nullptr) << std::string(text.begin(), text.end());
    return found;
}

// A key typed as the user types it, with the key held down around it.
void Type(BYTE key, BYTE held = 0) {
    if (held) keybd_event(held, 0, 0, 0);
    keybd_event(key, 0, 0, 0), keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (held) keybd_event(held, 0, KEYEVENTF_KEYUP, 0);
}

// One run of a program of the folder, with the folder (or another) as its current directory.
class Program {
  public:
    explicit Program(const std::wstring& folder, const wchar_t* exe = kCaption,
                     const wchar_t* arguments = L"", const std::wstring& current = L"") {
        std::wstring line = L"\"" + folder + L"\\" + exe + L".exe\"" + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                                   nullptr, (current.empty() ? folder : current).c_str(), &startup,
                                   &process_))
            << "error " << GetLastError();
    }
    ~Program() {
        if (exitCode(0) == STILL_ACTIVE) {
            ADD_FAILURE() << "the program was still running";
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hThread), CloseHandle(process_.hProcess);
    }
    // A visible top-level window of the program with the class; null when none shows in time.
    HWND window(const wchar_t* className, DWORD milliseconds = kWaitMs) const {
        auto mine = [&](HWND w) { // all of the program's windows belong to its first thread
            return GetWindowThreadProcessId(w, nullptr) == process_.dwThreadId &&
                   IsWindowVisible(w) && WindowClass(w) == className;
        };
        HWND found = nullptr;
        WaitFor([&] { return (found = FindWindowWhere(nullptr, mine)) != nullptr; }, milliseconds);
        return found;
    }
    HWND main(DWORD milliseconds = kWaitMs) const { return window(L"QUENORITH", milliseconds); }
    HWND box(DWORD milliseconds = kWaitMs) const { return window(L"#32770", milliseconds); }
    bool showsWindowBeforeItEnds() const {
        bool shown = false;
        WaitFor([&] { return (shown = shown || main(0)), exitCode(0) != STILL_ACTIVE; });
        return shown;
    }
    DWORD exitCode(DWORD milliseconds = kWaitMs) const {
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0)
            GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
};

// Checks a message box's caption and text and presses its button.
void Answer(HWND box, const wchar_t* text, int button) {
    ASSERT_NE(box, nullptr) << "no box";
    EXPECT_EQ(WindowText(box), kCaption);
    EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)), text);
    SendNotifyMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(box); }));
}

// Chooses the item (from 1) of the settings icon's menu, with the keys the menu's own loop reads.
void ChooseSetting(HWND window, int item, const wchar_t* icon = L"Settings") {
    Post(window, WM_COMMAND, 0, reinterpret_cast<LPARAM>(Child(window, L"Static", icon)));
    for (int k = 0; k < item; ++k)
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
}

void ShowPage(HWND window, int page) {
    Post(window, WM_COMMAND, page + 1,
         reinterpret_cast<LPARAM>(FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr)));
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(service.empty()) << "run through with_stand_in.sh";
        SetEnvironmentVariableW(L"APPDATA", AsWide(user.path().c_str()));
        const std::wstring built = AsWide(ExecutableFolder().c_str());
        for (const auto& [from, to] :
             {std::pair{L"" VELKARO_PROGRAM_UNDER_TEST, L"Velkarostrandemilquorbenix.exe"},
              {L"..\\app\\vlk\\vlk.exe", L"vlk.exe"},
              {L"planted\\msftedit.dll", L"msftedit.dll"},
              {L"planted\\wininet.dll", L"wininet.dll"},
              {L"planted_program.exe", L"browser.exe"}})
            ASSERT_TRUE(CopyFileW((built + L"\\" + from).c_str(), (dir + L"\\" + to).c_str(), 0));
        for (const wchar_t* exe : {L"Velkarostrandemilquorbenix.exe", L"vlk.exe"})
            for (const wchar_t* dll : {L"msftedit", L"wininet"})
                values.emplace_back(HKEY_CURRENT_USER,
                                    L"Software\\Wine\\AppDefaults\\" + std::wstring(exe) +
                                        L"\\DllOverrides",
                                    dll, L"native,builtin");
        // The user's browser: the stand-in leaves the address it was given in browser.exe.ran.
        values.emplace_back(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", L"",
                            L"\"" + dir + L"\\browser.exe\" \"%1\"");
        ASSERT_TRUE(schtasks.planted());
    }
    void TearDown() override {
        for (const wchar_t* marker : {L"msftedit.dll.loaded", L"wininet.dll.loaded"})
            EXPECT_EQ(GetFileAttributesW((dir + L"\\" + marker).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(schtasks.ran()) << "a schtasks.exe found by a search";
        values.clear();
    }
    // The service, and a data store of its own (so the update check asks as if for the first time).
    void start(const std::wstring& address) {
        SetEnvironmentVariableW(L"VELKARO_TEST_SERVICE", address.c_str());
        store.emplace();
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(store->path().c_str()));
    }

    const std::wstring service =
        _wgetenv(L"VELKARO_TEST_SERVICE") ? _wgetenv(L"VELKARO_TEST_SERVICE") : L"";
    TestFolder user, folder;
    std::optional<TestFolder> store;
    const std::wstring dir = AsWide(folder.path().c_str());
    const PlantedSchtasks schtasks{folder.path()};
    std::deque<ScopedRegistryValue> values;
};

// An update question answered within the window's grace comes before the window, a later one (the
// stand-in's "late" after 2 s) over it once no dialog is open; Yes opens the download page in the
// user's browser and ends the program, but for choices not yet applied, which keep the window. A
// service up to date or silent (over https: stuck in the handshake) asks nothing and holds neither
// the window nor the end.
TEST_F(ProgramTest, TheWindowComesAfterAQuickAnswerBeforeALateOneAndNeverWaitsForTheService) {
    const struct {
        std::wstring address;
        int answer; // none: no question
        bool late;
    } runs[] = {
        {service + L"/one", IDNO, false},  {service + L"/one", IDYES, false},
        {service + L"/late", IDYES, true}, {service + L"/zero", 0, true},
        {service + L"/silent", 0, true},   {_wgetenv(L"VELKARO_TEST_SILENT_HTTPS"), 0, true}};
    for (const auto& run : runs) {
        SCOPED_TRACE(&run - runs);
        start(run.address);
        Program program(dir);
        const HWND window = run.late ? program.main(3000) : nullptr;
        if (run.late) {
            ASSERT_NE(window, nullptr) << "no window within 3 s";
            EXPECT_EQ(program.box(0), nullptr);
        }
        if (run.late && run.answer) { // a choice not applied, and About open when the answer comes
            Post(Child(window, L"Button", L"Recycle Bin"), BM_CLICK);
            Post(window, WM_COMMAND, 7,
                 reinterpret_cast<LPARAM>(
                     FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr)));
            const HWND about = program.box();
            Sleep(3000);
            EXPECT_EQ(program.box(0), about) << "no question over the dialog";
            SendNotifyMessageW(about, WM_COMMAND, IDOK, 0);
            WaitFor([&] { return program.box(0) != about; });
        } else if (!run.late) {
            EXPECT_NE(program.box(), nullptr);
            EXPECT_EQ(program.main(0), nullptr) << "the window waits for a quick answer";
        }
        if (run.answer) Answer(program.box(), kNewVersion, run.answer);
        if (run.answer != IDYES || run.late) { // Yes leaves the window to its choice
            EXPECT_EQ(program.box(0), nullptr);
            EXPECT_EQ(program.exitCode(500), STILL_ACTIVE);
            PostMessageW(program.main(), WM_CLOSE, 0, 0);
        } else {
            EXPECT_FALSE(program.showsWindowBeforeItEnds());
        }
        EXPECT_EQ(program.exitCode(run.answer ? kWaitMs : 1000), 0u) << "ended in time";
        const std::wstring browsed = dir + L"\\browser.exe.ran";
        WaitFor([&] { return GetFileAttributesW(browsed.c_str()) != INVALID_FILE_ATTRIBUTES; },
                run.answer == IDYES ? 5000 : 0);
        EXPECT_EQ(
            ReadWholeFile(AsU16(browsed.c_str()))
                    .value_or("")
                    .find("\"https://quenorith.example/velkarostrandemilquorbenix/download\"") !=
                std::string::npos,
            run.answer == IDYES);
        DeleteFileW(browsed.c_str());
    }
}

// One session: the telemetry task read through the Task Scheduler, a tooltip, the keyboard (Apply
// by key), the settings menu. Then vlk shows the settings.
TEST_F(ProgramTest, AUserSessionAppliesWhatTheUserChangedAndNothingElse) {
    TweakRegistrySnapshot snapshot;
    RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    start(service + L"/zero");
    DeleteRegTree(Hive::CurrentUser, kRecycleBinKey);
    WriteRegDword(Hive::CurrentUser,
                  u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
                  u"NoDriveTypeAutoRun", 255);

    Program program(dir);
    const HWND window = program.main();
    ASSERT_NE(window, nullptr);
    ShowPage(window, 5); // the task is ready
    EXPECT_FALSE(IsChecked(Child(window, L"Button", L"Disable Compatibility telemetry")));

    // The pointer rests on a box: its tip explains it.
    ShowPage(window, 1);
    const HWND seconds = Child(window, L"Button", L"Show seconds on taskbar clock");
    RECT r{};
    GetWindowRect(seconds, &r);
    SetCursorPos(r.left + 20, (r.top + r.bottom) / 2);
    const HWND tip = program.window(TOOLTIPS_CLASSW, 5000);
    ASSERT_NE(tip, nullptr) << "no tip within 5 s";
    EXPECT_EQ(WindowText(tip).rfind(L"Shows the seconds in the taskbar clock.", 0), 0u);
    SetCursorPos(0, 0);

    // Tab from page 0's top reaches its first box, Space checks it, Ctrl+Tab shows page 1, Tab
    // reaches Apply, Enter applies (no log-out needed).
    ShowPage(window, 0);
    SetForegroundWindow(window);
    const HWND apply = Child(window, L"Button", L"Apply");
    const HWND recycleBin = Child(window, L"Button", L"Recycle Bin");
    auto focus = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    };
    Type(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == recycleBin; }));
    Type(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return IsChecked(recycleBin); }));
    Type(VK_TAB, VK_CONTROL);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(seconds) && !IsWindowVisible(recycleBin); }));
    for (int presses = 0; presses < 20 && focus() != apply; ++presses) {
        const HWND before = focus();
        Type(VK_TAB);
        WaitFor([&] { return focus() != before; }, 2000);
    }
    ASSERT_EQ(focus(), apply);
    Type(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return RegKeyExists(Hive::CurrentUser, kRecycleBinKey); }));
    Post(window, WM_NULL);
    EXPECT_EQ(program.box(0), nullptr) << "a log-out asked for a change that needs none";
    // On from Apply: the settings icon, then page 4's top, whose radio pair is one stop; an arrow
    // moves to the other button and chooses it.
    for (int page = 1; page < 4; ++page)
        Type(VK_TAB, VK_CONTROL);
    const HWND disable = Child(window, L"Button", L"Disable autorun (recommended)");
    const HWND enable = Child(window, L"Button", L"Enable autorun");
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(enable); }));
    Type(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == Child(window, L"Static", L"Settings"); }));
    Type(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == disable; }));
    Type(VK_DOWN);
    EXPECT_TRUE(
        WaitFor([&] { return focus() == enable && IsChecked(enable) && !IsChecked(disable); }));

    // The settings menu's first two items, the second with its explanation in the system's rich
    // edit control (so a swap of any two of the three items shows).
    for (const int item : {1, 2}) {
        ChooseSetting(window, item);
        const HWND dialog = program.box();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(WindowText(dialog), item == 1 ? L"Settings" : L"Import and Export");
        if (item == 2) {
            EXPECT_EQ(_wcsicmp(WindowClass(GetDlgItem(dialog, 6007)).c_str(), L"RICHEDIT50W"), 0);
            EXPECT_EQ(WindowText(GetDlgItem(dialog, 6007)).rfind(L"Export allows to save", 0), 0u);
        }
        Post(dialog, WM_CLOSE);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    }

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);

    Program vlk(dir, L"vlk", L" show");
    EXPECT_EQ(vlk.exitCode(3 * kWaitMs), 0u);
}

// Windows' UI language is the program's. Wine takes it from the Unix locale a process starts
// with (LC_ALL; LANG alone leaves English here): the language tests run this driver, and so the
// program, under a German and a Finnish one. In German the window, the message box an Apply brings
// and a dialog speak German; Finnish, which the program does not speak, brings English.
TEST_F(ProgramTest, TheProgramSpeaksWindowsLanguageOrEnglish) {
    const LANGID language = GetUserDefaultUILanguage();
    ASSERT_TRUE(language == 0x0407 || language == 0x040b) << "run under de_DE or fi_FI";
    const bool german = language == 0x0407;
    TweakRegistrySnapshot snapshot;
    start(service + L"/zero");
    Program program(dir);
    const HWND window = program.main();
    ASSERT_NE(window, nullptr);
    ShowPage(window, 1);
    Post(
        Child(window, L"Button", german ? L"Infobereich deaktivieren" : L"Disable the system tray"),
        BM_CLICK);
    Post(Child(window, L"Button", german ? L"Übernehmen" : L"Apply"), BM_CLICK);
    Answer(program.box(),
           german ? L"Damit die Änderungen wirksam werden, müssen Sie sich abmelden."
                  : L"Log out is required for the changes to take effect.",
           IDOK);
    ChooseSetting(window, 1, german ? L"Einstellungen" : L"Settings");
    const HWND dialog = program.box();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(dialog), german ? L"Einstellungen" : L"Settings");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDCANCEL)), german ? L"Abbrechen" : L"Cancel");
    Post(dialog, WM_CLOSE);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

// Started in another folder (a shortcut's "Start in"), a Preview finds its 600 x 400 picture beside
// the program: the dialog takes its size with the frame, not the "No preview" picture's.
TEST_F(ProgramTest, StartedInAnotherFolderAPreviewShowsItsPicture) {
    start(service + L"/zero");
    const std::wstring built = AsWide(ExecutableFolder().c_str()), pictures = dir + L"\\previews";
    ASSERT_TRUE(CreateDirectoryW(pictures.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW((built + L"\\..\\app\\previews\\10.png").c_str(),
                          (pictures + L"\\10.png").c_str(), 0));
    Program program(dir, kCaption, L"", AsWide(user.path().c_str()));
    const HWND window = program.main();
    ASSERT_NE(window, nullptr);
    ShowPage(window, 1);
    const auto preview = [](HWND c) { return IsWindowVisible(c) && WindowText(c) == L"Preview"; };
    Post(FindWindowWhere(window, preview), BM_CLICK); // the page's first, the live preview's: "10"
    const HWND dialog = program.box();
    ASSERT_NE(dialog, nullptr);
    const auto size = [&] { // the picture's, when it has been painted
        RECT r{};
        return GetWindowRect(dialog, &r), std::pair(r.right - r.left, r.bottom - r.top);
    };
    WaitFor([&] { return size() == std::pair(616L, 440L); }, 5000);
    EXPECT_EQ(size(), std::pair(616L, 440L));
    Post(dialog, WM_CLOSE);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

// A Task Scheduler that never answers (silent_scheduler.sh gives one): the window comes without
// waiting for it more than a second, and the telemetry box is greyed with a tooltip that says so.
TEST_F(ProgramTest, ASilentSchedulerHoldsNeitherTheWindowNorTheEnd) {
    if (!_wgetenv(L"VELKARO_SILENT_SCHEDULER")) GTEST_SKIP() << "run through silent_scheduler.sh";
    start(service + L"/zero");
    const ULONGLONG started = GetTickCount64();
    Program program(dir);
    const HWND window = program.main();
    ASSERT_NE(window, nullptr);
    EXPECT_LT(GetTickCount64() - started, 2500u) << "milliseconds to the window";
    ShowPage(window, 5);
    const HWND telemetry = Child(window, L"Button", L"Disable Compatibility telemetry");
    EXPECT_FALSE(IsWindowEnabled(telemetry));
    RECT r{};
    GetWindowRect(telemetry, &r);
    SetCursorPos(r.left + 20, (r.top + r.bottom) / 2);
    const HWND tip = program.window(TOOLTIPS_CLASSW, 5000);
    ASSERT_NE(tip, nullptr) << "no tip within 5 s";
    EXPECT_EQ(WindowText(tip).rfind(L"The Task Scheduler did not answer.", 0), 0u)
        << WindowText(tip);
    SetCursorPos(0, 0);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

// Without WinINet, GDI+ and the rich edit control, as on a system that lacks them: the window
// comes, the update check counts as "cannot reach", a preview shows "No preview" rather than its
// picture, and Import/Export says it cannot open.
TEST_F(ProgramTest, WithoutItsLibrariesTheWindowRunsAndEachFeatureFailsAsItsServiceDoes) {
    start(service + L"/one"); // it would offer a new version
    const std::wstring picture =
        std::wstring(AsWide(ExecutableFolder().c_str())) + L"\\..\\app\\previews\\00.png";
    CreateDirectoryW((dir + L"\\previews").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(picture.c_str(), (dir + L"\\previews\\00.png").c_str(), FALSE));
    values.clear(); // Wine's overrides for the program: none of the three is to be had
    for (const wchar_t* dll : {L"wininet", L"gdiplus", L"msftedit"})
        values.emplace_back(
            HKEY_CURRENT_USER,
            L"Software\\Wine\\AppDefaults\\Velkarostrandemilquorbenix.exe\\DllOverrides", dll, L"");
    Program program(dir);
    const HWND window = program.main();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(program.box(0), nullptr) << "no question";
    ChooseSetting(window, 3);
    Answer(program.box(), L"Service is currently unavailable.", IDOK);
    ChooseSetting(window, 2);
    Answer(program.box(), L"Cannot open the Import and Export dialog.", IDOK);
    Post(Child(window, L"Button", L"Preview"), BM_CLICK); // picture 00
    const HWND preview = program.box();
    ASSERT_NE(preview, nullptr);
    auto corner = [&] { // white in the "No preview" picture, grey where nothing is painted
        POINT at{5, 5};
        ClientToScreen(preview, &at);
        const HDC screen = GetDC(nullptr);
        const COLORREF colour = GetPixel(screen, at.x, at.y);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    EXPECT_TRUE(WaitFor([&] { return corner() == RGB(255, 255, 255); }, 5000)) << corner();
    Post(preview, WM_CLOSE);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

} // namespace
