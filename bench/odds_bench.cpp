// The exact odds of an aimed shot, as the cursor asks for them, on the two
// real maps at difficulty 8 with the squad deployed: every Raider aiming at
// the middle of every other square of the map. The median, p99 and max of
// one question are counters, by the wall clock (what the player waits,
// other programs' turns on the processor included) and by the thread's own
// processor time (what the question costs, steady on a busy machine).
#include "BenchField.h"
#include "game/combat/Shooting.h"
#include "game/commands/ArmedOdds.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>

using namespace korvath;
using namespace korvath::bench;

namespace {

// The processor time this thread has used, in milliseconds.
double threadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void figures(benchmark::State& state, std::vector<double>& ms, const std::string& prefix) {
    std::sort(ms.begin(), ms.end());
    state.counters[prefix + "median_ms"] = ms.empty() ? 0 : ms[ms.size() / 2];
    state.counters[prefix + "p99_ms"] = ms.empty() ? 0 : ms[ms.size() * 99 / 100];
    state.counters[prefix + "max_ms"] = ms.empty() ? 0 : ms.back();
}

void aimedShotOdds(benchmark::State& state, ScenarioId which) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    b->HumanTurn = true;
    std::vector<double> ms, cpu;
    size_t branches = 0;
    for (auto _ : state) {
        ms.clear();
        cpu.clear();
        for (const int shooter : sideOf(*b, 1)) {
            b->SelectedPiece = static_cast<uint8_t>(shooter);
            b->PieceSelected = true;
            b->Pieces[shooter].AP = 99;
            b->Pieces[shooter].Ammo = std::max<uint8_t>(b->Pieces[shooter].Ammo, 1);
            FireButtonClick(*b, FireButton::Aimed); // the target discs, as the button draws them
            for (int y = 1; y <= kMapHeight; y += 2)
                for (int x = 1; x <= kMapWidth; x += 2) {
                    const double c0 = threadMs();
                    const auto t0 = std::chrono::steady_clock::now();
                    const ArmedOdds odds = armedOdds(*b, x * kSquare - 16, y * kSquare - 16);
                    ms.push_back(std::chrono::duration<double, std::milli>(
                                     std::chrono::steady_clock::now() - t0)
                                     .count());
                    cpu.push_back(threadMs() - c0);
                    branches += odds.shot.obstacles.size();
                }
        }
    }
    benchmark::DoNotOptimize(branches);
    state.counters["questions"] = static_cast<double>(ms.size());
    figures(state, ms, "");
    figures(state, cpu, "cpu_");
}

} // namespace

BENCHMARK_CAPTURE(aimedShotOdds, korvath, ScenarioId::Korvath)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(aimedShotOdds, vexlar, ScenarioId::Vexlar)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
