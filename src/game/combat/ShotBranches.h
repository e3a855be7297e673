#pragma once
#include "game/combat/DamageSpread.h"
#include "game/combat/Flight.h"
#include "game/state/BattleEvent.h"

#include <functional>
#include <string>
#include <vector>

// One whole degree of a shot flown with all the dice of its meetings: each
// ImpactTest call on an obstacle rolls r6 and a damage roll, and the flight
// follows each outcome that changes the map (the object stands or falls, a
// force field goes) as a branch of its own, on its own copy of the flight and
// of its ground. Nothing of the battle, and not its generator, is touched.
namespace korvath {

// How one branch ended.
struct BranchEnd {
    double p = 1;                    // its chance within the degree
    ShotEnd end = ShotEnd::None;     // Soldier, Obstacle, Spent or OffMap
    int soldier = 0;                 // the soldier struck
    Point stop;                      // the square it ended in
    int glyph = 0;                   // the obstacle it stopped at, as it stood when met
    bool destroyed = false;          // that obstacle is gone by the end of the shot
    bool victory = false;            // the "Victory!" tile fell on the way
    std::vector<std::string> events; // the objective events the shot sets off
    // An event went off and the flight looked at the map again after it (it
    // flew on, or a flame burst): what the event changes is not followed.
    bool pastEvent = false;
    double x = 0, y = 0; // the projectile's last point
};

// A bound on the branches one question may follow; past it the objects met
// are taken to stand, and the answer is no longer exact.
struct BranchBudget {
    int left = 20000;
    bool exhausted = false;
};

using BranchDone = std::function<void(const BranchEnd&, const FlightGround& atEnd)>;

// Soldier `shooter`'s shot in whole degree `degree` from (x0, y0) over
// `ground`; `roll` is his weapon's damage roll. done() hears every branch.
void flyBranches(const FlightGround& ground, int shooter, int degree, double x0, double y0,
                 const DamageSpread& roll, BranchBudget& budget, const BranchDone& done);

} // namespace korvath
