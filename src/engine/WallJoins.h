#pragma once
#include <array>
#include <string>
#include <vector>

namespace korvath {

class TextFile;

// Walls come in families of sixteen pieces, one for each way a square can
// join its four neighbours: the family's first glyph + 1 when the square to
// the north joins, + 2 east, + 4 south, + 8 west. Squares off the 80 x 50
// map always join, so walls at the edge run on out of sight.
constexpr int kWallFamilySize = 16;

template <typename Joins> int joinedWallPiece(int first, int x, int y, Joins joins) {
    auto at = [&](int nx, int ny) {
        return nx < 1 || ny < 1 || nx > 80 || ny > 50 || joins(nx, ny);
    };
    return first + (at(x, y - 1) ? 1 : 0) + (at(x + 1, y) ? 2 : 0) + (at(x, y + 1) ? 4 : 0) +
           (at(x - 1, y) ? 8 : 0);
}

// How the walls of one tile set join: its families (by their first glyph)
// and the glyphs a wall joins up with (the families' pieces and the other
// pictures that fill their square edge to edge: doors, windows, machinery).
// korvath-assets writes it beside the tiles bitmap (blocks.bmp: blocks.joins).
struct WallJoins {
    std::vector<int> families;
    std::array<bool, 257> joins{};

    // The first glyph of the family g belongs to, or 0.
    int familyOf(int g) const;
};

// The file: "family<TAB>N" for each family, "joins<TAB>N" for each glyph that
// joins. Throws DataError naming the file and line.
WallJoins readWallJoins(TextFile& file);
std::string wallJoinsText(const WallJoins& w);

} // namespace korvath
