// The walk's forecast on a hover and the enemy's fire lanes, on the two real
// maps at difficulty 8 with the squad deployed and every Operative on
// overwatch (the most the forecast can have to judge). The forecast is timed
// over every square the first Raider can reach; p99 and max are counters.
#include "BenchField.h"
#include "game/combat/Threats.h"
#include "game/turns/Movement.h"
#include "game/turns/WalkForecast.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

using namespace korvath;
using namespace korvath::bench;

namespace {

std::unique_ptr<Battle> watchedField(ScenarioId which, std::string& why, int& walker) {
    auto b = deployedBattle(which, why);
    if (!b) return b;
    for (const int i : sideOf(*b, 2)) b->Pieces[i].Overwatch = true;
    b->HumanTurn = true;
    walker = sideOf(*b, 1).front();
    b->SelectedPiece = static_cast<uint8_t>(walker);
    b->PieceSelected = true;
    return b;
}

void forecastHover(benchmark::State& state, ScenarioId which) {
    std::string why;
    int walker = 0;
    auto b = watchedField(which, why, walker);
    if (!b) return state.SkipWithError(why.c_str());
    std::vector<std::pair<int, int>> squares;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (previewWalk(*b, walker, x, y).affordable) squares.emplace_back(x, y);
    std::vector<double> ms;
    for (auto _ : state) {
        ms.clear();
        for (const auto& [x, y] : squares) {
            const auto t0 = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(forecastWalk(*b, walker, x, y));
            ms.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                    .count());
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["squares"] = static_cast<double>(squares.size());
    state.counters["p99_ms"] = ms.empty() ? 0 : ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.empty() ? 0 : ms.back();
}

void fireLanes(benchmark::State& state, ScenarioId which) {
    std::string why;
    int walker = 0;
    auto b = watchedField(which, why, walker);
    if (!b) return state.SkipWithError(why.c_str());
    size_t shaded = 0;
    for (auto _ : state) shaded = threatSquares(*b, walker).size();
    state.counters["shaded"] = static_cast<double>(shaded);
}

} // namespace

BENCHMARK_CAPTURE(forecastHover, korvath, ScenarioId::Korvath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(forecastHover, vexlar, ScenarioId::Vexlar)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(fireLanes, korvath, ScenarioId::Korvath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(fireLanes, vexlar, ScenarioId::Vexlar)->Unit(benchmark::kMillisecond);
