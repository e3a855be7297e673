#pragma once
#include "game/state/Battle.h"

namespace korvath {

// End Turn: the computer's whole turn, the new turn's action points and events.
void EndTurnButtonClick(Battle& b);
void RestoreActionPoints(Battle& b, int piece);

} // namespace korvath
