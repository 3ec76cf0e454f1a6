#pragma once
// Room for texts longer than the places a layout gives them (another language's): a control whose
// text runs past its place, or into the control to its right, grows, and the controls beyond it
// move right by as much. Places whose texts fit stay as they are.

#include <span>

struct RoomBox {
    int group; // boxes of one group (a page) make room among themselves
    int x, y, width, height;
    int need; // pixels the box's text takes, with the control's own before it; 0: none to fit
};

enum class RoomMoves {
    Columns, // every box of the group from the neighbour's column rightwards moves
    Rows,    // only the boxes that share the grown box's rows move
};

// Left to right, so that a box is measured where the ones before have moved it; a box moved out
// of a text's way keeps `gap` pixels from it.
void MakeRoom(std::span<RoomBox> boxes, RoomMoves moves, int gap);
