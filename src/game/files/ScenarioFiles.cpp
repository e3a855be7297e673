#include "game/files/ScenarioFiles.h"

#include "engine/DataError.h"

#include <fstream>
#include <iterator>

namespace korvath {

namespace {

constexpr size_t kMapRecord = 8;
constexpr size_t kMapRecords = kMapWidth * kMapHeight;

int32_t readLe32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

void requireFields(const TextFile& file, const std::vector<std::string>& f, size_t n,
                   const char* what) {
    if (f.size() < n)
        file.fail(std::string(what) + " has " + std::to_string(f.size()) + " fields, " +
                  std::to_string(n) + " are needed");
}

} // namespace

MapSquares decodeMapRecords(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (bytes.size() < kMapRecords * kMapRecord)
        throw DataError(name, 0,
                        "the map holds " + std::to_string(bytes.size() / kMapRecord) +
                            " records, 4000 are needed");
    MapSquares m{};
    size_t at = 0;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y, at += kMapRecord) {
            MapCell& c = m[x][y];
            c.Glyph = bytes[at];
            c.Solidity = bytes[at + 1];
            c.PathCost = readLe32(&bytes[at + 4]);
        }
    return m;
}

MapSquares readMapFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(path, 0, "cannot open the file");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    MapSquares m = decodeMapRecords(path, bytes);
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            if (m[x][y].Glyph == 0)
                throw DataError(path, 0,
                                "square " + std::to_string(x) + ", " + std::to_string(y) +
                                    " has glyph 0");
    return m;
}

std::vector<uint8_t> encodeMapRecords(const MapSquares& squares) {
    std::vector<uint8_t> out;
    out.reserve(kMapRecords * kMapRecord);
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            const MapCell& c = squares[x][y];
            const uint32_t cost = static_cast<uint32_t>(c.PathCost);
            out.insert(out.end(),
                       {c.Glyph, c.Solidity, 0, 0, static_cast<uint8_t>(cost),
                        static_cast<uint8_t>(cost >> 8), static_cast<uint8_t>(cost >> 16),
                        static_cast<uint8_t>(cost >> 24)});
        }
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

PieceRecord parseUnitLine(const TextFile& file, const std::string& line) {
    const auto f = splitTabs(line, 23);
    requireFields(file, f, 23, "the unit line");
    static const char* const names[] = {"Side",      "X",        "Y",         "MinDifficulty",
                                        "Picture",   "AP",       "BaseAP",    "Attack",
                                        "Shoot",     "Strength", "Toughness", "Wounds",
                                        "Endurance", "Fatigue",  "Cool"};
    int v[15];
    for (int i = 0; i < 15; ++i) v[i] = file.toInt(f[i + 1], names[i]);
    PieceRecord p;
    p.Name = f[0].substr(0, 30);
    p.Side = v[0];
    p.X = v[1];
    p.Y = v[2];
    p.MinDifficulty = v[3];
    p.Picture = v[4];
    p.AP = v[5];
    p.BaseAP = v[6];
    p.Attack = v[7];
    p.Shoot = v[8];
    p.Strength = v[9];
    p.Toughness = v[10];
    p.Wounds = v[11];
    p.MaxWounds = v[11];
    p.Endurance = v[12];
    p.Fatigue = v[13];
    p.Cool = v[14];
    for (int s = 1; s <= 6; ++s) p.Items[s] = file.toInt(f[15 + s], "an item number");
    p.TargetSize = file.toInt(f[22], "TargetSize");
    p.UnderGlyph = kFloorGlyph;
    return p;
}

EquipmentType parseEquipmentLine(const TextFile& file, const std::string& line) {
    const auto f = splitTabs(line, 14);
    requireFields(file, f, 14, "the equipment line");
    EquipmentType e;
    e.Name = f[0].substr(0, 20);
    e.AmmoType = static_cast<uint8_t>(file.toInt(f[1], "AmmoType"));
    e.Kind = f[2];
    e.Weight = file.toInt(f[3], "Weight");
    e.DamageDice = f[4];
    e.AimedShotAP = file.toInt(f[5], "AimedShotAP");
    e.QuickShotAP = file.toInt(f[6], "QuickShotAP");
    e.Range = file.toInt(f[7], "Range");
    e.Capacity = static_cast<uint8_t>(file.toInt(f[8], "Capacity"));
    e.HeldFrame = static_cast<uint8_t>(file.toInt(f[9], "HeldFrame"));
    e.Effect = f[10];
    e.Value = f[11];
    e.TraceColour = f[13];
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
