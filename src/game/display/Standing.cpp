#include "game/display/Standing.h"

#include "engine/ShownText.h"

namespace korvath {

namespace {

int standing(const BattleState& b, int side) {
    int n = 0;
    for (int i = 1; i < static_cast<int>(b.Pieces.size()); ++i) {
        const PieceRecord& p = b.Pieces[i];
        n += !p.Name.empty() && p.Side == side && p.Wounds > 0;
    }
    return n;
}

// The victory object still on the map, by its description; empty when the
// battle is only won by defeating every Operative.
std::string victoryObject(const BattleState& b) {
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            const GlyphRecord& g = b.glyph(b.MapGrid[x][y].Glyph);
            if (g.Action == "Victory!")
                return g.Description.empty() ? "the victory object" : shownText(g.Description);
        }
    return {};
}

} // namespace

std::string standingLine(const BattleState& b) {
    const std::string dot = " \u00b7 ";
    const std::string whose =
        b.deploying ? "deployment" : (b.HumanTurn ? "your turn" : "the Operatives' turn");
    const std::string object = victoryObject(b);
    return "Turn " + std::to_string(b.TurnNumber) + dot + whose + dot + "Raiders " +
           std::to_string(standing(b, Side::Raiders)) + ", Operatives " +
           std::to_string(standing(b, Side::Operatives)) + dot + "won by destroying " +
           (object.empty() ? std::string() : object + " or ") + "every Operative";
}

} // namespace korvath
