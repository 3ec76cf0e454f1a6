// The program driven from outside, as a user drives it: the test starts the executable, finds
// its window of class QUENORITH and the controls by their texts, clicks them, reads and answers
// message boxes, closes the window and checks the registry, the files and the exit code.
// with_stand_in.sh runs a local stand-in of the maker's services beside it.
#include "engine/win32/wide.h"
#include "services/trail_image.h"
#include "tests/app/window_test_support.h"
#include "tests/support/registry_tree.h"
#include "tests/support/scheduled_task.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr wchar_t kCurrentVersionNT[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t kUserPolicies[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr char16_t kCopyToKey[] =
    u"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\{C2FBB630-2971-11D1-A18C-00C04FD75D13}";
constexpr char16_t kNotepadKey[] = u"*\\shell\\Open with Notepad";
constexpr char16_t kRecycleBinKey[] =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace\\"
    u"{645FF040-5081-101B-9F08-00AA002F954E}";
constexpr wchar_t kGodModeName[] = L"\\GodMode.{ED7BA470-8E54-465E-825C-99712043E01C}";

constexpr wchar_t kCaption[] = L"Velkarostrandemilquorbenix";
constexpr wchar_t kLogOutText[] = L"Log out is required for the changes to take effect.";
constexpr wchar_t kNewVersionText[] = L"New version available. Would you like to download it.";
constexpr wchar_t kUnsupportedText[] = L"Sorry, this Windows version is not supported.";

constexpr DWORD kWaitMs = 20000;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    return out;
}

std::wstring programPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + widen(VELKARO_PROGRAM_UNDER_TEST);
}

// Waits until the condition holds, checking every 20 ms.
bool waitFor(const std::function<bool()>& condition, DWORD milliseconds = kWaitMs) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (!condition()) {
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
    return true;
}

// Text of a window of another process, asked of the window itself.
std::wstring textOf(HWND window) {
    wchar_t buffer[512] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK,
                        10000, &result);
    return buffer;
}

// Delivers the message without waiting for its handler, then waits until the window's thread
// has handled it (or has entered a nested loop, as a message box's).
void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SendNotifyMessageW(window, message, wParam, lParam);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &result);
}

void click(HWND control) {
    post(control, BM_CLICK, 0, 0);
}

bool isChecked(HWND control) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_BLOCK, 10000, &state);
    return state == BST_CHECKED;
}

