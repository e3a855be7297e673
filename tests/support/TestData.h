#pragma once
#include "game/commands/Scenario.h"
#include "game/state/Battle.h"
#include "game/state/Records.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace korvath::test {

// A small scenario written to a temporary game folder, for tests that need
// odd data. Everything starts as a plain, valid "korvath" scenario: a map of
// floor closed by walls, two Raiders to place and two Operatives.
struct TestScenario {
    TestScenario();

    std::array<std::array<uint8_t, kMapHeight + 1>, kMapWidth + 1> glyph{}; // [X][Y]
    std::vector<std::string> glyphLines;                                    // 156 lines
    std::vector<std::string> briefing;  // lines between the markers
    std::vector<std::string> units;     // unit lines
    std::vector<std::string> equipment; // equipment lines
    std::vector<std::string> events;    // event lines; used only when withEvents
    bool withEvents = true;
    bool withPlayerLine = true;
    size_t mapRecords = kMapWidth * kMapHeight;
    // More text files, by path below the game folder ("scenarios/korvathBreach.txt").
    std::map<std::string, std::vector<std::string>> extraFiles;

    // Writes the whole game folder below dir (created if missing).
    void write(const std::filesystem::path& dir) const;

    static std::string unit(const std::string& name, int side, int x, int y, int minDifficulty = 1,
                            const std::string& items = "1\t0\t0\t0\t0\t0", int wounds = 10);
};

// A battle of a real scenario from the built game folder (difficulty 8, the
// window shown, nobody deployed); null when the folder is not built.
std::unique_ptr<Battle> openRealBattle(const std::filesystem::path& gameDir, ScenarioId which);

// A fresh, empty temporary folder that is removed when the object goes.
struct TempDir {
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path path;
};

// The built game folder seen through links, with an empty saved-games folder
// of its own: what a battle saves (its autosaves too) stays out of the build.
struct LinkedGameFolder : TempDir {
    explicit LinkedGameFolder(const std::filesystem::path& gameDir);
};

// The whole file as text ("" when it cannot be read).
std::string readFile(const std::filesystem::path& path);

// Colour of the test tile for glyph g: every glyph outside the open floor gets
// its own; open floor (105..155) is black, as in the game.
uint32_t tileColour(int glyph);

} // namespace korvath::test
