#include "TurnSequence.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void EndTurnButtonClick(Battle&) {}
void RestoreActionPoints(Battle&, int) {}

} // namespace korvath
