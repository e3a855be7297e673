#include "game/commands/WalkQuestions.h"

#include "game/state/Pieces.h"

namespace korvath {

WalkForecast forecastAt(const BattleState& b, int x, int y) {
    if (!b.PieceSelected || !isPiece(b, b.SelectedPiece)) return {};
    return forecastWalk(b, b.SelectedPiece, x, y, exactShotChances);
}

WalkForecast forecastAt(const BattleState& b, int x, int y, const PathCostGrid& costs) {
    if (!b.PieceSelected || !isPiece(b, b.SelectedPiece)) return {};
    return forecastWalk(b, b.SelectedPiece, x, y, exactShotChances, costs);
}

int fireLanesSoldier(const BattleState& b) {
    if (b.PieceSelected && isPiece(b, b.SelectedPiece)) return b.SelectedPiece;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (b.Pieces[i].Side == b.HumanSide && b.Pieces[i].Wounds > 0) return i;
    return 0;
}

std::vector<ThreatSquare> fireLanes(const BattleState& b) {
    return threatSquares(b, fireLanesSoldier(b));
}

} // namespace korvath
