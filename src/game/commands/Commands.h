#pragma once
#include "game/combat/Healing.h"
#include "game/combat/Shooting.h"
#include "game/commands/Deployment.h"
#include "game/commands/StagedRules.h"
#include "game/state/Battle.h"
#include "game/turns/Movement.h"

namespace korvath {

// The player's mouse buttons and the keys held with them.
enum class MouseButton { Left, Right, Middle };
struct ShiftState {
    bool shift = false, ctrl = false, alt = false;
    bool left = false, right = false, middle = false;
    // Only the right button is held: the query click.
    bool onlyRight() const { return right && !left && !middle && !shift && !ctrl && !alt; }
};

// The actions a map click leads to. A test may hand the click others, to see
// which one it chose.
struct MapClickActions {
    void (*blow)(Battle&, int mx, int my);
    void (*shot)(Battle&, int mx, int my);
    void (*walk)(Battle&, int tx, int ty, bool query);
    void (*heal)(Battle&, int mx, int my);
    void (*place)(Battle&, int tx, int ty);
};
// The game's own: a blow, a shot, a walk, a treatment, a placement.
const MapClickActions& gameMapClickActions();

// A mouse press on the map at map pixel (x, y): the dispatch to selection,
// walking, shooting, close combat, healing and deployment.
void MapImageMouseDown(Battle& b, MouseButton button, ShiftState shift, int x, int y,
                       const MapClickActions& actions = gameMapClickActions());
// A mouse move over the map at map pixel (x, y): hover line and cursor. Over
// the two grids (hoverLine false) only the cursor follows the rules.
void MapImageMouseMove(BattleState& b, int x, int y, bool hoverLine = true);
// A mouse move over the window background.
void FormMouseMove(BattleState& b);
void NextButtonClick(Battle& b);
// The overwatch button: the selected soldier keeps his points for reaction fire.
void OverwatchButtonClick(Battle& b);
// The close-combat button: with a melee weapon in hand the next map click strikes.
void HandFightIconClick(Battle& b);
// End Turn from the button or the key "0": the turn passes, and a battle that
// was decided closes when it was pressed once more.
void endTurn(Battle& b);
void CancelButtonClick(Battle& b);
// A character key (the window sees keys before its controls); every key is consumed.
void FormKeyPress(Battle& b, char key);
constexpr int kEscapeKey = 27;
void FormKeyDown(Battle& b, int keyCode);
// The Map / Equipment radio buttons: checks the chosen one and shows its view.
void EquipRadioClick(BattleState& b, bool equipment);

// True when a living soldier of the human side stands on square (x, y).
bool ownSoldierOn(const BattleState& b, int x, int y);
// A click on square (x, y) reaches the treatment with the armed kit, once no
// soldier is selected any more.
bool treatmentReaches(const BattleState& b, int x, int y);
// What a left click at map pixel (mx, my) would do with the armed kit, as
// the click itself plans it; None where the click would treat nobody.
HealPlan treatmentAt(const BattleState& b, int mx, int my);
// Paints soldier i's picture (without markers) on his square of TerrainBitmap
// and copies the square to the screen, which also wipes a selection frame.
void redrawSoldierSquare(Battle& b, int i);

} // namespace korvath
