#pragma once
#include "Battle.h"
#include "CloseCombat.h"
#include "Deployment.h"
#include "Movement.h"
#include "Shooting.h"

namespace korvath {

// The player's mouse buttons and the keys held with them.
enum class MouseButton { Left, Right, Middle };
struct ShiftState {
    bool shift = false, ctrl = false, alt = false;
    bool left = false, right = false, middle = false;
    // Only the right button is held: the query click.
    bool onlyRight() const { return right && !left && !middle && !shift && !ctrl && !alt; }
};

// A mouse press on the map at map pixel (x, y): the dispatch to selection,
// walking, shooting, close combat, healing and deployment.
void MapImageMouseDown(Battle& b, MouseButton button, ShiftState shift, int x, int y);
// A mouse move over the map at map pixel (x, y): hover line and cursor. Over
// the two grids (hoverLine false) only the cursor follows the rules.
void MapImageMouseMove(Battle& b, int x, int y, bool hoverLine = true);
// A mouse move over the window background.
void FormMouseMove(Battle& b);
void NextButtonClick(Battle& b);
void CancelButtonClick(Battle& b);
// A character key (the window sees keys before its controls); every key is consumed.
void FormKeyPress(Battle& b, char key);
constexpr int kEscapeKey = 27;
void FormKeyDown(Battle& b, int keyCode);
// The Map / Equipment radio buttons: checks the chosen one and shows its view.
void EquipRadioClick(Battle& b, bool equipment);

// The actions a map click hands over to. Tests may put recorders in their
// place to see which action a click leads to.
struct MapClickActions {
    void (*blow)(Battle&, int mx, int my) = handFightClick;
    void (*shot)(Battle&, int mx, int my) = fireClick;
    void (*walk)(Battle&, int tx, int ty, bool query) = walkSelectedPiece;
    void (*heal)(Battle&, int mx, int my) = healingClick;
    void (*place)(Battle&, int tx, int ty) = placePickedSoldier;
};
MapClickActions& mapClickActions();

// True when a living soldier of the human side stands on square (x, y).
bool ownSoldierOn(const Battle& b, int x, int y);
// Paints soldier i's picture (without markers) on his square of TerrainBitmap
// and copies the square to the screen, which also wipes a selection frame.
void redrawSoldierSquare(Battle& b, int i);

} // namespace korvath
