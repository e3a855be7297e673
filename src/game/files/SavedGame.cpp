#include "game/files/SavedGame.h"
#include "game/files/RecordBytes.h"

#include "engine/DataError.h"
#include "engine/FileBytes.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace korvath {

namespace {

// A folder we may write into, or create.
bool writableFolder(const fs::path& dir) {
    std::error_code ec;
    fs::path p = dir;
    while (!p.empty() && !fs::exists(p, ec)) p = p.parent_path();
    return !p.empty() && fs::is_directory(p, ec) && ::access(p.c_str(), W_OK) == 0;
}

} // namespace

std::vector<uint8_t> encodePiece(const PieceRecord& p) {
    std::vector<uint8_t> r(kSavedPieceSize, 0);
    encodeRecord(pieceFields(), p, r.data());
    return r;
}

PieceRecord decodePiece(const uint8_t* r) {
    return decodeRecord(pieceFields(), r);
}

std::array<std::string, 3> savedGameFiles(const std::string& base, const std::string& scenario) {
    return setFileNames(base + "_" + scenario);
}

std::array<std::vector<uint8_t>, 3> savedGameContents(const BattleState& b) {
    const std::string turn = std::to_string(b.TurnNumber) + "\r\n";
    std::vector<uint8_t> pieces;
    pieces.reserve(kMaxPieces * kSavedPieceSize);
    for (int i = 1; i <= kMaxPieces; ++i) {
        const auto r = encodePiece(b.Pieces[i]);
        pieces.insert(pieces.end(), r.begin(), r.end());
    }
    MapSquares map{};
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) map[x][y] = b.MapGrid[x][y];
    return {std::vector<uint8_t>(turn.begin(), turn.end()), pieces, encodeMapRecords(map)};
}

void writeSavedGame(const BattleState& b, const std::string& base, const SaveFiles& files) {
    const auto names = savedGameFiles(base, b.ScenarioName);
    auto contents = savedGameContents(b);
    Commit commit{commitRecordName(base, b.ScenarioName), {}, {}};
    for (int i = 0; i < 3; ++i) commit.written.push_back({names[i], std::move(contents[i])});
    // What is on the disk counts, a save cut short included.
    finishInterruptedSaves(fs::path(commit.record).parent_path().string(), files);
    commitAsWhole(commit, files);
}

std::unique_ptr<SavedGame> readSavedGame(const std::string& txt, const std::string& dat,
                                         const std::string& map) {
    auto saved = std::make_unique<SavedGame>();
    SavedGame& g = *saved;
    TextFile turn = TextFile::load(txt);
    const std::string first = turn.readLine();
    g.turnNumber = turn.toInt(first, "the turn number");
    // A battle starts at turn 1; a million turns leave room to play on.
    if (g.turnNumber < 1 || g.turnNumber > kLastTurn)
        turn.fail("the turn number is " + std::to_string(g.turnNumber) + ", must be 1.." +
                  std::to_string(kLastTurn));

    // A longer file is read for its first 160 records, as the game always has.
    const auto pieces = readFileBytes(dat);
    if (pieces.size() < kMaxPieces * kSavedPieceSize)
        throw DataError(dat, 0,
                        "the file holds " + std::to_string(pieces.size()) + " bytes, " +
                            std::to_string(kMaxPieces * kSavedPieceSize) + " are needed");
    for (int i = 1; i <= kMaxPieces; ++i) {
        const uint8_t* r = &pieces[(i - 1) * kSavedPieceSize];
        if (r[0] > 30)
            throw DataError(dat, 0, "soldier record " + std::to_string(i) + " is damaged");
        g.pieces[i] = decodePiece(r);
        if (const std::string problem = firstOutOfRange(pieceFields(), g.pieces[i]);
            !problem.empty())
            throw DataError(dat, 0, "soldier record " + std::to_string(i) + ": " + problem);
    }

    const auto squares = readFileBytes(map);
    if (squares.size() < kMapWidth * kMapHeight * 8)
        throw DataError(map, 0,
                        "the file holds " + std::to_string(squares.size()) +
                            " bytes, 32000 are needed");
    decodeMapRecords(map, squares, g.map);
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            if (g.map[x][y].Glyph == 0)
                throw DataError(map, 0,
                                "square " + std::to_string(x) + ", " + std::to_string(y) +
                                    " has glyph 0");
    return saved;
}

std::string userSavedGamesFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && *data)
        base = data;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        return {};
    return (base / "korvath" / "savedgames").string();
}

// The game folder's savedgames, or the player's own data folder when the game
// folder cannot be written (installed system-wide, read-only media).
std::string savedGamesFolder(const BattleState& b) {
    const std::string own = gamePath(b.AppDir, "\\savedgames");
    // An installed game's folder belongs to the system, even to root.
    if (writableFolder(own) && !isInstalledGameFolder(b.AppDir)) return scenarioSaves(b, own);
    const std::string user = userSavedGamesFolder();
    return scenarioSaves(b, user.empty() ? own : user);
}

std::string scenarioSaves(const BattleState& b, const std::string& savedGames) {
    if (b.ScenarioFolder.empty() || savedGames.empty()) return savedGames;
    fs::path folder = fs::path(b.ScenarioFolder).lexically_normal();
    if (!folder.has_filename()) folder = folder.parent_path();
    return (fs::path(savedGames) / "scenarios" / folder.filename()).string();
}

} // namespace korvath
