#pragma once
#include "game/state/BattleState.h"
#include "game/turns/WalkSteps.h"

#include <functional>
#include <string>
#include <vector>

// What a walk order would meet, worked out before the click: the walk itself
// run in its dry mode over scratch squares of its own, without dice, the
// battle and its generator untouched.
namespace korvath {

class FlightGround;

// The chances of one reaction shot at the walker, as the exact odds of a shot
// give them; known is false while no odds are plugged in.
struct ShotChances {
    bool known = false;
    double hit = 0;  // he is struck
    double kill = 0; // he dies of it
};
// The odds of soldier `shooter`'s shot in direction `angle` (strays: with
// the aim's stray, else exactly that whole degree) at `target`, flown over
// `ground` (the map as it stands at that moment of the walk).
using ReactionOdds = std::function<ShotChances(const FlightGround& ground, int shooter,
                                               double angle, bool strays, int target)>;

// The exact odds of a shot, worked out over every stray and every roll of
// the dice it meets: the odds a window or a script plugs in.
ShotChances exactShotChances(const FlightGround& ground, int shooter, double angle, bool strays,
                             int target);

struct ForecastShot {
    int step = 0; // steps taken when he fires (0 for the end of the walk)
    int watcher = 0;
    double angle = 0;
    double chance = 1;  // that he fires at all
    bool loaded = true; // a bullet flies (an empty weapon only announces)
    ShotChances odds;
};

struct WalkForecast {
    bool walks = false; // a walk would start
    int walker = 0;
    std::vector<Square> path; // the squares stepped onto, first step first
    int cost = 0;             // the cost the right button's question names
    int steps = 0;            // steps taken before the walk stops
    Square stop;              // where he stands then
    WalkStop why = WalkStop::End;
    std::vector<ForecastShot> reactions; // at the stop step, in the order they fire
    std::vector<ForecastShot> endOfWalk; // the watchers of the end of the walk
    double survives = 1;                 // with every shot's odds known; else 1
    bool oddsKnown = true;
};

// Soldier i's walk order towards (tx, ty) in its dry mode.
WalkForecast forecastWalk(const BattleState& b, int i, int tx, int ty,
                          const ReactionOdds& odds = {});
// The same over `costs`: the walking costs from his square towards (tx, ty)
// in this very state, as previewWalk of the same order leaves them.
WalkForecast forecastWalk(const BattleState& b, int i, int tx, int ty, const ReactionOdds& odds,
                          const PathCostGrid& costs);

// The status bar's line: "Stops after step 4 of 9: Trooper Dask fires (hit
// 58%, kill 22%)", or "Walk is safe from reaction fire".
std::string forecastLine(const BattleState& b, const WalkForecast& f);

// "reaction", "points", "enemy" or "end".
const char* stopName(WalkStop why);

} // namespace korvath
