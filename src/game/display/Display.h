#pragma once
#include "game/state/Battle.h"

namespace korvath {

// The viewport onto the battlefield picture, in window pixels, as the battle
// window first shows it. A larger or smaller window changes the view's size
// (setViewSize); the rules read the current one from the battle's view.
constexpr int kMapPanelWidth = 710;
constexpr int kMapPanelHeight = 518;

// Colours of the battlefield display.
constexpr Rgb kOverwatchMarkerColour = rgb(255, 255, 255);
constexpr Rgb kWoundMarkerColour = rgb(255, 0, 0);
constexpr Rgb kHealerBackColour = rgb(255, 255, 255);
constexpr Rgb kHealerCrossColour = rgb(255, 0, 0);
constexpr Rgb kTargetDiscOutline = rgb(128, 128, 128);
// The selected soldier's frame: black and white dashes, seen on any tile.
constexpr Rgb kSelectionFrameColour = rgb(0, 0, 0);
constexpr Rgb kSelectionFrameGap = rgb(255, 255, 255);

// Paints every square's glyph picture onto TerrainBitmap and copies the whole
// picture to the screen. Used when the battle opens and after a load.
void drawTerrain(Battle& b);

// Draws every soldier and body with their markers into TerrainBitmap, copies
// just their squares to MapImage and asks the window to repaint. Draws only.
void drawPieces(Battle& b);

// What the rules do after anything that moves, kills or re-equips a soldier:
// the squares the soldiers hold are marked (markHeldSquares), then they are
// drawn (drawPieces).
void placePieces(Battle& b);

// Paints soldier p's picture (no markers; empty-handed for a Frame out of
// range) on his square of TerrainBitmap and copies the square to the screen,
// which also wipes a selection frame.
void drawSoldierPicture(Battle& b, const PieceRecord& p);

// A living soldier's look as drawPieces paints it, his picture and the
// markers the Options menu shows, into `into` at pixel (x0, y0).
void paintLivingLook(const BattleState& b, const PieceRecord& p, Raster& into, int x0, int y0);

// The markers the Options menu shows on living soldier p.
struct SoldierMarkers {
    bool overwatch = false, wounded = false, healer = false;
};
SoldierMarkers markersShown(const BattleState& b, const PieceRecord& p);

// Replaces every living soldier by his terrain tile plus a disc in his side's
// colour, so that a shot can only hit him where the disc lies.
void DrawTargetDiscs(Battle& b);

// Soldier p's square as DrawTargetDiscs leaves it, into the 32 x 32 `into`
// (a disc wider than his square is cut at its edges).
void paintTargetDisc(const BattleState& b, const PieceRecord& p, Raster& into);

// Repaints the 3-pixels-a-square overhead map from the squares' Solidity.
void DrawOverheadMap(Battle& b);

// Side of the first soldier record standing on square (x, y), dead or alive;
// 0 when nobody stands there.
int SideAtSquare(const BattleState& b, int x, int y);

// Centres the view on soldier i; with a soldier selected in the human turn it
// also frames him on the screen and shows his statistics.
void FocusPiece(Battle& b, int i);

// Centres the view on a map pixel, as FocusPiece does for a soldier.
void ScrollToPoint(BattleState& b, int px, int py);

// A click on the overhead map brings the clicked square to the view's centre.
void OverHeadMapMouseDown(BattleState& b, int mx, int my);

// The three marker switches of the Options menu.
void ShowWoundsClick(Battle& b);
void ShowOverwatchClick(Battle& b);
void ShowMediKitClick(Battle& b);

// Classic black floors, or the scenario's floor art wherever the terrain
// picture is black: the whole screen copy is made again (the developer's
// sight traces go), the selected soldier keeps his frame and the view stays.
// The choice lasts from battle to battle.
void showClassicFloors(Battle& b, bool classic);
void ClassicFloorsClick(Battle& b);

// Edge scrolling, one idle step: mouse and window rectangle in screen
// coordinates. Scrolls one square towards every window edge the mouse touches,
// then waits 30 ms.
void myidlehandler(Battle& b, int mouseX, int mouseY, int winLeft, int winTop, int winWidth,
                   int winHeight);

// The size of the view onto the map, as the window's map panel now is: the
// scroll bars' ranges follow it (a scroll position is the view's right or
// bottom edge). The view's left and top edges stay where they were. A view
// wider or taller than the map sees all of it.
void setViewSize(BattleState& b, int width, int height);
int viewWidth(const BattleState& b);
int viewHeight(const BattleState& b);

// Brings what the player looks at up to date before he is asked to look: the
// overhead map and the numbers of the soldier in the information panel.
void showCurrentState(Battle& b);

// Where MapImage sits inside MapPanel: a scroll position is the map pixel at
// the right (bottom) edge of the view.
int mapImageLeft(const BattleState& b);
int mapImageTop(const BattleState& b);

} // namespace korvath
