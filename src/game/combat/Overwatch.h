#pragma once
#include "game/state/Battle.h"

namespace korvath {

// Watchers of the side of watcherSideSoldier react to `mover`'s step; true
// when at least one of them tried a shot.
bool CheckOverWatch(Battle& b, int watcherSideSoldier, int mover);
void EndOfMoveReaction(Battle& b, int mover);

} // namespace korvath
