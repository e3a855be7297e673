#include "game/combat/Threats.h"
#include "game/state/Pieces.h"

#include "game/combat/Flight.h"
#include "game/combat/Overwatch.h"
#include "game/display/Display.h"

namespace korvath {

std::vector<ThreatSquare> threatSquares(const BattleState& b, int raider) {
    std::vector<ThreatSquare> out;
    if (!isPiece(b, raider) || b.Pieces[raider].Wounds < 1) return out;
    const PieceRecord& r = b.Pieces[raider];
    // Only the watchers matter, and only those who could fire at all.
    std::vector<int> watchers;
    for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
        const PieceRecord& w = b.Pieces[k];
        if (w.Side != b.HumanSide && w.Overwatch && w.Wounds > 0 &&
            w.AP >= b.item(w.Items[1]).QuickShotAP)
            watchers.push_back(k);
    }
    if (watchers.empty()) return out;

    // The square he leaves shows what lies under him; the square he steps
    // onto shows him, as a step leaves them.
    Raster left(kSquare, kSquare, 0), look(kSquare, kSquare, 0);
    left.draw(b.glyph(r.UnderGlyph).Picture, 0, 0);
    paintLivingLook(b, r, look, 0, 0);
    const bool onMap = BattleState::onMap(r.X, r.Y);
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            if (b.MapGrid[x][y].Solidity != 0 || (x == r.X && y == r.Y)) continue;
            FlightGround ground(b);
            if (onMap)
                ground.change(r.X, r.Y,
                              {static_cast<uint8_t>(r.UnderGlyph),
                               static_cast<uint8_t>(b.isDoor(r.UnderGlyph) ? 3 : 0), 0},
                              &left);
            ground.change(x, y, {kOccupiedGlyph, 1, 0}, &look);
            ground.moveSoldier(raider, x, y);
            ThreatSquare t{{x, y}, {}};
            for (const int k : watchers)
                if (judgeWatcher(ground, b.Pieces[k].Side, k, raider).reply == WatchReply::Fires)
                    t.watchers.push_back(k);
            if (!t.watchers.empty()) out.push_back(std::move(t));
        }
    return out;
}

} // namespace korvath
