#pragma once
#include "game/state/BattleState.h"

#include <vector>

// The enemy's fire lanes: where a Raider who stepped would draw reaction
// fire from the Operatives on overwatch now, as CheckOverWatch judges it.
namespace korvath {

struct ThreatSquare {
    Point square;
    std::vector<int> watchers; // in the order they would fire
};

// Every open square that soldier `raider` stepping onto it would draw fire
// on, with the watchers who would fire; row by row from the top. Only reads
// the battle.
// Each watcher's shot line in each whole degree is traced once and serves
// every square that lies along it.
std::vector<ThreatSquare> threatSquares(const BattleState& b, int raider);
// The same, square by square with the battle laid out as it would stand and
// every watcher judged by judgeWatcher: the slow way, kept to check the quick one.
std::vector<ThreatSquare> threatSquaresBySquare(const BattleState& b, int raider);

} // namespace korvath
