// The main window at the DPI that at_dpi.sh gives this process (named in VELKARO_TEST_DPI): the
// layout scales, every text fits its control, and a DPI change scales the window and back.

#include "app/main_window.h"
#include "services/app_data_store.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

class MainWindowAtDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* named = std::getenv("VELKARO_TEST_DPI");
        ASSERT_NE(named, nullptr) << "run through tests/app/at_dpi.sh";
        dpi = std::atoi(named);
        SetTestVariable(kMachineRootVariable, data.path().c_str());
        SetTestVariable(kUserRootVariable, data.path().c_str());
        ServiceEndpoint nobody{};
        ASSERT_TRUE(ParseServiceBase(u"http://127.0.0.1:9/none", nobody));
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                              u"Velkarostrandemilquorbenix", nobody);
        ASSERT_EQ(GetDpiForWindow(window->window), static_cast<UINT>(dpi)) << "the display's";
        window->show(SW_SHOWNORMAL); // the font is fitted to the texts when the window shows
    }
    void TearDown() override {
        if (window) DestroyWindow(window->window);
        PumpMessages();
    }
    int scaled(int figure) const { return MulDiv(figure, dpi, 96); }
    HWND apply() const {
        return window->controlSet(ControlKind::Button)->entries().at("btnApply").handle;
    }
    int toolbarIcon() const {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(
            reinterpret_cast<HIMAGELIST>(SendMessageW(window->toolbar(), TB_GETIMAGELIST, 0, 0)),
            &cx, &cy);
        return cx;
    }

    int dpi = 0;
    TestFolder data;
    std::unique_ptr<MainWindow> window;
};

// A check box or radio button draws its box and a gap before the text (16 pixels at 96 DPI); a
// push button centres its text between its borders. The text must end before the control's
// right edge and before any control that lies to its right on the same row.
TEST_F(MainWindowAtDpi, EveryTextFitsItsControl) {
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        SendClick(window->window, window->toolbar(), page + 1);
        std::vector<HWND> shown;
        for (HWND c = GetWindow(window->window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((WindowStyle(c) & WS_VISIBLE) && c != window->toolbar()) shown.push_back(c);
        int measured = 0;
        for (HWND control : shown) {
            const DWORD style = WindowStyle(control);
            const DWORD type = style & BS_TYPEMASK;
            int chrome = 0;
            if (WindowClass(control) == L"Button")
                chrome = scaled(type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? 16 : 8);
            else if (WindowClass(control) != L"Static" || (style & SS_TYPEMASK) != SS_LEFT)
                continue;
            ++measured;
            const RECT rect = ChildRect(control);
            int room = rect.right;
            for (HWND other : shown) {
                const RECT r = ChildRect(other);
                if (r.left > rect.left && r.top < rect.bottom && r.bottom > rect.top)
                    room = std::min<int>(room, r.left);
            }
            const std::wstring text = WindowText(control);
            HDC dc = GetDC(control); // the text's width in the control's own font
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
            SIZE size{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            ReleaseDC(control, dc);
            EXPECT_LE(rect.left + chrome + size.cx, room)
                << std::string(text.begin(), text.end()) << " at " << rect.left << "," << rect.top;
        }
        EXPECT_GT(measured, 3);
    }
}

// Scaled at the start; moved to a screen of 96 DPI, then of 192 and back: every control that does
// not follow the window's edges (anchored ones, spin boxes) at twice its 96-DPI place and size,
// with a larger font and toolbar at 192; then exactly as at the start.
TEST_F(MainWindowAtDpi, TheLayoutScalesAtStartAndWithEveryDpiChange) {
    auto layout = [&] {
        std::map<HWND, RECT> places;
        for (int kind = 0; kind < static_cast<int>(kControlKinds); ++kind)
            for (const auto& [name, e] : window->controlSet(ControlKind(kind))->entries())
                if (ControlKind(kind) != ControlKind::SpinBox && name != "btnApply" &&
                    name != "btnSettings")
                    places[e.handle] = ChildRect(e.handle);
        return places;
    };
    auto fontHeight = [&] {
        LOGFONTW font{};
        HWND box = window->controlSet(ControlKind::CheckBox)->entries().at("chb0_0").handle;
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return std::abs(font.lfHeight);
    };
    EXPECT_EQ(ChildRect(apply()).left, scaled(713)) << "at the start, from the window's edge";
    EXPECT_EQ(ChildRect(apply()).top, scaled(533));
    EXPECT_EQ(toolbarIcon(), scaled(96));
    const std::map<HWND, RECT> start = layout();
    const LONG startFont = fontHeight();
    RECT outer{};
    GetWindowRect(window->window, &outer);
    std::map<HWND, RECT> at96;
    LONG font96 = 0;
    const int steps[] = {96, 192, dpi};
    for (int step = 0; step < 3; ++step) {
        const int to = steps[step];
        SCOPED_TRACE(to);
        RECT suggested{outer.left, outer.top,
                       outer.left + MulDiv(outer.right - outer.left, to, dpi),
                       outer.top + MulDiv(outer.bottom - outer.top, to, dpi)};
        SendMessageW(window->window, WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        if (to == 96) at96 = layout(), font96 = fontHeight();
        const int factor = step == 1 ? 2 : 1;
        for (const auto& [control, now] : layout()) {
            const RECT& was = step == 2 ? start.at(control) : at96.at(control);
            const RECT want{was.left * factor, was.top * factor, was.right * factor,
                            was.bottom * factor};
            EXPECT_TRUE(EqualRect(&now, &want)) << WindowText(control).size();
        }
        EXPECT_EQ(toolbarIcon(), step == 2 ? scaled(96) : to);
        EXPECT_TRUE(step != 1 || fontHeight() > font96 * 3 / 2) << "a font twice as high";
    }
    EXPECT_EQ(ChildRect(apply()).left, scaled(713));
    EXPECT_EQ(fontHeight(), startFont);
    EXPECT_LT(font96, startFont);
}

} // namespace
