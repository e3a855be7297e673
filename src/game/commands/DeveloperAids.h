#pragma once
#include "game/state/Battle.h"

namespace korvath {

void IwannaC1Click(Battle& b);
void Nodes1Click(Battle& b);
void Setp1tocoords1Click(Battle& b);
// Shows the hidden Options entries (the game started with KORVATH_DEVELOPER=1).
void enableDeveloperMode(Battle& b);

} // namespace korvath
