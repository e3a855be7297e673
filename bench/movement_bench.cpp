// Cost of walking on the two real maps at difficulty 8: the path cost flood
// towards the farthest square a Raider can reach, and one whole walk of ten
// squares by the selected Raider with the animation pauses passing at once.
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/state/HeadlessPorts.h"
#include "game/turns/Movement.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

using namespace korvath;

namespace {

// The game folder; KORVATH_GAME_DIR in the environment overrides the built one.
std::string gameDir() {
    if (const char* dir = std::getenv("KORVATH_GAME_DIR")) return dir;
    return KORVATH_GAME_DIR;
}

// Counts the walk's steps; every beat passes at once.
struct StepCountingPorts : HeadlessPorts {
    int steps = 0;
    void beat(Beat beat) override {
        if (beat == Beat::WalkStep) ++steps;
        HeadlessPorts::beat(beat);
    }
};

struct Field {
    StepCountingPorts ports;
    std::unique_ptr<Battle> b = std::make_unique<Battle>();
    int walker = 0;
    int startX = 0, startY = 0;
};

// Opens the scenario at difficulty 8 and puts the first Raider, selected, on
// the first start star. Empty with an error text when that is not possible.
std::unique_ptr<Field> openField(ScenarioId which, std::string& error) {
    if (!std::filesystem::exists(std::filesystem::path(gameDir()) / "scenarios")) {
        error = "the game folder is not built: " + gameDir();
        return nullptr;
    }
    auto f = std::make_unique<Field>();
    Battle& b = *f->b;
    b.AppDir = gameDir();
    f->ports.attach(b);
    try {
        chooseScenario(b, which, 8);
        createBattle(b);
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
    showBattle(b);
    for (int y = 1; y <= kMapHeight && f->startX == 0; ++y)
        for (int x = 1; x <= kMapWidth && f->startX == 0; ++x)
            if (b.cell(x, y).Glyph == kStartStarGlyph) {
                f->startX = x;
                f->startY = y;
            }
    for (int i = 1; i <= kMaxPieces && f->walker == 0; ++i)
        if (b.Pieces[i].Side == b.HumanSide && !b.Pieces[i].Name.empty()) f->walker = i;
    if (f->startX == 0 || f->walker == 0) {
        error = "no start star or no Raider";
        return nullptr;
    }
    endDeployment(b);
    PieceRecord& p = b.Pieces[f->walker];
    p.X = f->startX;
    p.Y = f->startY;
    p.UnderGlyph = 0;
    placePieces(b);
    b.HumanTurn = true;
    b.SelectedPiece = static_cast<uint8_t>(f->walker);
    b.PieceSelected = true;
    return f;
}

void BM_FillPathCostsFarTarget(benchmark::State& state, ScenarioId which) {
    std::string error;
    auto f = openField(which, error);
    if (!f) {
        state.SkipWithError(error.c_str());
        return;
    }
    Battle& b = *f->b;
    // A flood that never reaches its goal covers everything reachable; the
    // dearest square found is the far target.
    FillPathCosts(b, f->startX, f->startY, -1, -1);
    int farX = f->startX, farY = f->startY;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (b.cell(x, y).PathCost > b.cell(farX, farY).PathCost) {
                farX = x;
                farY = y;
            }
    for (auto _ : state) {
        FillPathCosts(b, f->startX, f->startY, farX, farY);
        benchmark::DoNotOptimize(b.MapGrid[farX][farY].PathCost);
    }
    state.counters["targetCost"] = b.cell(farX, farY).PathCost;
}

// A goal the flood never reaches (off the map, or walled in) used to cost all
// 250 sweeps; the flood now ends when a sweep changes nothing.
void BM_FillPathCostsUnreachable(benchmark::State& state, ScenarioId which) {
    std::string error;
    auto f = openField(which, error);
    if (!f) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        FillPathCosts(*f->b, f->startX, f->startY, -1, -1);
        benchmark::DoNotOptimize(f->b->MapGrid[1][1].PathCost);
    }
}

void BM_WalkTenSquares(benchmark::State& state, ScenarioId which) {
    std::string error;
    auto f = openField(which, error);
    if (!f) {
        state.SkipWithError(error.c_str());
        return;
    }
    Battle& b = *f->b;
    PieceRecord& p = b.Pieces[f->walker];
    // Walks there and back; true when both take exactly ten steps.
    auto tenEachWay = [&](int tx, int ty) {
        for (auto [x, y] : {std::pair{tx, ty}, std::pair{f->startX, f->startY}}) {
            f->ports.steps = 0;
            p.AP = 200;
            walkSelectedPiece(b, x, y, false);
            if (p.X != x || p.Y != y || f->ports.steps != 10) return false;
        }
        return true;
    };
    int tx = 0, ty = 0;
    for (int dy = -10; dy <= 10 && tx == 0; ++dy)
        for (int dx = -10; dx <= 10 && tx == 0; ++dx) {
            const int x = f->startX + dx, y = f->startY + dy;
            if (std::max(std::abs(dx), std::abs(dy)) != 10 || !Battle::onMap(x, y)) continue;
            if (b.cell(x, y).Solidity >= 2) continue;
            if (tenEachWay(x, y)) {
                tx = x;
                ty = y;
                continue;
            }
            p.AP = 200;
            walkSelectedPiece(b, f->startX, f->startY, false);
            if (p.X != f->startX || p.Y != f->startY) {
                state.SkipWithError("the trial walk did not come back");
                return;
            }
        }
    if (tx == 0) {
        state.SkipWithError("no square ten steps from the start star");
        return;
    }
    bool out = true;
    for (auto _ : state) {
        p.AP = 200;
        walkSelectedPiece(b, out ? tx : f->startX, out ? ty : f->startY, false);
        out = !out;
    }
    state.counters["steps"] = 10;
}

} // namespace

BENCHMARK_CAPTURE(BM_FillPathCostsFarTarget, korvath, ScenarioId::Korvath)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FillPathCostsFarTarget, vexlar, ScenarioId::Vexlar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FillPathCostsUnreachable, korvath, ScenarioId::Korvath)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FillPathCostsUnreachable, vexlar, ScenarioId::Vexlar)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WalkTenSquares, korvath, ScenarioId::Korvath)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WalkTenSquares, vexlar, ScenarioId::Vexlar)->Unit(benchmark::kMicrosecond);