// The child of the window with the class and text.
HWND childWithText(HWND parent, const wchar_t* className, const std::wstring& text) {
    struct Search {
        const wchar_t* className;
        const std::wstring* text;
        HWND found;
    } search{className, &text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (WindowClass(child) != s->className || textOf(child) != *s->text) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The child of the class whose top-left corner lies at (x, y) in the parent's client area.
HWND childAt(HWND parent, const wchar_t* className, int x, int y) {
    struct Search {
        const wchar_t* className;
        int x, y;
        HWND found;
    } search{className, x, y, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            const RECT rect = ChildRect(child);
            if (WindowClass(child) != s->className || rect.left != s->x || rect.top != s->y)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible top-level window of the process with the class.
HWND topLevelOf(DWORD processId, const wchar_t* className) {
    struct Search {
        DWORD processId;
        const wchar_t* className;
        HWND found;
    } search{processId, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId || !IsWindowVisible(window) ||
                WindowClass(window) != s->className)
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One run of the program: started in the constructor, ended (if still running) by the
// destructor.
class Program {
  public:
    Program() : Program(programPath()) {}
    // The program at the path, in the folder as its current directory when one is given.
    explicit Program(const std::wstring& path, const wchar_t* folder = nullptr) {
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, folder, &startup, &process_) != 0;
        EXPECT_TRUE(started_) << narrow(path) << " error " << GetLastError();
    }
    ~Program() {
        if (!started_) return;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            ADD_FAILURE() << "the program was still running";
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, kWaitMs);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The main window once it is visible; null when it does not appear in time.
    HWND mainWindow(DWORD milliseconds = kWaitMs) {
        HWND found = nullptr;
        waitFor([&] { return (found = topLevelOf(process_.dwProcessId, L"QUENORITH")) != nullptr; },
                milliseconds);
        return found;
    }
    // A visible message box (or any dialog) of the program; null when none appears in time.
    HWND messageBox(DWORD milliseconds = kWaitMs) {
        HWND found = nullptr;
        waitFor([&] { return (found = topLevelOf(process_.dwProcessId, L"#32770")) != nullptr; },
                milliseconds);
        return found;
    }
    bool hasMessageBox() { return topLevelOf(process_.dwProcessId, L"#32770") != nullptr; }
    bool hasMainWindow() { return topLevelOf(process_.dwProcessId, L"QUENORITH") != nullptr; }
    // Watches the program until it ends: whether its main window became visible meanwhile.
    bool showsWindowBeforeItEnds() {
        bool shown = false;
        waitFor([&] {
            shown = shown || hasMainWindow();
            return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        });
        return shown;
    }
    // The exit code, or STILL_ACTIVE when the program does not end in time.
    DWORD exitCode(DWORD milliseconds = kWaitMs) {
        if (WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0)
            return STILL_ACTIVE;
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

std::wstring messageText(HWND box) {
    return textOf(GetDlgItem(box, 0xFFFF));
}

// Presses the message box's button and waits until the box has gone.
void answer(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    ASSERT_NE(control, nullptr) << "button " << button;
    SendNotifyMessageW(control, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
}

void closeWindow(HWND window) {
    PostMessageW(window, WM_CLOSE, 0, 0);
}

void showPage(HWND window, int page) {
    HWND toolbar = FindWindowExW(window, nullptr, L"ToolbarWindow32", nullptr);
    ASSERT_NE(toolbar, nullptr);
    post(window, WM_COMMAND, static_cast<WPARAM>(page + 1), reinterpret_cast<LPARAM>(toolbar));
}

HWND checkBox(HWND window, const wchar_t* text) {
    HWND found = childWithText(window, L"Button", text);
    EXPECT_NE(found, nullptr) << narrow(text);
    return found;
}

std::optional<DWORD> readDword(HKEY root, const wchar_t* key, const wchar_t* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool keyExists(HKEY root, const char16_t* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, AsWide(key), 0, KEY_READ | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS)
        return false;
    RegCloseKey(opened);
    return true;
}

std::wstring desktopFolder() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &path) == S_OK) folder = path;
    CoTaskMemFree(path);
    return folder;
}

// A diagnostic log under the data folder whose trail holds the record "2:5;" not yet reported.
void leaveUnreportedRecord(const TestFolder& dataFolder) {
    ErrorTrail trail{};
    std::strcpy(trail.text, "101000#2:5;");
    unsigned char image[kTrailImageSize];
    WriteTrailImage(trail, image);
    const std::uint64_t reported = 7 + kTrailLengthMask; // "101000#"
    std::memcpy(image + kTrailTextSize, &reported, sizeof reported);
    std::wstring path = AsWide(dataFolder.path().c_str());
    for (const wchar_t* name : {L"\\Quenorith", L"\\Velkarostrandemilquorbenix"})
        CreateDirectoryW((path += name).c_str(), nullptr);
    std::ofstream((path + L"\\Trail.dat").c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(image), sizeof image);
}

// A file the stand-in service wrote (a report's body), through Wine's Z: drive; empty when none.
std::string recorded(const std::string& name) {
    std::string path = "Z:" + environment("VELKARO_TEST_STATE") + "/" + name;
    for (char& c : path)
        if (c == '/') c = '\\';
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(environment("VELKARO_TEST_SERVICE").empty())
            << "run through tests/services/with_stand_in.sh";
        snapshot.emplace();
        // The program's data store and trail in fresh folders; no telemetry task.
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(machine.path().c_str()));
        SetEnvironmentVariableW(L"APPDATA", AsWide(user.path().c_str()));
        DeleteAppraiserTask();
        useService(L"http://127.0.0.1:" + widen(environment("VELKARO_TEST_CLOSED_PORT")) +
                   L"/gone");
        // A known state of the tweaks the tests change.
        DeleteRegTree(Hive::ClassesRoot, kCopyToKey);
        godMode = desktopFolder() + kGodModeName;
        RemoveDirectoryW(godMode.c_str());
    }
    void TearDown() override {
        DeleteRegTree(Hive::ClassesRoot, kCopyToKey);
        DeleteRegTree(Hive::ClassesRoot, kNotepadKey);
        DeleteRegTree(Hive::CurrentUser, kRecycleBinKey);
        RemoveDirectoryW(godMode.c_str());
        values.clear();
        snapshot.reset(); // the tweaks as they were before the test
    }
    // Where the program's update check and reports go; a segment of the stand-in picks its
    // answer.
    void useService(const std::wstring& base) {
        SetEnvironmentVariableW(L"VELKARO_TEST_SERVICE", base.c_str());
    }
    void useStandIn(const char* segment) {
        useService(widen(environment("VELKARO_TEST_SERVICE")) + L"/" + widen(segment));
    }

    TestFolder machine;
    TestFolder user;
    std::wstring godMode;
    std::optional<TweakRegistrySnapshot> snapshot;
    std::vector<ScopedRegistryValue> values;
};

TEST_F(ProgramTest, StartShowsPageZeroAndEveryPageShowsTheStoredValues) {
    values.push_back(
        ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, L"ExtendedUIHoverTime", 250));
    values.push_back(ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced,
                                                L"ThumbnailLivePreviewHoverTime", 1234));
    values.push_back(
        ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock", 1));
    values.push_back(
        ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, L"DisablePreviewWindow", 0));
    values.push_back(ScopedRegistryValue::Text(HKEY_LOCAL_MACHINE, kCurrentVersionNT,
                                               L"RegisteredOwner", L"Quenorith Tester"));
    values.push_back(
        ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kUserPolicies, L"NoDriveTypeAutoRun", 255));
    values.push_back(ScopedRegistryValue::Dword(HKEY_CURRENT_USER, L"Control Panel\\Desktop",
                                                L"PaintDesktopVersion", 1));
    values.push_back(ScopedRegistryValue::Text(
        HKEY_CLASSES_ROOT, L"*\\shell\\Open with Notepad\\command", L"", L"notepad.exe %1"));
    values.push_back(
        ScopedRegistryValue::Text(HKEY_CURRENT_USER, AsWide(kRecycleBinKey), L"", L"Recycle Bin"));

    Program program;
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), kCaption);
    EXPECT_FALSE(program.hasMessageBox());

    struct Shown {
        int page;
        const wchar_t* text;
        bool checked;
    };
    const Shown checks[] = {
        {0, L"Recycle Bin", true},
        {0, L"Run", false},
        {1, L"Show seconds on taskbar clock", true},
        {1, L"Turn off thumbnail live preview", false},
        {2, L"Open with Notepad for all files", true},
        {2, L"Copy To", false},
        {3, L"Paint Windows version onto the desktop", true},
        {3, L"Add GodMode folder to the desktop", false},
        {4, L"Disable autorun (recommended)", true},
        {4, L"Enable autorun", false},
        {5, L"Disable Compatibility telemetry", true},
    };
    // Page 0 comes first: its boxes are visible before any page was chosen.
    for (int page = 0; page < 6; ++page) {
        if (page > 0) showPage(window, page);
        for (const Shown& shown : checks) {
            if (shown.page != page) continue;
            SCOPED_TRACE(narrow(shown.text));
            HWND box = checkBox(window, shown.text);
            if (!box) continue;
            EXPECT_TRUE(IsWindowVisible(box));
            EXPECT_EQ(isChecked(box), shown.checked);
        }
    }
    showPage(window, 1);
    EXPECT_EQ(textOf(childAt(window, L"Edit", 255, 178)), L"250");
    EXPECT_EQ(textOf(childAt(window, L"Edit", 255, 208)), L"1234");
    showPage(window, 3);
    EXPECT_EQ(textOf(childAt(window, L"Edit", 650, 123)), L"Quenorith Tester");

    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(ProgramTest, ApplyWritesWhatChangedAndAsksForALogOutOnlyWhenNeeded) {
    values.push_back(
        ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock", 0));
    Program program;
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);
    HWND apply = childWithText(window, L"Button", L"Apply");
    ASSERT_NE(apply, nullptr);

    showPage(window, 1);
    click(checkBox(window, L"Show seconds on taskbar clock"));
    click(apply);
    HWND box = program.messageBox();
    ASSERT_NE(box, nullptr) << "the log-out message";
    EXPECT_EQ(WindowText(box), kCaption);
    EXPECT_EQ(messageText(box), kLogOutText);
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock"), 1u);
    answer(box, IDOK);

    // A context-menu entry needs no log-out: no message.
    showPage(window, 2);
    click(checkBox(window, L"Copy To"));
    click(apply);
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, kCopyToKey));
    EXPECT_FALSE(program.hasMessageBox());

    // Nothing changed since: a second Apply writes nothing (the tweaks changed behind the
    // program's back stay as they are) and shows nothing.
    DeleteRegTree(Hive::ClassesRoot, kCopyToKey);
    const DWORD zero = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock", REG_DWORD, &zero,
                    sizeof zero);
    click(apply);
    EXPECT_FALSE(program.hasMessageBox());
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock"), 0u);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kCopyToKey));

    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(ProgramTest, ApplyCreatesTheGodModeFolderAndUnchecksItsBox) {
    Program program;
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);
    showPage(window, 3);
    HWND godModeBox = checkBox(window, L"Add GodMode folder to the desktop");
    ASSERT_NE(godModeBox, nullptr);
    click(godModeBox);
    EXPECT_TRUE(isChecked(godModeBox));
    click(childWithText(window, L"Button", L"Apply"));
    EXPECT_FALSE(program.hasMessageBox());
    const DWORD attributes = GetFileAttributesW(godMode.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << narrow(godMode);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(isChecked(godModeBox));
    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(ProgramTest, ClosingWithoutApplyWritesNothingAndAsksNothing) {
    values.push_back(
        ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock", 0));
    Program program;
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);
    showPage(window, 1);
    click(checkBox(window, L"Show seconds on taskbar clock"));
    showPage(window, 2);
    click(checkBox(window, L"Copy To"));
    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, kAdvanced, L"ShowSecondsInSystemClock"), 0u);
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, kCopyToKey));
}

