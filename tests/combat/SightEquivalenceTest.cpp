// The fast sight test must give the answer of the literal march over all 360
// degrees every time: on the real maps and on random fields full of walls,
// objects, soldiers, bodies and soldiers sharing a square.
#include "Field.h"
#include "TestData.h"
#include "game/combat/Sight.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace korvath;
using namespace korvath::combat;

namespace {

// Every ordered pair of the first `count` soldiers, in both turns; returns
// how many of them see each other.
int compareAllPairs(Battle& b, int count) {
    int seen = 0;
    for (bool humanTurn : {true, false}) {
        b.HumanTurn = humanTurn;
        for (int v = 1; v <= count; ++v)
            for (int t = 1; t <= count; ++t) {
                const bool march = ICanSeeTheEnemyByMarch(b, v, t);
                EXPECT_EQ(ICanSeeTheEnemy(b, v, t), march)
                    << "viewer " << v << " at " << b.Pieces[v].X << "," << b.Pieces[v].Y
                    << " target " << t << " at " << b.Pieces[t].X << "," << b.Pieces[t].Y
                    << (humanTurn ? " human turn" : " computer turn");
                seen += march;
            }
    }
    return seen;
}

} // namespace

TEST(SightEquivalence, RandomFieldsWithWallsAndCrowds) {
    Field f;
    int seen = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("field " + std::to_string(seed));
        std::mt19937 rng(seed);
        auto square = [&](int hiX, int hiY) {
            return std::pair{std::uniform_int_distribution(1, hiX)(rng),
                             std::uniform_int_distribution(1, hiY)(rng)};
        };
        for (int x = 1; x <= kMapWidth; ++x)
            for (int y = 1; y <= kMapHeight; ++y) f.b.cell(x, y) = {kFloorGlyph, 0, 0};
        const int walls = std::uniform_int_distribution(50, 900)(rng);
        for (int k = 0; k < walls; ++k) {
            const auto [x, y] = square(kMapWidth, kMapHeight);
            f.b.cell(x, y).Solidity =
                static_cast<uint8_t>(std::uniform_int_distribution(1, 4)(rng));
        }
        // Some soldiers anywhere, some crowded into one corner so that they
        // share squares and stand next to each other and to the edges; one
        // in five is a body, the last is not placed.
        for (int i = 1; i <= 12; ++i) {
            const auto [x, y] = i <= 7 ? square(kMapWidth, kMapHeight) : square(3, 3);
            f.soldier(i, 1 + (i % 2), x, y, i % 5 == 0 ? 0 : 5);
        }
        f.b.Pieces[12].X = 0;
        seen += compareAllPairs(f.b, 12);
        if (::testing::Test::HasFailure()) return;
    }
    EXPECT_GT(seen, 100);
}

TEST(SightEquivalence, EveryPairOnTheRealMaps) {
    for (ScenarioId which : {ScenarioId::Korvath, ScenarioId::Vexlar}) {
        auto b = test::openRealBattle(KORVATH_GAME_DIR, which);
        if (!b) GTEST_SKIP() << "the game folder is not built";
        // The Raiders spread over the open squares, twelve times over, so that
        // the sides meet across the whole map.
        std::vector<std::pair<int, int>> open;
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x)
                if (b->cell(x, y).Solidity == 0 && b->cell(x, y).Glyph != kStartStarGlyph)
                    open.emplace_back(x, y);
        int count = 0;
        while (count < kMaxPieces && !b->Pieces[count + 1].Name.empty()) ++count;
        int seen = 0;
        const size_t stride = open.size() / 8;
        for (size_t at = 0; at < stride; at += stride / 12) {
            for (int i = 1, k = 0; i <= count; ++i)
                if (b->Pieces[i].Side == 1)
                    std::tie(b->Pieces[i].X, b->Pieces[i].Y) = open[at + stride * k++];
            placePieces(*b);
            seen += compareAllPairs(*b, count);
            if (::testing::Test::HasFailure()) return;
        }
        EXPECT_GT(seen, 0);
    }
}
