// The main window built against a prepared registry: every control where the layout puts it,
// page switching, the drive boxes, resizing and the binding to the model.

#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "settings/settings_file.h"
#include "engine/text.h"
#include "tests/app/window_test_support.h"
#include "tests/ui/dialog_test_support.h"
#include "services/app_data_store.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <bit>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr wchar_t kCurrentVersionNT[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr wchar_t kUserPolicies[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
constexpr wchar_t kMachinePolicies[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

const std::wstring kOwner60 = L"Abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWX";

// One control as the window must show it.
struct Expected {
    std::string name;
    ControlKind kind;
    const wchar_t* className;
    DWORD style; // without WS_VISIBLE
    std::wstring text;
    int x, y, width, height;
    int page;
    bool shownOnPage = true;
};

constexpr DWORD kCheckBox = 0x40010003;
constexpr DWORD kLineEdit = 0x40810000;
constexpr DWORD kTextLabel = 0x40000000;
constexpr DWORD kIconLabel = 0x40000103;
constexpr DWORD kButton = 0x40018000;
constexpr DWORD kRadio = 0x40010009;
constexpr DWORD kNumberField = 0x40812000;
constexpr DWORD kArrows = 0x400001A6;

std::vector<Expected> ExpectedLayout() {
    std::vector<Expected> all;
    auto checks = [&](const std::string& stem, int first, std::vector<std::wstring> texts, int x,
                      int y, int width, int page) {
        for (std::size_t n = 0; n < texts.size(); ++n)
            all.push_back({stem + std::to_string(first + n), ControlKind::CheckBox, L"Button",
                           kCheckBox, texts[n], x, y + 25 * static_cast<int>(n), width, 25, page});
    };
    auto previews = [&](const std::string& stem, int first, int count, int x, int y, int page) {
        for (int n = 0; n < count; ++n)
            all.push_back({stem + std::to_string(first + n), ControlKind::Button, L"Button",
                           kButton, L"Preview", x, y + 25 * n, 75, 21, page});
    };
    auto single = [&](Expected e) { all.push_back(std::move(e)); };
    // The arrows take the right end of the 55 x 22 box and narrow the field to the rest;
    // SpinBoxesShareTheirBoxWithTheirArrows checks the two together.
    auto spin = [&](const std::string& name, const wchar_t* value) {
        single({name, ControlKind::SpinBox, L"Edit", kNumberField, value, -1, -1, -1, -1, 1});
        single({name + "updown", ControlKind::SpinBox, UPDOWN_CLASSW, kArrows, L"", -1, -1, -1, -1,
                1});
    };
    using K = ControlKind;

    checks("chb0_", 0,
           {L"Recycle Bin", L"All Control Panel Items", L"Run", L"Switch between windows",
            L"Administrative Tools", L"Network Connections", L"Printers", L"Hide 3D Objects folder",
            L"Hide Desktop folder", L"Hide Documents folder", L"Hide Downloads folder",
            L"Hide Music folder", L"Hide Pictures folder", L"Hide Videos folder"},
           16, 120, 200, 0);
    for (int k = 0; k < 26; ++k) // texts and visibility come from the drives: see DriveBoxes
        single({"chb0_1_" + std::to_string(k), K::CheckBox, L"Button", kCheckBox, L"", 450,
                120 + 25 * k, 200, 25, 0, false});
    previews("btnPreview0_", 0, 14, 220, 123, 0);

    checks("chb1_", 0, {L"Turn off thumbnail live preview"}, 16, 120, 200, 1);
    previews("btnPreview1_", 0, 1, 400, 123, 1);
    checks("chb1_", 1, {L"Disable the system tray"}, 16, 145, 200, 1);
    previews("btnPreview1_", 1, 1, 400, 148, 1);
    single({"lbl1_2", K::Label, L"Static", kTextLabel, L"Taskbar thumbnail delay time", 16, 180,
            215, 25, 1});
    spin("spb1_2", L"20");
    single({"lbl1_2_1", K::Label, L"Static", kTextLabel, L"miliseconds", 315, 180, 200, 25, 1});
    previews("btnPreview1_", 2, 1, 400, 180, 1);
    single({"lbl1_3", K::Label, L"Static", kTextLabel, L"Taskbar thumbnail live preview delay time",
            16, 210, 255, 25, 1});
    spin("spb1_3", L"40000");
    single({"lbl1_3_1", K::Label, L"Static", kTextLabel, L"miliseconds", 315, 210, 200, 25, 1});
    previews("btnPreview1_", 3, 1, 400, 210, 1);
    checks("chb1_", 4, {L"Show seconds on taskbar clock"}, 16, 245, 200, 1);
    previews("btnPreview1_", 4, 1, 400, 248, 1);

    checks("chb2_", 0,
           {L"Copy To", L"Move To", L"Open with Notepad for all files", L"Take Ownership"}, 16, 120,
           200, 2);
    previews("btnPreview2_", 0, 4, 220, 123, 2);

    checks("chb3_", 0,
           {L"Disable aero shake", L"Add GodMode folder to the desktop",
            L"Stop Windows from adding \"- Shortcut\" to shortcut file names",
            L"Use verbose boot messages", L"Restore previous volume control", L"Hide Action Center",
            L"Remove OneDrive from File Explorer", L"Disable Cortana", L"Disable Lock Screen",
            L"Paint Windows version onto the desktop", L"Add previous calculator",
            L"Disable \"Look for an app in the Microsoft Store\" item"},
           16, 120, 355, 3);
    previews("btnPreview3_", 0, 12, 375, 123, 3);
    single({"lbl3_12", K::Label, L"Static", kTextLabel, L"Registered owner", 500, 125, 140, 25, 3});
    single(
        {"le3_12", K::LineEdit, L"Edit", kLineEdit, kOwner60.substr(0, 50), 650, 123, 120, 21, 3});
    previews("btnPreview3_", 12, 1, 800, 123, 3);
    single({"lbl3_13", K::Label, L"Static", kTextLabel, L"Registered organization", 500, 150, 140,
            25, 3});
    single(
        {"le3_13", K::LineEdit, L"Edit", kLineEdit, L"Quenorith Test Org", 650, 148, 120, 21, 3});
    previews("btnPreview3_", 13, 1, 800, 148, 3);

    single({"rbtn4_0", K::RadioButton, L"Button", kRadio, L"Disable autorun (recommended)", 16, 120,
            355, 25, 4});
    single({"rbtn4_1", K::RadioButton, L"Button", kRadio, L"Enable autorun", 16, 145, 355, 25, 4});
    checks("chb4_", 1,
           {L"Enable secure log on CTRL+ALT+DELETE", L"Disable Windows Script Host",
            L"Wipe the page file at shut down PC"},
           16, 180, 355, 4);
    previews("btnPreview4_", 1, 2, 375, 183, 4);

    checks("chb5_", 0, {L"Disable Compatibility telemetry"}, 16, 120, 200, 5);
    previews("btnPreview5_", 0, 1, 400, 123, 5);
    checks("chb5_", 1, {L"Disable Bing search in start menu"}, 16, 145, 200, 5);
    previews("btnPreview5_", 1, 1, 400, 148, 5);

    single({"btnSettings", K::Label, L"Static", kIconLabel, L"Settings", 10, 533, 48, 48, -1});
    single({"btnApply", K::Button, L"Button", kButton, L"Apply", 713, 533, 150, 50, -1});
    return all;
}

// The registry the window reads at start: values with a known display.
class PreparedRegistry {
  public:
    PreparedRegistry() {
        values_.push_back(
            ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced, L"ExtendedUIHoverTime", 20));
        values_.push_back(ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced,
                                                     L"ThumbnailLivePreviewHoverTime", 40000));
        values_.push_back(ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kAdvanced,
                                                     L"ShowSecondsInSystemClock", 1));
        values_.push_back(ScopedRegistryValue::Text(HKEY_LOCAL_MACHINE, kCurrentVersionNT,
                                                    L"RegisteredOwner", kOwner60));
        values_.push_back(ScopedRegistryValue::Text(HKEY_LOCAL_MACHINE, kCurrentVersionNT,
                                                    L"RegisteredOrganization",
                                                    L"Quenorith Test Org"));
        // Autorun enabled: the "Enable autorun" radio button comes up checked.
        values_.push_back(
            ScopedRegistryValue::Dword(HKEY_CURRENT_USER, kUserPolicies, L"NoDriveTypeAutoRun", 0));
        // The second present drive (D) is hidden.
        values_.push_back(
            ScopedRegistryValue::Dword(HKEY_LOCAL_MACHINE, kMachinePolicies, L"NoDrives", 8));
    }

  private:
    std::vector<ScopedRegistryValue> values_;
};

