// The flight of a shot, flown dry as the line of fire flies it: every whole
// degree from each Raider on his start star, on both real maps at difficulty
// 8, with the target discs drawn as before a shot. The exact odds fly a
// handful of such flights for every aim.
#include "BenchField.h"
#include "game/combat/ShotPath.h"

#include <benchmark/benchmark.h>

using namespace korvath;
using namespace korvath::bench;

namespace {

void BM_predictShot(benchmark::State& state, ScenarioId which) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    DrawTargetDiscs(*b);
    const auto raiders = sideOf(*b, 1);
    size_t r = 0;
    int degree = 0, soldiers = 0;
    for (auto _ : state) {
        const PieceRecord& s = b->Pieces[raiders[r]];
        const ShotStop stop = predictShot(*b, raiders[r], degree, shotStartX(s), shotStartY(s));
        soldiers += stop.end == ShotEnd::Soldier;
        if (++degree == 360) degree = 0, r = (r + 1) % raiders.size();
    }
    state.counters["soldierHit"] = benchmark::Counter(soldiers, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK_CAPTURE(BM_predictShot, korvath, ScenarioId::Korvath)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_predictShot, vexlar, ScenarioId::Vexlar)->Unit(benchmark::kMicrosecond);
