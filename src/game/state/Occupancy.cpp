#include "game/state/Occupancy.h"

namespace korvath {

void markHeldSquares(BattleState& b) {
    // Soldier records run from 1 up to the first free one.
    auto listed = [&](auto f) {
        for (int i = 1; i <= kMaxPieces && !b.Pieces[i].Name.empty(); ++i) f(b.Pieces[i]);
    };
    listed([&](const PieceRecord& p) {
        if (BattleState::inGrid(p.X, p.Y)) b.cell(p.X, p.Y).Solidity = 0;
        if (p.Wounds < 1 && p.X > 0 && BattleState::onMap(p.X, p.Y))
            b.cell(p.X, p.Y).Glyph = kOccupiedGlyph;
    });
    listed([&](PieceRecord& p) {
        if (p.X == 0 || p.Side <= 0 || p.Wounds <= 0 || !BattleState::onMap(p.X, p.Y)) return;
        MapCell& c = b.cell(p.X, p.Y);
        if (p.UnderGlyph == 0) p.UnderGlyph = c.Glyph;
        c.Glyph = kOccupiedGlyph;
        c.Solidity = 1;
    });
}

} // namespace korvath
