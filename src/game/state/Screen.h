#pragma once
#include "engine/Raster.h"
#include "game/state/Records.h"

#include <cstdint>
#include <vector>

namespace korvath {

// What the player sees of the battlefield: the screen copy of the terrain
// picture with what is drawn on the screen only (the selection frame, sight
// traces), the overhead map, and what has changed since the window painted.
// Only the display functions write it.
struct Screen {
    Raster MapImage;
    Raster OverHeadMapImage{240, 150};

    // The scenario's floor art. Wherever the terrain picture is black, the
    // screen copy shows it instead, unless the player chose classic black
    // floors. The terrain picture itself, which the shots read, never sees it.
    // Kept a square at a time: square k (row-major from 0) is rows 32k to
    // 32k + 31 of this 32-pixel-wide picture, so that its pixels lie together
    // (copying a square reads it in one piece). Empty: no floor art.
    Raster FloorArt;
    bool classicFloors = false;
    bool floorsShown() const { return !classicFloors && !FloorArt.empty(); }
    // The floor art from a picture of the whole battlefield; an empty picture
    // or one of another size gives none.
    void setFloorArt(const Raster& picture);
    Rgb floorPixel(int x, int y) const;

    // Rectangle of MapImage changed since the window last painted it.
    struct Dirty {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool empty() const { return right <= left || bottom <= top; }
    } dirty;
    void markDirty(int left, int top, int right, int bottom);

    // Copy square (X, Y) / the whole picture from the terrain to MapImage.
    // Copying the whole picture copies only the squares where the two may
    // differ: the screen comes out the same, pixel for pixel.
    void copySquareFrom(const Raster& terrain, int x, int y);
    void copyAllFrom(const Raster& terrain);
    // Shows the w x h rectangle at (l, t) of the terrain on the screen, and a
    // picture drawn on the screen only at (l, t), over the floor as above.
    void showRectFrom(const Raster& terrain, int l, int t, int w, int h);
    void showPicture(const Raster& picture, int l, int t);
    // The w x h rectangle at (sx, sy) of src onto MapImage at (dx, dy), black
    // showing the floor art: every way onto the screen ends here.
    void showOnScreen(const Raster& src, int sx, int sy, int w, int h, int dx, int dy);
    // Every square copied anew, as the floors are now chosen to show.
    void recomposeFrom(const Raster& terrain);
    // Are square (X, Y)'s pixels the same on both pictures, as far as the
    // pictures' change counts tell?
    bool squareInSync(const Raster& terrain, int x, int y) const;
    // MapImage new and blank, 2560 x 1600; nothing known to be in sync.
    void resetScreen();

    // For each square (row-major, from 0): the change counts of its tile on
    // the terrain and on MapImage when the two were last made equal there.
    struct SyncedTile {
        uint32_t terrain = 0, screen = 0;
    };
    std::vector<SyncedTile> syncedTiles;
    // The overhead map as last drawn: each cell's colour, and the picture's
    // change counts right after, so that only changed cells are filled again.
    struct Overhead {
        std::vector<Rgb> colours;
        std::vector<uint32_t> tiles;
    } overhead;
    // The fill colour last used on each picture. A soldier of an unknown side
    // gets his target disc, and an overhead square of an unknown kind its
    // cell, in whatever colour was used before, as the brush simply stays.
    Rgb terrainBrush = rgb(255, 255, 255);
    Rgb overheadBrush = rgb(255, 255, 255);
};

} // namespace korvath
