#include "Movement.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void FillPathCosts(Battle&, int, int, int, int) {}
void walkSelectedPiece(Battle&, int, int, bool) {}

} // namespace korvath
