#include "Deployment.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void PlaceMenGridClick(Battle&, int) {}
void placePickedSoldier(Battle&, int, int) {}

} // namespace korvath
