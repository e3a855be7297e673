#include "assets/GlyphTable.h"

#include "assets/TextOut.h"
#include "engine/DataError.h"
#include "engine/TextFile.h"

#include <cstdio>

namespace korvath::assets {

namespace {

bool parseRange(const std::string& text, int& first, int& last) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) {
        if (!parseInt(text, first)) return false;
        last = first;
        return true;
    }
    return parseInt(text.substr(0, dash), first) && parseInt(text.substr(dash + 1), last);
}

} // namespace

GlyphTable parseGlyphTable(const std::string& name, const std::string& text) {
    GlyphTable table;
    int lineNo = 0;
    for (const std::string& line : splitLines(text)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        auto bad = [&](const std::string& why) { return DataError(name, lineNo, why); };
        const auto fields = splitTabs(line, 4);
        if (fields.size() == 2 && fields[0] == "theme") {
            if (fields[1] != "fortress" && fields[1] != "starship")
                throw bad("unknown theme " + fields[1]);
            table.theme = fields[1];
            continue;
        }
        if (fields.size() < 3) throw bad("expected number, picture, description and action");
        int first = 0, last = 0;
        if (!parseRange(fields[0], first, last) || first < 1 || last > 156 || last < first)
            throw bad("glyph number or range out of 1..156: " + fields[0]);
        std::string painter = fields[1];
        std::string argText;
        if (const auto sp = painter.find(' '); sp != std::string::npos) {
            argText = painter.substr(sp + 1);
            painter.resize(sp);
        }
        int arg = 0;
        const bool counting = argText == "*";
        if (!counting && !argText.empty() && !parseInt(argText, arg))
            throw bad("bad picture variant " + argText);
        for (int g = first; g <= last; ++g) {
            GlyphSource& s = table.glyphs[g];
            if (s.defined) throw bad("glyph " + std::to_string(g) + " given twice");
            s.defined = true;
            s.painter = painter;
            s.arg = counting ? g - first : arg;
            s.description = fields[2];
            s.action = fields.size() > 3 ? fields[3] : "";
        }
    }
    if (table.theme.empty()) throw DataError(name, 0, "no theme line");
    for (int g = 1; g <= 156; ++g)
        if (!table.glyphs[g].defined)
            throw DataError(name, 0, "glyph " + std::to_string(g) + " is missing");
    return table;
}

GlyphTable readGlyphTable(const std::string& path) {
    return parseGlyphTable(path, readText(path));
}

std::string glyphDescText(const GlyphTable& table) {
    std::string out;
    for (int g = 1; g <= 156; ++g) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d", g);
        const GlyphSource& s = table.glyphs[g];
        out += std::string(number) + "\t" + s.description + "\t" + s.action + "\n";
    }
    return out;
}

} // namespace korvath::assets