class MainWindowTest : public ::testing::Test {
  protected:
    // The window's data store and error trail in a folder of the test's own; the start-up
    // update check goes to a port nobody listens on.
    static void SetUpTestSuite() {
        registry = new PreparedRegistry;
        dataFolder = new TestFolder;
        SetTestVariable(kMachineRootVariable, dataFolder->path().c_str());
        SetTestVariable(kUserRootVariable, dataFolder->path().c_str());
    }
    static void TearDownTestSuite() {
        delete registry;
        registry = nullptr;
        delete dataFolder;
        dataFolder = nullptr;
    }
    static ServiceEndpoint nobodyListens() {
        ServiceEndpoint endpoint{};
        EXPECT_TRUE(ParseServiceBase(u"http://127.0.0.1:9/none", endpoint));
        return endpoint;
    }
    void SetUp() override {
        snapshot.emplace(); // what an Apply of the test writes goes again after it
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                              u"Velkarostrandemilquorbenix", nobodyListens());
        ASSERT_NE(window->window, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window->window);
        PumpMessages();
        window.reset();
        snapshot.reset();
    }

    HWND handleOf(ControlKind kind, const std::string& name) const {
        const UIControlSet* set = window->controlSet(kind);
        if (!set) return nullptr;
        const auto found = set->entries().find(name);
        return found != set->entries().end() ? found->second.handle : nullptr;
    }
    const ControlEntry* entryOf(ControlKind kind, const std::string& name) const {
        const UIControlSet* set = window->controlSet(kind);
        if (!set) return nullptr;
        const auto found = set->entries().find(name);
        return found != set->entries().end() ? &found->second : nullptr;
    }
    // The visibility of every registered control, by handle.
    std::map<HWND, bool> visibility() const {
        std::map<HWND, bool> shown;
        for (std::size_t k = 0; k < kControlKinds; ++k)
            if (const UIControlSet* set = window->controlSet(static_cast<ControlKind>(k)))
                for (const auto& [name, entry] : set->entries())
                    shown[entry.handle] = (WindowStyle(entry.handle) & WS_VISIBLE) != 0;
        return shown;
    }
    void clickToolbar(int command) { SendClick(window->window, window->toolbar(), command); }

    static PreparedRegistry* registry;
    static TestFolder* dataFolder;
    std::optional<TweakRegistrySnapshot> snapshot;
    std::unique_ptr<MainWindow> window;
};
PreparedRegistry* MainWindowTest::registry = nullptr;
TestFolder* MainWindowTest::dataFolder = nullptr;

