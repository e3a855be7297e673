#include "game/files/SavedGame.h"
#include "game/files/RecordBytes.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace korvath {

namespace {

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(path, 0, "cannot open the file");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    if (out) out.flush();
    if (!out) throw DataError(path, 0, "cannot write the file");
}

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
    const std::string stem = base + "_" + scenario;
    return {stem + ".Txt", stem + ".dat", stem + ".map"};
}

void writeSavedGame(const BattleState& b, const std::string& base) {
    const auto files = savedGameFiles(base, b.ScenarioName);

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
    const std::vector<uint8_t> contents[3] = {
        {turn.begin(), turn.end()}, pieces, encodeMapRecords(map)};

    std::error_code ec;
    fs::create_directories(fs::path(files[0]).parent_path(), ec);
    std::array<std::string, 3> temps;
    try {
        for (int i = 0; i < 3; ++i) {
            temps[i] = files[i] + ".saving";
            try {
                writeFile(temps[i], contents[i]);
            } catch (const DataError& e) {
                // The player knows the files of his set, not their temporary names.
                throw DataError(files[i], 0, e.reason());
            }
        }
    } catch (...) {
        for (const auto& t : temps)
            if (!t.empty()) fs::remove(t, ec);
        throw;
    }
    for (int i = 0; i < 3; ++i) {
        fs::rename(temps[i], files[i], ec);
        if (ec) throw DataError(files[i], 0, "cannot replace the file: " + ec.message());
    }
}

SavedGame readSavedGame(const std::string& txt, const std::string& dat, const std::string& map) {
    SavedGame g;
    TextFile turn = TextFile::load(txt);
    const std::string first = turn.readLine();
    g.turnNumber = turn.toInt(first, "the turn number");

    // A longer file is read for its first 160 records, as the game always has.
    const auto pieces = readAll(dat);
    if (pieces.size() < kMaxPieces * kSavedPieceSize)
        throw DataError(dat, 0,
                        "the file holds " + std::to_string(pieces.size()) + " bytes, " +
                            std::to_string(kMaxPieces * kSavedPieceSize) + " are needed");
    for (int i = 1; i <= kMaxPieces; ++i) {
        const uint8_t* r = &pieces[(i - 1) * kSavedPieceSize];
        if (r[0] > 30)
            throw DataError(dat, 0, "soldier record " + std::to_string(i) + " is damaged");
        g.pieces[i] = decodePiece(r);
    }

    const auto squares = readAll(map);
    if (squares.size() < kMapWidth * kMapHeight * 8)
        throw DataError(map, 0,
                        "the file holds " + std::to_string(squares.size()) +
                            " bytes, 32000 are needed");
    g.map = decodeMapRecords(map, squares);
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            if (g.map[x][y].Glyph == 0)
                throw DataError(map, 0,
                                "square " + std::to_string(x) + ", " + std::to_string(y) +
                                    " has glyph 0");
    return g;
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
    if (writableFolder(own) && !isInstalledGameFolder(b.AppDir)) return own;
    const std::string user = userSavedGamesFolder();
    return user.empty() ? own : user;
}

} // namespace korvath
