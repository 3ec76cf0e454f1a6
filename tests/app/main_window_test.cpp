// The main window driven in-process: what Apply, Import and Export leave, the drive boxes, the
// start that Windows refuses a window, and (run apart by at_dpi.sh) the layout at 150 and 200 %.

#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "app/vlk/companion.h"
#include "dialogs/dlg_about.h"
#include "dialogs/dlg_import_export.h"
#include "dialogs/dlg_settings.h"
#include "engine/registry.h"
#include "base/text.h"
#include "base/win32/wide.h"
#include "services/app_data_store.h"
#include "settings/backups.h"
#include "settings/settings_file.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"
#include "ui/dpi.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <bit>
#include <cwctype>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <utility>

// The import slot (so named by mingw) through which the statically linked toolkit destroys icons.
extern "C" decltype(&DestroyIcon) __imp_DestroyIcon;

namespace {

constexpr wchar_t kPolicies[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// The items (by their place in the model) whose values two readings disagree on.
std::vector<std::size_t> Differing(const FeatureModel& a, const FeatureModel& b) {
    std::vector<std::size_t> items;
    for (std::size_t i = 0; i < sizeof a / sizeof(FeatureItem); ++i)
        if (const FeatureValue* x = &(&a.computer.items[0])[i].current,
            *y = &(&b.computer.items[0])[i].current;
            x->number != y->number || std::u16string(x->text) != y->text)
            items.push_back(i);
    return items;
}

// What a drawing leaves on a square of the size over a grey ground, against which a lost alpha
// channel shows.
std::vector<std::uint32_t> Drawn(int size, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    const UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const ScopedSelectObject selected(dc.get(), bitmap.get());
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill_n(pixels, size * size, 0x808080u);
    draw(dc.get());
    GdiFlush();
    return {pixels, pixels + size * size};
}

// Two drawings alike but for a blend's rounding: no channel of a pixel more than 1 apart.
bool Alike(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        for (int shift = 0; shift < 32; shift += 8)
            if (std::abs(int(a[k] >> shift & 255) - int(b[k] >> shift & 255)) > 1) return false;
    return true;
}

// A text (after a check box's box and gap, 16 pixels at 96 DPI, or between a push button's
// borders) ends before its control's right edge and any control to its right on the row: of the
// controls shown, at the DPI.
void ExpectTextsFit(const std::vector<HWND>& shown, int dpi) {
    for (HWND control : shown) {
        const auto style = GetWindowLongPtrW(control, GWL_STYLE), type = style & BS_TYPEMASK;
        std::wstring text = WindowText(control);
        int chrome = 0;
        if (WindowClass(control) == L"Button" && type != BS_GROUPBOX && !(style & BS_ICON))
            chrome =
                MulDiv(type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? 16 : 8, dpi, 96);
        else if (WindowClass(control) == L"SysLink")
            text = text.substr(3, text.size() - 7); // within <A></A>
        else if (WindowClass(control) != L"Static" || (style & SS_TYPEMASK) != SS_LEFT)
            continue;
        const RECT rect = ChildRect(control);
        LONG room = rect.right;
        for (HWND other : shown)
            if (const RECT r = ChildRect(other);
                r.left > rect.left && r.top < rect.bottom && r.bottom > rect.top)
                room = std::min(room, r.left);
        const ScopedGetDC dc(control); // the text's width in the control's own font
        const ScopedSelectObject font(
            dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        EXPECT_LE(rect.left + chrome + size.cx, room)
            << toUtf8(AsU16(text.c_str())) << " at " << rect.left << "," << rect.top;
    }
}

// The children of the window that are shown, in z-order.
std::vector<HWND> ShownChildren(HWND parent) {
    std::vector<HWND> shown;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (GetWindowLongPtrW(c, GWL_STYLE) & WS_VISIBLE) shown.push_back(c);
    return shown;
}

// The descriptions a window gives its controls for a screen reader, as it gives them.
class RecordedDescriptions final : public ControlDescriptions {
  public:
    void describe(HWND control, const char16_t* text) override { texts[control] = text; }
    std::map<HWND, std::u16string> texts;
};

// Drives D and G besides C (E and F a gap; D hidden by NoDrives), the live-preview box checked,
// the registry put back after each test; no service answers.
class MainWindowTest : public ::testing::Test {
  protected:
    std::unique_ptr<MainWindow> Open(const ServiceEndpoint& services,
                                     Language language = Language::English) {
        return std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                            u"Velkarostrandemilquorbenix", services, language,
                                            descriptions, StartSystemRead());
    }

    void SetUp() override {
        SetTestVariable(kMachineRootVariable, data.path().c_str());
        SetTestVariable(kUserRootVariable, data.path().c_str());
        for (const wchar_t* drive : {L"D:", L"G:"})
            DefineDosDeviceW(0, drive, L"C:\\windows");
        const DWORD hidden = 8, checked = 1;
        values.emplace_back(HKEY_LOCAL_MACHINE, kPolicies, L"NoDrives", REG_DWORD, &hidden, 4);
        values.emplace_back(HKEY_CURRENT_USER,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                            L"DisablePreviewWindow", REG_DWORD, &checked, 4);
        ServiceEndpoint nobody{};
        ParseServiceBase(u"http://127.0.0.1:9/none", nobody);
        window = Open(nobody);
    }
    void TearDown() override {
        DestroyWindow(window->window);
        PumpMessages();
        for (const wchar_t* drive : {L"D:", L"E:", L"G:"})
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive, nullptr);
    }
    HWND handle(ControlKind kind, const std::string& name) const {
        return window->controlSet(kind)->entries().at(name)->handle();
    }
    void showPage(int page) {
        SendMessageW(window->window, WM_COMMAND, page + 1, LPARAM(window->toolbar()));
    }
    // The controls the page shows, but the toolbar.
    std::vector<HWND> shownPage() const {
        std::vector<HWND> shown = ShownChildren(window->window);
        std::erase(shown, window->toolbar());
        return shown;
    }
    Boxes apply() { // a click on the Apply button
        return AnswerBoxes(
            [this] { SendMessageW(handle(ControlKind::Button, "btnApply"), BM_CLICK, 0, 0); },
            IDOK);
    }

    TestFolder data;
    TweakRegistrySnapshot snapshot;
    std::deque<ScopedRegistryValue> values;
    RecordedDescriptions descriptions; // outlives the window
    std::unique_ptr<MainWindow> window;
};

// Before the other pages are built: a name that no control has builds nothing, two names find two
// controls, an import reaches every control (from a file of zeros, exported from a model that no
// control was collected into) and an Apply collects every control (nothing changed: none written).
TEST_F(MainWindowTest, FindersBuildNothingAndKeepTheirControlWhileImportAndApplyReachEveryControl) {
    EXPECT_EQ(window->checkBox("chb9_9"), nullptr);
    EXPECT_EQ(std::as_const(*window).controlSet(ControlKind::RadioButton), nullptr) << "built";
    UICheckBox* recycleBin = window->checkBox("chb0_0");
    ASSERT_NE(window->checkBox("chb0_6"), nullptr);
    EXPECT_EQ(recycleBin->text(), u"Recycle Bin") << "the box found first";
    const std::u16string zeros = data.path() + u"\\zeros.vlkd";
    ASSERT_EQ(ExportSettings(*window, zeros.c_str()), 0u);
    ASSERT_EQ(ImportSettings(*window, zeros.c_str()), 0u);
    UICheckBox* livePreview = window->checkBox("chb1_0");
    ASSERT_NE(livePreview, nullptr) << "not built for the import";
    EXPECT_FALSE(livePreview->isChecked()) << "DisablePreviewWindow is 1";
    DestroyWindow(window->window);
    window = Open(ServiceEndpoint{});
    EXPECT_EQ(apply().texts.size(), 0u);
    EXPECT_EQ(ListBackups().size(), 0u) << "nothing changed";
}

TEST_F(MainWindowTest, LivePreviewCheckedAtStartLeavesTheDelayEnabledUntilClicked) {
    showPage(1);
    HWND box = handle(ControlKind::CheckBox, "chb1_0"),
         field = handle(ControlKind::SpinBox, "spb1_3");
    ASSERT_TRUE(IsChecked(box)) << "DisablePreviewWindow is 1";
    EXPECT_TRUE(IsWindowEnabled(field)) << "until clicked";
    for (int click = 0; click < 2; ++click) { // then the delay follows the box, its arrows stay
        SendMessageW(box, BM_CLICK, 0, 0);
        EXPECT_EQ(IsWindowEnabled(field) != FALSE, !IsChecked(box)) << "click " << click;
        EXPECT_TRUE(IsWindowEnabled(handle(ControlKind::SpinBox, "spb1_3updown")));
    }
}

// A file exported with every other check box turned (not GodMode's), a number below its range,
// one the arrows set and a text too long: an import sets the controls only. Applied by the window
// (its controls then show the system; one backup) and by vlk it leaves the same system, and a
// snapshot taken before puts back what each changed.
TEST_F(MainWindowTest, TheWindowAndVlkImportAndApplyAFileAlike) {
    const std::u16string file = data.path() + u"\\all.vlkd";
    const auto& entries = window->controlSet(ControlKind::CheckBox)->entries();
    auto boxes = [&] { // all shown but GodMode's and telemetry's, which Wine's scheduler keeps
        std::vector<bool> checked;
        for (const auto& [name, e] : entries)
            if (e->shownOnPage() && name != "chb3_1" && name != "chb5_0")
                checked.push_back(IsChecked(e->handle()));
        return checked;
    };
    for (const auto& [name, e] : entries) // every other item of a page, so that neighbours differ
        if (e->shownOnPage() && name != "chb3_1" && (name[3] + std::stoi(name.substr(5))) % 2)
            SendMessageW(e->handle(), BM_SETCHECK, !IsChecked(e->handle()), 0);
    const bool autorun = IsChecked(handle(ControlKind::RadioButton, "rbtn4_0"));
    SendMessageW(handle(ControlKind::RadioButton, "rbtn4_0"), BM_SETCHECK, !autorun, 0);
    SendMessageW(handle(ControlKind::RadioButton, "rbtn4_1"), BM_SETCHECK, autorun, 0);
    SetWindowTextW(handle(ControlKind::SpinBox, "spb1_2"), L"20");
    SendMessageW(handle(ControlKind::SpinBox, "spb1_3updown"), UDM_SETPOS32, 0, 1000);
    SetWindowTextW(handle(ControlKind::LineEdit, "le3_13"), std::wstring(60, L'q').c_str());
    const std::vector<bool> exported = boxes();
    auto run = [&](int action) { // as chosen in the Import and Export dialog
        window->setDialogResult(action);
        return AnswerBoxes([&] { RunImportExport(*window, action, file.c_str()); }).texts.at(0);
    };
    EXPECT_EQ(run(1), L"Settings have been successfully saved.");
    const FeatureModel model = window->model;
    window->showState();
    EXPECT_NE(boxes(), exported);
    EXPECT_EQ(run(0), L"Settings have been imported. Click on button \"Apply\" to apply settings.");
    EXPECT_EQ(boxes(), exported) << "the export collected the unapplied boxes";
    EXPECT_EQ(std::memcmp(&model, &window->model, sizeof model), 0) << "an import sets no model";

    const FeatureModel before = TweakRegistrySnapshot::Read();
    auto applied = [&](const std::function<void()>& apply) {
        TweakRegistrySnapshot restore;
        apply();
        return TweakRegistrySnapshot::Read();
    };
    const std::vector<std::size_t> none;
    const FeatureModel byWindow = applied([&] {
        EXPECT_EQ(apply().texts.back(), L"Log out is required for the changes to take effect.");
        apply(); // nothing changed: no second backup
        EXPECT_EQ(ListBackups().size(), 1u);
        EXPECT_EQ(boxes(), exported) << "the controls show the system";
    });
    EXPECT_EQ(byWindow.taskbar.items[2].current.number, 50u) << "20 is below the range";
    EXPECT_EQ(byWindow.taskbar.items[3].current.number, 1000u) << "no thousands separator";
    EXPECT_EQ(std::u16string(byWindow.system.items[13].current.text), std::u16string(50, u'q'));
    EXPECT_EQ(Differing(TweakRegistrySnapshot::Read(), before), none) << "put back";
    const FeatureModel byVlk = applied([&] {
        std::string out;
        EXPECT_LE(RunCompanion({u"apply", file}, LocalTime{2026, 12, 7, 6, 0, 0}, out),
                  CompanionNotTaken) // telemetry: Wine's scheduler changes no task
            << out;
    });
    EXPECT_EQ(Differing(TweakRegistrySnapshot::Read(), before), none) << "put back";
    EXPECT_EQ(Differing(byVlk, byWindow), none);
    EXPECT_GE(Differing(byWindow, before).size(), 20u) << "the file changes many tweaks";
}

// The clock's seconds turned on behind the window's back, then another box applied: the backup
// holds what Windows held at the Apply, so vlk undo takes the box back and leaves the seconds on.
TEST_F(MainWindowTest, UndoAfterAnApplyBringsBackWhatWindowsHeldThenNotWhatTheWindowRead) {
    const wchar_t* advanced = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    const DWORD on = 1;
    values.emplace_back(HKEY_CURRENT_USER, advanced, L"ShowSecondsInSystemClock", REG_DWORD, &on,
                        4);
    HWND printers = handle(ControlKind::CheckBox, "chb0_6");
    const bool shown = IsChecked(printers);
    SendMessageW(printers, BM_CLICK, 0, 0);
    apply();
    std::string out;
    EXPECT_EQ(RunCompanion({u"undo"}, LocalTime{2026, 12, 7, 6, 0, 0}, out), CompanionOk) << out;
    EXPECT_EQ(ReadRegDword(Hive::CurrentUser, AsU16(advanced), u"ShowSecondsInSystemClock", 0), 1u)
        << out;
    EXPECT_EQ(RegKeyExists(Hive::CurrentUser,
                           u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                           u"MyComputer\\NameSpace\\{2227A280-3AEA-1069-A2DE-08002B30309D}"),
              shown)
        << out;
}

// Writes refused to two machine-wide keys, and no user folder for the backup (coded 61:1): the
// message names what did not take, the controls show the system, and the grown trail is saved.
TEST_F(MainWindowTest, ARefusedApplyShowsTheSystemNamesWhatDidNotTakeAndSavesTheTrail) {
    ScopedDeniedKey lockScreen(HKEY_LOCAL_MACHINE,
                               L"SOFTWARE\\Policies\\Microsoft\\Windows\\Personalization");
    ScopedDeniedKey actionCenter(HKEY_LOCAL_MACHINE,
                                 L"SOFTWARE\\Policies\\Microsoft\\Windows\\Explorer");
    HWND noLockScreen = handle(ControlKind::CheckBox, "chb3_8");
    HWND hideActionCenter = handle(ControlKind::CheckBox, "chb3_5"); // needs a log-out
    HWND copyTo = handle(ControlKind::CheckBox, "chb2_0");           // HKCR, not denied
    ASSERT_FALSE(IsChecked(noLockScreen) || IsChecked(hideActionCenter));
    const bool copyToShown = IsChecked(copyTo);
    for (HWND box : {noLockScreen, hideActionCenter, copyTo})
        SendMessageW(box, BM_CLICK, 0, 0);

    SetTestVariable(kUserRootVariable, nullptr);
    const Boxes boxes = apply();
    ErrorTrail saved{};
    LoadErrorTrail(saved);
    EXPECT_NE(std::string(saved.text).find("61:1;"), std::string::npos) << saved.text;
    ASSERT_EQ(boxes.texts.size(), 1u) << "no log-out: the change that needs one did not take";
    for (const wchar_t* part :
         {L"Hide Action Center (System page): access denied",
          L"Disable Lock Screen (System page): access denied", L"Administrator rights"})
        EXPECT_NE(boxes.texts[0].find(part), std::wstring::npos) << toUtf8(AsU16(part));
    EXPECT_EQ(boxes.texts[0].find(L"Copy To"), std::wstring::npos) << "it took";
    EXPECT_FALSE(IsChecked(noLockScreen) || IsChecked(hideActionCenter)) << "as the system is";
    EXPECT_NE(IsChecked(copyTo), copyToShown);
}

// The tooltip text a control of the window shows.
std::wstring TipOf(HWND window, HWND control) {
    std::wstring found;
    FindWindowWhere(nullptr, [&](HWND tip) {
        wchar_t text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool, tool.hwnd = window,
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        if (WindowClass(tip) == TOOLTIPS_CLASSW && GetWindow(tip, GW_OWNER) == window)
            SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool)), found = text;
        return !found.empty();
    });
    return found;
}

