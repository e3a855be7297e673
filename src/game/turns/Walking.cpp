#include "game/turns/Walking.h"

#include "game/display/Display.h"
#include "game/display/EventShow.h"

#include <algorithm>
#include <array>
#include <bit>

namespace korvath {

namespace {

constexpr int kGridW = kCostGridWidth;  // columns 0..81
constexpr int kGridH = kCostGridHeight; // rows 0..51
constexpr int kMaxSweeps = 250;
constexpr int kAccessSurcharge = 2;

// A set of row-major square numbers, handed out lowest first.
class SquareSet {
  public:
    void insert(int n) { bits_[n / 64] |= uint64_t{1} << (n % 64); }
    bool empty() const {
        return std::all_of(bits_.begin(), bits_.end(), [](uint64_t w) { return w == 0; });
    }
    // The lowest number in the set, taken out of it; -1 when it is empty.
    // Numbers are only ever added above the last one taken.
    int takeFirst() {
        for (; word_ < bits_.size(); ++word_)
            if (bits_[word_] != 0) {
                const int bit = std::countr_zero(bits_[word_]);
                bits_[word_] &= bits_[word_] - 1;
                return static_cast<int>(word_ * 64) + bit;
            }
        word_ = 0;
        return -1;
    }

  private:
    std::array<uint64_t, (kGridW * kGridH + 63) / 64> bits_{};
    size_t word_ = 0;
};

} // namespace

void FillPathCosts(BattleState& b, int sx, int sy, int gx, int gy) {
    PathCostGrid cost;
    computePathCosts(b, sx, sy, gx, gy, cost);
    for (int y = 0; y < kGridH; ++y)
        for (int x = 0; x < kGridW; ++x) b.MapGrid[x][y].PathCost = cost[y * kGridW + x];
}

void computePathCosts(const BattleState& b, int sx, int sy, int gx, int gy, PathCostGrid& cost) {
    // Work on a row-major copy of the grid; the border squares keep whatever
    // they held, as only the map's own squares are cleared.
    // -1: impassable; otherwise the surcharge for entering the square.
    std::array<int8_t, kGridW * kGridH> enter;
    std::array<bool, kMaxGlyphs + 1> access{};
    for (int g = 0; g <= kMaxGlyphs; ++g) access[g] = b.isDoor(g);
    for (int y = 0; y < kGridH; ++y)
        for (int x = 0; x < kGridW; ++x) {
            const MapCell& c = b.MapGrid[x][y];
            const int at = y * kGridW + x;
            cost[at] = BattleState::onMap(x, y) ? 0 : c.PathCost;
            const bool door = access[c.Glyph];
            enter[at] = passableSquare(c.Solidity, door) ? (door ? kAccessSurcharge : 0) : -1;
        }

    // The sweeps run over the map row by row, each square with a cost passing
    // it on to its neighbours, updates seen at once by the rest of the sweep.
    // A square whose cost has not changed since it last passed it on would
    // change nothing by passing it on again, so only changed squares are
    // visited: those changed ahead of the sweep in this sweep, those behind
    // it in the next. The grid comes out exactly as from whole sweeps, and
    // once nothing changes the grid is final.
    SquareSet thisSweep, nextSweep;
    auto changed = [&](int n, int from) {
        const int x = n % kGridW, y = n / kGridW;
        if (BattleState::onMap(x, y)) (n > from ? thisSweep : nextSweep).insert(n);
    };
    // The first ring around the start costs a plain step, doors included.
    for (int k = 0; k < 8; ++k) {
        const int nx = sx + kNeighbours[k].x, ny = sy + kNeighbours[k].y;
        if (!BattleState::inGrid(nx, ny) || enter[ny * kGridW + nx] < 0) continue;
        cost[ny * kGridW + nx] = stepCost({0, 0}, kNeighbours[k]);
        changed(ny * kGridW + nx, -1);
    }

    int offset[8];
    for (int k = 0; k < 8; ++k) offset[k] = kNeighbours[k].y * kGridW + kNeighbours[k].x;
    const bool goalInGrid = BattleState::inGrid(gx, gy);
    for (int sweep = 1;; ++sweep) {
        for (int at; (at = thisSweep.takeFirst()) >= 0;) {
            const int32_t own = cost[at];
            for (int k = 0; k < 8; ++k) {
                const int n = at + offset[k];
                if (enter[n] < 0) continue;
                const int32_t candidate = own + (stepCost({0, 0}, kNeighbours[k])) + enter[n];
                if (cost[n] == 0 || cost[n] > candidate) {
                    cost[n] = candidate;
                    changed(n, at);
                }
            }
        }
        std::swap(thisSweep, nextSweep);
        if ((goalInGrid && cost[gy * kGridW + gx] != 0) || sweep >= kMaxSweeps || thisSweep.empty())
            break;
    }
    if (BattleState::inGrid(sx, sy)) cost[sy * kGridW + sx] = 1;
}

bool stepOnto(Battle& b, int i, Square to, int cost) {
    PieceRecord& p = b.Pieces[i];
    const Point left{p.X, p.Y};
    MapCell& from = b.cell(p.X, p.Y);
    from.Glyph = static_cast<uint8_t>(p.UnderGlyph);
    from.Solidity = b.isDoor(p.UnderGlyph) ? 3 : 0;
    b.drawGlyph(p.X, p.Y, from.Glyph);
    b.copySquare(p.X, p.Y);
    b.letMessagesRun();

    p.X = to.x;
    p.Y = to.y;
    p.AP -= cost;
    MapCell& here = b.cell(to.x, to.y);
    const bool enteredOccupied = here.Solidity == 1;
    p.UnderGlyph = here.Glyph == kOccupiedGlyph ? kFloorGlyph : here.Glyph;
    here.Glyph = kOccupiedGlyph;
    here.Solidity = 1;
    drawSoldierPicture(b, p);
    tell(b, WalkStep{i, left, {to.x, to.y}, cost});
    return enteredOccupied;
}

} // namespace korvath
