#include "game/combat/Threats.h"
#include "ShotBattle.h"
#include "game/combat/Overwatch.h"

#include <map>
#include <vector>

namespace korvath::testing {
namespace {

// Two Operatives on overwatch, one with a short rifle, a wall between them;
// a Raider at (5, 5).
struct Lanes : ShotTest {
    Lanes() {
        b.HumanTurn = true;
        soldier(1, "Raider", 1, 5, 5).Wounds = 99;
        soldier(2, "Operative A", 2, 20, 10).Overwatch = true;
        soldier(3, "Operative B", 2, 30, 20, kFlamer).Overwatch = true;
        soldier(4, "Operative C", 2, 40, 40); // not watching
        for (int x = 22; x <= 28; ++x) wall(x, 15);
        ready();
    }
};

TEST_F(Lanes, AShadedSquareIsOneWhereTheReactionRuleFires) {
    std::map<std::pair<int, int>, std::vector<int>> shaded;
    for (const ThreatSquare& t : threatSquares(b, 1)) shaded[{t.square.x, t.square.y}] = t.watchers;
    ASSERT_GT(shaded.size(), 50u);
    const PieceRecord raider = b.Pieces[1];
    for (int y = 1; y <= kMapHeight; y += 3)
        for (int x = 1; x <= kMapWidth; x += 4) {
            if (b.MapGrid[x][y].Solidity != 0) continue;
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            // The real rule, on the battle as it would stand, put back after.
            const auto pieces = b.Pieces;
            const auto grid = b.MapGrid;
            const Raster terrain = b.TerrainBitmap;
            heard.seen.clear();
            b.Pieces[1].X = x;
            b.Pieces[1].Y = y;
            b.cell(raider.X, raider.Y) = {kFloorGlyph, 0, 0};
            b.drawGlyph(raider.X, raider.Y, kFloorGlyph);
            ready();
            CheckOverWatch(b, 2, 1);
            std::vector<int> fired;
            for (const ReactionShot& r : heard.all<ReactionShot>()) fired.push_back(r.watcher);
            b.Pieces = pieces;
            b.MapGrid = grid;
            b.TerrainBitmap = terrain;
            b.forgetDrawings();
            const auto it = shaded.find({x, y});
            EXPECT_EQ(it == shaded.end() ? std::vector<int>{} : it->second, fired);
        }
}

TEST_F(Lanes, NoWatcherNoLanes) {
    b.Pieces[2].Overwatch = b.Pieces[3].Overwatch = false;
    EXPECT_TRUE(threatSquares(b, 1).empty());
}

} // namespace
} // namespace korvath::testing
