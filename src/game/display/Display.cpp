#include "game/display/Display.h"
#include "game/state/Pieces.h"

#include "game/display/InfoPanel.h"
#include "game/state/Occupancy.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace korvath {

namespace {

constexpr int kEmptyHandFrame = 7;

bool carriesHealer(const BattleState& b, const PieceRecord& p) {
    for (int j = 1; j <= 6; ++j)
        if (p.Items[j] > 0 && b.item(p.Items[j]).Effect == "wounds") return true;
    return false;
}

// Each of these sets the brush for a known side or kind of square and leaves
// it alone otherwise.
void sideDiscColour(int side, Rgb& brush) {
    static constexpr Rgb colours[] = {rgb(128, 0, 0), rgb(0, 0, 255), rgb(0, 128, 0),
                                      rgb(192, 192, 192)};
    if (side >= 1 && side <= 4) brush = colours[side - 1];
}

void overheadSideColour(int side, Rgb& brush) {
    if (side == Side::Raiders) brush = rgb(102, 204, 0);
    if (side == Side::Operatives) brush = rgb(255, 0, 0);
}

// Solidity 1 (a living soldier) takes his side's colour instead.
void overheadSolidityColour(int solidity, Rgb& brush) {
    static constexpr Rgb colours[] = {rgb(35, 32, 27), 0, rgb(0, 128, 128), rgb(128, 128, 128),
                                      rgb(92, 86, 73)};
    if (solidity == 0 || (solidity >= 2 && solidity <= 4)) brush = colours[solidity];
}

// Soldier records run from 1 up to the first free one.
template <typename F> void forEachListed(const Battle& b, F f) {
    for (int i = 1; i <= kMaxPieces && !b.Pieces[i].Name.empty(); ++i) f(b.Pieces[i]);
}

// Draws a soldier's look on his square of TerrainBitmap and copies the square
// to the screen, unless both pictures already show exactly that look there.
// A look of 0 is always drawn (its picture is missing, so what shows depends
// on what was there before).
template <typename Draw> void showLook(Battle& b, int x, int y, uint64_t look, Draw draw) {
    // Soldiers' looks are below 2^40, glyphs' above (Battle::drawGlyph).
    if (b.drawnLooks.empty()) b.drawnLooks.assign(kMapWidth * kMapHeight, {});
    Battle::DrawnLook& drawn = b.drawnLooks[(y - 1) * kMapWidth + (x - 1)];
    if (look != 0 && drawn.look == look &&
        drawn.terrain == b.TerrainBitmap.tileVersion(x - 1, y - 1) && b.squareInSync(x, y))
        return;
    draw();
    b.copySquare(x, y);
    drawn = {look, b.TerrainBitmap.tileVersion(x - 1, y - 1)};
}

// Everything that decides how a soldier's square is drawn, in one number.
uint64_t lookOf(int picture, int frame, bool dead, bool overwatch, bool wounded, bool healer) {
    if (picture < 1 || picture > kPictureRows || frame < 1 || frame > kPictureFrames) return 0;
    return 1u | dead << 1 | overwatch << 2 | wounded << 3 | healer << 4 |
           static_cast<uint64_t>(frame) << 8 | static_cast<uint64_t>(picture) << 16;
}

struct Markers {
    bool overwatch, wounded, healer;
};
Markers markersOf(const BattleState& b, const PieceRecord& p) {
    return {p.Overwatch && b.showOverwatch, p.Wounds < p.MaxWounds && b.showWounds,
            carriesHealer(b, p) && b.showHealers};
}

// A soldier whose hand was emptied without his frame being set (Frame 0)
// is shown with the empty-handed picture rather than not at all.
int shownFrame(const PieceRecord& p) {
    return p.Frame >= 1 && p.Frame <= kPictureFrames ? p.Frame : kEmptyHandFrame;
}

// The picture and the markers; the brush is left as the last marker set it.
void paintLook(const BattleState& b, const PieceRecord& p, Markers m, Raster& t, int x0, int y0,
               Rgb& brush) {
    t.draw(unitPicture(b, p.Picture, shownFrame(p)), x0, y0);
    if (m.overwatch) {
        brush = kOverwatchMarkerColour;
        t.ellipse(x0 + 1, y0 + 1, x0 + 5, y0 + 5, kOverwatchMarkerColour, brush);
    }
    if (m.wounded) {
        brush = kWoundMarkerColour;
        t.ellipse(x0 + 1, y0 + 6, x0 + 5, y0 + 10, kWoundMarkerColour, brush);
    }
    if (m.healer) {
        // A red cross on white in the top-right corner.
        brush = kHealerBackColour;
        t.fillRect(x0 + 23, y0 + 3, x0 + 28, y0 + 8, brush);
        t.line({x0 + 25, y0 + 3}, {x0 + 25, y0 + 8}, kHealerCrossColour);
        t.line({x0 + 23, y0 + 5}, {x0 + 28, y0 + 5}, kHealerCrossColour);
    }
}

void drawLivingSoldier(Battle& b, const PieceRecord& p) {
    const int x0 = (p.X - 1) * kSquare, y0 = (p.Y - 1) * kSquare;
    const Markers m = markersOf(b, p);
    Rgb brush = b.terrainBrush;
    showLook(b, p.X, p.Y, lookOf(p.Picture, shownFrame(p), false, m.overwatch, m.wounded, m.healer),
             [&] { paintLook(b, p, m, b.TerrainBitmap, x0, y0, brush); });
    if (m.overwatch) b.terrainBrush = kOverwatchMarkerColour;
    if (m.wounded) b.terrainBrush = kWoundMarkerColour;
    if (m.healer) b.terrainBrush = kHealerBackColour;
}

// Steps 1 and 2 of centring the view: a point left of (above) half the view
// puts the view at its leftmost (topmost) position.
void centreOn(BattleState& b, int px, int py) {
    View& v = b.view;
    v.setRight(px > v.width / 2 ? px + v.width / 2 : v.width);
    v.setBottom(py > v.height / 2 ? py + v.height / 2 : v.height);
}

// The selected soldier's frame goes on the screen copy only; the next copy of
// the square from the terrain picture wipes it. A white line under a black
// dotted one: black and white dashes.
void frameSoldier(Battle& b, const PieceRecord& p) {
    const int x0 = (p.X - 1) * kSquare, y0 = (p.Y - 1) * kSquare;
    const std::vector<Point> frame = {{x0 + 1, y0 + 1},
                                      {x0 + 30, y0 + 1},
                                      {x0 + 30, y0 + 30},
                                      {x0 + 1, y0 + 30},
                                      {x0 + 1, y0 + 1}};
    b.MapImage.polyline(frame, kSelectionFrameGap, 1, false);
    b.MapImage.polyline(frame, kSelectionFrameColour, 1, true);
    b.markDirty(x0, y0, x0 + kSquare, y0 + kSquare);
}

void toggleMarker(Battle& b, bool& shown) {
    shown = !shown;
    placePieces(b);
    FocusPiece(b, b.SelectedPiece);
}

} // namespace