TEST_F(MainWindowTest, EveryControlHasItsNameClassStyleTextPlaceAndPage) {
    const std::vector<Expected> expected = ExpectedLayout();
    std::size_t perKind[kControlKinds] = {};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        ++perKind[static_cast<std::size_t>(e.kind)];
        const ControlEntry* entry = entryOf(e.kind, e.name);
        ASSERT_NE(entry, nullptr) << "not registered";
        HWND control = entry->handle;
        EXPECT_EQ(GetParent(control), window->window);
        EXPECT_EQ(GetDlgCtrlID(control), 0);
        EXPECT_EQ(WindowClass(control), e.className);
        // An edit control takes WS_BORDER out of its style and draws the border itself.
        const DWORD style = WindowStyle(control);
        const DWORD ignored = WS_VISIBLE | (e.className == std::wstring(L"Edit") ? WS_BORDER : 0);
        EXPECT_EQ(style & ~ignored, e.style & ~ignored) << std::hex << style;
        EXPECT_EQ(GetWindowLongPtrW(control, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE, 0);
        EXPECT_EQ(entry->page, e.page);
        if (e.name.rfind("chb0_1_", 0) != 0) {
            EXPECT_EQ(entry->shownOnPage, e.shownOnPage);
            EXPECT_EQ((WindowStyle(control) & WS_VISIBLE) != 0, e.page < 1);
            EXPECT_EQ(WindowText(control), e.text);
        }
        if (e.x >= 0) {
            const RECT r = ChildRect(control);
            EXPECT_EQ(r.left, e.x);
            EXPECT_EQ(r.top, e.y);
            EXPECT_EQ(r.right - r.left, e.width);
            EXPECT_EQ(r.bottom - r.top, e.height);
        }
    }
    for (std::size_t k = 0; k < kControlKinds; ++k) {
        const UIControlSet* set = window->controlSet(static_cast<ControlKind>(k));
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->entries().size(), perKind[k]) << "no other controls of kind " << k;
    }
    EXPECT_EQ(window->currentPage(), 0);
}

