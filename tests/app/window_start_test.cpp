// The window's start when Windows will not give it what it asks for, and drives that come and
// go while the window is open.

#include "app/main_window.h"
#include "app/settings_transfer.h"
#include "services/app_data_store.h"
#include "settings/settings_file.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"
#include "tests/support/tweak_registry_snapshot.h"
#include "ui/ui_core.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>

// The test executable's import slots (mingw names them so); the toolkit, linked in statically,
// calls through them.
extern "C" decltype(&LoadImageW) __imp_LoadImageW;
extern "C" decltype(&DestroyIcon) __imp_DestroyIcon;

namespace {

// The icons loaded and not yet destroyed while a Counter lives, seen through the import slots.
struct IconCounter {
    static inline std::set<HANDLE> alive;
    static inline decltype(&LoadImageW) load = nullptr;
    static inline decltype(&DestroyIcon) destroy = nullptr;
    template <typename F> static F swapSlot(F& slot, F replacement) {
        DWORD protection = 0;
        VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
        const F previous = std::exchange(slot, replacement);
        VirtualProtect(&slot, sizeof slot, protection, &protection);
        return previous;
    }
    IconCounter() {
        alive.clear();
        load = swapSlot(
            __imp_LoadImageW, +[](HINSTANCE m, LPCWSTR n, UINT t, int x, int y, UINT f) {
                HANDLE image = load(m, n, t, x, y, f);
                if (image && t == IMAGE_ICON && !(f & LR_SHARED)) alive.insert(image);
                return image;
            });
        destroy = swapSlot(
            __imp_DestroyIcon, +[](HICON icon) {
                alive.erase(icon);
                return destroy(icon);
            });
    }
    ~IconCounter() {
        swapSlot(__imp_LoadImageW, load);
        swapSlot(__imp_DestroyIcon, destroy);
    }
};

} // namespace

TEST(UICoreStart, ClassIconsAreFreedWhenTheClassAlreadyExists) {
    UICore first(GetModuleHandleW(nullptr), u"First", 400, 300, 100, 101);
    ASSERT_NE(first.window, nullptr);
    {
        IconCounter icons;
        auto second =
            std::make_unique<UICore>(GetModuleHandleW(nullptr), u"Second", 400, 300, 100, 101);
        ASSERT_NE(second->window, nullptr);
        DestroyWindow(second->window);
        second.reset();
        EXPECT_EQ(icons.alive.size(), 0u) << "icons loaded for a class that was registered before";
    }
    // The class that was registered keeps its icons.
    ICONINFO info{};
    ASSERT_TRUE(
        GetIconInfo(reinterpret_cast<HICON>(GetClassLongPtrW(first.window, GCLP_HICON)), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
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

// The boxes show C, D (hidden) and G; then D goes and E comes. Apply, the reading after it and
// Export keep the letters the boxes show.
TEST(DrivesWhileOpen, ApplyAndExportKeepTheLettersTheBoxesShow) {
    constexpr wchar_t kPolicies[] =
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
    TestFolder data;
    SetTestVariable(kMachineRootVariable, data.path().c_str());
    SetTestVariable(kUserRootVariable, data.path().c_str());
    TweakRegistrySnapshot snapshot;
    ScopedRegistryValue noDrives =
        ScopedRegistryValue::Dword(HKEY_LOCAL_MACHINE, kPolicies, L"NoDrives", 8);
    for (const wchar_t* drive : {L"D:", L"G:"})
        ASSERT_TRUE(DefineDosDeviceW(0, drive, L"C:\\windows"));
    ServiceEndpoint nobody{};
    ParseServiceBase(u"http://127.0.0.1:9/none", nobody);
    auto window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                               u"Velkarostrandemilquorbenix", nobody);
    EXPECT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"D:", nullptr));
    EXPECT_TRUE(DefineDosDeviceW(0, L"E:", L"C:\\windows"));
    for (int click = 0; click < 2; ++click) {
        AnswerBoxes([&] { window->onApply(); }, IDOK);
        DWORD hidden = 0, size = sizeof hidden;
        RegGetValueW(HKEY_LOCAL_MACHINE, kPolicies, L"NoDrives", RRF_RT_REG_DWORD, nullptr, &hidden,
                     &size);
        EXPECT_EQ(hidden, 8u) << "Apply " << click << " hides D only";
        EXPECT_TRUE(window->checkBox("chb0_1_1")->isChecked()) << "Hide drive D";
    }
    const std::u16string file = data.path() + u"\\drives.vlkd";
    window->collectControls();
    ASSERT_EQ(ExportSettings(*window, file.c_str()), 0u);
    SettingsRecords records;
    ASSERT_EQ(ReadSettingsFile(records, file.c_str(), window->errorTrail), 0u);
    EXPECT_EQ(records[14 + 3].value.number, 1u) << "D";
    EXPECT_EQ(records[14 + 4].value.number, 0u) << "E";
    DestroyWindow(window->window);
    PumpMessages();
    for (const wchar_t* drive : {L"E:", L"G:"})
        EXPECT_TRUE(DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive, nullptr));
}
