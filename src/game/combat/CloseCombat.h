#pragma once
#include "game/state/Battle.h"

namespace korvath {

// A blow at map pixel (mx, my), from the map click in hand-to-hand mode.
void handFightClick(Battle& b, int mx, int my);

} // namespace korvath
