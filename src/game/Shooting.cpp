#include "Shooting.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void FireButtonClick(Battle&, FireButton) {}
void fireClick(Battle&, int, int) {}
void ShootEnemy(Battle&, int, int) {}
void FireBullet(Battle&, int, double, double, double, double, double) {}

} // namespace korvath
