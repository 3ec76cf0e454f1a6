#pragma once
// The order in which Tab goes through the controls of a page, worked out from their places in the
// layout: the page's own controls in reading order, then those on every page in reading order.
// The radio buttons of the page are one stop: the checked one, or the first when none is.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A control's place in the layout, in 96-DPI pixels.
struct LayoutRect {
    int left, top, right, bottom;
};

// A control that Tab can reach (shown, enabled and a tab stop).
struct TabStop {
    LayoutRect place;
    std::int32_t page; // -1: on every page
    bool radio = false;
    bool checked = false;
};

// Rows from top to bottom, each from left to right: a place whose top lies above the middle of
// the row's first (topmost) place shares its row. Indices into places.
std::vector<std::size_t> ReadingOrder(std::span<const LayoutRect> places);

// The stops of the page in the order Tab goes through them, as indices into stops; stops of
// other pages have none.
std::vector<std::size_t> TabOrder(std::span<const TabStop> stops, std::int32_t page);
