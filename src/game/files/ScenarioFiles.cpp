#include "game/files/ScenarioFiles.h"
#include "game/files/RecordBytes.h"

#include "engine/DataError.h"
#include "engine/FileBytes.h"

namespace korvath {

namespace {

constexpr size_t kMapRecord = 8;
constexpr size_t kMapRecords = kMapWidth * kMapHeight;

void requireFields(const TextFile& file, const std::vector<std::string>& f, size_t n,
                   const char* what) {
    if (f.size() < n)
        file.fail(std::string(what) + " has " + std::to_string(f.size()) + " fields, " +
                  std::to_string(n) + " are needed");
}

} // namespace

void decodeMapRecords(const std::string& name, const std::vector<uint8_t>& bytes,
                      MapSquares& into) {
    if (bytes.size() < kMapRecords * kMapRecord)
        throw DataError(name, 0,
                        "the map holds " + std::to_string(bytes.size() / kMapRecord) +
                            " records, 4000 are needed");
    for (auto& column : into) column.fill(MapCell{}); // no copy on the stack
    size_t at = 0;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y, at += kMapRecord)
            into[x][y] = decodeRecord(cellFields(), &bytes[at]);
}

MapSquares decodeMapRecords(const std::string& name, const std::vector<uint8_t>& bytes) {
    MapSquares m;
    decodeMapRecords(name, bytes, m);
    return m;
}

MapSquares readMapFile(const std::string& path) {
    MapSquares m = decodeMapRecords(path, readFileBytes(path));
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            if (m[x][y].Glyph == 0)
                throw DataError(path, 0,
                                "square " + std::to_string(x) + ", " + std::to_string(y) +
                                    " has glyph 0");
    return m;
}

std::vector<uint8_t> encodeMapRecords(const MapSquares& squares) {
    std::vector<uint8_t> out(kMapRecords * kMapRecord, 0);
    size_t at = 0;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y, at += kMapRecord)
            encodeRecord(cellFields(), squares[x][y], &out[at]);
    return out;
}

void applyGlyphFile(TextFile& file, std::array<GlyphTexts, kMaxGlyphs + 1>& texts) {
    for (int k = 1; k <= kLastTileGlyph; ++k) {
        const std::string line = file.readLine();
        const size_t first = line.find('\t');
        if (first == std::string::npos) continue; // no tab: the glyph keeps its texts
        const size_t second = line.find('\t', first + 1);
        if (second == std::string::npos) {
            texts[k].Description = line.substr(first + 1);
        } else {
            texts[k].Description = line.substr(first + 1, second - first - 1);
            texts[k].Action = line.substr(second + 1);
        }
    }
}

namespace {

// Fills a record from a line's fields by the table's columns, in column
// order; a text keeps its first characters only.
template <typename R>
void fillFromColumns(const TextFile& file, const std::vector<Field<R>>& fields,
                     const std::vector<std::string>& f, R& r) {
    for (int column = 0; column <= lastColumn(fields); ++column) {
        const auto filled = fieldsOfColumn(fields, column);
        if (filled.empty()) continue;
        if (filled[0]->kind == FieldKind::Text) {
            const std::string& t = f[column];
            filled[0]->setText(r, filled[0]->maxLength ? t.substr(0, filled[0]->maxLength) : t);
            continue;
        }
        const int v = file.toInt(f[column], filled[0]->name);
        for (const auto* field : filled) field->set(r, v);
    }
}

} // namespace

PieceRecord parseUnitLine(const TextFile& file, const std::string& line) {
    const auto f = splitTabs(line, 23);
    requireFields(file, f, 23, "the unit line");
    PieceRecord p;
    fillFromColumns(file, pieceFields(), f, p);
    p.UnderGlyph = kFloorGlyph;
    if (const std::string problem = firstOutOfRange(pieceFields(), p); !problem.empty())
        file.fail(p.Name + ": " + problem);
    return p;
}

EquipmentType parseEquipmentLine(const TextFile& file, const std::string& line) {
    const auto f = splitTabs(line, 14);
    requireFields(file, f, 14, "the equipment line");
    EquipmentType e;
    fillFromColumns(file, equipmentFields(), f, e);
    if (const std::string problem = firstOutOfRange(equipmentFields(), e); !problem.empty())
        file.fail(e.Name + ": " + problem);
    return e;
}

ScenarioDescription readScenarioDescription(TextFile& file, int difficulty) {
    ScenarioDescription d;
    while (true) {
        if (file.atEnd()) file.fail("the line \": Player 1 = human\" is missing");
        if (file.readLine() == ": Player 1 = human") break;
    }
    file.readLine(); // heading

    // A unit whose MinDifficulty is above the chosen difficulty takes no index.
    for (std::string line = file.readLine(); line != "EndPlayer2" && !line.empty();
         line = file.readLine()) {
        PieceRecord p = parseUnitLine(file, line);
        if (p.MinDifficulty > difficulty) continue;
        if (d.units.size() == kMaxPieces) file.fail("more than 160 units take part");
        d.units.push_back(std::move(p));
    }
    file.readLine();
    file.readLine();

    for (std::string line = file.readLine(); line != ": end of file" && !line.empty();
         line = file.readLine()) {
        if (d.equipment.size() == kMaxEquipment) file.fail("more than 30 equipment lines");
        d.equipment.push_back(parseEquipmentLine(file, line));
    }

    if (!file.atEnd() && file.readLine() == ":Events") {
        std::vector<TurnEvents> events;
        while (true) {
            if (file.atEnd()) file.fail("the line \":End Events\" is missing");
            const std::string line = file.readLine();
            if (line == ":End Events") break;
            if (events.size() == kMaxEvents) file.fail("more than 10 events");
            const auto f = splitTabs(line, 2);
            requireFields(file, f, 2, "the event line");
            events.push_back({file.toInt(f[0], "the event's turn"), f[1]});
        }
        d.events = std::move(events);
    }
    return d;
}

} // namespace korvath
