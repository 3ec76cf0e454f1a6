// The window core on its own: names, the command table, spin boxes, the drop-down menu.

#include "tests/app/window_test_support.h"
#include "ui/ui_core.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

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

class ToolkitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        core = std::make_unique<UICore>(GetModuleHandleW(nullptr), u"Toolkit", 400, 300, 100, 101);
        ASSERT_NE(core->window, nullptr);
    }
    void TearDown() override {
        DestroyWindow(core->window);
        PumpMessages();
        core.reset();
    }
    std::unique_ptr<UICore> core;
};

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

TEST(CommandKeyHash, SmallIdsAreTheirOwnHashAndLargeOnesHashTheHandle) {
    const HWND handle = reinterpret_cast<HWND>(std::uintptr_t{0x123456});
    EXPECT_EQ(HashCommandKey({handle, 0}), 0u);
    EXPECT_EQ(HashCommandKey({handle, 17}), 17u);
    EXPECT_EQ(HashCommandKey({nullptr, 999}), 999u);
    EXPECT_EQ(HashCommandKey({handle, -1}), 0xffffffffffffffffull);
    // 64-bit FNV-1a over 56 34 12 00 00 00 00 00.
    EXPECT_EQ(HashCommandKey({handle, 1000}), 0xe98c4d40aa4dc4adull);
    EXPECT_EQ(HashCommandKey({handle, 70000}), HashCommandKey({handle, 1000}));
}

TEST_F(ToolkitTest, SecondRegistrationForTheSameKeyIsIgnored) {
    HWND button = core->createButton("btnOne", u"One", 0, 0, 50, 20, true, 0);
    std::vector<int> calls;
    core->onCommand(
        button, [&] { calls.push_back(1); }, 0);
    core->onCommand(
        button, [&] { calls.push_back(2); }, 0);
    core->onCommand(
        nullptr, [&] { calls.push_back(3); }, 0);
    SendClick(core->window, button);
    SendClick(core->window, nullptr);
    EXPECT_EQ(calls, std::vector<int>{1});

    // A click on a control without a callback does nothing.
    HWND other = core->createButton("btnTwo", u"Two", 0, 30, 50, 20, true, 0);
    SendClick(core->window, other);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(ToolkitTest, ControlWithATakenNameIsCreatedButNotFound) {
    HWND first = core->createCheckBox("chbSame", u"First", 0, 0, 100, 20, true, 0);
    HWND second = core->createCheckBox("chbSame", u"Second", 0, 30, 100, 20, true, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, first) << "the call returns the control registered under the name";
    HWND created = FindWindowExW(core->window, nullptr, L"Button", L"Second");
    ASSERT_NE(created, nullptr) << "the second control exists";
    EXPECT_TRUE(WindowStyle(created) & WS_VISIBLE);
    UICheckBox* found = core->checkBox("chbSame");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->current(), first);
    EXPECT_EQ(found->entries().size(), 1u);
    EXPECT_EQ(core->checkBox("chbMissing"), nullptr);
    EXPECT_EQ(core->lineEdit("chbSame"), nullptr) << "names are per kind";
}

TEST_F(ToolkitTest, CommandSourceNameIsTheClickedControlsAndEmptyForTheToolbar) {
    const std::uint32_t icons[] = {110, 111};
    HWND bar = core->createToolbar(32, 2, icons, true);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(core->createToolbar(32, 2, icons, true), bar);
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 3) << "a second call adds no buttons";

    std::string seen = "unset";
    core->onCommand(
        bar, [&] { seen = core->commandSourceName(); }, 1);
    HWND preview = core->createButton("btnPreview2_3", u"Preview", 0, 0, 75, 21, true, 0);
    core->onCommand(
        preview, [&] { seen = core->commandSourceName(); }, 0);
    core->createButton("btnLater", u"Later", 0, 30, 75, 21, true, 0);

    SendClick(core->window, preview);
    EXPECT_EQ(seen, "btnPreview2_3") << "the name at registration, not the latest control";
    SendClick(core->window, bar, 1);
    EXPECT_EQ(seen, "");
}

