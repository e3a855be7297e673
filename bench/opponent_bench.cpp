// One whole computer turn on each real map: every Operative of difficulty 8
// takes his turn against the Raiders standing on their start stars. The
// clock's waits pass at once, so only the rules are measured.
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/state/HeadlessPorts.h"
#include "game/turns/Opponent.h"
#include "game/turns/TurnSequence.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace korvath;

namespace {

// The battle as the first End Turn finds it: Raiders placed, Operatives'
// points restored, the computer's turn about to begin.
std::unique_ptr<Battle> battleReady(ScenarioId which, HeadlessPorts& ports) {
    auto b = std::make_unique<Battle>();
    b->AppDir = KORVATH_GAME_DIR;
    ports.attach(*b);
    chooseScenario(*b, which, 8);
    createBattle(*b);
    showBattle(*b);
    int raider = 1;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            if (b->cell(x, y).Glyph != kStartStarGlyph) continue;
            while (raider <= kMaxPieces && b->Pieces[raider].Side != 1) ++raider;
            if (raider > kMaxPieces || b->Pieces[raider].Name.empty()) continue;
            b->Pieces[raider].X = x;
            b->Pieces[raider].Y = y;
            ++raider;
        }
    endDeployment(*b);
    placePieces(*b);
    b->HumanTurn = false;
    b->CurrentSide = 2;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (b->Pieces[i].Side == 2) RestoreActionPoints(*b, i);
    return b;
}

void computerTurn(benchmark::State& state, ScenarioId which) {
    if (!std::filesystem::exists(std::filesystem::path(KORVATH_GAME_DIR) / "scenarios")) {
        state.SkipWithError("the game folder is not built");
        return;
    }
    HeadlessPorts ports;
    const auto start = battleReady(which, ports);
    auto b = std::make_unique<Battle>();
    int operatives = 0;
    for (auto _ : state) {
        state.PauseTiming();
        *b = *start;
        ports.attach(*b);
        b->rng.setSeed(12345);
        operatives = 0;
        state.ResumeTiming();
        for (int i = 1; i <= kMaxPieces; ++i) {
            const PieceRecord& p = b->Pieces[i];
            if (p.Side != 2 || p.Wounds <= 0 || p.Name.empty() || b->GameOver) continue;
            computerPieceTurn(*b, i);
            ++operatives;
        }
    }
    state.counters["operatives"] = operatives;
}

void BM_ComputerTurnKorvath(benchmark::State& state) {
    computerTurn(state, ScenarioId::Korvath);
}
void BM_ComputerTurnVexlar(benchmark::State& state) {
    computerTurn(state, ScenarioId::Vexlar);
}
BENCHMARK(BM_ComputerTurnKorvath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputerTurnVexlar)->Unit(benchmark::kMillisecond);

} // namespace
