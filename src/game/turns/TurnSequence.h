#pragma once
#include "game/state/Battle.h"

namespace korvath {

// End Turn: the computer's whole turn, the new turn's action points and events.
void EndTurnButtonClick(Battle& b);
// The soldier's points for a new turn: base, less fatigue, plus strength, less the load.
void RestoreActionPoints(BattleState& b, int piece);

} // namespace korvath
