#pragma once
#include "Battle.h"

namespace korvath {

enum class FireButton { None, Aimed, Quick };

// The aimed and quick shot buttons; None re-arms fire mode after a human shot.
void FireButtonClick(Battle& b, FireButton sender);
// The human shot at map pixel (mx, my), from the map click.
void fireClick(Battle& b, int mx, int my);
// One shot of a computer soldier; the target is chosen again inside.
void ShootEnemy(Battle& b, int shooter, int target);
void FireBullet(Battle& b, int shooter, double angle, double startX, double startY, double targetX,
                double targetY);

} // namespace korvath
