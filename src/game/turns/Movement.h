#pragma once
#include "game/state/Battle.h"
#include "game/turns/Walking.h"

namespace korvath {

// The selected soldier walks towards (tx, ty); with query only the cost is reported.
void walkSelectedPiece(Battle& b, int tx, int ty, bool query);

// What a walk order of soldier i towards (tx, ty) would do, worked out without
// touching the battle: the trace the walk follows (from the goal back to his
// own square) and the cost the right button's question names.
struct WalkPreview {
    std::vector<Square> path;
    int cost = 0;
    bool reachable = false;  // the walk finds its way there
    bool affordable = false; // the question answers with the cost, not "Too far or unreacheable."
};
// `costs`, when given, receive the walking costs from his square it was traced
// over (a forecast of the same order may reuse them).
WalkPreview previewWalk(const BattleState& b, int i, int tx, int ty, PathCostGrid* costs = nullptr);

} // namespace korvath