TEST_F(MainWindowTest, ToolbarHasASeparatorAndSevenIconButtonsWithTheFirstChecked) {
    HWND bar = window->toolbar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(WindowClass(bar), TOOLBARCLASSNAMEW);
    EXPECT_TRUE(WindowStyle(bar) & WS_VISIBLE);
    ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 8);
    TBBUTTON button{};
    SendMessageW(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.fsStyle, BTNS_SEP);
    EXPECT_EQ(button.idCommand, 100);
    for (int k = 1; k <= 7; ++k) {
        SCOPED_TRACE(k);
        SendMessageW(bar, TB_GETBUTTON, k, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, k);
        EXPECT_EQ(button.iBitmap, k - 1);
        EXPECT_EQ(button.fsStyle, BTNS_BUTTON);
        EXPECT_EQ(button.iString, 0);
        EXPECT_EQ(SendMessageW(bar, TB_ISBUTTONCHECKED, k, 0) != 0, k == 1);
        const CommandEntry* command = window->findCommand(bar, k);
        ASSERT_NE(command, nullptr);
        EXPECT_TRUE(command->callback);
    }
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 7);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    EXPECT_EQ(cx, 96);
    EXPECT_EQ(cy, 96);
}

TEST_F(MainWindowTest, SettingsIconShowsItsIconAndOwnsTheThreeItemMenu) {
    HWND settings = handleOf(ControlKind::Label, "btnSettings");
    ASSERT_NE(settings, nullptr);
    EXPECT_NE(SendMessageW(settings, STM_GETICON, 0, 0), 0) << "icon 200 is shown";
    EXPECT_EQ(window->dropDownControl(), settings);
    EXPECT_EQ(window->dropDownItems(),
              (std::vector<std::u16string>{u"Settings", u"Import/Export", u"Check for update"}));
    for (int id : {15, 16, 17}) {
        const CommandEntry* command = window->findCommand(settings, id);
        ASSERT_NE(command, nullptr) << id;
        EXPECT_TRUE(command->callback);
    }
    EXPECT_EQ(window->findCommand(settings, 0), nullptr) << "a dismissed menu runs nothing";
}

TEST_F(MainWindowTest, CallbacksExistExactlyForPreviewsLivePreviewAndApply) {
    for (std::size_t k = 0; k < kControlKinds; ++k) {
        const UIControlSet* set = window->controlSet(static_cast<ControlKind>(k));
        for (const auto& [name, entry] : set->entries()) {
            SCOPED_TRACE(name);
            const bool wanted =
                name.rfind("btnPreview", 0) == 0 || name == "chb1_0" || name == "btnApply";
            const CommandEntry* command = window->findCommand(entry.handle, 0);
            ASSERT_EQ(command != nullptr, wanted);
            if (command) {
                EXPECT_EQ(command->controlName, name) << "registered right after its control";
            }
        }
    }
}

