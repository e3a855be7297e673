#pragma once
#include "game/state/BattleState.h"

namespace korvath {

// Marks the squares the soldiers hold, as every redraw of the soldiers does:
// every listed soldier's square loses its occupied class first, then a body
// lying on the map makes its square glyph 255, and a living soldier makes his
// square glyph 255 with class 1 (and takes the square's glyph as the one he
// stands on, if he had none). A body's square thus ends open, unless a living
// soldier stands on it too.
void markHeldSquares(BattleState& b);

} // namespace korvath
