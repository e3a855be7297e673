#pragma once
#include "game/state/BattleState.h"
#include "game/state/Pieces.h"
#include "game/turns/Walking.h"

#include <vector>

// The player's walk, written once for its two modes: the real walk over the
// battle (Movement.cpp) and the walk worked out ahead over scratch squares of
// its own (WalkForecast.cpp). Each mode supplies the walker's state and the
// acts; the order of the tests and when the walk stops are here.
namespace korvath {

// The walk's plan: the trace from the goal back to the walker (entry n is the
// first step), and the last entry the walk may reach.
struct WalkPlan {
    std::vector<Square> path;
    int n = 0;
    int last = 1;
    bool go = false; // a way was found
};

// The trace over the costs costAt(x, y) gives, of soldier p towards (tx, ty).
// A walk towards soldiers or bodies ends on the first of them it meets: the
// occupied squares at the far end of the path are counted.
template <typename CostAt>
WalkPlan planWalk(const BattleState& b, CostAt costAt, const PieceRecord& p, int tx, int ty) {
    WalkPlan plan;
    const Square start{p.X, p.Y};
    plan.path = tracePath(costAt, {tx, ty}, true, p.AP, [&](Square at) { return at == start; });
    plan.n = static_cast<int>(plan.path.size()) - 1;
    plan.go = plan.n < kLongestTrace; // otherwise there is no way there
    int m = 0;
    if (plan.go) {
        while (m < plan.n - 1 &&
               b.cellAt(plan.path[m + 1].x, plan.path[m + 1].y).Glyph == kOccupiedGlyph)
            ++m;
        --plan.n;
    }
    plan.last = m >= 1 ? m : 1;
    return plan;
}

// Short of breath, a soldier will not start by squeezing past someone or
// through a door.
inline bool startRefused(const BattleState& b, const WalkPlan& plan, int ap) {
    return ap < 4 && plan.n >= 1 && b.cellAt(plan.path[plan.n].x, plan.path[plan.n].y).Solidity > 0;
}

// Why a walk ended where it did.
enum class WalkStop { End, Reaction, Points, Enemy, Fallen, Halted };

// The step loop. Walk provides: at(), ap(), alive(), solidity(Square),
// enemyOn(Square), openOwnSquare(), step(Square, cost) -> stood on a friend,
// reactionFire(steps taken) -> somebody fired, stopRequested(), afterStep().
// Returns why it stopped; `steps` counts the steps taken.
template <typename Walk> WalkStop walkSteps(Walk& w, const WalkPlan& plan, int& steps) {
    int n = plan.n;
    steps = 0;
    WalkStop why = WalkStop::End;
    bool go = true;
    do {
        const Square next = plan.path[n];
        w.openOwnSquare();
        const int cost = stepCost(w.at(), next);
        if (w.enemyOn(next)) {
            go = false;
            why = WalkStop::Enemy;
        }
        if (w.ap() >= cost && go) {
            const bool onFriend = w.step(next, cost);
            ++steps;
            --n;
            if (w.reactionFire(steps)) {
                go = false;
                why = WalkStop::Reaction;
            }
            if (go && !w.alive()) {
                go = false;
                why = WalkStop::Fallen;
            }
            if (n > 0 && w.solidity(plan.path[n]) > 0 && w.ap() <= 4 && !onFriend) {
                if (go) why = WalkStop::Points;
                go = false;
            }
        } else if (go) {
            go = false;
            why = WalkStop::Points;
        }
        if (w.stopRequested()) {
            if (go) why = WalkStop::Halted;
            go = false;
        }
        w.afterStep();
    } while (w.ap() > 1 && n != 0 && go && n >= plan.last);
    if (go && w.ap() <= 1 && n != 0 && n >= plan.last) why = WalkStop::Points;
    return why;
}

} // namespace korvath
