#pragma once
#include "game/state/Records.h"

#include <algorithm>

namespace korvath {

// The 150 x 150 pixels around the start of a shot's trace segment: all that
// the segment's trace may cover. The shot keeps them to erase its trace
// again, and the screen shows them as the trace moves on.
struct ShotArea {
    static constexpr int kSize = 150;
    int left = 0, top = 0;
    int firstX = 0, firstY = 0, lastX = -1, lastY = -1; // squares covered, from 0

    ShotArea() = default;
    // Around the segment starting at pixel (x, y).
    ShotArea(int x, int y) : left(x - kSize / 2), top(y - kSize / 2) {
        firstX = std::max(0, left / kSquare - (left < 0));
        firstY = std::max(0, top / kSquare - (top < 0));
        lastX = std::min(kMapWidth - 1, (left + kSize - 1) / kSquare);
        lastY = std::min(kMapHeight - 1, (top + kSize - 1) / kSquare);
    }
    // The part of square (tx, ty) (from 0) inside the area.
    void clip(int tx, int ty, int& l, int& t, int& r, int& b) const {
        l = std::max(tx * kSquare, left);
        t = std::max(ty * kSquare, top);
        r = std::min(tx * kSquare + kSquare, left + kSize);
        b = std::min(ty * kSquare + kSquare, top + kSize);
    }
};

} // namespace korvath
