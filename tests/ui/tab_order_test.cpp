// The order Tab takes through a page, from the places the layout gives its controls.

#include "ui/tab_order.h"

#include <gtest/gtest.h>

namespace {

using Order = std::vector<std::size_t>;

// Given out of order: a number field and, 2 pixels lower, a box to its left share the first row
// (their tops lie above the middle of the field, 109); a box whose top is that middle starts the
// next. Controls of every page come after the page's own, wherever they stand.
TEST(TabOrder, GoesThroughThePageInReadingOrderThenTheControlsOfEveryPage) {
    const TabStop stops[] = {
        {{713, 533, 863, 583}, -1}, // 0: Apply
        {{300, 98, 360, 120}, 1},   // 1: field
        {{20, 109, 200, 129}, 1},   // 2: box of the second row
        {{10, 100, 200, 120}, 1},   // 3: box of the first row
        {{10, 0, 100, 20}, -1},     // 4: on every page, at the top
        {{10, 50, 100, 70}, 2},     // 5: another page's
    };
    EXPECT_EQ(TabOrder(stops, 1), (Order{3, 1, 2, 4, 0}));
    EXPECT_EQ(TabOrder(stops, 2), (Order{5, 4, 0}));
}

TEST(TabOrder, TheRadioButtonsOfThePageAreOneStopTheCheckedOneOrElseTheFirst) {
    TabStop stops[] = {
        {{10, 200, 200, 220}, 4},              // 0: box below the pair
        {{10, 175, 200, 195}, 4, true, false}, // 1: the pair's lower button
        {{10, 150, 200, 170}, 4, true, false}, // 2: the pair's upper button
        {{10, 100, 200, 120}, 4},              // 3: box above the pair
    };
    EXPECT_EQ(TabOrder(stops, 4), (Order{3, 2, 0}));
    stops[1].checked = true;
    EXPECT_EQ(TabOrder(stops, 4), (Order{3, 1, 0}));
}

} // namespace
