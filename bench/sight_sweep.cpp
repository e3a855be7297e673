// The exhaustive check of the fast sight test, run by hand (a few minutes):
// an Operative on every open square of each real map looks at a Raider on
// every other open square, once by the march over all 360 degrees and once
// by the fast test. The counters give the pairs tried, how many see each
// other, and the disagreements, which must be 0.
#include "BenchField.h"
#include "game/combat/Sight.h"

#include <benchmark/benchmark.h>

using namespace korvath;
using namespace korvath::bench;

namespace {

void BM_SweepEveryPair(benchmark::State& state, ScenarioId which) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    // Only one Raider and one Operative stay; the others leave the map.
    for (int i = 1; i <= kMaxPieces; ++i) {
        PieceRecord& p = b->Pieces[i];
        if (p.Name.empty() || p.X == 0) continue;
        b->cell(p.X, p.Y).Solidity = 0;
        b->cell(p.X, p.Y).Glyph = static_cast<uint8_t>(p.UnderGlyph);
        p.X = p.Y = 0;
    }
    int raider = 0, operative = 0;
    for (int i = 1; i <= kMaxPieces; ++i) {
        if (b->Pieces[i].Side == 1 && !raider) raider = i;
        if (b->Pieces[i].Side == 2 && !operative) operative = i;
    }
    if (!raider || !operative) return state.SkipWithError("no Raider or no Operative");
    b->Pieces[raider].Wounds = b->Pieces[operative].Wounds = 5;
    std::vector<std::pair<int, int>> open;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (b->cell(x, y).Solidity == 0) open.emplace_back(x, y);
    b->HumanTurn = false;
    int64_t pairs = 0, seen = 0, wrong = 0;
    for (auto _ : state)
        for (const auto& [vx, vy] : open) {
            PieceRecord& v = b->Pieces[operative];
            std::tie(v.X, v.Y) = std::pair{vx, vy};
            b->cell(vx, vy).Solidity = 1;
            for (const auto& [tx, ty] : open) {
                if (tx == vx && ty == vy) continue;
                PieceRecord& t = b->Pieces[raider];
                std::tie(t.X, t.Y) = std::pair{tx, ty};
                b->cell(tx, ty).Solidity = 1;
                const bool march = ICanSeeTheEnemyByMarch(*b, operative, raider);
                wrong += march != ICanSeeTheEnemy(*b, operative, raider);
                seen += march;
                ++pairs;
                b->cell(tx, ty).Solidity = 0;
            }
            b->cell(vx, vy).Solidity = 0;
        }
    state.counters["pairs"] = static_cast<double>(pairs);
    state.counters["seen"] = static_cast<double>(seen);
    state.counters["disagreements"] = static_cast<double>(wrong);
}

BENCHMARK_CAPTURE(BM_SweepEveryPair, korvath, ScenarioId::Korvath)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_SweepEveryPair, vexlar, ScenarioId::Vexlar)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
