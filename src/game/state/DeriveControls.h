#pragma once
#include "game/state/BattleState.h"
#include "game/state/Controls.h"

namespace korvath {

// The buttons of the information panel and the two radio buttons above them.
enum class PanelButton {
    EndTurn,
    Next,
    Cancel,
    Overwatch,
    AimedShot,
    QuickShot,
    HandFight,
    PickUp,
    DropItem,
    Map,
    Equipment
};

// Is the button on now? Once the battle is decided only End turn is.
bool buttonOn(const BattleState& b, PanelButton button);

// Every control of the battle window as the battle's state says it is. A
// control that shows nothing of the state keeps what it was made with.
void deriveControls(const BattleState& b, Controls& c);
Controls controlsOf(const BattleState& b);

} // namespace korvath
