#pragma once
#include "game/state/BattleState.h"

#include <vector>

// The chances of a damage roll, worked out instead of rolled: the spread of
// one RollDamage of a soldier's weapon, and what the toughness roll of a shot
// leaves of it. Each die is taken as uniform and independent.
namespace korvath {

class DamageSpread {
  public:
    // One roll of soldier i's weapon in hand (1d4 without dice; nothing at
    // all when its dice are not "NdM", as RollDamage then does no damage).
    DamageSpread(const BattleState& b, int soldier);
    // n dice of m sides.
    DamageSpread(int n, int m);

    // P(roll >= k).
    double atLeast(int k) const;
    // P(roll > 13): a Solidity 3 object or a generator gives way.
    double heavy() const { return atLeast(14); }
    double mean() const { return mean_; }
    // P(roll is odd), for the mean of a halved roll.
    double odd() const { return odd_; }
    // False when a roll can exceed what is counted one by one (over 4096):
    // chances above that are taken as certain.
    bool exact() const { return exact_; }

  private:
    void spread(int n, int m);
    std::vector<double> tail_; // tail_[k] = P(roll >= k), k up to the cap
    double mean_ = 0, odd_ = 0;
    bool exact_ = true;
};

// A shot's toughness roll, r = 1..10: r = 1 cancels the damage, 1 < r <
// Toughness halves it, anything else leaves it whole.
struct ToughnessRoll {
    double cancelled = 0.1, halved = 0, whole = 0.9;
    explicit ToughnessRoll(int toughness);
};

// What a hit does to a soldier with `wounds` wounds left.
struct HitHarm {
    double unharmed = 0; // no damage gets through
    double wounded = 0;  // hurt, and alive
    double killed = 0;
    double damage = 0; // the damage expected after toughness
    // left[w] = P(w wounds left and alive), w = 1..wounds.
    std::vector<double> left;
};
HitHarm shotHarm(const DamageSpread& roll, int toughness, int wounds);
// The same for damage taken whole (a blow, the flames).
HitHarm wholeHarm(const DamageSpread& roll, int wounds);

} // namespace korvath