TEST_F(MainWindowTest, PageSwitchShowsExactlyThePagesControls) {
    // Hidden by the program on page 2 while it is on view; stays hidden until shown again.
    clickToolbar(3);
    window->checkBox("chb2_1")->setVisible(false);
    const std::map<HWND, bool> before = visibility();
    HWND hidden = handleOf(ControlKind::CheckBox, "chb2_1");

    for (int page : {4, 2, 0, 5, 3, 1, 2}) {
        SCOPED_TRACE(page);
        clickToolbar(page + 1);
        EXPECT_EQ(window->currentPage(), page);
        for (int k = 1; k <= 7; ++k)
            EXPECT_EQ(SendMessageW(window->toolbar(), TB_ISBUTTONCHECKED, k, 0) != 0, k == page + 1)
                << "button " << k;
        for (std::size_t kind = 0; kind < kControlKinds; ++kind) {
            for (const auto& [name, entry] :
                 window->controlSet(static_cast<ControlKind>(kind))->entries()) {
                const bool visible = (WindowStyle(entry.handle) & WS_VISIBLE) != 0;
                if (entry.page == -1)
                    EXPECT_EQ(visible, before.at(entry.handle)) << name;
                else
                    EXPECT_EQ(visible, entry.page == page && entry.shownOnPage) << name;
            }
        }
    }
    EXPECT_FALSE(IsWindowVisible(hidden));
    window->checkBox("chb2_1")->setVisible(true);
    clickToolbar(1);
    clickToolbar(3);
    EXPECT_TRUE(WindowStyle(hidden) & WS_VISIBLE);

    // About (button 7) opens its dialog and changes neither the page nor the check mark.
    ModalWatcher about;
    about.watch([&] { clickToolbar(7); });
    EXPECT_FALSE(about.caption.empty()) << "no About dialog";
    EXPECT_EQ(window->currentPage(), 2);
    EXPECT_TRUE(SendMessageW(window->toolbar(), TB_ISBUTTONCHECKED, 3, 0));
}

TEST_F(MainWindowTest, ChoosingTheCurrentPageDoesNothing) {
    HWND absentSlot = handleOf(ControlKind::CheckBox, "chb0_1_25");
    HWND folder = handleOf(ControlKind::CheckBox, "chb0_3");
    ShowWindow(absentSlot, SW_SHOW);
    ShowWindow(folder, SW_HIDE);
    clickToolbar(1);
    EXPECT_TRUE(WindowStyle(absentSlot) & WS_VISIBLE);
    EXPECT_FALSE(WindowStyle(folder) & WS_VISIBLE);
    EXPECT_TRUE(SendMessageW(window->toolbar(), TB_ISBUTTONCHECKED, 1, 0));
}

// Drive letters D and G for the window's lifetime, so that the present drives have gaps.
class DriveTest : public MainWindowTest {
  protected:
    void SetUp() override {
        for (const wchar_t* drive : kDrives)
            ASSERT_TRUE(DefineDosDeviceW(0, drive, L"C:\\windows")) << GetLastError();
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        for (const wchar_t* drive : kDrives)
            EXPECT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive, nullptr));
    }
    static constexpr const wchar_t* kDrives[] = {L"D:", L"G:"};
};

TEST_F(DriveTest, DriveBoxesFollowThePresentDrivesWithGaps) {
    const DWORD mask = GetLogicalDrives();
    // C, D and G (and Wine's Z); E and F are a gap.
    ASSERT_TRUE(mask & (1u << 2));
    ASSERT_TRUE(mask & (1u << 3)) << std::hex << mask;
    ASSERT_TRUE(mask & (1u << 6)) << std::hex << mask;
    ASSERT_FALSE(mask & (1u << 4));
    ASSERT_FALSE(mask & (1u << 5));

    std::vector<wchar_t> letters;
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) letters.push_back(static_cast<wchar_t>(L'A' + i));
    ASSERT_EQ(letters.size(), static_cast<std::size_t>(std::popcount(mask)));

    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        for (std::size_t k = 0; k < 26; ++k) {
            SCOPED_TRACE(k);
            const ControlEntry* entry =
                entryOf(ControlKind::CheckBox, "chb0_1_" + std::to_string(k));
            ASSERT_NE(entry, nullptr);
            const RECT r = ChildRect(entry->handle);
            EXPECT_EQ(r.left, 450);
            EXPECT_EQ(r.top, 120 + 25 * static_cast<int>(k));
            const bool present = k < letters.size();
            EXPECT_EQ(entry->shownOnPage, present);
            EXPECT_EQ((WindowStyle(entry->handle) & WS_VISIBLE) != 0,
                      present && window->currentPage() == 0);
            if (present) {
                EXPECT_EQ(WindowText(entry->handle), std::wstring(L"Hide drive ") + letters[k]);
            }
            // NoDrives hides D, the second present drive.
            EXPECT_EQ(SendMessageW(entry->handle, BM_GETCHECK, 0, 0) == BST_CHECKED,
                      present && letters[k] == L'D');
        }
    };
    check("after start");
    clickToolbar(4);
    check("on page 3");
    clickToolbar(1);
    check("back on page 0");
}

