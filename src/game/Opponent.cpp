#include "Opponent.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void computerPieceTurn(Battle&, int) {}
void AdvanceTowards(Battle&, int, int, bool&) {}

} // namespace korvath
