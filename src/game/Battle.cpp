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

namespace {

int tileIndex(int x, int y) {
    return (y - 1) * kMapWidth + (x - 1);
}

} // namespace

bool Battle::squareInSync(int x, int y) const {
    if (!onMap(x, y) || syncedTiles.empty()) return false;
    const SyncedTile& s = syncedTiles[tileIndex(x, y)];
    return s.terrain == TerrainBitmap.tileVersion(x - 1, y - 1) &&
           s.screen == MapImage.tileVersion(x - 1, y - 1);
}

void Battle::copySquare(int x, int y) {
    if (squareInSync(x, y)) return; // the same pixels already
    const int l = (x - 1) * kSquare, t = (y - 1) * kSquare;
    MapImage.blit(TerrainBitmap, l, t, kSquare, kSquare, l, t);
    markDirty(l, t, l + kSquare, t + kSquare);
    if (onMap(x, y) && !syncedTiles.empty())
        syncedTiles[tileIndex(x, y)] = {TerrainBitmap.tileVersion(x - 1, y - 1),
                                        MapImage.tileVersion(x - 1, y - 1)};
}

void Battle::copyAll() {
    const bool known = syncedTiles.size() == static_cast<size_t>(kMapWidth * kMapHeight) &&
                       TerrainBitmap.width() == kMapPixelsX && MapImage.width() == kMapPixelsX &&
                       TerrainBitmap.height() == kMapPixelsY && MapImage.height() == kMapPixelsY;
    if (!known) {
        MapImage.blit(TerrainBitmap, 0, 0, kMapPixelsX, kMapPixelsY, 0, 0);
        markDirty(0, 0, kMapPixelsX, kMapPixelsY);
        syncedTiles.assign(kMapWidth * kMapHeight, {});
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x)
                syncedTiles[tileIndex(x, y)] = {TerrainBitmap.tileVersion(x - 1, y - 1),
                                                MapImage.tileVersion(x - 1, y - 1)};
        return;
    }
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (!squareInSync(x, y)) copySquare(x, y);
}

void Battle::resetPictures() {
    TerrainBitmap = Raster(kMapPixelsX, kMapPixelsY);
    MapImage = Raster(kMapPixelsX, kMapPixelsY);
    syncedTiles.clear();
    drawnLooks.clear();
    shotShadow = {};
}

void Battle::drawGlyph(int x, int y, int glyph) {
    // A square that shows this glyph untouched since it was drawn is left be.
    const uint64_t look = uint64_t{1} << 40 | static_cast<uint32_t>(glyph);
    if (onMap(x, y) && !drawnLooks.empty()) {
        DrawnLook& drawn = drawnLooks[tileIndex(x, y)];
        if (drawn.look == look && drawn.terrain == TerrainBitmap.tileVersion(x - 1, y - 1)) return;
    }
    TerrainBitmap.draw(this->glyph(glyph).Picture, (x - 1) * kSquare, (y - 1) * kSquare);
    if (!onMap(x, y)) return;
    if (drawnLooks.empty()) drawnLooks.assign(kMapWidth * kMapHeight, {});
    drawnLooks[tileIndex(x, y)] = {look, TerrainBitmap.tileVersion(x - 1, y - 1)};
}

void CalculateSolidity(Battle& b, int x, int y, int glyph) {
    const int s = solidityOfGlyph(glyph);
    if (s >= 0) b.cell(x, y).Solidity = static_cast<uint8_t>(s);
}

} // namespace korvath