void drawTerrain(Battle& b) {
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) b.drawGlyph(x, y, b.cell(x, y).Glyph);
    b.copyAll();
}

void drawPieces(Battle& b) {
    // The dead first, so that a living soldier sharing a body's square is
    // painted over it.
    forEachListed(b, [&](const PieceRecord& p) {
        if (p.Wounds < 1 && p.X > 0 && Battle::onMap(p.X, p.Y))
            showLook(b, p.X, p.Y, lookOf(p.Picture, kDeadFrame, true, false, false, false), [&] {
                b.TerrainBitmap.draw(unitPicture(b, p.Picture, kDeadFrame), (p.X - 1) * kSquare,
                                     (p.Y - 1) * kSquare);
            });
    });
    forEachListed(b, [&](const PieceRecord& p) {
        if (p.X != 0 && p.Side > 0 && p.Wounds > 0 && Battle::onMap(p.X, p.Y))
            drawLivingSoldier(b, p);
    });
    b.repaint();
}

void placePieces(Battle& b) {
    markHeldSquares(b);
    drawPieces(b);
}

void drawSoldierPicture(Battle& b, const PieceRecord& p) {
    if (!Battle::onMap(p.X, p.Y)) return;
    const int frame = p.Frame >= 1 && p.Frame <= kPictureFrames ? p.Frame : kEmptyHandFrame;
    b.TerrainBitmap.draw(unitPicture(b, p.Picture, frame), (p.X - 1) * kSquare,
                         (p.Y - 1) * kSquare);
    b.copySquare(p.X, p.Y);
}

