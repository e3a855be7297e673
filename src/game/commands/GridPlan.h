#pragma once
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// What the second click on the equipment grid does: soldier p's row `slot`
// (1..6) clicked while row `armed` is armed. The real click carries out this
// plan, and the window shows it on the other rows before the player clicks.
struct GridPlan {
    enum class Kind { Nothing, Reload, TooFewToReload, Swap, TooFewToSwap };
    Kind kind = Kind::Nothing;
    int cost = 0;   // the points the click takes
    int needed = 0; // the points its check asks for
    int apBefore = 0, apAfter = 0;
    int ammoBefore = 0, ammoAfter = 0;
};

GridPlan planSecondClick(const BattleState& b, const PieceRecord& p, int armed, int slot);

// The plan in the player's words: "Reload Pulse Rifle — 4 AP", "Swap — 5 AP,
// leaves −2 AP", "Nothing happens"; in UTF-8.
std::string describePlan(const BattleState& b, const PieceRecord& p, int slot,
                         const GridPlan& plan);

} // namespace korvath
