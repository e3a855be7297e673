#pragma once
// A battle of the built game folder played through the headless driver, a
// line at a time, and its state as the dump shows it. Header only: the test
// groups that use it link the driver (korvath_script).
#include "Script.h"
#include "StateJson.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace korvath::test {

// Everything the dump shows with the map, but what went out to the ports
// (sounds, boxes, ticks), and the three pictures themselves.
struct BattleSnapshot {
    nlohmann::json dump;
    Raster terrain, screen, overhead;
    // What differs: the dump's JSON patch, and the pictures that differ by name.
    nlohmann::json differencesFrom(const BattleSnapshot& o) const {
        nlohmann::json d = nlohmann::json::diff(o.dump, dump);
        if (!(terrain == o.terrain)) d.push_back("TerrainBitmap");
        if (!(screen == o.screen)) d.push_back("MapImage");
        if (!(overhead == o.overhead)) d.push_back("OverHeadMap");
        return d;
    }
};

struct ScriptedBattle {
    std::ostringstream out, err;
    ScriptRunner runner;

    explicit ScriptedBattle(const std::string& gameDir) : runner(gameDir, out, err) {}
    // Plays on from a copy of `from`.
    ScriptedBattle(const std::string& gameDir, const Battle& from) : runner(gameDir, out, err) {
        runner.adopt(from);
    }
    static bool gameBuilt(const std::string& gameDir) {
        return std::filesystem::exists(std::filesystem::path(gameDir) / "scenarios");
    }

    void run(const std::vector<std::string>& lines) {
        for (const std::string& line : lines) runner.command(line);
    }
    // Korvath at difficulty 3 with a fixed generator, the whole squad on its
    // stars (Sgt Vance Harrow, soldier 1, on square 9 22): the player's turn.
    void startKorvath(bool deploy) {
        run({"time 10:00:00.000", "seed 12345", "start korvath 3"});
        if (!deploy) return;
        const int stars[8][2] = {{9, 22}, {11, 22}, {7, 24}, {13, 24},
                                 {9, 25}, {11, 25}, {7, 27}, {13, 27}};
        for (int row = 0; row < 8; ++row)
            run({"row " + std::to_string(row),
                 "square " + std::to_string(stars[row][0]) + " " + std::to_string(stars[row][1])});
    }
    BattleSnapshot state() {
        Battle& b = runner.battle();
        nlohmann::json j = battleJson(b, true, false);
        j["seed"] = b.rng.seed();
        j["draws"] = b.rng.draws();
        return {std::move(j), b.TerrainBitmap, b.MapImage, b.OverHeadMapImage};
    }
};

} // namespace korvath::test
