#include "ui/tab_order.h"

#include <algorithm>

std::vector<std::size_t> ReadingOrder(std::span<const LayoutRect> places) {
    std::vector<std::size_t> order(places.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return places[a].top < places[b].top; });
    for (std::size_t row = 0; row < order.size();) {
        const LayoutRect& first = places[order[row]];
        const int middle = first.top + (first.bottom - first.top) / 2;
        std::size_t end = row + 1;
        while (end < order.size() && places[order[end]].top < middle)
            ++end;
        std::stable_sort(
            order.begin() + row, order.begin() + end,
            [&](std::size_t a, std::size_t b) { return places[a].left < places[b].left; });
        row = end;
    }
    return order;
}

namespace {

// The stops in reading order.
std::vector<std::size_t> InReadingOrder(std::span<const TabStop> stops,
                                        const std::vector<std::size_t>& chosen) {
    std::vector<LayoutRect> places;
    for (std::size_t i : chosen)
        places.push_back(stops[i].place);
    std::vector<std::size_t> order;
    for (std::size_t k : ReadingOrder(places))
        order.push_back(chosen[k]);
    return order;
}

} // namespace

std::vector<std::size_t> TabOrder(std::span<const TabStop> stops, std::int32_t page) {
    std::vector<std::size_t> own, radios, everyPage;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (stops[i].page == -1)
            everyPage.push_back(i);
        else if (stops[i].page == page)
            (stops[i].radio ? radios : own).push_back(i);
    }
    if (!radios.empty()) {
        radios = InReadingOrder(stops, radios);
        const auto checked = std::find_if(radios.begin(), radios.end(),
                                          [&](std::size_t i) { return stops[i].checked; });
        own.push_back(checked != radios.end() ? *checked : radios.front());
    }
    std::vector<std::size_t> order = InReadingOrder(stops, own);
    for (std::size_t i : InReadingOrder(stops, everyPage))
        order.push_back(i);
    return order;
}
