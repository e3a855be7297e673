// The cost flood visits only the squares whose cost has changed and stops
// once nothing changes. It must leave exactly the grid that whole sweeps over
// the map leave, written here plainly as the reference, on both real maps.
#include "TestData.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/turns/Movement.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

using namespace korvath;

namespace {

// Whole sweeps, row by row, until the goal has a cost or 250 sweeps have run.
void fillBySweeps(Battle& b, int sx, int sy, int gx, int gy) {
    static constexpr int dx[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    static constexpr int dy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    auto inGrid = [](int x, int y) {
        return x >= 0 && y >= 0 && x <= kMapWidth + 1 && y <= kMapHeight + 1;
    };
    std::array<bool, kMaxGlyphs + 1> door{};
    for (int g = 1; g <= kMaxGlyphs; ++g) door[g] = b.Glyphs[g].Action == "access";
    auto access = [&](int x, int y) { return door[b.cell(x, y).Glyph]; };
    auto passable = [&](int x, int y) { return b.cell(x, y).Solidity < 2 || access(x, y); };
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) b.cell(x, y).PathCost = 0;
    for (int k = 0; k < 8; ++k)
        if (inGrid(sx + dx[k], sy + dy[k]) && passable(sx + dx[k], sy + dy[k]))
            b.cell(sx + dx[k], sy + dy[k]).PathCost = dx[k] && dy[k] ? 3 : 2;
    for (int sweep = 1; sweep <= 250; ++sweep) {
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x) {
                const int own = b.cell(x, y).PathCost;
                if (own <= 0) continue;
                for (int k = 0; k < 8; ++k) {
                    const int nx = x + dx[k], ny = y + dy[k];
                    if (!passable(nx, ny)) continue;
                    const int candidate = own + (dx[k] && dy[k] ? 3 : 2) + (access(nx, ny) ? 2 : 0);
                    int32_t& c = b.cell(nx, ny).PathCost;
                    if (c == 0 || c > candidate) c = candidate;
                }
            }
        if (inGrid(gx, gy) && b.cell(gx, gy).PathCost != 0) break;
    }
    b.cell(sx, sy).PathCost = 1;
}

} // namespace

TEST(PathCostsEquivalence, EveryFiftiethSquareOfTheRealMaps) {
    for (ScenarioId which : {ScenarioId::Korvath, ScenarioId::Vexlar}) {
        auto b = test::openRealBattle(KORVATH_GAME_DIR, which);
        if (!b) GTEST_SKIP() << "the game folder is not built";
        placePieces(*b);
        auto reference = std::make_unique<Battle>();
        for (int n = 0; n < kMapWidth * kMapHeight; n += 50) {
            const int sx = n % kMapWidth + 1, sy = n / kMapWidth + 1;
            // An unreachable goal (off the grid), one far away and one near.
            const std::pair<int, int> goals[] = {
                {-1, -1}, {kMapWidth + 1 - sx, kMapHeight + 1 - sy}, {sx, sy - 3}};
            for (const auto& [gx, gy] : goals) {
                reference->MapGrid = b->MapGrid;
                reference->Glyphs = b->Glyphs;
                fillBySweeps(*reference, sx, sy, gx, gy);
                FillPathCosts(*b, sx, sy, gx, gy);
                ASSERT_EQ(b->MapGrid, reference->MapGrid)
                    << "from " << sx << "," << sy << " to " << gx << "," << gy;
            }
        }
    }
}
