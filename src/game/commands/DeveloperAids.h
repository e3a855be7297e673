#pragma once
#include "game/state/Battle.h"

namespace korvath {

// The hidden Options entries, shown while developerMode is on (the game
// started with KORVATH_DEVELOPER=1).
void IwannaC1Click(Battle& b);
void Nodes1Click(Battle& b);
void Setp1tocoords1Click(Battle& b);

} // namespace korvath