TEST_F(ProgramTest, TheReadyTaskShowsTelemetryOnAndNoPlantedSchtasksStarts) {
    RegisteredAppraiserTask task;
    ASSERT_EQ(task.result(), 0u);
    const std::wstring program = programPath();
    const PlantedSchtasks besideProgram(
        AsU16(program.substr(0, program.find_last_of(L'\\')).c_str()));
    const PlantedSchtasks inCurrentFolder(CurrentFolder());
    ASSERT_TRUE(besideProgram.planted() && inCurrentFolder.planted());
    Program run;
    HWND window = run.mainWindow();
    ASSERT_NE(window, nullptr);
    showPage(window, 5);
    HWND telemetry = checkBox(window, L"Disable Compatibility telemetry");
    ASSERT_NE(telemetry, nullptr);
    EXPECT_FALSE(isChecked(telemetry));
    closeWindow(window);
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_FALSE(besideProgram.ran());
    EXPECT_FALSE(inCurrentFolder.ran());
}

TEST_F(ProgramTest, OnWindows81ItSaysSoAndEndsWithoutItsWindow) {
    ScopedRegistryValue version =
        ScopedRegistryValue::Text(HKEY_CURRENT_USER, L"Software\\Wine", L"Version", L"win81");
    Program program;
    HWND box = program.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), kCaption);
    EXPECT_EQ(messageText(box), kUnsupportedText);
    EXPECT_FALSE(program.hasMainWindow());
    answer(box, IDOK);
    EXPECT_FALSE(program.showsWindowBeforeItEnds());
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(ProgramTest, ANewVersionIsOfferedBeforeTheWindowAppears) {
    useStandIn("one");
    {
        SCOPED_TRACE("No: the window appears");
        Program program;
        HWND box = program.messageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(WindowText(box), kCaption);
        EXPECT_EQ(messageText(box), kNewVersionText);
        EXPECT_FALSE(program.hasMainWindow());
        answer(box, IDNO);
        HWND window = program.mainWindow();
        ASSERT_NE(window, nullptr);
        closeWindow(window);
        EXPECT_EQ(program.exitCode(), 0u);
    }
    {
        SCOPED_TRACE("Yes: the program ends without showing its window");
        // The start-up check asks once a day: a fresh store asks again.
        TestFolder fresh;
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(fresh.path().c_str()));
        Program program;
        HWND box = program.messageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(messageText(box), kNewVersionText);
        answer(box, IDYES);
        EXPECT_FALSE(program.showsWindowBeforeItEnds());
        EXPECT_EQ(program.exitCode(), 0u);
    }
}

