// The sight test and the nearest-enemy search on both real maps at
// difficulty 8. The march over all 360 degrees and the fast test are timed
// in the same run on the same pairs, and their ratio is printed.
#include "BenchField.h"
#include "game/combat/Sight.h"

#include <benchmark/benchmark.h>

#include <chrono>

using namespace korvath;
using namespace korvath::bench;

namespace {

// The Raiders spread over open squares across the whole map, as they are
// in the middle of a battle, instead of standing on their stars.
void scatterRaiders(Battle& b) {
    std::vector<std::pair<int, int>> open;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (b.cell(x, y).Solidity == 0) open.emplace_back(x, y);
    const auto raiders = sideOf(b, 1);
    for (size_t k = 0; k < raiders.size(); ++k) {
        PieceRecord& p = b.Pieces[raiders[k]];
        b.cell(p.X, p.Y) = {kFloorGlyph, 0, 0};
        std::tie(p.X, p.Y) = open[(2 * k + 1) * open.size() / (2 * raiders.size())];
        p.UnderGlyph = 0;
    }
    placePieces(b);
}

// Every Operative looks at every Raider, as the computer's turn asks.
void BM_ICanSeeTheEnemy(benchmark::State& state, ScenarioId which) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    b->HumanTurn = false;
    const auto viewers = sideOf(*b, 2), targets = sideOf(*b, 1);
    size_t v = 0, t = 0;
    int seen = 0;
    for (auto _ : state) {
        seen += ICanSeeTheEnemy(*b, viewers[v], targets[t]);
        if (++t == targets.size()) t = 0, v = (v + 1) % viewers.size();
    }
    state.counters["seen"] = benchmark::Counter(seen, benchmark::Counter::kAvgIterations);
}

// Each pass asks every Operative about every Raider, both ways; the counters
// give microseconds per test of each and how many times faster the fast one is.
void BM_MarchAgainstFast(benchmark::State& state, ScenarioId which, bool scattered) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    if (scattered) scatterRaiders(*b);
    b->HumanTurn = false;
    const auto viewers = sideOf(*b, 2), targets = sideOf(*b, 1);
    using Clock = std::chrono::steady_clock;
    Clock::duration march{}, fast{};
    int64_t tests = 0, seen = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        int literal = 0;
        for (int v : viewers)
            for (int t : targets) literal += ICanSeeTheEnemyByMarch(*b, v, t);
        const auto t1 = Clock::now();
        int quick = 0;
        for (int v : viewers)
            for (int t : targets) quick += ICanSeeTheEnemy(*b, v, t);
        fast += Clock::now() - t1;
        march += t1 - t0;
        if (literal != quick) return state.SkipWithError("the two tests disagree");
        tests += static_cast<int64_t>(viewers.size() * targets.size());
        seen += quick;
    }
    const double us = 1e-3 / static_cast<double>(tests);
    state.counters["march_us"] = std::chrono::duration<double, std::nano>(march).count() * us;
    state.counters["fast_us"] = std::chrono::duration<double, std::nano>(fast).count() * us;
    state.counters["ratio"] =
        static_cast<double>(march.count()) / static_cast<double>(fast.count());
    state.counters["seen"] = static_cast<double>(seen) / static_cast<double>(tests);
}

// Each Operative in turn asks for its nearest Raider, as the computer side does.
void BM_NearestEnemy(benchmark::State& state, ScenarioId which, bool scattered) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    if (scattered) scatterRaiders(*b);
    b->HumanTurn = false;
    const auto askers = sideOf(*b, 2);
    size_t a = 0;
    for (auto _ : state) {
        const PieceRecord& p = b->Pieces[askers[a]];
        bool visible = false;
        int target = 0;
        benchmark::DoNotOptimize(NearestEnemy(*b, askers[a], p.X, p.Y, visible, target));
        a = (a + 1) % askers.size();
    }
}

BENCHMARK_CAPTURE(BM_ICanSeeTheEnemy, korvath, ScenarioId::Korvath)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ICanSeeTheEnemy, vexlar, ScenarioId::Vexlar)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MarchAgainstFast, korvath_start, ScenarioId::Korvath, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarchAgainstFast, vexlar_start, ScenarioId::Vexlar, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarchAgainstFast, korvath_scattered, ScenarioId::Korvath, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MarchAgainstFast, vexlar_scattered, ScenarioId::Vexlar, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NearestEnemy, korvath_start, ScenarioId::Korvath, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NearestEnemy, vexlar_start, ScenarioId::Vexlar, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NearestEnemy, korvath_scattered, ScenarioId::Korvath, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NearestEnemy, vexlar_scattered, ScenarioId::Vexlar, true)
    ->Unit(benchmark::kMicrosecond);

} // namespace
