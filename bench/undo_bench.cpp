// Cost of taking a command back on the Korvath map: undoing a walk of seven
// squares (and the walk done again between the rounds, untimed), and how
// much a step of the history holds, for a walk, a selection and on average
// over a turn in which every Raider is selected and walks.
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace korvath;

namespace {

std::string gameDir() {
    if (const char* dir = std::getenv("KORVATH_GAME_DIR")) return dir;
    return KORVATH_GAME_DIR;
}

struct Field {
    HeadlessPorts ports;
    std::unique_ptr<Battle> b = std::make_unique<Battle>();
    void run(const std::vector<std::string>& words) { runCommand(*b, words); }
};

const int kStars[8][2] = {{9, 22}, {11, 22}, {7, 24}, {13, 24},
                          {9, 25}, {11, 25}, {7, 27}, {13, 27}};

// Korvath at difficulty 3, the squad on its stars.
std::unique_ptr<Field> deployed(std::string& error) {
    if (!std::filesystem::exists(std::filesystem::path(gameDir()) / "scenarios")) {
        error = "the game folder is not built: " + gameDir();
        return nullptr;
    }
    auto f = std::make_unique<Field>();
    f->b->AppDir = gameDir();
    f->ports.attach(*f->b);
    f->b->rng.setSeed(12345);
    chooseScenario(*f->b, ScenarioId::Korvath, 3);
    createBattle(*f->b);
    showBattle(*f->b);
    f->run({"activate"});
    for (int row = 0; row < 8; ++row) {
        f->run({"row", std::to_string(row)});
        f->run({"square", std::to_string(kStars[row][0]), std::to_string(kStars[row][1])});
    }
    return f;
}

void BM_UndoWalk(benchmark::State& state) {
    std::string error;
    auto f = deployed(error);
    if (!f) return state.SkipWithError(error.c_str());
    f->run({"square", "9", "22"});
    const size_t before = f->b->undo.bytes();
    f->run({"square", "16", "20"});
    if (!f->b->undo.canUndo()) return state.SkipWithError("the walk could not be undone");
    state.counters["walk step bytes"] = double(f->b->undo.bytes() - before);
    for (auto _ : state) {
        f->run({"undo"});
        state.PauseTiming();
        f->run({"redo"});
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoWalk)->Unit(benchmark::kMillisecond);

void BM_StepsOfATurn(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        std::string error;
        auto f = deployed(error);
        if (!f) return state.SkipWithError(error.c_str());
        state.ResumeTiming();
        for (int man = 0; man < 8; ++man) {
            f->run({"square", std::to_string(kStars[man][0]), std::to_string(kStars[man][1])});
            f->run(
                {"square", std::to_string(kStars[man][0] + 5), std::to_string(kStars[man][1] - 3)});
        }
        const UndoHistory& h = f->b->undo;
        state.counters["steps"] = double(h.steps());
        state.counters["average step bytes"] = h.steps() ? double(h.bytes()) / h.steps() : 0;
        state.counters["history bytes"] = double(h.bytes());
    }
}
BENCHMARK(BM_StepsOfATurn)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
