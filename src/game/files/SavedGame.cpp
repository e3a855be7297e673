#include "game/files/SavedGame.h"
#include "game/files/RecordBytes.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

#include <algorithm>
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

namespace {

constexpr const char* kTemporary = ".saving";
constexpr const char* kCommitRecord = ".commit";
constexpr const char* kCommitEnd = "end";

std::string folderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

std::string nameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

// The commit record names, one a line, the files its renames make, and ends
// with a line of its own: a record without that line was cut short, and no
// rename had begun.
std::vector<std::string> committedFiles(const std::string& text) {
    std::vector<std::string> names;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return {};
        names.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    if (names.empty() || names.back() != kCommitEnd) return {};
    names.pop_back();
    return names;
}

} // namespace

void finishInterruptedSaves(const std::string& folder, const SaveFiles& files) {
    const auto entries = files.list(folder);
    auto has = [&](const std::string& name) {
        return std::find(entries.begin(), entries.end(), name) != entries.end();
    };
    std::vector<std::string> committed;
    for (const std::string& e : entries) {
        if (!e.ends_with(kCommitRecord)) continue;
        const std::string record = folder + "/" + e;
        for (const std::string& name : committedFiles(files.read(record))) {
            if (name.find('/') != std::string::npos) continue; // never outside the folder
            committed.push_back(name + kTemporary);
            if (has(name + kTemporary))
                files.rename(folder + "/" + name + kTemporary, folder + "/" + name, name);
        }
        files.syncFolder(folder);
        files.remove(record);
    }
    // A temporary file no record names is a save that never got to its renames.
    for (const std::string& e : entries)
        if (e.ends_with(kTemporary) &&
            std::find(committed.begin(), committed.end(), e) == committed.end())
            files.remove(folder + "/" + e);
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

void writeAsWhole(const std::vector<FileToWrite>& out, const std::string& record,
                  const SaveFiles& files) {
    if (out.empty()) return;
    const std::string folder = folderOf(record);
    std::error_code ec;
    fs::create_directories(folder, ec);
    finishInterruptedSaves(folder, files);
    // The files are written under temporary names, then a commit record
    // naming them; only then are they renamed into place. Cut short before
    // the record, the old files stay; after it, the next look at the folder
    // finishes the renames.
    const std::string& shownAs = out.back().path;
    try {
        for (const FileToWrite& f : out) files.write(f.path + kTemporary, f.bytes, f.path);
        std::string text;
        for (const FileToWrite& f : out) text += nameOf(f.path) + "\n";
        text += std::string(kCommitEnd) + "\n";
        files.write(record, {text.begin(), text.end()}, shownAs);
        files.syncFolder(folder);
    } catch (...) {
        files.remove(record);
        for (const FileToWrite& f : out) files.remove(f.path + kTemporary);
        throw;
    }
    for (const FileToWrite& f : out) files.rename(f.path + kTemporary, f.path, f.path);
    files.syncFolder(folder);
    files.remove(record);
}

std::string commitRecordName(const std::string& base, const std::string& scenario) {
    return base + "_" + scenario + kCommitRecord;
}

void writeSavedGame(const BattleState& b, const std::string& base, const SaveFiles& files) {
    const auto names = savedGameFiles(base, b.ScenarioName);
    auto contents = savedGameContents(b);
    std::vector<FileToWrite> out;
    for (int i = 0; i < 3; ++i) out.push_back({names[i], std::move(contents[i])});
    writeAsWhole(out, commitRecordName(base, b.ScenarioName), files);
}

SavedGame readSavedGame(const std::string& txt, const std::string& dat, const std::string& map) {
    SavedGame g;
    TextFile turn = TextFile::load(txt);
    const std::string first = turn.readLine();
    g.turnNumber = turn.toInt(first, "the turn number");
    // A battle starts at turn 1; a million turns leave room to play on.
    if (g.turnNumber < 1 || g.turnNumber > kLastTurn)
        turn.fail("the turn number is " + std::to_string(g.turnNumber) + ", must be 1.." +
                  std::to_string(kLastTurn));

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
        if (const std::string problem = firstOutOfRange(pieceFields(), g.pieces[i]);
            !problem.empty())
            throw DataError(dat, 0, "soldier record " + std::to_string(i) + ": " + problem);
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
