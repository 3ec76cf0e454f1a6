#include "ui/text_room.h"

#include <algorithm>
#include <vector>

namespace {

bool SharesRows(const RoomBox& a, const RoomBox& b) {
    return a.group == b.group && a.y < b.y + b.height && b.y < a.y + a.height;
}

} // namespace

void MakeRoom(std::span<RoomBox> boxes, RoomMoves moves, int gap) {
    std::vector<RoomBox*> order;
    for (RoomBox& box : boxes)
        order.push_back(&box);
    std::stable_sort(order.begin(), order.end(),
                     [](const RoomBox* a, const RoomBox* b) { return a->x < b->x; });
    for (RoomBox* box : order) {
        if (box->need <= 0) continue;
        const RoomBox* next = nullptr;
        for (const RoomBox& o : boxes)
            if (o.x > box->x && SharesRows(*box, o) && (!next || o.x < next->x)) next = &o;
        const int room = std::min(box->width, next ? next->x - box->x : box->width);
        if (box->need <= room) continue;
        box->width = std::max(box->width, box->need);
        if (!next || box->x + box->need + gap <= next->x) continue;
        const int from = next->x, by = box->x + box->need + gap - next->x;
        for (RoomBox& o : boxes)
            if (o.group == box->group && o.x >= from &&
                (moves == RoomMoves::Columns || SharesRows(*box, o)))
                o.x += by;
    }
}
