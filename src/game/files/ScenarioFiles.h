#pragma once
#include "engine/TextFile.h"
#include "game/state/Records.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvath {

// Readers of the scenario's files. Each reads into plain values and throws
// DataError (file, line, reason) on bad data, so the caller can apply a whole
// scenario at once or nothing of it.

using MapSquares =
    std::array<std::array<MapCell, kMapHeight + 1>, kMapWidth + 1>; // [X][Y], 1-based

// 4000 records of 8 bytes, column X outer, row Y inner.
MapSquares readMapFile(const std::string& path);
std::vector<uint8_t> encodeMapRecords(const MapSquares& squares);
MapSquares decodeMapRecords(const std::string& name, const std::vector<uint8_t>& bytes);
// The same into squares kept elsewhere (a map is too large for a small stack).
void decodeMapRecords(const std::string& name, const std::vector<uint8_t>& bytes, MapSquares& into);

// The 156 glyph lines change Description and Action of the glyphs they name;
// texts holds the glyphs' current texts and is updated in place.
struct GlyphTexts {
    std::string Description;
    std::string Action;
};
void applyGlyphFile(TextFile& file, std::array<GlyphTexts, kMaxGlyphs + 1>& texts);

// One unit line (also the reinforcement lines of event files): 23 fields.
PieceRecord parseUnitLine(const TextFile& file, const std::string& line);
// One equipment line: 14 fields; the aimed-shot cost comes before the quick-shot cost.
EquipmentType parseEquipmentLine(const TextFile& file, const std::string& line);

struct ScenarioDescription {
    std::vector<PieceRecord> units; // kept units, numbered from 1 in this order
    std::vector<EquipmentType> equipment;
    std::optional<std::vector<TurnEvents>> events; // present only with an events section
};
ScenarioDescription readScenarioDescription(TextFile& file, int difficulty);

} // namespace korvath
