#include "game/turns/Movement.h"
#include "game/state/Pieces.h"

#include "game/combat/Overwatch.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"
#include "game/turns/WalkSteps.h"
#include "game/turns/Walking.h"

#include <string>
#include <vector>

namespace korvath {

namespace {

// Step 1 of a walk: the ring of the five latest walkers, which the computer
// side reads to chase soldiers it has heard moving. Slot 0 stays empty, so the
// first slot is always written.
void rememberWalker(Battle& b, int i) {
    if (b.RecentIndex < 1 || b.RecentIndex > 5) b.RecentIndex = 1;
    if (b.RecentPieces[b.RecentIndex - 1] != i) {
        b.RecentPieces[b.RecentIndex] = static_cast<uint8_t>(i);
        b.RecentIndex = b.RecentIndex == 5 ? 1 : b.RecentIndex + 1;
    }
}

// The real walk: soldier i over the battle, animated, fired at.
struct RealWalk {
    Battle& b;
    int i;
    PieceRecord& p() { return b.Pieces[i]; }
    Square at() { return {p().X, p().Y}; }
    int ap() { return p().AP; }
    bool alive() { return p().Wounds >= 1; }
    int solidity(Square s) { return b.cell(s.x, s.y).Solidity; }
    bool enemyOn(Square s) { return livingEnemyOn(b, b.HumanSide, s.x, s.y); }
    void openOwnSquare() { b.cell(p().X, p().Y).Solidity = 0; }
    bool step(Square next, int cost) {
        const bool onFriend = stepOnto(b, i, next, cost);
        placePieces(b);
        ShowPieceStats(b, i);
        b.beat(Beat::WalkStep);
        return onFriend;
    }
    // Computer soldiers on overwatch may fire at the walker after his step.
    // True when one of them did.
    bool reactionFire(int) {
        bool visible = false;
        int target = 0;
        NearestEnemy(b, i, p().X, p().Y, visible, target, &b);
        if (!validIndex(target) || p().UnderGlyph == kOccupiedGlyph) return false;
        return CheckOverWatch(b, target, i);
    }
    bool stopRequested() { return b.StopRequested; }
    void afterStep() { DrawOverheadMap(b); }
};

// The right button's question is answered with a cost only for a square the
// flood reached, on a trace of fewer than 99 steps, that he can pay for.
bool costAnswered(int needed, int steps, int ap) {
    return needed > 0 && steps < 99 && needed <= ap;
}

} // namespace

void walkSelectedPiece(Battle& b, int tx, int ty, bool query) {
    const int i = b.SelectedPiece;
    if (!validIndex(i)) return;
    PieceRecord& p = b.Pieces[i];
    // The selection outlives a soldier shot dead during his walk; his body stays put.
    if (p.Name.empty() || p.Wounds < 1) return;
    if (!Battle::onMap(p.X, p.Y) || !Battle::onMap(tx, ty)) return;

    rememberWalker(b, i);
    FocusPiece(b, i);
    b.MapClicksEnabled = false;
    FillPathCosts(b, p.X, p.Y, tx, ty);

    const WalkPlan plan = planWalk(
        b, [&b](int x, int y) { return b.MapGrid[x][y].PathCost; }, p, tx, ty);
    bool go = plan.go;

    if (query) {
        const int needed = b.cell(tx, ty).PathCost;
        // A square the flood never reached has no price, whatever the trace says.
        if (costAnswered(needed, plan.n, p.AP))
            b.statusLine = std::to_string(needed) + " action points required, " +
                           std::to_string(p.AP - needed) + " remaining.";
        else
            b.statusLine = "Too far or unreacheable.";
        go = false;
    }
    if (startRefused(b, plan, p.AP)) go = false;
    if (!query) b.statusLine.clear();

    if (go && plan.n >= plan.last) {
        RealWalk walk{b, i};
        int steps = 0;
        walkSteps(walk, plan, steps);
    }

    FocusPiece(b, i);
    b.StopRequested = false;
    b.cursor = CursorShape::Default;
    // Watchers fire once more at the end of every walk order, also one refused
    // at once; a question about the cost is no order and draws no fire. For a
    // walker shot dead on the way only the look for the nearest watcher is made.
    if (!query) EndOfMoveReaction(b, i);
    placePieces(b);
    FillPickList(b, i);
    FocusPiece(b, i);
    b.MapClicksEnabled = true;
}

WalkPreview previewWalk(const BattleState& b, int i, int tx, int ty, PathCostGrid* into) {
    WalkPreview out;
    if (!validIndex(i)) return out;
    const PieceRecord& p = b.Pieces[i];
    if (p.Name.empty() || p.Wounds < 1 || !Battle::onMap(p.X, p.Y) || !Battle::onMap(tx, ty))
        return out;
    // Only a square a walk order may aim at: open, or a door.
    if (!b.passable(tx, ty)) return out;
    if (p.X == tx && p.Y == ty) return out;

    PathCostGrid own;
    PathCostGrid& costs = into ? *into : own;
    computePathCosts(b, p.X, p.Y, tx, ty, costs);
    const Square start{p.X, p.Y};
    out.path = tracePath([&costs](int x, int y) { return costs[y * kCostGridWidth + x]; }, {tx, ty},
                         true, p.AP, [&](Square at) { return at == start; });
    out.path.erase(out.path.begin());
    // As the walk counts: its first step is the entry before his own square.
    const int steps = static_cast<int>(out.path.size()) - 1;
    out.cost = costs[ty * kCostGridWidth + tx];
    out.reachable = out.cost > 0 && steps < 99 && out.path.back() == start;
    out.affordable = out.reachable && costAnswered(out.cost, steps, p.AP);
    return out;
}

} // namespace korvath
