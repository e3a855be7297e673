// Which floor each square of a map shows on the screen, and what stands
// around it: the plan the floor art is painted from.
#pragma once
#include "assets/GlyphTable.h"
#include "assets/MapSource.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvath::assets {

// Neighbour bits: the four sides, then the four corners.
enum Around : uint8_t {
    North = 1,
    East = 2,
    South = 4,
    West = 8,
    NorthEast = 16,
    SouthEast = 32,
    SouthWest = 64,
    NorthWest = 128
};

struct FloorSquare {
    int style = -1;     // index into FloorPlan::styles; -1: no floor art at all
    uint8_t walls = 0;  // neighbours that are walls, rock or doors
    uint8_t things = 0; // neighbours where an object stands on the floor
    bool thing = false; // an object stands on this square itself
};

struct FloorPlan {
    std::vector<std::string> styles;
    // [x][y] for squares 1..80 x 1..50, with a border that has no floor.
    std::array<std::array<FloorSquare, 52>, 82> squares{};
    const FloorSquare& at(int x, int y) const { return squares[x][y]; }
};

// The floor styles of a scenario's glyphs, from lines
//   NNN[-MMM]<TAB>style
// ('#' starts a comment line; a later line overrides an earlier one). A glyph
// without a style has no floor of its own. Throws DataError naming the line.
std::array<std::string, 157> parseFloorStyles(const std::string& name, const std::string& text);

// Every square gets its glyph's style; a square whose glyph has none (a wall,
// an object, a start star, an item) takes the style of the nearest square
// that has one, so the floor runs on under what stands on it.
FloorPlan planFloors(const TextMap& map, const GlyphTable& glyphs,
                     const std::array<std::string, 157>& styleOfGlyph);

} // namespace korvath::assets