TEST_F(ToolkitTest, SpinBoxClampsItsValueAndWritesPlainNumbers) {
    core->createSpinBox("spbTest", 400, 50, 30000, 10, 10, 55, 22, true, 0);
    UISpinBox* spin = core->spinBox("spbTest");
    ASSERT_NE(spin, nullptr);
    HWND field = spin->current();
    EXPECT_EQ(WindowText(field), L"400");
    EXPECT_EQ(spin->value(), 400u);
    ASSERT_NE(core->spinBox("spbTestupdown"), nullptr);
    HWND arrows = core->spinBox("spbTestupdown")->current();
    EXPECT_EQ(WindowClass(arrows), UPDOWN_CLASSW);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(arrows, UDM_GETBUDDY, 0, 0)), field);

    struct Case {
        const wchar_t* text;
        std::uint32_t value;
    };
    for (const Case& c :
         {Case{L"", 50}, Case{L"abc", 50}, Case{L"49", 50}, Case{L"50", 50}, Case{L"30000", 30000},
          Case{L"40000", 30000}, Case{L"12345678901", 30000}, Case{L"777", 777}}) {
        SetWindowTextW(field, c.text);
        EXPECT_EQ(core->spinBox("spbTest")->value(), c.value) << "text \"" << c.text << '"';
    }

    spin = core->spinBox("spbTest");
    spin->setValue(20);
    EXPECT_EQ(WindowText(field), L"20") << "shown as stored, whatever the range";
    spin->setValue(999);
    SendMessageW(arrows, UDM_SETPOS32, 0, 1000);
    EXPECT_EQ(WindowText(field), L"1000") << "no thousands separator";
    EXPECT_EQ(core->spinBox("spbTest")->value(), 1000u);

    core->spinBox("spbTest")->setEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(field));
    EXPECT_TRUE(IsWindowEnabled(arrows)) << "the arrows keep their state";
}

TEST_F(ToolkitTest, SpinBoxesKeepTheirOwnRanges) {
    core->createSpinBox("spbSmall", 5, 1, 10, 10, 10, 55, 22, true, 0);
    core->createSpinBox("spbLarge", 500, 100, 1000, 10, 40, 55, 22, true, 0);
    SetWindowTextW(core->spinBox("spbSmall")->current(), L"50");
    SetWindowTextW(core->spinBox("spbLarge")->current(), L"50");
    EXPECT_EQ(core->spinBox("spbSmall")->value(), 10u);
    EXPECT_EQ(core->spinBox("spbLarge")->value(), 100u);
}

TEST_F(ToolkitTest, TextIsReadUpTo1024Units) {
    core->createLineEdit("leLong", u"", 0, 0, 100, 20, true, 0, false);
    UILineEdit* edit = core->lineEdit("leLong");
    ASSERT_NE(edit, nullptr);
    const std::wstring longText(1500, L'x');
    SetWindowTextW(edit->current(), longText.c_str());
    EXPECT_EQ(core->lineEdit("leLong")->text(), std::u16string(1024, u'x'));
    core->lineEdit("leLong")->clearText();
    EXPECT_EQ(core->lineEdit("leLong")->text(), u"");
}

TEST_F(ToolkitTest, DropDownMenuRunsTheChosenItem) {
    HWND icon = core->createLabel("btnMenu", u"Menu", 10, 10, 48, 48, true, -1, 200);
    const char16_t* first[] = {u"Alpha", u"Beta"};
    const char16_t* second[] = {u"Gamma"};
    core->setDropDownMenu(icon, first);
    core->setDropDownMenu(icon, second);
    EXPECT_EQ(core->dropDownControl(), icon);
    EXPECT_EQ(core->dropDownItems(), (std::vector<std::u16string>{u"Alpha", u"Beta", u"Gamma"}));
    std::vector<int> chosen;
    for (int id : {0, 15, 16, 17})
        core->onCommand(
            icon, [&chosen, id] { chosen.push_back(id); }, id);
    core->show(SW_SHOWNORMAL);
    PumpMessages();

    // The menu's own loop reads the keys: down three times, then Enter chooses "Gamma".
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageW(core->window, WM_KEYDOWN, key, 0);
    SendClick(core->window, icon);
    // Escape dismisses it: command id 0.
    PostMessageW(core->window, WM_KEYDOWN, VK_ESCAPE, 0);
    SendClick(core->window, icon);
    EXPECT_EQ(chosen, (std::vector<int>{17, 0}));
}

} // namespace