// Where Windows 11 or a Home or Pro edition has nothing for a tweak to act on (and without the
// telemetry task, which the prefix has not), the control is greyed and its tooltip starts with
// why. Applying, also an imported value for a greyed box, leaves such a tweak alone; vlk neither
// counts nor fails a baseline that wants telemetry on.
TEST_F(MainWindowTest, ATweakWithNothingToActOnIsGreyedSaysWhyAndIsLeftAlone) {
    const std::pair<std::wstring, std::wstring> releases[] = {{L"22631", L""},
                                                              {L"19045", L""},
                                                              {L"22000", L""},
                                                              {L"19045", L"Core"},
                                                              {L"19045", L"Professional"},
                                                              {L"19045", L"Enterprise"}};
    const std::set<std::string> greyed[] = {
        {"chb0_7", "chb3_4"}, {}, {"chb0_7", "chb3_4", "chb1_4"}, {"chb3_8"}, {"chb3_8"}, {}};
    const wchar_t* nt = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    for (std::size_t k = 0; k < std::size(releases); ++k) {
        SCOPED_TRACE(k);
        std::deque<ScopedRegistryValue> release;
        release.emplace_back(HKEY_LOCAL_MACHINE, nt, L"CurrentBuildNumber", releases[k].first);
        if (!releases[k].second.empty())
            release.emplace_back(HKEY_LOCAL_MACHINE, nt, L"EditionID", releases[k].second);
        DestroyWindow(window->window);
        window = Open(ServiceEndpoint{});
        for (const char* name : {"chb0_7", "chb0_8", "chb1_4", "chb3_4", "chb3_8", "chb5_0"})
            EXPECT_EQ(!IsWindowEnabled(handle(ControlKind::CheckBox, name)),
                      greyed[k].count(name) || name == std::string("chb5_0"))
                << name;
        HWND telemetry = handle(ControlKind::CheckBox, "chb5_0");
        EXPECT_EQ(TipOf(window->window, telemetry)
                      .rfind(L"This Windows has no Compatibility Appraiser task.\r\nStops", 0),
                  0u);
        // A screen reader is told the same.
        EXPECT_EQ(AsWide(descriptions.texts[telemetry].c_str()), TipOf(window->window, telemetry));
        if (k > 0) continue;
        EXPECT_EQ(TipOf(window->window, handle(ControlKind::CheckBox, "chb0_7"))
                      .rfind(L"Windows 11 has no 3D Objects folder in This PC.\r\nHides", 0),
                  0u);
        HWND objects = handle(ControlKind::CheckBox, "chb0_7");
        const bool hidden = IsChecked(objects);
        SendMessageW(objects, BM_SETCHECK, !hidden, 0); // as an import sets it
        SendMessageW(handle(ControlKind::CheckBox, "chb0_6"), BM_CLICK, 0, 0);
        apply();
        EXPECT_EQ(IsChecked(objects), hidden) << "the system, unchanged";
        EXPECT_TRUE(IsChecked(handle(ControlKind::CheckBox, "chb0_6")));
        // A baseline with telemetry on (the box set as an import sets it).
        const std::u16string baseline = data.path() + u"\\telemetry.vlkd";
        SendMessageW(handle(ControlKind::CheckBox, "chb5_0"), BM_SETCHECK, BST_UNCHECKED, 0);
        window->collectControls();
        ASSERT_EQ(ExportSettings(*window, baseline.c_str()), 0u);
        for (const char16_t* command : {u"check", u"apply"}) {
            std::string out;
            EXPECT_EQ(RunCompanion({command, baseline}, LocalTime{2026, 12, 7, 6, 0, 0}, out), 0)
                << out;
        }
        // Back on Windows 10, the next Apply's read makes the box usable; its tooltip and
        // description lose the reason.
        release.clear();
        apply();
        EXPECT_TRUE(IsWindowEnabled(objects));
        EXPECT_EQ(TipOf(window->window, objects).rfind(L"Hides", 0), 0u);
        EXPECT_EQ(AsWide(descriptions.texts[objects].c_str()), TipOf(window->window, objects));
    }
}