TEST_F(ProgramTest, AnUnreachableOrUpToDateServiceAsksNothing) {
    for (const char* segment : {"zero", "error"}) {
        SCOPED_TRACE(segment);
        useStandIn(segment);
        TestFolder fresh;
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(fresh.path().c_str()));
        Program program;
        HWND window = program.mainWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(program.hasMessageBox());
        closeWindow(window);
        EXPECT_EQ(program.exitCode(), 0u);
    }
}

TEST_F(ProgramTest, ASilentServiceHoldsNeitherTheWindowNorTheEnd) {
    // Accepting and never answering, over http and over https (stuck in the TLS handshake):
    // neither the update check nor the report of the records left from an earlier run.
    const std::wstring silent[] = {widen(environment("VELKARO_TEST_SERVICE")) + L"/silent",
                                   widen(environment("VELKARO_TEST_SILENT_HTTPS"))};
    for (const std::wstring& service : silent) {
        SCOPED_TRACE(narrow(service));
        useService(service);
        TestFolder fresh;
        SetEnvironmentVariableW(L"PROGRAMDATA", AsWide(fresh.path().c_str()));
        leaveUnreportedRecord(fresh);
        Program program;
        HWND window = program.mainWindow(4000);
        ASSERT_NE(window, nullptr) << "no window within 4 s";
        EXPECT_FALSE(program.hasMessageBox());
        closeWindow(window);
        EXPECT_EQ(program.exitCode(3000), 0u) << "the program waited for the service to end";
    }
}

