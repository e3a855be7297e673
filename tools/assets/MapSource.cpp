#include "assets/MapSource.h"

#include "assets/TextOut.h"
#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/state/Records.h"

#include <set>

namespace korvath::assets {

bool wallLike(const GlyphSource& g) {
    static const std::set<std::string> solid = {
        "wall",         "rock",      "wall-lamp", "wall-banner", "wall-vent",    "wall-pipes",
        "wall-screen",  "window",    "wall-sign", "thruster",    "wall-cracked", "sealed-frame",
        "machine-wall", "generator", "airlock",   "blastdoor",   "sealed-door"};
    return solid.count(g.painter) > 0;
}

WallJoins wallJoinsOf(const GlyphTable& glyphs) {
    WallJoins w;
    for (int g = 1; g <= 156; ++g) {
        const GlyphSource& s = glyphs.glyphs[g];
        if (!wallLike(s)) continue;
        w.joins[g] = true;
        // A family: sixteen pieces of one picture, numbered 0..15 along the range.
        bool family = s.arg == 0 && g + kWallFamilySize - 1 <= 156;
        for (int k = 1; family && k < kWallFamilySize; ++k)
            family = glyphs.glyphs[g + k].painter == s.painter && glyphs.glyphs[g + k].arg == k;
        if (family) w.families.push_back(g);
    }
    return w;
}

TextMap parseTextMap(const std::string& name, const std::string& text, const GlyphTable& glyphs) {
    TextMap m;
    enum { Start, Legend, Grid, Done } part = Start;
    int lineNo = 0, row = 0;
    for (const std::string& line : splitLines(text)) {
        ++lineNo;
        auto bad = [&](const std::string& why) { return DataError(name, lineNo, why); };
        if (part != Grid && (line.empty() || line[0] == ';')) continue;
        if (part == Start) {
            if (line != "legend") throw bad("expected the line \"legend\"");
            part = Legend;
        } else if (part == Legend) {
            if (line == "map") {
                part = Grid;
                continue;
            }
            const auto f = splitTabs(line, 3);
            if (f.size() < 2 || f[0].size() != 1) throw bad("legend line: character<TAB>glyph");
            LegendEntry e;
            const auto dash = f[1].find('-');
            bool ok = dash == std::string::npos ? parseInt(f[1], e.first)
                                                : parseInt(f[1].substr(0, dash), e.first) &&
                                                      parseInt(f[1].substr(dash + 1), e.last);
            if (dash == std::string::npos) e.last = e.first;
            if (!ok || e.first < 1 || e.last > 156 || (e.last != e.first && !e.family()))
                throw bad("glyph must be 1..156 or a range of 16: " + f[1]);
            if (m.legend.count(f[0][0])) throw bad("character given twice in the legend");
            m.legend[f[0][0]] = e;
        } else if (part == Grid) {
            if (row == 50) {
                if (line != "end") throw bad("expected \"end\" after 50 map rows");
                part = Done;
                continue;
            }
            if (line.size() != 80)
                throw bad("map row must be 80 characters, not " + std::to_string(line.size()));
            for (char c : line)
                if (!m.legend.count(c))
                    throw bad(std::string("character '") + c + "' is not in the legend");
            m.rows[row++] = line;
        }
    }
    if (part != Done) throw DataError(name, lineNo, "map must hold 50 rows and end with \"end\"");

    // Single glyphs first, so families can look at their neighbours.
    for (int x = 1; x <= 80; ++x)
        for (int y = 1; y <= 50; ++y) {
            const LegendEntry& e = m.legend.at(m.rows[y - 1][x - 1]);
            m.glyph[x][y] = e.family() ? 0 : e.first;
        }
    auto joins = [&](int x, int y) {
        const LegendEntry& e = m.legend.at(m.rows[y - 1][x - 1]);
        return e.family() || wallLike(glyphs.glyphs[e.first]);
    };
    for (int x = 1; x <= 80; ++x)
        for (int y = 1; y <= 50; ++y) {
            const LegendEntry& e = m.legend.at(m.rows[y - 1][x - 1]);
            if (e.family()) m.glyph[x][y] = joinedWallPiece(e.first, x, y, joins);
        }
    return m;
}

TextMap readTextMap(const std::string& path, const GlyphTable& glyphs) {
    return parseTextMap(path, readText(path), glyphs);
}

std::vector<uint8_t> compileMap(const TextMap& map) {
    std::vector<uint8_t> out;
    out.reserve(80 * 50 * 8);
    for (int x = 1; x <= 80; ++x)
        for (int y = 1; y <= 50; ++y) {
            const int g = map.at(x, y);
            out.push_back(static_cast<uint8_t>(g));
            out.push_back(static_cast<uint8_t>(solidityOfGlyph(g)));
            for (int i = 0; i < 6; ++i) out.push_back(0);
        }
    return out;
}

} // namespace korvath::assets
