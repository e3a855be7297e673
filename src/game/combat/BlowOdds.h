#pragma once
#include "game/state/BattleState.h"

// The exact chances of a blow in close combat: it lands on a percentile roll
// against the attacker's Attack, a landed blow is parried on one against five
// times the defender's Toughness, and an unparried one does the full damage
// roll of the attacker's weapon. Only read: nothing is rolled.
namespace korvath {

struct BlowOdds {
    int attacker = 0;
    int target = 0;
    double lands = 0;   // the blow lands
    double parried = 0; // it lands and is parried
    double wounded = 0; // it does damage and he lives
    double killed = 0;
    double damage = 0; // the damage of an unparried blow, on average
};

BlowOdds blowOdds(const BattleState& b, int attacker, int target);

// A treatment is certain: what it would restore and cost.
struct HealOdds {
    int healer = 0;
    int patient = 0;
    int restores = 0; // wounds
    int cost = 0;     // the action points needed (a treatment then takes all of both)
};

} // namespace korvath