TEST_F(ProgramTest, ALateNewVersionIsOfferedOverTheWindowAndYesEndsTheProgram) {
    useStandIn("late"); // answers "new version" after 2 s
    Program program;
    HWND window = program.mainWindow(4000);
    ASSERT_NE(window, nullptr) << "no window within 4 s";
    EXPECT_FALSE(program.hasMessageBox());
    HWND box = program.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box), kNewVersionText);
    answer(box, IDYES);
    EXPECT_EQ(program.exitCode(), 0u);
}

TEST_F(ProgramTest, RecordsLeftUnreportedAreReportedOnceAfterTheStart) {
    useStandIn("leftover");
    leaveUnreportedRecord(machine);
    Program program;
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(waitFor([] { return !recorded("leftover-1.body").empty(); }));
    EXPECT_NE(recorded("leftover-1.body").find("2:5;"), std::string::npos);
    // Counted as reported once answered: an Apply would report unreported records again.
    click(childWithText(window, L"Button", L"Apply"));
    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
    EXPECT_EQ(recorded("leftover-2.body").find("2:5;"), std::string::npos);
}

TEST_F(ProgramTest, CheckForUpdateWhileTheStartUpCheckWaitsAsksOnce) {
    useStandIn("late"); // answers "new version" after 2 s, to either check
    Program program;
    HWND window = program.mainWindow(4000);
    ASSERT_NE(window, nullptr) << "no window within 4 s";
    // The settings menu's third item, chosen with the keyboard.
    post(window, WM_COMMAND, 0,
         reinterpret_cast<LPARAM>(childWithText(window, L"Static", L"Settings")));
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageW(window, WM_KEYDOWN, key, 0);
    HWND box = program.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box), kNewVersionText);
    answer(box, IDNO);
    EXPECT_EQ(program.messageBox(3000), nullptr) << "asked a second time";
    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
}

