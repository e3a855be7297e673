// Cost of the sight test and of the nearest-enemy search on both real maps at
// difficulty 8, with the Raiders standing on their start squares.
#include "game/Display.h"
#include "game/Scenario.h"
#include "game/Sight.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

using namespace korvath;

namespace {

std::string gameDir() {
    if (const char* dir = std::getenv("KORVATH_GAME_DIR")) return dir;
    return KORVATH_GAME_DIR;
}

// The battle as it stands when the Raiders have been placed; null when the
// game folder has not been built.
std::unique_ptr<Battle> deployedBattle(ScenarioId which, std::string& why) {
    const std::string dir = gameDir();
    if (!std::filesystem::exists(std::filesystem::path(dir) / "scenarios")) {
        why = "no built game folder at " + dir;
        return nullptr;
    }
    auto b = std::make_unique<Battle>();
    b->AppDir = dir;
    try {
        chooseScenario(*b, which, 8);
        createBattle(*b);
    } catch (const std::exception& e) {
        why = e.what();
        return nullptr;
    }
    showBattle(*b);
    std::vector<std::pair<int, int>> stars;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (b->cell(x, y).Glyph == kStartStarGlyph) stars.emplace_back(x, y);
    size_t next = 0;
    for (int i = 1; i <= kMaxPieces; ++i) {
        PieceRecord& p = b->Pieces[i];
        if (p.Name.empty() || p.Side != 1 || p.X != 0 || next == stars.size()) continue;
        std::tie(p.X, p.Y) = stars[next++];
    }
    endDeployment(*b);
    placePieces(*b);
    return b;
}

std::vector<int> sideOf(const Battle& b, int side) {
    std::vector<int> out;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (!b.Pieces[i].Name.empty() && b.Pieces[i].Side == side && b.Pieces[i].Wounds > 0 &&
            b.Pieces[i].X > 0)
            out.push_back(i);
    return out;
}

// Every Operative looks at every placed Raider in turn.
void BM_ICanSeeTheEnemy(benchmark::State& state, ScenarioId which) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    b->HumanTurn = false;
    const auto viewers = sideOf(*b, 2), targets = sideOf(*b, 1);
    if (viewers.empty() || targets.empty()) return state.SkipWithError("nobody to look at");
    size_t v = 0, t = 0;
    int seen = 0;
    for (auto _ : state) {
        seen += ICanSeeTheEnemy(*b, viewers[v], targets[t]);
        if (++t == targets.size()) t = 0, v = (v + 1) % viewers.size();
    }
    state.counters["seen"] = benchmark::Counter(seen, benchmark::Counter::kAvgIterations);
}

// Each Operative in turn asks for its nearest Raider, as the computer side does.
void BM_NearestEnemy(benchmark::State& state, ScenarioId which) {
    std::string why;
    auto b = deployedBattle(which, why);
    if (!b) return state.SkipWithError(why.c_str());
    b->HumanTurn = false;
    const auto askers = sideOf(*b, 2);
    if (askers.empty()) return state.SkipWithError("no Operatives");
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
BENCHMARK_CAPTURE(BM_NearestEnemy, korvath, ScenarioId::Korvath)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_NearestEnemy, vexlar, ScenarioId::Vexlar)->Unit(benchmark::kMicrosecond);

} // namespace
