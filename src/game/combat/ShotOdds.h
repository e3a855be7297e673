#pragma once
#include "game/combat/Flight.h"

#include <string>
#include <utility>
#include <vector>

// The exact chances of a shot, worked out before it is fired: its stray over
// the twenty whole degrees it can take, each degree flown with every outcome
// of the dice it meets (ShotBranches), a struck soldier's damage and
// toughness roll, and a flame's burst. Each draw of the generator is taken as
// uniform and independent; the battle and its generator are only read.
namespace korvath {

// What the shot can do to one soldier. All are chances over the whole shot.
struct SoldierOdds {
    int soldier = 0;
    bool friendly = false;  // of the shooter's side, the shooter included
    double hit = 0;         // the shot strikes him
    double wounded = 0;     // it strikes him, and he lives on hurt (the fire after included)
    double killed = 0;      // it strikes him, and he dies of this shot
    double damage = 0;      // the damage a strike does after toughness, on average
    double burnt = 0;       // he stands alive in a flame's fire
    double burntKilled = 0; // he dies in the fire without being struck
    double burntWounded = 0;
};

// A square where the shot can stop at an object.
struct StopOdds {
    Point square;
    int glyph = 0; // what stands there
    double p = 0;
    double destroyed = 0; // it stops there and the object is gone by the end
};

struct SquareOdds {
    Point square;
    double p = 0;
};

struct EventOdds {
    std::string name; // the glyph's Action: "event..."
    double p = 0;
};

struct ShotOdds {
    int shooter = 0;
    int target = 0;                    // the living soldier on the square aimed at, if any
    std::vector<SoldierOdds> soldiers; // struck or burnt, most likely struck first
    std::vector<StopOdds> obstacles;   // most likely first
    double spent = 0;                  // out of range
    double offMap = 0;
    double victory = 0; // the "Victory!" tile falls
    std::vector<EventOdds> events;
    std::vector<SquareOdds> fire; // squares a flame's burst sets alight
    int degrees = 0;              // whole degrees flown
    bool exact = true;            // false past the branch budget or huge damage dice
    // An objective's event can go off and the shot look at the map after it:
    // the odds take the map as it was before the event (not exact then).
    bool pastEvent = false;

    const SoldierOdds* of(int soldier) const;
    // P(soldier dies of this shot), struck or burnt.
    double deathOf(int soldier) const;
};

// The whole degrees a shot in direction `angle` flies in, with their chances:
// the aim's stray for a shooter of skill `shoot`, or trunc(angle) alone.
std::vector<std::pair<int, double>> shotDegrees(double angle, int shoot, bool strays);

// Soldier `shooter`'s shot in direction `angle` from the middle of his
// square, over `ground` (the battle as it stands, or a walk's moment).
ShotOdds shotOdds(const FlightGround& ground, int shooter, double angle, bool strays);
// The same for the single whole degree `degree` (no stray).
ShotOdds degreeOdds(const FlightGround& ground, int shooter, int degree);
// The player's shot at map pixel (mx, my), stray and all.
ShotOdds shotOddsAt(const BattleState& b, int shooter, int mx, int my);

} // namespace korvath
