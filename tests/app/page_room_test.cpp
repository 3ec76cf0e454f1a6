// Room for the texts of a language: the layout's controls grow and move only where a text needs
// it, keep their columns, and never run into each other.
#include "app/page_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool SharesRows(const LayoutControl& a, const LayoutControl& b) {
    return a.row->page == b.row->page && a.y < b.y + b.height && b.y < a.y + a.height;
}

// A text's width: so many pixels a character.
TextWidth PerCharacter(int pixels) {
    return [pixels](std::u16string_view text) { return static_cast<int>(text.size()) * pixels; };
}

TEST(PageRoom, TextsThatFitLeaveEveryPlaceAsTheTableGivesIt) {
    std::vector<LayoutControl> controls = LayoutControls(Language::English);
    const std::vector<LayoutControl> before = controls;
    MakeRoomForTexts(controls, [](std::u16string_view) { return 0; });
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i].x, before[i].x) << controls[i].name;
        EXPECT_EQ(controls[i].width, before[i].width) << controls[i].name;
    }
}

// At a width of 7, 9 and 11 pixels a character every text gets room, runs into no control to its
// right, controls of one column stay one column, and nothing moves left or up.
TEST(PageRoom, EveryTextGetsItsRoomAndColumnsStayColumns) {
    const std::vector<LayoutControl> table = LayoutControls(Language::Pseudo);
    for (int pixels : {7, 9, 11}) {
        SCOPED_TRACE(pixels);
        std::vector<LayoutControl> controls = table;
        MakeRoomForTexts(controls, PerCharacter(pixels));
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const LayoutControl& c = controls[i];
            EXPECT_GE(c.x, table[i].x) << c.name;
            EXPECT_EQ(c.y, table[i].y) << c.name;
            const bool hasText = c.textChrome >= 0 && !c.text.empty();
            const int textEnd = c.x + c.textChrome + static_cast<int>(c.text.size()) * pixels;
            if (hasText) {
                EXPECT_GE(c.x + c.width, textEnd) << c.name;
            }
            for (std::size_t j = 0; j < controls.size(); ++j) {
                const LayoutControl& o = controls[j];
                if (o.row->page != c.row->page) continue;
                if (table[j].x == table[i].x) {
                    EXPECT_EQ(o.x, c.x) << c.name << " and " << o.name;
                } else if (hasText && table[j].x > table[i].x && SharesRows(c, o)) {
                    EXPECT_GE(o.x, textEnd) << c.name << " runs into " << o.name;
                }
            }
        }
    }
}

// One long text in the first column moves the Preview buttons of its page out of its way (its box
// of 16, 400 of text and a gap of 4 from 16 end at 436: 36 past the buttons' 400), and nothing
// else moves.
TEST(PageRoom, ALongTextMovesItsPagesColumnsToItsRightAndNoOtherPage) {
    std::vector<LayoutControl> controls = LayoutControls(Language::English);
    const std::vector<LayoutControl> table = controls;
    const auto first = std::find_if(controls.begin(), controls.end(), [](const auto& c) {
        return c.row->page == 1 && c.row->item == 1 && !c.preview;
    });
    ASSERT_NE(first, controls.end());
    const std::u16string longText = first->text;
    MakeRoomForTexts(controls,
                     [&](std::u16string_view text) { return text == longText ? 400 : 0; });
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const LayoutControl& c = controls[i];
        const bool moves = c.row->page == 1 && table[i].x >= 400;
        EXPECT_EQ(c.x, table[i].x + (moves ? 36 : 0)) << c.name;
    }
}

} // namespace
