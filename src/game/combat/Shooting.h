#pragma once
#include "game/state/Battle.h"

#include <optional>

namespace korvath {

enum class FireButton { None, Aimed, Quick };

// The aimed and quick shot buttons; None re-arms fire mode after a human shot.
void FireButtonClick(Battle& b, FireButton sender);
// The human shot at map pixel (mx, my), from the map click. Checks every
// condition of the shot itself (fire mode, hand-fight mode, turn, deployment
// list, action points, ammunition) and logs the refusals; the caller only
// leaves out query clicks.
void fireClick(Battle& b, int mx, int my);
// One shot of a computer soldier; the target is chosen again inside.
void ShootEnemy(Battle& b, int shooter, int target);

// How a shot came to be fired, for the events that tell of it.
struct ShotCall {
    ShotKind kind = ShotKind::Aimed;
    bool strayed = false;
    int stray = 0;
    int target = 0; // the soldier aimed at, where there is one
};

// Every shot of the game ends here: soldier `shooter` fires from pixel point
// (startX, startY) in whole degree trunc(angle). Every caller passes the
// point aimed at, and the shot never looks at it.
void FireBullet(Battle& b, int shooter, double angle, double startX, double startY,
                [[maybe_unused]] double targetX, [[maybe_unused]] double targetY,
                const ShotCall& call = {});

// The stray of a shot: a shooter failing his Shoot roll turns the direction
// by -9..+9 degrees, most often not at all. The angle lies in 0..360.
struct Aim {
    double angle = 0;
    bool strayed = false; // the Shoot roll failed
    int stray = 0;        // the degrees it turned the direction
};
Aim AimDeviation(Random& rng, double angle, int shoot);

// Colour of a weapon's trace, or nothing when its TraceColour is not a whole
// number (colours are written 0x00BBGGRR).
std::optional<Rgb> traceColour(const EquipmentType& weapon);

} // namespace korvath
