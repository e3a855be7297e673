#include "CloseCombat.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void HandFightIconClick(Battle&) {}
void handFightClick(Battle&, int, int) {}
void healingClick(Battle&, int, int) {}

} // namespace korvath
