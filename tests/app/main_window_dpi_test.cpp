// The main window at the DPI that at_dpi.sh gives this process (named in VELKARO_TEST_DPI): every
// text fits its control, the layout scales at the start and with every DPI change, and back.

#include "app/main_window.h"
#include "services/app_data_store.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

TEST(MainWindowAtDpi, EveryTextFitsAndTheLayoutScalesWithEveryDpiChange) {
    const char* named = std::getenv("VELKARO_TEST_DPI");
    ASSERT_NE(named, nullptr) << "run through tests/app/at_dpi.sh";
    const int dpi = std::atoi(named);
    auto scaled = [&](int figure) { return MulDiv(figure, dpi, 96); };
    TestFolder data;
    SetTestVariable(kMachineRootVariable, data.path().c_str());
    SetTestVariable(kUserRootVariable, data.path().c_str());
    ServiceEndpoint nobody{};
    ParseServiceBase(u"http://127.0.0.1:9/none", nobody);
    MainWindow window(GetModuleHandleW(nullptr), u"Velkarostrandemilquorbenix", nobody);
    ASSERT_EQ(GetDpiForWindow(window.window), static_cast<UINT>(dpi)) << "the display's";
    window.show(SW_SHOWNORMAL); // the font is fitted to the texts when the window shows

    // A check box or radio button draws its box and a gap before the text (16 pixels at 96 DPI); a
    // push button centres it between its borders. The text must end before the control's right
    // edge and before any control to its right on the same row.
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        SendClick(window.window, window.toolbar(), page + 1);
        std::vector<HWND> shown;
        for (HWND c = GetWindow(window.window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((WindowStyle(c) & WS_VISIBLE) && c != window.toolbar()) shown.push_back(c);
        int measured = 0;
        for (HWND control : shown) {
            const DWORD style = WindowStyle(control), type = style & BS_TYPEMASK;
            int chrome = 0;
            if (WindowClass(control) == L"Button")
                chrome = scaled(type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? 16 : 8);
            else if (WindowClass(control) != L"Static" || (style & SS_TYPEMASK) != SS_LEFT)
                continue;
            ++measured;
            const RECT rect = ChildRect(control);
            LONG room = rect.right;
            for (HWND other : shown)
                if (const RECT r = ChildRect(other);
                    r.left > rect.left && r.top < rect.bottom && r.bottom > rect.top)
                    room = std::min(room, r.left);
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

    // Moved to a screen of 96 DPI, then of 192 and back: every control that does not follow the
    // window's edges at twice its 96-DPI place and size at 192, with a larger font and toolbar;
    // then exactly as at the start.
    HWND apply = window.controlSet(ControlKind::Button)->entries().at("btnApply").handle;
    auto state = [&] {
        std::map<HWND, RECT> places;
        for (int kind = 0; kind < static_cast<int>(kControlKinds); ++kind)
            for (const auto& [name, e] : window.controlSet(ControlKind(kind))->entries())
                if (ControlKind(kind) != ControlKind::SpinBox && e.handle != apply &&
                    name != "btnSettings")
                    places[e.handle] = ChildRect(e.handle);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(apply, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        int icon = 0, unused = 0;
        ImageList_GetIconSize(
            reinterpret_cast<HIMAGELIST>(SendMessageW(window.toolbar(), TB_GETIMAGELIST, 0, 0)),
            &icon, &unused);
        places[nullptr] = RECT{icon, std::abs(font.lfHeight), 0, 0}; // toolbar icon, font height
        return places;
    };
    EXPECT_EQ(ChildRect(apply).left, scaled(713)) << "at the start, from the window's edge";
    EXPECT_EQ(ChildRect(apply).top, scaled(533));
    const std::map<HWND, RECT> start = state();
    EXPECT_EQ(start.at(nullptr).left, scaled(96)) << "the toolbar's icons";
    RECT outer{};
    GetWindowRect(window.window, &outer);
    std::map<HWND, RECT> at96;
    const int steps[] = {96, 192, dpi};
    for (int step = 0; step < 3; ++step) {
        const int to = steps[step];
        SCOPED_TRACE(to);
        RECT suggested{outer.left, outer.top,
                       outer.left + MulDiv(outer.right - outer.left, to, dpi),
                       outer.top + MulDiv(outer.bottom - outer.top, to, dpi)};
        SendMessageW(window.window, WM_DPICHANGED, MAKEWPARAM(to, to),
                     reinterpret_cast<LPARAM>(&suggested));
        const std::map<HWND, RECT> now = state();
        if (to == 96) at96 = now;
        for (const auto& [control, place] : now) {
            const RECT& was = step == 2 ? start.at(control) : at96.at(control);
            const int factor = step == 1 ? 2 : 1;
            const RECT want{was.left * factor, was.top * factor, was.right * factor,
                            was.bottom * factor};
            EXPECT_TRUE(!control || EqualRect(&place, &want)) << WindowText(control).size();
        }
        EXPECT_EQ(now.at(nullptr).left, to) << "the toolbar's icons";
        EXPECT_TRUE(step != 1 || now.at(nullptr).top > at96.at(nullptr).top * 3 / 2)
            << "a font twice as high";
    }
    EXPECT_EQ(ChildRect(apply).left, scaled(713));
    EXPECT_EQ(state().at(nullptr).top, start.at(nullptr).top) << "the font as at the start";
    EXPECT_LT(at96.at(nullptr).top, start.at(nullptr).top);
    DestroyWindow(window.window);
    PumpMessages();
}

} // namespace
