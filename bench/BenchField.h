// The battle the benchmarks on the real maps start from.
#pragma once
#include "game/commands/Scenario.h"
#include "game/files/ScenarioPictures.h"
#include "game/display/Display.h"
#include "game/state/Ports.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvath::bench {

// The game folder; KORVATH_GAME_DIR in the environment overrides the built one.
inline std::string gameDir() {
    if (const char* dir = std::getenv("KORVATH_GAME_DIR")) return dir;
    return KORVATH_GAME_DIR;
}

// The scenario at difficulty 8 with the Raiders placed on the start stars, as
// the first End Turn finds it; null (and why) when that is not possible.
inline std::unique_ptr<Battle> deployedBattle(ScenarioId which, std::string& why,
                                              const Ports& ports = {}) {
    const std::string dir = gameDir();
    if (!std::filesystem::exists(std::filesystem::path(dir) / "scenarios")) {
        why = "no built game folder at " + dir;
        return nullptr;
    }
    auto b = std::make_unique<Battle>();
    b->AppDir = dir;
    b->ports = ports;
    try {
        chooseScenario(*b, which, 8);
        const Raster floors = readFloorArt(*b, std::cerr);
        createBattle(*b);
        showFloorArt(*b, floors); // as the window shows the battle
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

// The living, placed soldiers of one side.
inline std::vector<int> sideOf(const Battle& b, int side) {
    std::vector<int> out;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (!b.Pieces[i].Name.empty() && b.Pieces[i].Side == side && b.Pieces[i].Wounds > 0 &&
            b.Pieces[i].X > 0)
            out.push_back(i);
    return out;
}

} // namespace korvath::bench
