#include "game/state/Battle.h"
#include "game/state/DeriveControls.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvath {

namespace {

int tileIndex(int x, int y) {
    return (y - 1) * kMapWidth + (x - 1);
}

} // namespace

BattleState::BattleState() {
    SideNames[Side::Raiders] = "Raiders";
    SideNames[Side::Operatives] = "Operatives";
    // The unit step of every whole degree, for the sight and shot rays; filled
    // once, so no ray ever runs on empty tables.
    for (int d = 0; d <= 360; ++d) {
        CosTable[d] = std::cos(d * std::numbers::pi / 180.0);
        SinTable[d] = std::sin(d * std::numbers::pi / 180.0);
    }
}

void BattleState::drawGlyph(int x, int y, int glyph) {
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

void CalculateSolidity(BattleState& b, int x, int y, int glyph) {
    const int s = solidityOfGlyph(glyph);
    if (s >= 0) b.cell(x, y).Solidity = static_cast<uint8_t>(s);
}

void Screen::markDirty(int left, int top, int right, int bottom) {
    if (dirty.empty()) {
        dirty = {left, top, right, bottom};
        return;
    }
    dirty.left = std::min(dirty.left, left);
    dirty.top = std::min(dirty.top, top);
    dirty.right = std::max(dirty.right, right);
    dirty.bottom = std::max(dirty.bottom, bottom);
}

bool Screen::squareInSync(const Raster& terrain, int x, int y) const {
    if (!BattleState::onMap(x, y) || syncedTiles.empty()) return false;
    const SyncedTile& s = syncedTiles[tileIndex(x, y)];
    return s.terrain == terrain.tileVersion(x - 1, y - 1) &&
           s.screen == MapImage.tileVersion(x - 1, y - 1);
}

void Screen::setFloorArt(const Raster& picture) {
    FloorArt = Raster();
    if (picture.width() != kMapPixelsX || picture.height() != kMapPixelsY) return;
    FloorArt = Raster(kSquare, kSquare * kMapWidth * kMapHeight);
    for (int y = 0; y < kMapHeight; ++y)
        for (int x = 0; x < kMapWidth; ++x)
            FloorArt.blit(picture, x * kSquare, y * kSquare, kSquare, kSquare, 0,
                          (y * kMapWidth + x) * kSquare);
}

Rgb Screen::floorPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= kMapPixelsX || y >= kMapPixelsY) return 0;
    return FloorArt.pixel(x % kSquare,
                          ((y / kSquare) * kMapWidth + x / kSquare) * kSquare + y % kSquare);
}

// The one place where pixels reach the screen: black shows the floor art.
void Screen::showOnScreen(const Raster& src, int sx, int sy, int w, int h, int dx, int dy) {
    // Only what lies on the screen, so that the floor art can be read for it.
    const int left = std::max(dx, 0), top = std::max(dy, 0);
    const int right = std::min(dx + w, MapImage.width()),
              bottom = std::min(dy + h, MapImage.height());
    if (right <= left || bottom <= top) return;
    sx += left - dx;
    sy += top - dy;
    markDirty(left, top, right, bottom);
    if (!floorsShown() || MapImage.width() != kMapPixelsX || MapImage.height() != kMapPixelsY) {
        MapImage.blit(src, sx, sy, right - left, bottom - top, left, top);
        return;
    }
    // A square at a time, each read from its own piece of the floor art.
    for (int y = top; y < bottom; y = (y / kSquare + 1) * kSquare) {
        const int rows = std::min(bottom, (y / kSquare + 1) * kSquare) - y;
        for (int x = left; x < right; x = (x / kSquare + 1) * kSquare) {
            const int columns = std::min(right, (x / kSquare + 1) * kSquare) - x;
            const int square = (y / kSquare) * kMapWidth + x / kSquare;
            MapImage.blitOver(src, FloorArt, sx + x - left, sy + y - top, columns, rows, x, y,
                              x % kSquare, square * kSquare + y % kSquare);
        }
    }
}

void Screen::showRectFrom(const Raster& terrain, int l, int t, int w, int h) {
    showOnScreen(terrain, l, t, w, h, l, t);
}

void Screen::showPicture(const Raster& picture, int l, int t) {
    showOnScreen(picture, 0, 0, picture.width(), picture.height(), l, t);
}

void Screen::recomposeFrom(const Raster& terrain) {
    syncedTiles.clear();
    copyAllFrom(terrain);
}

void Screen::copySquareFrom(const Raster& terrain, int x, int y) {
    if (squareInSync(terrain, x, y)) return; // the same pixels already
    const int l = (x - 1) * kSquare, t = (y - 1) * kSquare;
    showRectFrom(terrain, l, t, kSquare, kSquare);
    if (BattleState::onMap(x, y) && !syncedTiles.empty())
        syncedTiles[tileIndex(x, y)] = {terrain.tileVersion(x - 1, y - 1),
                                        MapImage.tileVersion(x - 1, y - 1)};
}

void Screen::copyAllFrom(const Raster& terrain) {
    const bool known = syncedTiles.size() == static_cast<size_t>(kMapWidth * kMapHeight) &&
                       terrain.width() == kMapPixelsX && MapImage.width() == kMapPixelsX &&
                       terrain.height() == kMapPixelsY && MapImage.height() == kMapPixelsY;
    if (!known) {
        showRectFrom(terrain, 0, 0, kMapPixelsX, kMapPixelsY);
        syncedTiles.assign(kMapWidth * kMapHeight, {});
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x)
                syncedTiles[tileIndex(x, y)] = {terrain.tileVersion(x - 1, y - 1),
                                                MapImage.tileVersion(x - 1, y - 1)};
        return;
    }
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (!squareInSync(terrain, x, y)) copySquareFrom(terrain, x, y);
}

void Screen::resetScreen() {
    MapImage = Raster(kMapPixelsX, kMapPixelsY);
    syncedTiles.clear();
    dirty = {};
}

void Battle::resetPictures() {
    TerrainBitmap = Raster(kMapPixelsX, kMapPixelsY);
    forgetDrawings();
    resetScreen();
}

void Battle::showRuleState() {
    deriveControls(*this, controls);
}

} // namespace korvath
