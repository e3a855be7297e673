#include "game/editor/MapEdits.h"

#include <algorithm>
#include <set>

namespace korvath {

void MapEdits::set(int x, int y, int glyph) {
    MapCell& c = map_[x][y];
    c.Glyph = static_cast<uint8_t>(glyph);
    // As the map's compiler writes it; the game works it out again anyway.
    if (const int s = solidityOfGlyph(glyph); s >= 0) c.Solidity = static_cast<uint8_t>(s);
}

bool MapEdits::joinsWalls(int x, int y) const {
    const int g = map_[x][y].Glyph;
    return joins_.joins[g] || joins_.familyOf(g) != 0;
}

bool MapEdits::sameKind(int a, int b) const {
    const int fa = joins_.familyOf(a);
    return a == b || (fa != 0 && fa == joins_.familyOf(b));
}

void MapEdits::joinAround(const std::vector<std::pair<int, int>>& squares) {
    std::set<std::pair<int, int>> todo;
    for (const auto& [x, y] : squares)
        for (const auto& [dx, dy] : {std::pair{0, 0}, {0, -1}, {1, 0}, {0, 1}, {-1, 0}})
            if (onMap(x + dx, y + dy)) todo.insert({x + dx, y + dy});
    for (const auto& [x, y] : todo)
        if (const int first = joins_.familyOf(map_[x][y].Glyph))
            set(x, y, joinedWallPiece(first, x, y, [this](int nx, int ny) {
                    return joinsWalls(nx, ny);
                }));
}

void MapEdits::paint(int x, int y, int glyph) {
    if (!onMap(x, y)) return;
    set(x, y, glyph);
    joinAround({{x, y}});
}

void MapEdits::fill(int x, int y, int glyph) {
    if (!onMap(x, y)) return;
    const int was = map_[x][y].Glyph;
    if (sameKind(was, glyph)) return;
    std::vector<std::pair<int, int>> filled, todo{{x, y}};
    std::vector<bool> seen((kMapWidth + 1) * (kMapHeight + 1), false);
    seen[x * (kMapHeight + 1) + y] = true;
    while (!todo.empty()) {
        const auto [cx, cy] = todo.back();
        todo.pop_back();
        filled.push_back({cx, cy});
        for (const auto& [dx, dy] : {std::pair{0, -1}, {1, 0}, {0, 1}, {-1, 0}}) {
            const int nx = cx + dx, ny = cy + dy;
            if (!onMap(nx, ny) || seen[nx * (kMapHeight + 1) + ny]) continue;
            if (!sameKind(map_[nx][ny].Glyph, was)) continue;
            seen[nx * (kMapHeight + 1) + ny] = true;
            todo.push_back({nx, ny});
        }
    }
    for (const auto& [fx, fy] : filled) set(fx, fy, glyph);
    joinAround(filled);
}

void MapEdits::rectangle(int x1, int y1, int x2, int y2, int glyph, bool outlineOnly) {
    const int left = std::max(1, std::min(x1, x2)), right = std::min(kMapWidth, std::max(x1, x2));
    const int top = std::max(1, std::min(y1, y2)), bottom = std::min(kMapHeight, std::max(y1, y2));
    std::vector<std::pair<int, int>> changed;
    for (int x = left; x <= right; ++x)
        for (int y = top; y <= bottom; ++y) {
            const bool edge = x == left || x == right || y == top || y == bottom;
            if (outlineOnly && !edge) continue;
            set(x, y, glyph);
            changed.push_back({x, y});
        }
    joinAround(changed);
}

bool MapEdits::forceField(int x1, int y1, int x2, int y2) {
    if (!onMap(x1, y1) || !onMap(x2, y2) || (x1 == x2) == (y1 == y2)) return false;
    const bool vertical = x1 == x2;
    set(x1, y1, vertical ? kVerticalGenerator : kHorizontalGenerator);
    std::vector<std::pair<int, int>> changed{{x1, y1}};
    const int dx = vertical ? 0 : (x2 > x1 ? 1 : -1), dy = vertical ? (y2 > y1 ? 1 : -1) : 0;
    for (int x = x1 + dx, y = y1 + dy;; x += dx, y += dy) {
        set(x, y, vertical ? kVerticalField : kHorizontalField);
        changed.push_back({x, y});
        if (x == x2 && y == y2) break;
    }
    joinAround(changed);
    return true;
}

} // namespace korvath