SoldierMarkers markersShown(const BattleState& b, const PieceRecord& p) {
    const Markers m = markersOf(b, p);
    return {m.overwatch, m.wounded, m.healer};
}

void paintLivingLook(const BattleState& b, const PieceRecord& p, Raster& into, int x0, int y0) {
    Rgb brush = 0;
    paintLook(b, p, markersOf(b, p), into, x0, y0, brush);
}

namespace {

// Soldier p as a target: his square's tile, and a disc in his side's
// colour centred on it, painted into `t` with his square's corner at
// (x0, y0). The masks of the sizes met so far are kept in `discs`.
void paintDisc(const BattleState& b, const PieceRecord& p, Raster& t, int x0, int y0, Rgb& brush,
               std::map<int, Raster>& discs) {
    constexpr int kLargestMask = 4 * kSquare;
    t.draw(b.glyph(p.UnderGlyph).Picture, x0, y0);
    sideDiscColour(p.Side, brush);
    const int r = p.TargetSize / 2;
    if (r <= 0) return; // no disc at all
    if (2 * r > kLargestMask) {
        t.ellipse(x0 + 16 - r, y0 + 16 - r, x0 + 16 + r, y0 + 16 + r, kTargetDiscOutline, brush);
        return;
    }
    // Discs of one size differ only in place and colour: each size is worked
    // out once, as an outline-and-fill mask, and stamped for every soldier.
    auto [mask, made] = discs.try_emplace(r, 2 * r, 2 * r);
    if (made) mask->second.ellipse(0, 0, 2 * r, 2 * r, 1, 2);
    t.stamp(mask->second, x0 + 16 - r, y0 + 16 - r, kTargetDiscOutline, brush);
}

} // namespace

void DrawTargetDiscs(Battle& b) {
    std::map<int, Raster> discs;
    forEachListed(b, [&](const PieceRecord& p) {
        if (p.X == 0 || p.Wounds <= 0 || !Battle::onMap(p.X, p.Y)) return;
        paintDisc(b, p, b.TerrainBitmap, (p.X - 1) * kSquare, (p.Y - 1) * kSquare, b.terrainBrush,
                  discs);
    });
    b.copyAll();
}

void paintTargetDisc(const BattleState& b, const PieceRecord& p, Raster& into) {
    std::map<int, Raster> discs;
    Rgb brush = 0;
    paintDisc(b, p, into, 0, 0, brush, discs);
}

int SideAtSquare(const BattleState& b, int x, int y) {
    for (int i = 1; i < kMaxPieces; ++i)
        if (b.Pieces[i].X == x && b.Pieces[i].Y == y) return b.Pieces[i].Side;
    return 0;
}

namespace {

// The change counts of every tile of the overhead picture.
std::vector<uint32_t> overheadVersions(const Raster& r) {
    std::vector<uint32_t> v;
    for (int ty = 0; ty < r.tilesHigh(); ++ty)
        for (int tx = 0; tx < r.tilesWide(); ++tx) v.push_back(r.tileVersion(tx, ty));
    return v;
}

} // namespace