TEST_F(DriveTest, ApplyAndExportKeepTheLettersTheBoxesShowWhileDrivesComeAndGo) {
    // The boxes show C, D (hidden by NoDrives), G; then D goes and E comes.
    ScopedRegistryValue noDrives =
        ScopedRegistryValue::Dword(HKEY_LOCAL_MACHINE, kMachinePolicies, L"NoDrives", 8);
    ASSERT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"D:", nullptr));
    ASSERT_TRUE(DefineDosDeviceW(0, L"E:", L"C:\\windows"));
    for (int click = 0; click < 2; ++click) {
        ModalWatcher any;
        any.watch([&] { window->onApply(); });
        DWORD hidden = 0, size = sizeof hidden;
        RegGetValueW(HKEY_LOCAL_MACHINE, kMachinePolicies, L"NoDrives", RRF_RT_REG_DWORD, nullptr,
                     &hidden, &size);
        EXPECT_EQ(hidden, 8u) << "Apply " << click << " hides D only";
        EXPECT_EQ(WindowText(handleOf(ControlKind::CheckBox, "chb0_1_1")), L"Hide drive D");
        EXPECT_TRUE(window->checkBox("chb0_1_1")->isChecked());
    }
    const std::u16string file = dataFolder->path() + u"\\drives.vlkd";
    window->collectControls();
    ASSERT_EQ(ExportSettings(*window, file.c_str()), 0u);
    SettingsRecords records;
    ASSERT_EQ(ReadSettingsFile(records, file.c_str(), window->errorTrail), 0u);
    EXPECT_EQ(records[14 + 3].value.number, 1u) << "D";
    EXPECT_EQ(records[14 + 4].value.number, 0u) << "E";
    EXPECT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"E:", nullptr));
    EXPECT_TRUE(DefineDosDeviceW(0, L"D:", L"C:\\windows"));
}