// A folder like a Downloads folder: the program and vlk beside a msftedit.dll and a wininet.dll
// that leave a marker file when loaded, that folder also the current directory. Wine loads
// such a msftedit.dll by name as Windows does; "native,builtin" makes Wine prefer such a
// wininet.dll to its own for a static import too, as Windows does for every DLL that is not a
// known DLL.
class PlantedDllTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        std::wstring built = programPath();
        built.resize(built.find_last_of(L'\\') + 1);
        const std::pair<std::wstring, const wchar_t*> copies[] = {
            {programPath(), L"Velkarostrandemilquorbenix.exe"},
            {built + L"..\\app\\vlk\\vlk.exe", L"vlk.exe"},
            {built + L"planted\\msftedit.dll", L"msftedit.dll"},
            {built + L"planted\\wininet.dll", L"wininet.dll"},
        };
        for (const auto& [from, name] : copies)
            ASSERT_TRUE(CopyFileW(from.c_str(), inFolder(name).c_str(), FALSE)) << narrow(from);
        // Wine's per-program overrides, read when a process starts.
        for (const wchar_t* program : {L"Velkarostrandemilquorbenix.exe", L"vlk.exe"})
            for (const wchar_t* dll : {L"msftedit", L"wininet"})
                values.push_back(ScopedRegistryValue::Text(
                    HKEY_CURRENT_USER,
                    (std::wstring(L"Software\\Wine\\AppDefaults\\") + program + L"\\DllOverrides")
                        .c_str(),
                    dll, L"native,builtin"));
    }
    std::wstring inFolder(const wchar_t* name) const {
        return std::wstring(AsWide(folder.path().c_str())) + L"\\" + name;
    }
    void expectNoPlantedDllLoaded() const {
        for (const wchar_t* marker : {L"msftedit.dll.loaded", L"wininet.dll.loaded"})
            EXPECT_EQ(GetFileAttributesW(inFolder(marker).c_str()), INVALID_FILE_ATTRIBUTES)
                << narrow(marker);
    }

    TestFolder folder;
};

TEST_F(PlantedDllTest, TheProgramChecksForUpdatesAndShowsImportExportWithTheSystemLibraries) {
    useStandIn("one");
    Program program(inFolder(L"Velkarostrandemilquorbenix.exe"), AsWide(folder.path().c_str()));
    HWND box = program.messageBox();
    ASSERT_NE(box, nullptr) << "the update check's question";
    EXPECT_EQ(messageText(box), kNewVersionText);
    answer(box, IDNO);
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);

    // The settings menu's second item, chosen with the keyboard.
    HWND settings = childWithText(window, L"Static", L"Settings");
    ASSERT_NE(settings, nullptr);
    post(window, WM_COMMAND, 0, reinterpret_cast<LPARAM>(settings));
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageW(window, WM_KEYDOWN, key, 0);
    HWND dialog = program.messageBox();
    EXPECT_NE(dialog, nullptr) << "the Import and Export dialog";
    HWND explanation = GetDlgItem(dialog, 6007);
    EXPECT_EQ(_wcsicmp(WindowClass(explanation).c_str(), L"RICHEDIT50W"), 0);
    EXPECT_EQ(textOf(explanation).rfind(L"Export allows to save", 0), 0u);
    post(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindow(dialog); }));

    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
    expectNoPlantedDllLoaded();
}

TEST_F(PlantedDllTest, VlkShowsTheSettingsWithTheSystemLibraries) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE nowhere =
        CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nowhere;
    std::wstring commandLine = L"\"" + inFolder(L"vlk.exe") + L"\" show";
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               AsWide(folder.path().c_str()), &startup, &process));
    CloseHandle(nowhere);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 3 * kWaitMs), WAIT_OBJECT_0);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    expectNoPlantedDllLoaded();
}

