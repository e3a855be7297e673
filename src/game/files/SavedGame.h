#pragma once
#include "game/files/CommitRecord.h"
#include "game/files/SaveFiles.h"
#include "game/files/ScenarioFiles.h"
#include "game/state/BattleState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvath {

// A saved game is three files beside each other: NAME_scenario.Txt (the turn
// number), .dat (the 160 soldier records, 140 bytes each) and .map (the 4000
// squares as in a scenario map file).

constexpr size_t kSavedPieceSize = 140;
// The highest turn a saved game may hold.
constexpr int32_t kLastTurn = 1'000'000;

std::vector<uint8_t> encodePiece(const PieceRecord& p);
PieceRecord decodePiece(const uint8_t* bytes);

struct SavedGame {
    int32_t turnNumber = 1;
    std::array<PieceRecord, kMaxPieces + 1> pieces{};
    MapSquares map{};
};

// The three file names of base name B for scenario S: B_S.Txt, B_S.dat, B_S.map.
std::array<std::string, 3> savedGameFiles(const std::string& base, const std::string& scenario);

// The bytes of the three files, in that order.
std::array<std::vector<uint8_t>, 3> savedGameContents(const BattleState& b);

// Writes the set as a whole (see CommitRecord.h): a save cut short at any
// moment leaves the old set or, once the next look at the folder has
// finished it, the new one, never a mix. Throws DataError naming the file and
// the system's reason.
void writeSavedGame(const BattleState& b, const std::string& base,
                    const SaveFiles& files = diskFiles());
// Reads and checks all three files; throws DataError naming the bad one. The
// set is kept on the heap: it is too large for a small stack.
std::unique_ptr<SavedGame> readSavedGame(const std::string& txt, const std::string& dat,
                                         const std::string& map);
// The folder the file dialogs open in: the game folder's savedgames, or the
// player's data folder ($XDG_DATA_HOME/korvath/savedgames) when the game
// folder is not writable.
std::string savedGamesFolder(const BattleState& b);
// A player's scenario keeps its saved games apart from every other
// scenario's, in savedgames/scenarios/FOLDER (FOLDER: its folder's name).
std::string scenarioSaves(const BattleState& b, const std::string& savedGames);
std::string userSavedGamesFolder();

} // namespace korvath