// The first page's controls come before the window shows, the other pages' once it has painted;
// each page then shows its own controls only, the first a box for each present drive.
TEST_F(MainWindowTest, EachPageShowsItsOwnControlsOnceTheWindowHasPainted) {
    window->show(SW_SHOWNORMAL);
    const UICore& core = *window; // looks without building anything
    for (ULONGLONG end = GetTickCount64() + 5000;
         !core.controlSet(ControlKind::RadioButton) && GetTickCount64() < end; Sleep(10))
        PumpMessages();
    ASSERT_NE(core.controlSet(ControlKind::RadioButton), nullptr) << "the other pages never came";
    const int drives = std::popcount(GetLogicalDrives());
    for (int page : {0, 3, 0, 5}) {
        showPage(page);
        for (int kind = 0; kind < static_cast<int>(kControlKinds); ++kind)
            for (const auto& [name, e] : core.controlSet(ControlKind(kind))->entries()) {
                const bool drive = name.rfind("chb0_1_", 0) == 0;
                const bool shown =
                    e->page() == -1 ||
                    (e->page() == page && (!drive || std::stoi(name.substr(7)) < drives));
                EXPECT_EQ(IsWindowVisible(e->handle()) != 0, shown)
                    << "page " << page << ": " << name;
            }
    }
}

