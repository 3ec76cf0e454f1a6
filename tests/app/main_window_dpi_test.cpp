// The main window on a screen scaled beyond 100 %: at_dpi.sh sets the display's DPI before this
// process starts and names it in VELKARO_TEST_DPI. Every figure of the 96-DPI layout scales,
// and every text fits its control, measured with the control's own font.

#include "app/main_window.h"
#include "services/app_data_store.h"
#include "tests/app/window_test_support.h"
#include "tests/support/test_folder.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

int Scaled(int figure, UINT dpi) {
    return MulDiv(figure, static_cast<int>(dpi), 96);
}

class MainWindowAtDpi : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* named = std::getenv("VELKARO_TEST_DPI");
        ASSERT_NE(named, nullptr) << "run through tests/app/at_dpi.sh";
        dpi = static_cast<UINT>(std::atoi(named));
        SetTestVariable(kMachineRootVariable, data.path().c_str());
        SetTestVariable(kUserRootVariable, data.path().c_str());
        ServiceEndpoint nobody{};
        ASSERT_TRUE(ParseServiceBase(u"http://127.0.0.1:9/none", nobody));
        window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                              u"Velkarostrandemilquorbenix", nobody);
        ASSERT_NE(window->window, nullptr);
        ASSERT_EQ(GetDpiForWindow(window->window), dpi) << "the display's DPI";
        window->show(SW_SHOWNORMAL);
    }
    void TearDown() override {
        if (window) DestroyWindow(window->window);
        PumpMessages();
    }

    UINT dpi = 0;
    TestFolder data;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowAtDpi, ClientAreaApplyAndToolbarScale) {
    RECT frame96{};
    AdjustWindowRectExForDpi(&frame96, WS_OVERLAPPEDWINDOW, FALSE, 0, 96);
    RECT client{};
    GetClientRect(window->window, &client);
    EXPECT_EQ(client.right, Scaled(916 - (frame96.right - frame96.left), dpi));
    EXPECT_EQ(client.bottom, Scaled(640 - (frame96.bottom - frame96.top), dpi));
    const RECT apply =
        ChildRect(window->controlSet(ControlKind::Button)->entries().at("btnApply").handle);
    EXPECT_EQ(apply.left, Scaled(713, dpi));
    EXPECT_EQ(apply.top, Scaled(533, dpi));
    EXPECT_EQ(apply.right - apply.left, Scaled(150, dpi));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(
        reinterpret_cast<HIMAGELIST>(SendMessageW(window->toolbar(), TB_GETIMAGELIST, 0, 0)), &cx,
        &cy);
    EXPECT_EQ(cx, Scaled(96, dpi));
}

// A check box or radio button draws its box and a gap before the text (16 pixels at 96 DPI); a
// push button centres its text between its borders. The text must end before the control's
// right edge and before any control that lies to its right on the same row.
TEST_F(MainWindowAtDpi, EveryTextFitsItsControl) {
    const int boxAndGap = Scaled(16, dpi);
    const int buttonBorders = Scaled(8, dpi);
    for (int page = 0; page < 6; ++page) {
        SCOPED_TRACE(testing::Message() << "page " << page);
        SendClick(window->window, window->toolbar(), page + 1);
        std::vector<HWND> shown;
        for (HWND child = GetWindow(window->window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            if ((WindowStyle(child) & WS_VISIBLE) && child != window->toolbar())
                shown.push_back(child);
        int measured = 0;
        for (HWND control : shown) {
            const std::wstring className = WindowClass(control);
            const DWORD type = WindowStyle(control) & BS_TYPEMASK;
            int chrome = 0;
            if (className == L"Button")
                chrome = type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON ? boxAndGap
                                                                               : buttonBorders;
            else if (className != L"Static" || (WindowStyle(control) & SS_TYPEMASK) != SS_LEFT)
                continue;
            ++measured;
            const RECT rect = ChildRect(control);
            const int textEnd = rect.left + chrome + TextWidth(control, WindowText(control));
            int room = rect.right;
            for (HWND other : shown) {
                const RECT r = ChildRect(other);
                if (other != control && r.left > rect.left && r.top < rect.bottom &&
                    r.bottom > rect.top)
                    room = std::min<int>(room, r.left);
            }
            EXPECT_LE(textEnd, room)
                << "\"" << Narrow(WindowText(control)) << "\" at " << rect.left << "," << rect.top;
        }
        EXPECT_GT(measured, 3);
    }
}

} // namespace
