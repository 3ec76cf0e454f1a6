// The main window's tooltips, and the backup its Apply takes, which `vlk undo` applies to bring
// the registry back.
#include "app/main_window.h"
#include "app/vlk/companion.h"
#include "engine/catalogue.h"
#include "engine/catalogue_text.h"
#include "engine/registry.h"
#include "services/app_data_store.h"
#include "settings/backups.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<MainWindow> MakeWindow() {
    ServiceEndpoint nobody{};
    ParseServiceBase(u"http://127.0.0.1:9/none", nobody);
    return std::make_unique<MainWindow>(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix",
                                        nobody);
}

HWND handleOf(const MainWindow& window, ControlKind kind, const std::string& name) {
    const auto& entries = window.controlSet(kind)->entries();
    const auto found = entries.find(name);
    return found != entries.end() ? found->second.handle : nullptr;
}

// The text that a tooltip control of this thread holds for the control, asked with
// TTM_GETTEXT; empty when none has a tool for it.
std::wstring TooltipText(HWND owner, HWND control) {
    struct Search {
        HWND owner;
        HWND control;
        std::wstring text;
    } search{owner, control, L""};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND tip, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (WindowClass(tip) != TOOLTIPS_CLASSW) return TRUE;
            wchar_t buffer[1024] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = s.owner;
            tool.uId = reinterpret_cast<UINT_PTR>(s.control);
            tool.lpszText = buffer;
            SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
            s.text = buffer;
            return s.text.empty();
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

TEST(TweakTooltips, TweakControlsOfEveryKindShowTheirCatalogueExplanation) {
    auto window = MakeWindow();
    const struct {
        ControlKind kind;
        const char* name;
        std::u16string text;
    } controls[] = {
        {ControlKind::CheckBox, "chb1_4", TweakExplanation(kTaskbarTweaks[4])},
        {ControlKind::RadioButton, "rbtn4_1", TweakExplanation(kSecurityTweaks[0])},
        {ControlKind::SpinBox, "spb1_2", TweakExplanation(kTaskbarTweaks[2])},
        {ControlKind::SpinBox, "spb1_2updown", TweakExplanation(kTaskbarTweaks[2])},
        {ControlKind::LineEdit, "le3_13", TweakExplanation(kSystemTweaks[13])},
        {ControlKind::CheckBox, "chb0_1_0", DriveExplanation()},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.name);
        HWND control = handleOf(*window, c.kind, c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(TooltipText(window->window, control), AsWide(c.text.c_str()));
    }
    EXPECT_EQ(TooltipText(window->window, handleOf(*window, ControlKind::Button, "btnApply")), L"")
        << "only the tweak controls";

    // The pointer rests on "Show seconds on taskbar clock": its tip shows up, with its text.
    window->show(SW_SHOW);
    window->showPage(1);
    HWND box = handleOf(*window, ControlKind::CheckBox, "chb1_4");
    RECT r{};
    GetWindowRect(box, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2));
    HWND shown = nullptr;
    for (int wait = 0; wait < 100 && !shown; ++wait) {
        PumpMessages();
        Sleep(50);
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND tip, LPARAM found) -> BOOL {
                if (WindowClass(tip) != TOOLTIPS_CLASSW || !IsWindowVisible(tip)) return TRUE;
                *reinterpret_cast<HWND*>(found) = tip;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&shown));
    }
    ASSERT_NE(shown, nullptr) << "no tooltip shown within 5 s";
    EXPECT_EQ(WindowText(shown), AsWide(TweakExplanation(kTaskbarTweaks[4]).c_str()));
}

TEST(WindowBackups, AnApplyLeavesOneNewBackupAndUndoBringsTheRegistryBack) {
    TestFolder data;
    const wchar_t* root = _wgetenv(AsWide(kUserRootVariable));
    const std::wstring savedRoot = root ? root : L"";
    SetTestVariable(kUserRootVariable, data.path().c_str());
    const wchar_t* const scriptHost = L"Software\\Microsoft\\Windows Script Host\\Settings";
    auto enabled = ScopedRegistryValue::Dword(HKEY_CURRENT_USER, scriptHost, L"Enabled", 1);

    auto window = MakeWindow();
    EXPECT_FALSE(window->checkBox("chb4_2")->isChecked());
    window->checkBox("chb4_2")->setChecked(true); // Disable Windows Script Host
    window->onApply();
    EXPECT_EQ(ReadRegDword(Hive::CurrentUser, AsU16(scriptHost), u"Enabled", 9), 0u);
    EXPECT_EQ(ListBackups().size(), 1u);

    std::string out;
    EXPECT_EQ(RunCompanion({u"undo"}, LocalTime{2026, 12, 7, 14, 5, 9}, out), CompanionOk) << out;
    EXPECT_NE(out.find("Security | Disable Windows Script Host: 1 -> 0 ok"), std::string::npos)
        << out;
    EXPECT_EQ(ReadRegDword(Hive::CurrentUser, AsU16(scriptHost), u"Enabled", 9), 1u);
    EXPECT_EQ(ListBackups().size(), 2u) << "the undo was backed up too";
    window.reset();
    SetTestVariable(kUserRootVariable, AsU16(savedRoot.c_str()));
}

} // namespace