// D goes and E comes while the window is open: Apply, the reading after it and Export keep the
// letters the boxes show (C, D hidden, G).
TEST_F(MainWindowTest, TheDriveBoxesKeepTheLettersTheyShowWhileDrivesComeAndGo) {
    EXPECT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"D:", nullptr));
    EXPECT_TRUE(DefineDosDeviceW(0, L"E:", L"C:\\windows"));
    for (int click = 0; click < 2; ++click) {
        apply();
        EXPECT_EQ(ReadRegDword(Hive::LocalMachine, AsU16(kPolicies), u"NoDrives", 0), 8u)
            << "Apply " << click << " hides D only";
        EXPECT_TRUE(IsChecked(handle(ControlKind::CheckBox, "chb0_1_1"))) << "Hide drive D";
    }
    const std::u16string file = data.path() + u"\\drives.vlkd";
    window->collectControls();
    ASSERT_EQ(ExportSettings(*window, file.c_str()), 0u);
    SettingsRecords records;
    ASSERT_EQ(ReadSettingsFile(records, file.c_str(), window->errorTrail), 0u);
    EXPECT_EQ(records[14 + 3].value.number, 1u) << "D";
    EXPECT_EQ(records[14 + 4].value.number, 0u) << "E";
}

// A second window of the class: the two icons loaded for a class that exists already are freed.
TEST(UICoreStart, ClassIconsAreFreedWhenTheClassAlreadyExists) {
    UICore first(GetModuleHandleW(nullptr), u"First", 400, 300, 100, 101);
    ASSERT_NE(first.window, nullptr);
    static int destroyed = 0;
    static decltype(&DestroyIcon) destroy = nullptr;
    auto swap = [](decltype(&DestroyIcon) to) {
        DWORD protection = 0;
        VirtualProtect(&__imp_DestroyIcon, sizeof to, PAGE_READWRITE, &protection);
        const auto was = std::exchange(__imp_DestroyIcon, to);
        VirtualProtect(&__imp_DestroyIcon, sizeof to, protection, &protection);
        return was;
    };
    destroy = swap(+[](HICON icon) { return ++destroyed, destroy(icon); });
    UICore second(GetModuleHandleW(nullptr), u"Second", 400, 300, 100, 101);
    swap(destroy);
    EXPECT_EQ(destroyed, 2) << "the large and the small icon";
    DestroyWindow(second.window);
    DestroyWindow(first.window);
    PumpMessages();
}

