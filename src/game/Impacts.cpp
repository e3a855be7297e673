#include "Impacts.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

bool ImpactTest(Battle&, int, int, int, int&) {
    return false;
}
void FlameBurst(Battle&, int, double, double, int) {}
int RollDamage(Battle&, int) {
    return 0;
}

} // namespace korvath
