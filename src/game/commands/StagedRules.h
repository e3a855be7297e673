#pragma once
#include "game/state/Battle.h"

namespace korvath {

// The map click's blow and treatment, on the battle: the rule tells its
// events to the battle's stage, and the squad is drawn anew where it changed.
void handFightClick(Battle& b, int mx, int my);
void healingClick(Battle& b, int mx, int my);

} // namespace korvath