// The control that has the keyboard focus in the window's thread.
HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// A key typed as the user types it, with the keys held down around it.
void typeKey(WORD key, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD k, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = k;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD k : held)
        add(k, false);
    add(key, false);
    add(key, true);
    for (WORD k : held)
        add(k, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(ProgramTest, TheKeyboardChecksSwitchesPagesAndApplies) {
    DeleteRegTree(Hive::CurrentUser, kRecycleBinKey);
    Program program;
    HWND window = program.mainWindow();
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    HWND recycleBin = checkBox(window, L"Recycle Bin");
    HWND apply = childWithText(window, L"Button", L"Apply");
    ASSERT_NE(recycleBin, nullptr);
    ASSERT_NE(apply, nullptr);

    typeKey(VK_TAB);
    EXPECT_TRUE(waitFor([&] { return focusOf(window) == recycleBin; }))
        << "Tab from start reaches the first check box of page 0";
    typeKey(VK_SPACE);
    EXPECT_TRUE(waitFor([&] { return isChecked(recycleBin); })) << "Space checks it";

    typeKey(VK_TAB, {VK_CONTROL});
    HWND toolbar = FindWindowExW(window, nullptr, L"ToolbarWindow32", nullptr);
    EXPECT_TRUE(waitFor([&] {
        return IsWindowVisible(checkBox(window, L"Show seconds on taskbar clock")) &&
               !IsWindowVisible(recycleBin);
    })) << "Ctrl+Tab shows page 1";
    EXPECT_TRUE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 2, 0));
    EXPECT_FALSE(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 1, 0));

    for (int presses = 0; presses < 20 && focusOf(window) != apply; ++presses) {
        const HWND before = focusOf(window);
        typeKey(VK_TAB);
        waitFor([&] { return focusOf(window) != before; }, 2000);
    }
    ASSERT_EQ(focusOf(window), apply) << "Tab reaches Apply";
    typeKey(VK_RETURN);
    EXPECT_TRUE(waitFor([&] { return keyExists(HKEY_CURRENT_USER, kRecycleBinKey); }))
        << "Enter applies the checked box";
    if (HWND box = program.messageBox(2000)) answer(box, IDOK);

    // Backward from Apply: the last control of page 1; forward past Apply: the settings icon,
    // whose menu Enter opens and Escape closes.
    typeKey(VK_TAB, {VK_SHIFT});
    EXPECT_TRUE(waitFor([&] { return focusOf(window) == childAt(window, L"Button", 400, 248); }));
    typeKey(VK_TAB);
    typeKey(VK_TAB);
    EXPECT_TRUE(waitFor([&] { return focusOf(window) == childAt(window, L"Static", 10, 533); }));
    typeKey(VK_RETURN);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    EXPECT_TRUE(waitFor([&] { return topLevelOf(processId, L"#32768") != nullptr; }))
        << "the settings menu opens";
    typeKey(VK_ESCAPE);

    // Page 4's radio pair is one stop; an arrow key moves to the other button and chooses it.
    for (int page = 1; page < 4; ++page)
        typeKey(VK_TAB, {VK_CONTROL});
    HWND disable = checkBox(window, L"Disable autorun (recommended)");
    HWND enable = checkBox(window, L"Enable autorun");
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(enable); })) << "Ctrl+Tab reached page 4";
    HWND first = isChecked(enable) ? enable : disable;
    HWND other = first == enable ? disable : enable;
    typeKey(VK_TAB); // from the settings icon round to the top of the page
    EXPECT_TRUE(waitFor([&] { return focusOf(window) == first; })) << "the checked radio button";
    typeKey(VK_DOWN);
    EXPECT_TRUE(waitFor([&] { return focusOf(window) == other && isChecked(other); }));
    EXPECT_FALSE(isChecked(first));

    closeWindow(window);
    EXPECT_EQ(program.exitCode(), 0u);
}

} // namespace