TEST(UICoreStart, AWindowThatCannotBeCreatedEndsTheRunAtOnce) {
    // A hook refuses every top-level window of this thread; the class itself is fine.
    HHOOK hook = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_CREATEWND &&
                !(reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->style & WS_CHILD))
                return 1;
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    UICore core(GetModuleHandleW(nullptr), u"Refused", 400, 300, 100, 101);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(core.window, nullptr);
    // A loop that waited for a window's WM_QUIT would run until this timer ends it with 99.
    const UINT_PTR timer = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        PostQuitMessage(99);
    });
    core.show(0);
    EXPECT_EQ(core.runMessageLoop(), 0);
    KillTimer(nullptr, timer);
    PumpMessages();
}

// At the DPI at_dpi.sh gives this process (named in VELKARO_TEST_DPI; run alone): every text fits
// its control, and the layout scales at the start and with every DPI change, and back.
TEST_F(MainWindowTest, AtDpiEveryTextFitsAndTheLayoutScalesWithEveryDpiChange) {
    const int dpi = _wtoi(_wgetenv(L"VELKARO_TEST_DPI") ? _wgetenv(L"VELKARO_TEST_DPI") : L"0");
    auto scaled = [&](int figure) { return MulDiv(figure, dpi, 96); };
    ASSERT_EQ(DpiOf(window->window), static_cast<UINT>(dpi)) << "the display's";
    window->show(SW_SHOWNORMAL); // the font is fitted to the texts when the window shows

    // The toolbar's buttons show the six page icons and About's, in that order, at the size for
    // the DPI, as the icons themselves draw.
    auto toolbarShowsIcons = [&](int size) {
        auto images =
            reinterpret_cast<HIMAGELIST>(SendMessageW(window->toolbar(), TB_GETIMAGELIST, 0, 0));
        int width = 0, height = 0;
        ImageList_GetIconSize(images, &width, &height);
        EXPECT_EQ(width, size);
        ASSERT_EQ(ImageList_GetImageCount(images), 7);
        for (int i = 0; i < 7; ++i) {
            const UniqueIcon icon(static_cast<HICON>(LoadImageW(
                GetModuleHandleW(nullptr), MAKEINTRESOURCEW(110 + i), IMAGE_ICON, size, size, 0)));
            ASSERT_TRUE(icon);
            auto fromList = [&](HDC dc) { ImageList_Draw(images, i, dc, 0, 0, ILD_NORMAL); };
            auto direct = [&](HDC dc) {
                DrawIconEx(dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
            };
            EXPECT_TRUE(Alike(Drawn(size, fromList), Drawn(size, direct)))
                << "button " << i + 1 << " at " << size;
        }
    };
    toolbarShowsIcons(scaled(96));

    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        showPage(page);
        ExpectTextsFit(shownPage(), dpi);
    }

    // Moved to a screen of 96 DPI, then of 192 and back: every control not anchored to the
    // window's edges at twice its 96-DPI place at 192, with a larger font; then as at the start.
    HWND apply = window->controlSet(ControlKind::Button)->entries().at("btnApply")->handle();
    auto layout = [&] {
        std::map<HWND, RECT> places;
        for (int kind = 0; kind < static_cast<int>(kControlKinds); ++kind)
            for (const auto& [name, e] : window->controlSet(ControlKind(kind))->entries())
                if (ControlKind(kind) != ControlKind::SpinBox && e->handle() != apply &&
                    name != "btnSettings")
                    places[e->handle()] = ChildRect(e->handle());
        return places;
    };
    auto fontHeight = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(apply, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return std::abs(font.lfHeight);
    };
    EXPECT_EQ(ChildRect(apply).left, scaled(713)) << "at the start, from the window's edge";
    EXPECT_EQ(ChildRect(apply).top, scaled(533));
    const std::map<HWND, RECT> start = layout();
    const int startFont = fontHeight();
    RECT outer{};
    GetWindowRect(window->window, &outer);
    std::map<HWND, RECT> at96;
    int font96 = 0;
    const int steps[] = {96, 192, dpi};
    for (int step = 0; step < 3; ++step) {
        const int to = steps[step], factor = step == 1 ? 2 : 1;
        SCOPED_TRACE(to);
        RECT suggested{outer.left, outer.top,
                       outer.left + MulDiv(outer.right - outer.left, to, dpi),
                       outer.top + MulDiv(outer.bottom - outer.top, to, dpi)};
        SendMessageW(window->window, WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        if (step == 0) at96 = layout(), font96 = fontHeight();
        for (const auto& [control, place] : layout()) {
            const RECT& was = step == 2 ? start.at(control) : at96.at(control);
            const RECT want{was.left * factor, was.top * factor, was.right * factor,
                            was.bottom * factor};
            EXPECT_TRUE(EqualRect(&place, &want)) << WindowText(control).size();
        }
        EXPECT_TRUE(step != 1 || fontHeight() > font96 * 3 / 2) << "a font twice as high";
        toolbarShowsIcons(to);
    }
    EXPECT_EQ(ChildRect(apply).left, scaled(713));
    EXPECT_EQ(fontHeight(), startFont);
    EXPECT_LT(font96, startFont);
}

// At the DPI at_dpi.sh gives this process, in every language: every text of the pages, the
// dialogs and a message box is the language's (in the pseudo-language every one is marked) and
// fits in the system's font; every control Tab reaches has a name for a screen reader (a button its
// text, a field the label made right before it, with no other stop between); every tweak control is
// described.
TEST_F(MainWindowTest, AtDpiEveryLanguageIsSpokenFitsAndNamesEveryControl) {
    const int dpi = _wtoi(_wgetenv(L"VELKARO_TEST_DPI") ? _wgetenv(L"VELKARO_TEST_DPI") : L"0");
    for (std::size_t l = 0; l < kLanguages; ++l) {
        const auto language = static_cast<Language>(l);
        SCOPED_TRACE(testing::Message() << "language " << l);
        DestroyWindow(window->window);
        PumpMessages();
        descriptions.texts.clear();
        window = Open(ServiceEndpoint{}, language);
        window->show(SW_SHOWNORMAL);
        // Another language than English gets room for its texts, not a smaller font; English
        // keeps the table's places (a smaller font where Wine's does not fit them).
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(
                       SendMessageW(handle(ControlKind::Button, "btnApply"), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        if (language != Language::English) {
            EXPECT_EQ(font.lfHeight, MessageFontFor(dpi).lfHeight);
        }
        const bool pseudo = language == Language::Pseudo;
        auto expectSpoken = [&](const std::wstring& text) {
            EXPECT_FALSE(text.empty());
            if (pseudo && std::ranges::any_of(text, [](wchar_t c) { return iswalpha(c); })) {
                EXPECT_EQ(text.substr(0, 1), L"[") << toUtf8(AsU16(text.c_str()));
            }
        };
        // In English at 96 DPI every control with a text has the table's place.
        int placed = 0;
        for (const LayoutControl& c : LayoutControls(language))
            for (int kind = 0; dpi == 96 && language == Language::English && c.textChrome >= 0 &&
                               kind < static_cast<int>(kControlKinds);
                 ++kind)
                if (const UIControlSet* set = window->controlSet(ControlKind(kind)))
                    if (const auto found = set->entries().find(c.name);
                        found != set->entries().end()) {
                        const RECT place = ChildRect(found->second->handle());
                        EXPECT_EQ(place.left, c.x) << c.name;
                        EXPECT_EQ(place.right - place.left, c.width) << c.name;
                        ++placed;
                    }
        if (dpi == 96 && language == Language::English) {
            EXPECT_GT(placed, 100) << "controls met";
        }
        for (int page = 0; page < 6; ++page) {
            SCOPED_TRACE(testing::Message() << "page " << page);
            showPage(page);
            const std::vector<HWND> shown = shownPage();
            ExpectTextsFit(shown, dpi);
            for (HWND control : shown)
                if (WindowClass(control) == L"Button" || WindowClass(control) == L"Static")
                    expectSpoken(WindowText(control));
            for (HWND stop : window->tabOrder()) {
                const auto type = GetWindowLongPtrW(stop, GWL_STYLE) & BS_TYPEMASK;
                if (WindowClass(stop) == L"Edit" ||
                    (WindowClass(stop) == L"Button" &&
                     (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON))) {
                    EXPECT_TRUE(descriptions.texts.count(stop)) << "a tweak control undescribed";
                }
                if (WindowClass(stop) != L"Edit") {
                    EXPECT_FALSE(WindowText(stop).empty()) << "a stop of no name";
                    continue;
                }
                HWND label = GetWindow(stop, GW_HWNDPREV);
                while (label && WindowClass(label) != L"Static" &&
                       !(GetWindowLongPtrW(label, GWL_STYLE) & (WS_GROUP | WS_TABSTOP)))
                    label = GetWindow(label, GW_HWNDPREV);
                ASSERT_TRUE(label && WindowClass(label) == L"Static") << "a field of no label";
                expectSpoken(WindowText(label));
            }
        }
        for (const auto& [control, text] : descriptions.texts)
            expectSpoken(AsWide(text.c_str()));

        dlgAbout about(*window, kAboutDialogId, language);
        dlgSettings settings(*window, kSettingsDialogId, language);
        dlgImportExport importExport(*window, language);
        importExport.loadRichEdit(true);
        for (UIDialog* dialog : std::initializer_list<UIDialog*>{&about, &settings, &importExport})
            DriveModal([&] { dialog->run(); },
                       [&](HWND d) {
                           expectSpoken(WindowText(d));
                           const std::vector<HWND> shown = ShownChildren(d);
                           ExpectTextsFit(shown, dpi);
                           for (HWND item : shown) // but the names and addresses
                               if (WindowClass(item) == L"Button" ||
                                   (WindowClass(item) == L"Static" &&
                                    !std::set{1001, 1005}.count(GetDlgCtrlID(item))))
                                   expectSpoken(WindowText(item));
                           PostMessageW(d, WM_CLOSE, 0, 0);
                       });
        const Boxes told =
            AnswerBoxes([&] { RunImportExport(*window, 0, u"C:\\no-such-folder\\x.vlkd"); }, IDOK);
        ASSERT_EQ(told.texts.size(), 1u);
        expectSpoken(told.captions[0]);
        expectSpoken(told.texts[0]);
    }
}

} // namespace
