#pragma once
#include "assets/GlyphTable.h"
#include "engine/WallJoins.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace korvath::assets {

// A map as the editor writes it: a legend of characters and 50 rows of 80.
//
//   legend
//   #<TAB>1-16<TAB>comment      a wall family of 16 joining pieces
//   .<TAB>131<TAB>comment       one glyph
//   map
//   ...50 lines of 80 characters...
//   end
//
// A family's piece is chosen from its neighbours: first + (1 north, 2 east,
// 4 south, 8 west) for each neighbour that is wall-like or off the map.
struct LegendEntry {
    int first = 0;
    int last = 0; // == first for a single glyph, first + 15 for a family
    bool family() const { return last == first + 15; }
};

struct TextMap {
    std::map<char, LegendEntry> legend;
    std::array<std::string, 50> rows; // rows[y - 1][x - 1]
    // Compiled glyphs, [x][y] for x 1..80, y 1..50.
    std::array<std::array<int, 51>, 81> glyph{};
    int at(int x, int y) const { return glyph[x][y]; }
};

// Pictures that fill their square edge to edge, so a wall beside them joins up.
bool wallLike(const GlyphSource& g);
// The families and joining glyphs of a tile set, for the scenario editor.
WallJoins wallJoinsOf(const GlyphTable& glyphs);

// Throws DataError naming the file and line for an unknown character, a bad
// legend line or a grid that is not 80 x 50.
TextMap parseTextMap(const std::string& name, const std::string& text, const GlyphTable& glyphs);
TextMap readTextMap(const std::string& path, const GlyphTable& glyphs);

// The game's map file: 4000 records of 8 bytes, all rows of column 1 first:
// glyph, solidity, two spare bytes, path cost (0).
std::vector<uint8_t> compileMap(const TextMap& map);

} // namespace korvath::assets
