#include "assets/FloorPlan.h"

#include "assets/TextOut.h"
#include "engine/DataError.h"
#include "engine/TextFile.h"

#include <algorithm>
#include <deque>

namespace korvath::assets {

std::array<std::string, 157> parseFloorStyles(const std::string& name, const std::string& text) {
    std::array<std::string, 157> styles{};
    int lineNo = 0;
    for (const std::string& line : splitLines(text)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        const auto f = splitTabs(line, 2);
        int first = 0, last = 0;
        const auto dash = f[0].find('-');
        const bool ok = dash == std::string::npos ? parseInt(f[0], first)
                                                  : parseInt(f[0].substr(0, dash), first) &&
                                                        parseInt(f[0].substr(dash + 1), last);
        if (dash == std::string::npos) last = first;
        if (f.size() != 2 || f[1].empty() || !ok || first < 1 || last > 156 || last < first)
            throw DataError(name, lineNo, "expected glyph or range 1..156<TAB>style");
        for (int g = first; g <= last; ++g) styles[g] = f[1];
    }
    return styles;
}

namespace {

bool onMap(int x, int y) {
    return x >= 1 && x <= 80 && y >= 1 && y <= 50;
}

// The eight neighbours in the order of the Around bits.
constexpr int kDx[] = {0, 1, 0, -1, 1, 1, -1, -1};
constexpr int kDy[] = {-1, 0, 1, 0, -1, 1, 1, -1};

} // namespace

FloorPlan planFloors(const TextMap& map, const GlyphTable& glyphs,
                     const std::array<std::string, 157>& styleOfGlyph) {
    FloorPlan plan;
    // The squares with a floor of their own start the search outwards.
    std::deque<std::pair<int, int>> frontier;
    for (int y = 1; y <= 50; ++y)
        for (int x = 1; x <= 80; ++x) {
            const std::string& style = styleOfGlyph[map.at(x, y)];
            if (style.empty()) continue;
            auto known = std::find(plan.styles.begin(), plan.styles.end(), style);
            plan.squares[x][y].style = static_cast<int>(known - plan.styles.begin());
            if (known == plan.styles.end()) plan.styles.push_back(style);
            frontier.emplace_back(x, y);
        }
    while (!frontier.empty()) {
        const auto [x, y] = frontier.front();
        frontier.pop_front();
        for (int d = 0; d < 4; ++d) {
            const int nx = x + kDx[d], ny = y + kDy[d];
            if (!onMap(nx, ny) || plan.squares[nx][ny].style >= 0) continue;
            plan.squares[nx][ny].style = plan.squares[x][y].style;
            frontier.emplace_back(nx, ny);
        }
    }
    // What stands around each square: walls (and the map's edge) or objects.
    auto kind = [&](int x, int y) {
        if (!onMap(x, y)) return 2;
        const int g = map.at(x, y);
        const GlyphSource& s = glyphs.glyphs[g];
        if (wallLike(s)) return 2;
        const bool open = !styleOfGlyph[g].empty() || s.painter == "floor" || s.painter == "star" ||
                          s.painter.rfind("item-", 0) == 0;
        return open ? 0 : 1;
    };
    for (int y = 1; y <= 50; ++y)
        for (int x = 1; x <= 80; ++x) {
            plan.squares[x][y].thing = kind(x, y) == 1;
            for (int d = 0; d < 8; ++d) {
                const int k = kind(x + kDx[d], y + kDy[d]);
                if (k == 2) plan.squares[x][y].walls |= static_cast<uint8_t>(1 << d);
                if (k == 1) plan.squares[x][y].things |= static_cast<uint8_t>(1 << d);
            }
        }
    return plan;
}

} // namespace korvath::assets