TEST_F(MainWindowTest, ResizingMovesOnlyTheAnchoredControls) {
    std::map<HWND, RECT> before;
    for (std::size_t kind = 0; kind < kControlKinds; ++kind)
        for (const auto& [name, entry] :
             window->controlSet(static_cast<ControlKind>(kind))->entries())
            before[entry.handle] = ChildRect(entry.handle);
    HWND apply = handleOf(ControlKind::Button, "btnApply");
    HWND settings = handleOf(ControlKind::Label, "btnSettings");

    struct Size {
        int dx, dy;
    };
    for (const Size s : {Size{100, 60}, Size{250, 0}, Size{0, 300}, Size{0, 0}}) {
        SCOPED_TRACE(testing::Message() << s.dx << "," << s.dy);
        SetWindowPos(window->window, nullptr, 0, 0, 916 + s.dx, 640 + s.dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (const auto& [control, rect] : before) {
            const RECT now = ChildRect(control);
            int dx = 0, dy = 0;
            if (control == apply) dx = s.dx, dy = s.dy;
            if (control == settings) dy = s.dy;
            EXPECT_EQ(now.left, rect.left + dx) << WindowText(control).size();
            EXPECT_EQ(now.top, rect.top + dy);
            EXPECT_EQ(now.right - now.left, rect.right - rect.left);
            EXPECT_EQ(now.bottom - now.top, rect.bottom - rect.top);
        }
    }
    const RECT applyRect = ChildRect(apply);
    EXPECT_EQ(applyRect.left, 713);
    EXPECT_EQ(applyRect.top, 533);
}

TEST_F(MainWindowTest, WindowCannotBeMadeSmallerThanItsInitialSize) {
    MINMAXINFO info{};
    SendMessageW(window->window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 916);
    EXPECT_EQ(info.ptMinTrackSize.y, 640);

    SetWindowPos(window->window, nullptr, 0, 0, 500, 300,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(window->window, &r);
    EXPECT_EQ(r.right - r.left, 916);
    EXPECT_EQ(r.bottom - r.top, 640);
}

TEST_F(MainWindowTest, SpinBoxesShareTheirBoxWithTheirArrows) {
    for (const auto& [name, y] : {std::pair{std::string("spb1_2"), 178}, {"spb1_3", 208}}) {
        SCOPED_TRACE(name);
        const RECT field = ChildRect(handleOf(ControlKind::SpinBox, name));
        const RECT arrows = ChildRect(handleOf(ControlKind::SpinBox, name + "updown"));
        EXPECT_EQ(field.left, 255);
        EXPECT_EQ(field.top, y);
        EXPECT_EQ(field.bottom - field.top, 22);
        EXPECT_GT(field.right - field.left, 30);
        // The arrows sit at the right end of the box, over the field's right border.
        EXPECT_GE(arrows.left, field.right - 2);
        EXPECT_LE(arrows.right, 255 + 55);
        EXPECT_GT(arrows.right, 255 + 55 - 4);
        EXPECT_GE(arrows.top, y);
        EXPECT_LE(arrows.bottom, y + 22);
    }
}

TEST_F(MainWindowTest, LivePreviewCheckBoxDisablesOnlyTheDelayField) {
    HWND toggle = handleOf(ControlKind::CheckBox, "chb1_0");
    HWND field = handleOf(ControlKind::SpinBox, "spb1_3");
    HWND arrows = handleOf(ControlKind::SpinBox, "spb1_3updown");
    EXPECT_TRUE(IsWindowEnabled(field)) << "enabled at start, whatever the box shows";
    // Each click makes the field's state the opposite of the box's.
    for (int click = 0; click < 2; ++click) {
        SendMessageW(toggle, BM_CLICK, 0, 0);
        const bool checked = SendMessageW(toggle, BM_GETCHECK, 0, 0) == BST_CHECKED;
        EXPECT_EQ(IsWindowEnabled(field) != FALSE, !checked) << "click " << click;
        EXPECT_TRUE(IsWindowEnabled(arrows));
        EXPECT_TRUE(IsWindowEnabled(handleOf(ControlKind::SpinBox, "spb1_2")));
    }
}

TEST_F(MainWindowTest, LoadStateShowsTheRegistryAndCollectReadsTheControlsBack) {
    const FeatureModel& m = window->model;
    // Shown as stored, even outside the spin boxes' range.
    EXPECT_EQ(WindowText(handleOf(ControlKind::SpinBox, "spb1_2")), L"20");
    EXPECT_EQ(WindowText(handleOf(ControlKind::SpinBox, "spb1_3")), L"40000");
    EXPECT_EQ(m.taskbar.items[2].current.number, 20u);
    EXPECT_EQ(WindowText(handleOf(ControlKind::LineEdit, "le3_12")), kOwner60.substr(0, 50));
    EXPECT_EQ(SendMessageW(handleOf(ControlKind::CheckBox, "chb1_4"), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(SendMessageW(handleOf(ControlKind::RadioButton, "rbtn4_1"), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(SendMessageW(handleOf(ControlKind::RadioButton, "rbtn4_0"), BM_GETCHECK, 0, 0),
              BST_UNCHECKED);

    // The user's changes.
    SendMessageW(handleOf(ControlKind::CheckBox, "chb2_0"), BM_CLICK, 0, 0);
    SendMessageW(handleOf(ControlKind::RadioButton, "rbtn4_0"), BM_CLICK, 0, 0);
    const std::wstring typed(60, L'q');
    SetWindowTextW(handleOf(ControlKind::LineEdit, "le3_13"), typed.c_str());

    window->collectControls();

    EXPECT_EQ(m.taskbar.items[2].pending.number, 50u) << "20 is below the range";
    EXPECT_EQ(m.taskbar.items[3].pending.number, 30000u) << "40000 is above the range";
    EXPECT_EQ(m.taskbar.items[2].current.number, 20u) << "current stays";
    EXPECT_EQ(std::u16string(m.system.items[12].pending.text),
              std::u16string(AsU16(kOwner60.substr(0, 50).c_str())));
    EXPECT_EQ(std::u16string(m.system.items[13].pending.text), std::u16string(50, u'q'));
    EXPECT_EQ(m.security.items[0].pending.number, 1u) << "Disable autorun chosen";
    EXPECT_EQ(m.security.items[0].current.number, 0u);
    EXPECT_EQ(m.contextMenu.items[0].pending.number,
              m.contextMenu.items[0].current.number == 0 ? 1u : 0u);

    // Every untouched check box gives back what it showed.
    struct Block {
        const FeatureItem* items;
        const char* stem;
        std::size_t first, last;
    };
    for (const Block& b :
         {Block{m.computer.items, "chb0_", 0, 13}, Block{m.taskbar.items, "chb1_", 0, 1},
          Block{m.taskbar.items, "chb1_", 4, 4}, Block{m.contextMenu.items, "chb2_", 1, 3},
          Block{m.system.items, "chb3_", 0, 11}, Block{m.security.items, "chb4_", 1, 3},
          Block{m.privacy.items, "chb5_", 0, 1}}) {
        for (std::size_t i = b.first; i <= b.last; ++i) {
            const std::string name = b.stem + std::to_string(i);
            const FeatureItem& item = b.items[i];
            EXPECT_EQ(item.pending.number, item.current.number != 0 ? 1u : 0u) << name;
            EXPECT_EQ(SendMessageW(handleOf(ControlKind::CheckBox, name), BM_GETCHECK, 0, 0) ==
                          BST_CHECKED,
                      item.current.number != 0)
                << name;
        }
    }
    for (std::size_t k = 0; k < 26; ++k)
        EXPECT_EQ(m.computer.items[14 + k].pending.number, m.computer.items[14 + k].current.number)
            << "drive slot " << k;
}

TEST_F(MainWindowTest, ARefusedApplyShowsTheSystemAndNamesWhatDidNotTake) {
    // As for a standard user: the machine-wide policy keys refuse every write.
    ScopedDeniedKey lockScreen(HKEY_LOCAL_MACHINE,
                               L"SOFTWARE\\Policies\\Microsoft\\Windows\\Personalization");
    ScopedDeniedKey actionCenter(HKEY_LOCAL_MACHINE,
                                 L"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer");
    HWND noLockScreen = handleOf(ControlKind::CheckBox, "chb3_8");
    HWND hideActionCenter = handleOf(ControlKind::CheckBox, "chb3_5"); // needs a log-out
    HWND copyTo = handleOf(ControlKind::CheckBox, "chb2_0");           // HKCR, not denied
    for (HWND box : {noLockScreen, hideActionCenter})
        ASSERT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    const bool copyToShown = SendMessageW(copyTo, BM_GETCHECK, 0, 0) == BST_CHECKED;
    for (HWND box : {noLockScreen, hideActionCenter, copyTo})
        SendMessageW(box, BM_CLICK, 0, 0);

    ModalWatcher boxes{{}, {}, IDOK, true};
    boxes.watch([&] { window->onApply(); });
    // The number boxes, stored outside their range, were written too: they took and ask for the
    // log-out, after the one message about what did not take.
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.size(), 2u);
    EXPECT_EQ(boxes.texts.back(), L"Log out is required for the changes to take effect.");
    EXPECT_EQ(boxes.caption, L"Velkarostrandemilquorbenix");
    for (const wchar_t* part : {L"Hide Action Center (System page)",
                                L"Disable Lock Screen (System page)", L"Administrator rights"})
        EXPECT_NE(boxes.text.find(part), std::wstring::npos) << toUtf8(AsU16(part));
    EXPECT_EQ(boxes.text.find(L"Copy To"), std::wstring::npos) << "it took";
    EXPECT_EQ(SendMessageW(noLockScreen, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "as the system is";
    EXPECT_EQ(SendMessageW(hideActionCenter, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(copyTo, BM_GETCHECK, 0, 0) == BST_CHECKED, !copyToShown);
}

TEST_F(MainWindowTest, ScreenshotsOfTheSixPages) {
    CreateDirectoryW(L"screenshots", nullptr);
    SetWindowPos(window->window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    window->show(SW_SHOWNORMAL);
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(page);
        clickToolbar(page + 1);
        RedrawWindow(window->window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        for (int i = 0; i < 20; ++i) {
            PumpMessages();
            Sleep(10);
        }
        bool uniform = true;
        const std::wstring path = L"screenshots\\page" + std::to_wstring(page) + L".bmp";
        EXPECT_TRUE(SaveWindowPicture(window->window, path, uniform));
        EXPECT_FALSE(uniform) << "the picture shows something";
    }
}

} // namespace
