#pragma once
#include "game/state/Battle.h"

#include <array>
#include <cstdint>
#include <vector>

// Walking, for both sides: the cost flood, the path traced back along it, the
// cost of a step and the step itself.
namespace korvath {

struct Square {
    int x = 0;
    int y = 0;
    bool operator==(const Square&) const = default;
};

// The eight neighbours in the order the flood and the path trace visit them.
constexpr Square kNeighbours[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                   {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
// A trace that needs this many squares finds no way.
constexpr int kLongestTrace = 250;

// A step costs 2 action points straight and 3 diagonally.
constexpr int stepCost(Square from, Square to) {
    return from.x != to.x && from.y != to.y ? 3 : 2;
}
constexpr bool adjacent(Square a, Square b) {
    return a.x - b.x <= 1 && b.x - a.x <= 1 && a.y - b.y <= 1 && b.y - a.y <= 1;
}

// The path costs of every square, row-major over the grid with its border
// (columns 0..81, rows 0..51): what FillPathCosts leaves in MapGrid.
constexpr int kCostGridWidth = kMapWidth + 2;
constexpr int kCostGridHeight = kMapHeight + 2;
using PathCostGrid = std::array<int32_t, kCostGridWidth * kCostGridHeight>;

// Floods PathCost outward from the start square until the goal has a cost (or
// 250 sweeps ran), then sets the start's cost to 1.
void FillPathCosts(BattleState& b, int startX, int startY, int goalX, int goalY);
// The same flood into `costs`, leaving the battle as it is.
void computePathCosts(const BattleState& b, int startX, int startY, int goalX, int goalY,
                      PathCostGrid& costs);

// Follows the cheapest neighbours back from the goal towards a walker with
// `ap` points, over the costs costAt(x, y) gives. Entry 0 is unused; the
// player's walk lists the goal itself as entry 1 (goalFirst), the computer's
// starts with the first square chosen. The trace ends when `arrived` holds for
// the square reached, when it has 250 entries, or at once when the walker has
// 1 point or less. The whole trace is kept, however long.
template <typename CostAt, typename Arrived>
std::vector<Square> tracePath(CostAt costAt, Square goal, bool goalFirst, int ap, Arrived arrived) {
    std::vector<Square> path{{0, 0}};
    if (goalFirst) path.push_back(goal);
    Square at = goal;
    for (;;) {
        int best = 999;
        Square chosen = at;
        for (const Square o : kNeighbours) {
            const Square n{at.x + o.x, at.y + o.y};
            if (!BattleState::onMap(n.x, n.y)) continue;
            const int cost = costAt(n.x, n.y);
            if (cost != 0 && cost < best) {
                best = cost;
                chosen = n;
            }
        }
        path.push_back(chosen);
        at = chosen;
        if (arrived(at) || static_cast<int>(path.size()) - 1 >= kLongestTrace || ap <= 1) break;
    }
    return path;
}

// The trace over the costs the last flood left in MapGrid.
template <typename Arrived>
std::vector<Square> tracePathBack(const BattleState& b, Square goal, bool goalFirst, int ap,
                                  Arrived arrived) {
    return tracePath([&b](int x, int y) { return b.MapGrid[x][y].PathCost; }, goal, goalFirst, ap,
                     arrived);
}

// Soldier i steps onto `to`, paying `cost`: the square he leaves gets back
// what lay under him (a door closes behind him) and the window serves what
// arrived meanwhile; he marks the new square as his and is drawn there.
// Returns whether a living soldier already stood on it.
bool stepOnto(Battle& b, int i, Square to, int cost);

} // namespace korvath