void DrawOverheadMap(Battle& b) {
    // The side standing on each square, as SideAtSquare finds it, in one pass.
    std::array<int, (kMapWidth + 2) * (kMapHeight + 2)> side;
    side.fill(-1);
    for (int i = kMaxPieces - 1; i >= 1; --i) {
        const PieceRecord& p = b.Pieces[i];
        if (Battle::inGrid(p.X, p.Y)) side[p.Y * (kMapWidth + 2) + p.X] = p.Side;
    }
    // Only the cells whose colour differs from what the picture shows are
    // filled, unless the picture was changed by anybody else meanwhile.
    Battle::Overhead& shown = b.overhead;
    const bool known = shown.colours.size() == static_cast<size_t>(kMapWidth * kMapHeight) &&
                       shown.tiles == overheadVersions(b.OverHeadMapImage);
    if (!known) shown.colours.assign(kMapWidth * kMapHeight, 0);
    for (int r = 0; r < kMapHeight; ++r)
        for (int c = 0; c < kMapWidth; ++c) {
            const int solidity = b.cell(c + 1, r + 1).Solidity;
            if (solidity == 1)
                overheadSideColour(std::max(0, side[(r + 1) * (kMapWidth + 2) + c + 1]),
                                   b.overheadBrush);
            else
                overheadSolidityColour(solidity, b.overheadBrush);
            Rgb& cell = shown.colours[r * kMapWidth + c];
            if (known && cell == b.overheadBrush) continue;
            cell = b.overheadBrush;
            b.OverHeadMapImage.fillRect(c * 3 + 1, r * 3 + 1, c * 3 + 4, r * 3 + 4,
                                        b.overheadBrush);
        }
    shown.tiles = overheadVersions(b.OverHeadMapImage);
}

void FocusPiece(Battle& b, int i) {
    if (!isPiece(b, i)) return;
    const PieceRecord& p = b.Pieces[i];
    centreOn(b, p.X * kSquare, p.Y * kSquare);
    if (b.PieceSelected && b.HumanTurn) {
        frameSoldier(b, p);
        ShowPieceStats(b, i);
    }
}

void ScrollToPoint(BattleState& b, int px, int py) {
    centreOn(b, px, py);
}

void OverHeadMapMouseDown(BattleState& b, int mx, int my) {
    b.view.setRight((mx / 3) * kSquare + viewWidth(b) / 2);
    b.view.setBottom((my / 3) * kSquare + viewHeight(b) / 2);
}

void ShowWoundsClick(Battle& b) {
    toggleMarker(b, b.showWounds);
}
void ShowOverwatchClick(Battle& b) {
    toggleMarker(b, b.showOverwatch);
}
void ShowMediKitClick(Battle& b) {
    toggleMarker(b, b.showHealers);
}

void showClassicFloors(Battle& b, bool classic) {
    if (b.classicFloors == classic) return;
    b.classicFloors = classic;
    if (b.MapImage.empty()) return; // no battle on the screen
    b.recomposeFrom(b.TerrainBitmap);
    if (b.PieceSelected && b.HumanTurn && isPiece(b, b.SelectedPiece))
        frameSoldier(b, b.Pieces[b.SelectedPiece]);
}

void ClassicFloorsClick(Battle& b) {
    showClassicFloors(b, !b.classicFloors);
}

void myidlehandler(Battle& b, int mouseX, int mouseY, int winLeft, int winTop, int winWidth,
                   int winHeight) {
    View& v = b.view;
    const int right = v.right, bottom = v.bottom;
    if (mouseX > winLeft + winWidth - 2) v.setRight(v.right + kSquare);
    if (mouseX < winLeft + 2) v.setRight(v.right - kSquare);
    if (mouseY > winTop + winHeight - 2) v.setBottom(v.bottom + kSquare);
    if (mouseY < winTop + 2) v.setBottom(v.bottom - kSquare);
    // To a recording the view moved as by the scroll bars.
    if (b.ports.watcher && (v.right != right || v.bottom != bottom)) {
        b.ports.watcher->commandBegins(
            {"scroll", std::to_string(v.right), std::to_string(v.bottom)});
        b.ports.watcher->commandEnds(true);
    }
    b.beat(Beat::EdgeScroll);
}

void setViewSize(BattleState& b, int width, int height) {
    b.view.resize(width, height);
}

int viewWidth(const BattleState& b) {
    return b.view.width;
}
int viewHeight(const BattleState& b) {
    return b.view.height;
}

void showCurrentState(Battle& b) {
    DrawOverheadMap(b);
    RefreshPieceStats(b);
}

int mapImageLeft(const BattleState& b) {
    return b.view.width - b.view.right;
}
int mapImageTop(const BattleState& b) {
    return b.view.height - b.view.bottom;
}

} // namespace korvath
