#pragma once
#include <array>
#include <string>

namespace korvath::assets {

// One tile kind as written in data/<scenario>/glyphs.txt: how to draw it and
// what the game's glyph description file says about it.
struct GlyphSource {
    std::string painter; // picture name, see Tiles.h
    int arg = 0;         // picture variant
    std::string description;
    std::string action;
    bool defined = false;
};

// A scenario's 156 tiles and the look of its tile set.
struct GlyphTable {
    std::string theme; // "fortress" or "starship"
    std::array<GlyphSource, 157> glyphs{};
};

// Source lines:
//   theme<TAB>fortress
//   NNN<TAB>painter [arg]<TAB>Description<TAB>Action
//   NNN-MMM<TAB>painter *<TAB>Description<TAB>Action     ('*' = 0, 1, 2 ... along the range)
// '#' starts a comment line. Every glyph 1..156 must be given exactly once.
// Throws DataError naming the file and line.
GlyphTable parseGlyphTable(const std::string& name, const std::string& text);
GlyphTable readGlyphTable(const std::string& path);

// The game's glyph description file: 156 lines "NNN<TAB>Description<TAB>Action",
// LF line ends (the writer turns them into CRLF).
std::string glyphDescText(const GlyphTable& table);

} // namespace korvath::assets
