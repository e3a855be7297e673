#include "game/combat/Threats.h"
#include "ShotBattle.h"
#include "TestData.h"
#include "game/combat/Overwatch.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"

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

std::vector<std::vector<int>> flat(const std::vector<ThreatSquare>& lanes) {
    std::vector<std::vector<int>> out;
    for (const ThreatSquare& t : lanes) {
        out.push_back({t.square.x, t.square.y});
        out.back().insert(out.back().end(), t.watchers.begin(), t.watchers.end());
    }
    return out;
}

// The lines traced once per degree must shade exactly the squares that
// judging every square over the battle as it would stand shades: on the real
// maps with every Operative watching, the Raider leaving squares of several
// kinds (his start star, open floor far off, off the map).
TEST(FireLanes, TracedOnceAsJudgedSquareBySquareOnTheRealMaps) {
    for (ScenarioId which : {ScenarioId::Korvath, ScenarioId::Vexlar}) {
        auto b = test::openRealBattle(KORVATH_GAME_DIR, which);
        if (!b) GTEST_SKIP() << "the game folder is not built";
        b->HumanTurn = true;
        int raider = 0;
        for (int i = 1; i <= kMaxPieces && !b->Pieces[i].Name.empty(); ++i) {
            if (b->Pieces[i].Side != 1) b->Pieces[i].Overwatch = true;
            if (b->Pieces[i].Side == 1 && !raider) raider = i;
        }
        ASSERT_GT(raider, 0);
        std::vector<std::pair<int, int>> open;
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x)
                if (b->cell(x, y).Solidity == 0) open.emplace_back(x, y);
        size_t shaded = 0;
        for (const auto& [x, y] :
             {open[open.size() / 3], open[open.size() * 4 / 5], std::pair{0, 0}}) {
            SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
            std::tie(b->Pieces[raider].X, b->Pieces[raider].Y) = std::pair{x, y};
            placePieces(*b);
            const auto quick = threatSquares(*b, raider);
            EXPECT_EQ(flat(quick), flat(threatSquaresBySquare(*b, raider)));
            shaded += quick.size();
        }
        EXPECT_GT(shaded, 100u);
    }
}

TEST_F(Lanes, NoWatcherNoLanes) {
    b.Pieces[2].Overwatch = b.Pieces[3].Overwatch = false;
    EXPECT_TRUE(threatSquares(b, 1).empty());
}

} // namespace
} // namespace korvath::testing
