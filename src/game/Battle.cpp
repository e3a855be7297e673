#include "Battle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvath {

Battle::Battle() {
    SideNames[1] = "Raiders";
    SideNames[2] = "Operatives";
    // The unit step of every whole degree, for the sight and shot rays; filled
    // once, so no ray ever runs on empty tables.
    for (int d = 0; d <= 360; ++d) {
        CosTable[d] = std::cos(d * std::numbers::pi / 180.0);
        SinTable[d] = std::sin(d * std::numbers::pi / 180.0);
    }
}

void Battle::markDirty(int left, int top, int right, int bottom) {
    if (dirty.empty()) {
        dirty = {left, top, right, bottom};
        return;
    }
    dirty.left = std::min(dirty.left, left);
    dirty.top = std::min(dirty.top, top);
    dirty.right = std::max(dirty.right, right);
    dirty.bottom = std::max(dirty.bottom, bottom);
}

void Battle::copySquare(int x, int y) {
    const int l = (x - 1) * kSquare, t = (y - 1) * kSquare;
    MapImage.blit(TerrainBitmap, l, t, kSquare, kSquare, l, t);
    markDirty(l, t, l + kSquare, t + kSquare);
}

void Battle::copyAll() {
    MapImage.blit(TerrainBitmap, 0, 0, kMapPixelsX, kMapPixelsY, 0, 0);
    markDirty(0, 0, kMapPixelsX, kMapPixelsY);
}

void Battle::drawGlyph(int x, int y, int glyph) {
    TerrainBitmap.draw(this->glyph(glyph).Picture, (x - 1) * kSquare, (y - 1) * kSquare);
}

void CalculateSolidity(Battle& b, int x, int y, int glyph) {
    const int s = solidityOfGlyph(glyph);
    if (s >= 0) b.cell(x, y).Solidity = static_cast<uint8_t>(s);
}

} // namespace korvath
