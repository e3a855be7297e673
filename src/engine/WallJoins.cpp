#include "WallJoins.h"

#include "TextFile.h"

namespace korvath {

int WallJoins::familyOf(int g) const {
    for (const int first : families)
        if (g >= first && g < first + kWallFamilySize) return first;
    return 0;
}

WallJoins readWallJoins(TextFile& file) {
    WallJoins w;
    while (!file.atEnd()) {
        const std::string line = file.readLine();
        if (line.empty() || line[0] == ';') continue;
        const auto f = splitTabs(line);
        if (f.size() != 2 || (f[0] != "family" && f[0] != "joins"))
            file.fail("expected \"family<TAB>glyph\" or \"joins<TAB>glyph\"");
        const int g = file.toInt(f[1], "the glyph");
        if (f[0] == "family") {
            if (g < 1 || g + kWallFamilySize - 1 > 156)
                file.fail("a family of sixteen pieces must lie in 1..156");
            w.families.push_back(g);
        } else {
            if (g < 1 || g > 255) file.fail("the glyph must be 1..255");
            w.joins[g] = true;
        }
    }
    return w;
}

std::string wallJoinsText(const WallJoins& w) {
    std::string out = "; How the walls of this tile set join their neighbours.\n";
    for (const int first : w.families) out += "family\t" + std::to_string(first) + "\n";
    for (int g = 1; g < static_cast<int>(w.joins.size()); ++g)
        if (w.joins[g]) out += "joins\t" + std::to_string(g) + "\n";
    return out;
}

} // namespace korvath
