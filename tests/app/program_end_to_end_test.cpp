// The program driven from outside, as a user drives it: the test starts the executable, finds its
// window and controls by their texts, clicks, types, reads and answers its boxes, and checks the
// registry, the files and the exit code. with_stand_in.sh runs a stand-in of the maker's services.
// Every run starts from a folder like a Downloads folder, also the current directory, where the
// program lies beside a msftedit.dll, a wininet.dll and a schtasks.exe that leave a marker when
// loaded or started, and Wine is told to prefer such DLLs to its own as Windows would.
#include "engine/win32/wide.h"
#include "services/trail_image.h"
#include "tests/app/window_test_support.h"
#include "tests/support/registry_tree.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <sstream>

namespace {

constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr char16_t kCopyToKey[] =
    u"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\{C2FBB630-2971-11D1-A18C-00C04FD75D13}";
constexpr char16_t kRecycleBinKey[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
    u"{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr wchar_t kCaption[] = L"Velkarostrandemilquorbenix";
constexpr wchar_t kNewVersion[] = L"New version available. Would you like to download it.";
constexpr char kDownloadPage[] =
    "\"https://quenorith.example/velkarostrandemilquorbenix/download\"";
constexpr DWORD kWaitMs = 20000;

std::wstring Env(const char* name) {
    const std::string value = std::getenv(name) ? std::getenv(name) : "";
    return std::wstring(value.begin(), value.end());
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = kWaitMs) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; !condition(); Sleep(20))
        if (GetTickCount64() >= end) return false;
    return true;
}

// Sends without waiting for the handler, then waits until the window's thread handled it (or
// entered a nested loop, as a message box's).
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    SendNotifyMessageW(window, message, wParam, lParam);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &result);
}

bool IsChecked(HWND control) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_BLOCK, 10000, &state);
    return state == BST_CHECKED;
}

HWND Child(HWND parent, const wchar_t* className, const std::wstring& text) {
    HWND found = FindWindowWhere(
        parent, [&](HWND c) { return WindowClass(c) == className && WindowText(c) == text; });
    EXPECT_NE(found, nullptr) << std::string(text.begin(), text.end());
    return found;
}

HWND ChildAt(HWND parent, const wchar_t* className, LONG x, LONG y) {
    return FindWindowWhere(parent, [&](HWND c) {
        const RECT r = ChildRect(c);
        return WindowClass(c) == className && r.left == x && r.top == y;
    });
}

// A key typed as the user types it, with the keys held down around it.
void Type(WORD key, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD k, DWORD up) {
        inputs.push_back({INPUT_KEYBOARD, {}}), inputs.back().ki = {k, 0, up, 0, 0};
    };
    for (WORD k : held)
        add(k, 0);
    add(key, 0), add(key, KEYEVENTF_KEYUP);
    for (WORD k : held)
        add(k, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::optional<DWORD> Dword(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kAdvanced, name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool KeyExists(HKEY root, const char16_t* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, AsWide(key), 0, KEY_READ | KEY_WOW64_64KEY, &opened)) return false;
    RegCloseKey(opened);
    return true;
}

std::string ReadFile(const std::wstring& path) {
    std::ostringstream text;
    text << std::ifstream(path.c_str(), std::ios::binary).rdbuf();
    return text.str();
}

// A report's body the stand-in recorded, through Wine's Z: drive; empty when none.
std::string Recorded(const std::string& name) {
    std::wstring path =
        L"Z:" + Env("VELKARO_TEST_STATE") + L"/" + std::wstring(name.begin(), name.end());
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return ReadFile(path);
}

