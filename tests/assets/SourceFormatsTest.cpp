// The editable sources: glyph tables and text maps.
#include "assets/GlyphTable.h"
#include "assets/MapSource.h"
#include "engine/DataError.h"

#include <gtest/gtest.h>

using namespace korvath;
using namespace korvath::assets;

namespace {

// A glyph table with every glyph defined: walls 1..16 join, the rest plain.
std::string tableText(const std::string& extra = "") {
    std::string t = "theme\tfortress\n001-016\twall *\tWall\t\n";
    t += "017-065\twall 15\tSolid\t\n066\tairlock 0\tAirlock\taccess\n067-104\tcrate\tCrate\t\n";
    t += "105-156\tfloor\tFloor\t\n" + extra;
    return t;
}

std::string mapText(const std::vector<std::string>& rows) {
    std::string t = "; a note\nlegend\n#\t1-16\n.\t131\nA\t66\n*\t156\nmap\n";
    for (const auto& r : rows) t += r + "\n";
    return t + "end\n";
}

// 50 rows of 80: floor inside a wall ring, with extra characters put in place.
std::vector<std::string> ring() {
    std::vector<std::string> rows(50, "#" + std::string(78, '.') + "#");
    rows[0] = rows[49] = std::string(80, '#');
    return rows;
}

} // namespace

TEST(GlyphTableSource, RangesNumberTheirPiecesAndDescribeEveryGlyph) {
    const GlyphTable t = parseGlyphTable("g", tableText());
    EXPECT_EQ(t.theme, "fortress");
    EXPECT_EQ(t.glyphs[1].arg, 0);
    EXPECT_EQ(t.glyphs[16].arg, 15);
    EXPECT_EQ(t.glyphs[17].arg, 15);
    EXPECT_EQ(t.glyphs[66].action, "access");

    const std::string desc = glyphDescText(t);
    EXPECT_EQ(desc.substr(0, 10), "001\tWall\t\n");
    EXPECT_NE(desc.find("066\tAirlock\taccess\n"), std::string::npos);
    EXPECT_EQ(std::count(desc.begin(), desc.end(), '\n'), 156);
}

TEST(GlyphTableSource, RejectsGapsDoublesAndBadNumbers) {
    auto failsAt = [](const std::string& text) {
        try {
            parseGlyphTable("g", text);
        } catch (const DataError& e) {
            return e.line();
        }
        return -1;
    };
    EXPECT_EQ(failsAt(tableText("131\tfloor\tAgain\t\n")), 7);
    EXPECT_EQ(failsAt(tableText("157\tfloor\tToo far\t\n")), 7);
    EXPECT_EQ(failsAt("theme\tfortress\n001-155\tfloor\tx\t\n"), 0); // 156 missing
    EXPECT_EQ(failsAt("theme\tmoon\n"), 1);
}

TEST(TextMapSource, WallPiecesFollowTheirNeighboursAndTheMapEdge) {
    auto rows = ring();
    rows[10][10] = '#';             // a lone pillar of wall
    rows[20].replace(20, 3, "#A#"); // a wall run with an airlock in it
    const TextMap m = parseTextMap("m", mapText(rows), parseGlyphTable("g", tableText()));
    EXPECT_EQ(m.at(1, 1), 1 + 15);         // corner: off-map on two sides, walls on two
    EXPECT_EQ(m.at(40, 1), 1 + 1 + 2 + 8); // top edge: floor only to the south
    EXPECT_EQ(m.at(11, 11), 1);            // alone: joins nothing
    EXPECT_EQ(m.at(21, 21), 1 + 2);        // joins the airlock to its east
    EXPECT_EQ(m.at(23, 21), 1 + 8);
    EXPECT_EQ(m.at(22, 21), 66);
    EXPECT_EQ(m.at(2, 2), 131);
}

TEST(TextMapSource, CompiledFileListsColumnsOuterWithSolidity) {
    auto rows = ring();
    rows[4][2] = 'A'; // square (3, 5)
    const auto bytes =
        compileMap(parseTextMap("m", mapText(rows), parseGlyphTable("g", tableText())));
    ASSERT_EQ(bytes.size(), 4000u * 8);
    auto record = [&](int x, int y) { return &bytes[((x - 1) * 50 + (y - 1)) * 8]; };
    EXPECT_EQ(record(3, 5)[0], 66);
    EXPECT_EQ(record(3, 5)[1], 3);
    EXPECT_EQ(record(2, 2)[0], 131);
    EXPECT_EQ(record(2, 2)[1], 0);
    EXPECT_EQ(record(80, 50)[1], 4);
    for (int i = 2; i < 8; ++i) EXPECT_EQ(record(3, 5)[i], 0);
}

TEST(TextMapSource, ErrorsNameTheLine) {
    const GlyphTable g = parseGlyphTable("g", tableText());
    auto rows = ring();
    rows[3][5] = '?';
    try {
        parseTextMap("m", mapText(rows), g);
        FAIL() << "unknown character accepted";
    } catch (const DataError& e) {
        EXPECT_EQ(e.line(), 8 + 3);
    }
    rows = ring();
    rows[7].pop_back();
    EXPECT_THROW(parseTextMap("m", mapText(rows), g), DataError);
    rows = ring();
    rows.pop_back();
    EXPECT_THROW(parseTextMap("m", mapText(rows), g), DataError);
}