// One run of a program of the folder, with the folder as its current directory.
class Program {
  public:
    explicit Program(const std::wstring& folder, const wchar_t* exe = kCaption,
                     const wchar_t* arguments = L"") {
        std::wstring line = L"\"" + folder + L"\\" + exe + L".exe\"" + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                                   nullptr, folder.c_str(), &startup, &process_));
    }
    ~Program() {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "the program was still running";
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hThread), CloseHandle(process_.hProcess);
    }
    // A visible top-level window of the program with the class; null when none shows in time.
    HWND window(const wchar_t* className, DWORD milliseconds = kWaitMs) const {
        HWND found = nullptr;
        WaitFor(
            [&] {
                return (found = FindWindowWhere(nullptr, [&](HWND w) {
                            DWORD owner = 0;
                            GetWindowThreadProcessId(w, &owner);
                            return owner == process_.dwProcessId && IsWindowVisible(w) &&
                                   WindowClass(w) == className;
                        })) != nullptr;
            },
            milliseconds);
        return found;
    }
    HWND main(DWORD milliseconds = kWaitMs) const { return window(L"QUENORITH", milliseconds); }
    HWND box(DWORD milliseconds = kWaitMs) const { return window(L"#32770", milliseconds); }
    // Watches the program until it ends: whether its main window showed meanwhile.
    bool showsWindowBeforeItEnds() const {
        bool shown = false;
        WaitFor([&] { return (shown = shown || main(0)), !running(); });
        return shown;
    }
    bool running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    // The exit code, or STILL_ACTIVE when the program does not end in time.
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

void ShowPage(HWND window, int page) {
    Post(window, WM_COMMAND, page + 1,
         reinterpret_cast<LPARAM>(FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr)));
}

// Opens the settings icon's menu and chooses its item (1 to 3) with the keys its loop reads.
void ChooseSetting(HWND window, int item) {
    Post(window, WM_COMMAND, 0, reinterpret_cast<LPARAM>(Child(window, L"Static", L"Settings")));
    for (int k = 0; k < item; ++k)
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Env("VELKARO_TEST_SERVICE").empty()) << "run through with_stand_in.sh";
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(machine.path().c_str()));
        SetEnvironmentVariableW(L"APPDATA", AsWide(user.path().c_str()));
        useService(L"http://127.0.0.1:" + Env("VELKARO_TEST_CLOSED_PORT") + L"/gone");
        DeleteAppraiserTask();
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
                values.push_back(ScopedRegistryValue::Text(
                    HKEY_CURRENT_USER,
                    (L"Software\\Wine\\AppDefaults\\" + std::wstring(exe) + L"\\DllOverrides")
                        .c_str(),
                    dll, L"native,builtin"));
        // The user's browser: the stand-in leaves the address it was given in browser.exe.ran.
        values.push_back(ScopedRegistryValue::Text(HKEY_CLASSES_ROOT,
                                                   L"https\\shell\\open\\command", L"",
                                                   L"\"" + dir + L"\\browser.exe\" \"%1\""));
        ASSERT_TRUE(schtasks.planted());
    }
    void TearDown() override {
        for (const wchar_t* marker : {L"msftedit.dll.loaded", L"wininet.dll.loaded"})
            EXPECT_EQ(GetFileAttributesW((dir + L"\\" + marker).c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_FALSE(schtasks.ran()) << "a schtasks.exe found by a search";
        values.clear();
    }
    void useService(const std::wstring& base) {
        SetEnvironmentVariableW(L"VELKARO_TEST_SERVICE", base.c_str());
    }
    void useStandIn(const wchar_t* segment) {
        useService(Env("VELKARO_TEST_SERVICE") + L"/" + segment);
    }
    // A data store of its own, which the start-up check asks as if for the first time today,
    // whose trail holds the record "2:5;" not yet reported.
    void freshStore() {
        store.emplace();
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(store->path().c_str()));
        ErrorTrail trail{};
        std::strcpy(trail.text, "101000#2:5;");
        unsigned char image[kTrailImageSize];
        WriteTrailImage(trail, image);
        const std::uint64_t reported = 7 + kTrailLengthMask; // "101000#"
        std::memcpy(image + kTrailTextSize, &reported, sizeof reported);
        std::wstring path = AsWide(store->path().c_str());
        for (const wchar_t* name : {L"\\Quenorith", L"\\Velkarostrandemilquorbenix"})
            CreateDirectoryW((path += name).c_str(), nullptr);
        std::ofstream((path + L"\\Trail.dat").c_str(), std::ios::binary)
            .write(reinterpret_cast<const char*>(image), sizeof image);
    }
    // The address the browser was given (waited for up to the time), forgotten once read.
    std::string browsed(DWORD milliseconds) const {
        const std::wstring marker = dir + L"\\browser.exe.ran";
        WaitFor([&] { return GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                milliseconds);
        const std::string address = ReadFile(marker);
        DeleteFileW(marker.c_str());
        return address;
    }

    TestFolder machine, user, folder;
    std::optional<TestFolder> store;
    const std::wstring dir = AsWide(folder.path().c_str());
    const PlantedSchtasks schtasks{folder.path()};
    std::vector<ScopedRegistryValue> values;
};

// Within the window's grace the question comes before the window; a later answer (the stand-in's
// "late" answers after 2 s) over the window; a service that never answers holds neither the
// window nor the end. Yes opens the download page in the user's browser and ends the program.
TEST_F(ProgramTest, TheUpdateQuestionComesBeforeTheWindowOrOverItAndYesOpensThePage) {
    for (const int yes : {0, 1}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        useStandIn(L"one");
        freshStore();
        Program program(dir);
        const HWND box = program.box();
        EXPECT_EQ(program.main(0), nullptr) << "the window waits for a quick answer";
        Answer(box, kNewVersion, yes ? IDYES : IDNO);
        if (yes) {
            EXPECT_FALSE(program.showsWindowBeforeItEnds());
        } else {
            const HWND window = program.main();
            ASSERT_NE(window, nullptr);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(program.exitCode(), 0u);
        EXPECT_EQ(browsed(yes ? 5000 : 0).find(kDownloadPage) != std::string::npos, yes == 1);
    }
    // Asked again with "Check for update" while the start-up check waits: one question.
    for (const int yes : {0, 1}) {
        SCOPED_TRACE(yes ? "late, Yes" : "late, checked again, No");
        useStandIn(L"late");
        freshStore();
        Program program(dir);
        const HWND window = program.main(3000);
        ASSERT_NE(window, nullptr) << "no window within 3 s";
        EXPECT_EQ(program.box(0), nullptr);
        if (!yes) ChooseSetting(window, 3);
        Answer(program.box(), kNewVersion, yes ? IDYES : IDNO);
        if (!yes) {
            EXPECT_EQ(program.box(3000), nullptr) << "asked a second time";
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(program.exitCode(), 0u);
        EXPECT_EQ(browsed(yes ? 5000 : 0).find(kDownloadPage) != std::string::npos, yes == 1);
    }
    // Up to date, and silent over http and over https (stuck in the TLS handshake), with a
    // record to report left from an earlier run: no question, and closing ends the program.
    for (const std::wstring& service :
         {Env("VELKARO_TEST_SERVICE") + L"/zero", Env("VELKARO_TEST_SERVICE") + L"/silent",
          Env("VELKARO_TEST_SILENT_HTTPS")}) {
        SCOPED_TRACE(std::string(service.begin(), service.end()));
        useService(service);
        freshStore();
        Program program(dir);
        const HWND window = program.main(3000);
        ASSERT_NE(window, nullptr) << "no window within 3 s";
        EXPECT_EQ(program.box(0), nullptr);
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.exitCode(1000), 0u) << "the program waited for the service to end";
    }
}

TEST_F(ProgramTest, OnWindows81ItSaysSoAndEndsWithoutItsWindow) {
    auto version =
        ScopedRegistryValue::Text(HKEY_CURRENT_USER, L"Software\\Wine", L"Version", L"win81");
    Program program(dir);
    Answer(program.box(), L"Sorry, this Windows version is not supported.", IDOK);
    EXPECT_FALSE(program.showsWindowBeforeItEnds());
    EXPECT_EQ(program.exitCode(), 0u);
}

// One long session: the stored state on every page, a tooltip, the keyboard, Apply by click and
// key, Import and Export opened, changes left unapplied at the end. The telemetry task is read
// through the Task Scheduler; records left unreported go to the service once.
TEST_F(ProgramTest, AUserSeesTheSystemAppliesChangesAndLeavesTheRestAsItWas) {
    TweakRegistrySnapshot snapshot;
    RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    useStandIn(L"leftover");
    freshStore();
    DeleteRegTree(Hive::ClassesRoot, kCopyToKey);
    DeleteRegTree(Hive::CurrentUser, kRecycleBinKey);
    const std::wstring godMode = [] {
        PWSTR desktop = nullptr;
        SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop);
        std::wstring path =
            desktop + std::wstring(L"\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}");
        CoTaskMemFree(desktop);
        return path;
    }();
    RemoveDirectoryW(godMode.c_str());
    for (auto [name, value] : {std::pair{L"ExtendedUIHoverTime", 250},
                               {L"ThumbnailLivePreviewHoverTime", 1234},
                               {L"ShowSecondsInSystemClock", 1},
                               {L"DisablePreviewWindow", 0}})
        values.push_back(ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, name, value));
    values.push_back(ScopedRegistryValue::Text(HKEY_LOCAL_MACHINE,
                                               L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                               L"RegisteredOwner", L"Quenorith Tester"));
    values.push_back(ScopedRegistryValue::Dword(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
        L"NoDriveTypeAutoRun", 255));
    values.push_back(ScopedRegistryValue::Text(
        HKEY_CLASSES_ROOT, L"*\\shell\\Open with Notepad\\command", L"", L"notepad.exe %1"));

    Program program(dir);
    const HWND window = program.main();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), kCaption);
    const struct {
        int page;
        const wchar_t* text;
        bool checked;
    } shown[] = {
        {0, L"Recycle Bin", false},
        {1, L"Show seconds on taskbar clock", true},
        {1, L"Turn off thumbnail live preview", false},
        {2, L"Open with Notepad for all files", true},
        {2, L"Copy To", false},
        {4, L"Disable autorun (recommended)", true},
        {4, L"Enable autorun", false},
        {5, L"Disable Compatibility telemetry", false}, // the task is ready
    };
    for (const auto& row : shown) { // page 0 first, before any page was chosen
        if (row.page) ShowPage(window, row.page);
        const HWND box = Child(window, L"Button", row.text);
        EXPECT_TRUE(IsWindowVisible(box) && IsChecked(box) == row.checked)
            << row.page << " " << row.checked;
    }
    ShowPage(window, 1);
    EXPECT_EQ(WindowText(ChildAt(window, L"Edit", 255, 178)), L"250");
    EXPECT_EQ(WindowText(ChildAt(window, L"Edit", 255, 208)), L"1234");
    ShowPage(window, 3);
    EXPECT_EQ(WindowText(ChildAt(window, L"Edit", 650, 123)), L"Quenorith Tester");

    // The pointer rests on a box: its tip explains it.
    ShowPage(window, 1);
    const HWND seconds = Child(window, L"Button", L"Show seconds on taskbar clock");
    RECT r{};
    GetWindowRect(seconds, &r);
    SetCursorPos(r.left + 20, (r.top + r.bottom) / 2);
    HWND tip = program.window(TOOLTIPS_CLASSW, 5000);
    ASSERT_NE(tip, nullptr) << "no tip within 5 s";
    EXPECT_EQ(WindowText(tip).rfind(L"Shows the seconds in the taskbar clock.", 0), 0u);
    SetCursorPos(0, 0);

    // The keyboard: Tab from page 0's top to its first box, Space checks it, Ctrl+Tab shows
    // page 1, Tab reaches Apply, Enter applies.
    ShowPage(window, 0);
    SetForegroundWindow(window);
    const HWND apply = Child(window, L"Button", L"Apply");
    auto focus = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
        return info.hwndFocus;
    };
    const HWND recycleBin = Child(window, L"Button", L"Recycle Bin");
    Type(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == recycleBin; }));
    Type(VK_SPACE);
    EXPECT_TRUE(WaitFor([&] { return IsChecked(recycleBin); }));
    Type(VK_TAB, {VK_CONTROL});
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(seconds) && !IsWindowVisible(recycleBin); }));
    const HWND toolbar = FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
    EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 2, 0) &&
                !SendMessageW(toolbar, TB_ISBUTTONCHECKED, 1, 0));
    for (int presses = 0; presses < 20 && focus() != apply; ++presses) {
        const HWND before = focus();
        Type(VK_TAB);
        WaitFor([&] { return focus() != before; }, 2000);
    }
    ASSERT_EQ(focus(), apply);
    Type(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return KeyExists(HKEY_CURRENT_USER, kRecycleBinKey); }));
    if (HWND box = program.box(2000))
        Answer(box, L"Log out is required for the changes to take effect.", IDOK);
    // Back from Apply: page 1's last control; on past Apply: the settings icon, whose menu Enter
    // opens and Escape closes.
    Type(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(WaitFor([&] { return focus() == ChildAt(window, L"Button", 400, 248); }));
    Type(VK_TAB), Type(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == ChildAt(window, L"Static", 10, 533); }));
    Type(VK_RETURN);
    EXPECT_NE(program.window(L"#32768"), nullptr) << "the settings menu";
    Type(VK_ESCAPE);
    // Page 4's radio pair is one stop; an arrow moves to the other button and chooses it.
    for (int page = 1; page < 4; ++page)
        Type(VK_TAB, {VK_CONTROL});
    const HWND disable = Child(window, L"Button", L"Disable autorun (recommended)");
    const HWND enable = Child(window, L"Button", L"Enable autorun");
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(enable); }));
    Type(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return focus() == disable; }));
    Type(VK_DOWN);
    EXPECT_TRUE(
        WaitFor([&] { return focus() == enable && IsChecked(enable) && !IsChecked(disable); }));

    // Apply by click: a change that needs a log-out says so; a context-menu entry and the
    // GodMode folder do not, and the GodMode box is unchecked again.
    ShowPage(window, 1);
    Post(seconds, BM_CLICK);
    Post(apply, BM_CLICK);
    Answer(program.box(), L"Log out is required for the changes to take effect.", IDOK);
    EXPECT_EQ(Dword(L"ShowSecondsInSystemClock"), 0u);
    ShowPage(window, 2);
    Post(Child(window, L"Button", L"Copy To"), BM_CLICK);
    ShowPage(window, 3);
    const HWND godModeBox = Child(window, L"Button", L"Add GodMode folder to the desktop");
    Post(godModeBox, BM_CLICK);
    Post(apply, BM_CLICK);
    EXPECT_EQ(program.box(0), nullptr);
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCopyToKey));
    EXPECT_TRUE(RemoveDirectoryW(godMode.c_str())) << "the GodMode folder";
    EXPECT_FALSE(IsChecked(godModeBox));
    // Nothing changed since: a second Apply writes nothing, changes behind the program's back
    // stay, and it says nothing.
    DeleteRegTree(Hive::ClassesRoot, kCopyToKey);
    Post(apply, BM_CLICK);
    EXPECT_EQ(program.box(0), nullptr);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kCopyToKey));

    // Import and Export shows its explanation in the system's rich edit control.
    ChooseSetting(window, 2);
    const HWND dialog = program.box();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(_wcsicmp(WindowClass(GetDlgItem(dialog, 6007)).c_str(), L"RICHEDIT50W"), 0);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 6007)).rfind(L"Export allows to save", 0), 0u);
    Post(dialog, WM_CLOSE);

    // Closed with a box changed and not applied: nothing written, nothing asked.
    ShowPage(window, 2);
    Post(Child(window, L"Button", L"Copy To"), BM_CLICK);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kCopyToKey));
    EXPECT_NE(Recorded("leftover-1.body").find("2:5;"), std::string::npos) << "reported at start";
    EXPECT_EQ(Recorded("leftover-2.body").find("2:5;"), std::string::npos) << "and only then";
    DeleteRegTree(Hive::CurrentUser, kRecycleBinKey);
}

TEST_F(ProgramTest, VlkShowsTheSettingsWithTheSystemLibraries) {
    Program vlk(dir, L"vlk", L" show");
    EXPECT_EQ(vlk.exitCode(3 * kWaitMs), 0u);
}

} // namespace
