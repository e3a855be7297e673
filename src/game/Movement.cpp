#include "Movement.h"

#include "Display.h"
#include "InfoPanel.h"
#include "Overwatch.h"
#include "Sight.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>
#include <vector>

namespace korvath {

namespace {

constexpr int kGridW = kMapWidth + 2;  // columns 0..81
constexpr int kGridH = kMapHeight + 2; // rows 0..51
constexpr int kMaxSweeps = 250;
constexpr int kTraceLimit = 250;
constexpr int kStraightStep = 2;
constexpr int kDiagonalStep = 3;
constexpr int kAccessSurcharge = 2;

// The eight neighbours in the order both the fill and the path trace visit them.
constexpr int kNeighbourX[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
constexpr int kNeighbourY[8] = {-1, -1, -1, 0, 0, 1, 1, 1};

constexpr bool isDiagonal(int k) {
    return kNeighbourX[k] != 0 && kNeighbourY[k] != 0;
}

bool inGrid(int x, int y) {
    return x >= 0 && y >= 0 && x < kGridW && y < kGridH;
}

bool isAccess(const Battle& b, int glyph) {
    return b.glyph(glyph).Action == "access";
}

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

struct Square {
    int x = 0;
    int y = 0;
    bool operator==(const Square&) const = default;
};

// Step 1 of a walk: the ring of the five latest walkers, which the computer
// side reads to chase soldiers it has heard moving. Slot 0 stays empty, so the
// first slot is always written.
void rememberWalker(Battle& b, int i) {
    if (b.RecentIndex < 1 || b.RecentIndex > 5) b.RecentIndex = 1;
    if (b.RecentPieces[b.RecentIndex - 1] != i) {
        b.RecentPieces[b.RecentIndex] = static_cast<uint8_t>(i);
        b.RecentIndex = b.RecentIndex == 5 ? 1 : b.RecentIndex + 1;
    }
}

// Follows the cheapest neighbours back from the clicked square towards the
// walker. Entry 0 is unused, entry 1 is the clicked square; the list keeps
// every traced square, however long.
std::vector<Square> tracePath(Battle& b, const PieceRecord& p, int tx, int ty) {
    std::vector<Square> path{{0, 0}, {tx, ty}};
    const Square start{p.X, p.Y};
    Square at{tx, ty};
    for (;;) {
        int best = 999;
        Square chosen = at;
        for (int k = 0; k < 8; ++k) {
            const int nx = at.x + kNeighbourX[k], ny = at.y + kNeighbourY[k];
            if (!Battle::onMap(nx, ny)) continue;
            const int cost = b.cell(nx, ny).PathCost;
            if (cost != 0 && cost < best) {
                best = cost;
                chosen = {nx, ny};
            }
        }
        path.push_back(chosen);
        at = chosen;
        const int n = static_cast<int>(path.size()) - 1;
        if (at == start || n >= kTraceLimit || p.AP <= 1) break;
    }
    return path;
}

// Is a living soldier of the computer's side standing on (x, y)?
bool enemyOn(const Battle& b, int x, int y) {
    for (int k = 1; k <= kMaxPieces; ++k) {
        const PieceRecord& q = b.Pieces[k];
        if (q.X == x && q.Y == y && q.Wounds > 0 && q.Side != b.HumanSide) return true;
    }
    return false;
}

void drawWalker(Battle& b, const PieceRecord& p) {
    if (p.Picture < 1 || p.Picture > kPictureRows || p.Frame < 1 || p.Frame > kPictureFrames)
        return;
    b.TerrainBitmap.draw(b.UnitPictures[p.Picture][p.Frame], (p.X - 1) * kSquare,
                         (p.Y - 1) * kSquare);
    b.copySquare(p.X, p.Y);
}

// The walker lifts off his square: the tile he stood on comes back (a door
// closes behind him) and the window may serve what the player did meanwhile.
void leaveSquare(Battle& b, const PieceRecord& p) {
    MapCell& c = b.cell(p.X, p.Y);
    c.Glyph = static_cast<uint8_t>(p.UnderGlyph);
    if (isAccess(b, p.UnderGlyph)) c.Solidity = 3;
    b.drawGlyph(p.X, p.Y, p.UnderGlyph);
    b.copySquare(p.X, p.Y);
    if (b.ports.clock) b.ports.clock->processMessages();
}

// The walker arrives on (x, y) and marks it as his. Returns whether a living
// friend already stands there.
bool enterSquare(Battle& b, PieceRecord& p, int x, int y) {
    MapCell& c = b.cell(x, y);
    const bool onFriend = c.Solidity == 1;
    p.UnderGlyph = c.Glyph == kOccupiedGlyph ? kFloorGlyph : c.Glyph;
    c.Glyph = kOccupiedGlyph;
    c.Solidity = 1;
    return onFriend;
}

// Computer soldiers on overwatch may fire at the walker after his step.
// True when one of them did.
bool reactionFire(Battle& b, int i) {
    const PieceRecord& p = b.Pieces[i];
    bool visible = false;
    int target = 0;
    NearestEnemy(b, i, p.X, p.Y, visible, target);
    if (target < 1 || target > kMaxPieces || p.UnderGlyph == kOccupiedGlyph) return false;
    return CheckOverWatch(b, target, i);
}

} // namespace

void FillPathCosts(Battle& b, int sx, int sy, int gx, int gy) {
    // Work on a row-major copy of the grid; the border squares keep whatever
    // they held, as only the map's own squares are cleared.
    std::array<int32_t, kGridW * kGridH> cost;
    // -1: impassable; otherwise the surcharge for entering the square.
    std::array<int8_t, kGridW * kGridH> enter;
    std::array<bool, kMaxGlyphs + 1> access{};
    for (int g = 0; g <= kMaxGlyphs; ++g) access[g] = isAccess(b, g);
    for (int y = 0; y < kGridH; ++y)
        for (int x = 0; x < kGridW; ++x) {
            const MapCell& c = b.MapGrid[x][y];
            const int at = y * kGridW + x;
            cost[at] = Battle::onMap(x, y) ? 0 : c.PathCost;
            const bool passable = c.Solidity < 2 || access[c.Glyph];
            enter[at] = passable ? (access[c.Glyph] ? kAccessSurcharge : 0) : -1;
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
        if (Battle::onMap(x, y)) (n > from ? thisSweep : nextSweep).insert(n);
    };
    // The first ring around the start costs a plain step, doors included.
    for (int k = 0; k < 8; ++k) {
        const int nx = sx + kNeighbourX[k], ny = sy + kNeighbourY[k];
        if (!inGrid(nx, ny) || enter[ny * kGridW + nx] < 0) continue;
        cost[ny * kGridW + nx] = isDiagonal(k) ? kDiagonalStep : kStraightStep;
        changed(ny * kGridW + nx, -1);
    }

    int offset[8];
    for (int k = 0; k < 8; ++k) offset[k] = kNeighbourY[k] * kGridW + kNeighbourX[k];
    const bool goalInGrid = inGrid(gx, gy);
    for (int sweep = 1;; ++sweep) {
        for (int at; (at = thisSweep.takeFirst()) >= 0;) {
            const int32_t own = cost[at];
            for (int k = 0; k < 8; ++k) {
                const int n = at + offset[k];
                if (enter[n] < 0) continue;
                const int32_t candidate =
                    own + (isDiagonal(k) ? kDiagonalStep : kStraightStep) + enter[n];
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
    if (inGrid(sx, sy)) cost[sy * kGridW + sx] = 1;

    for (int y = 0; y < kGridH; ++y)
        for (int x = 0; x < kGridW; ++x) b.MapGrid[x][y].PathCost = cost[y * kGridW + x];
}

void walkSelectedPiece(Battle& b, int tx, int ty, bool query) {
    const int i = b.SelectedPiece;
    if (i < 1 || i > kMaxPieces) return;
    PieceRecord& p = b.Pieces[i];
    // The selection outlives a soldier shot dead during his walk; his body stays put.
    if (p.Name.empty() || p.Wounds < 1) return;
    if (!Battle::onMap(p.X, p.Y) || !Battle::onMap(tx, ty)) return;

    rememberWalker(b, i);
    FocusPiece(b, i);
    b.MapClicksEnabled = false;
    FillPathCosts(b, p.X, p.Y, tx, ty);

    const std::vector<Square> path = tracePath(b, p, tx, ty);
    int n = static_cast<int>(path.size()) - 1;
    bool go = n < kTraceLimit; // otherwise there is no way there

    // A walk towards soldiers or bodies ends on the first of them it meets:
    // count the occupied squares at the far end of the path.
    int m = 0;
    if (go) {
        while (m < n - 1 && b.cell(path[m + 1].x, path[m + 1].y).Glyph == kOccupiedGlyph) ++m;
        --n; // entry n is now the first step
    }
    const int last = m >= 1 ? m : 1;

    if (query) {
        const int needed = b.cell(tx, ty).PathCost;
        // A square the flood never reached has no price, whatever the trace says.
        if (needed > 0 && n < 99 && needed <= p.AP)
            b.controls.InfoLabel.text = std::to_string(needed) + " action points required, " +
                                        std::to_string(p.AP - needed) + " remaining.";
        else
            b.controls.InfoLabel.text = "Too far or unreacheable.";
        go = false;
    }
    // Short of breath, a soldier will not start by squeezing past someone or
    // through a door.
    if (p.AP < 4 && n >= 1 && b.cell(path[n].x, path[n].y).Solidity > 0) go = false;
    if (!query) b.controls.InfoLabel.text.clear();

    if (go && n >= last) {
        do {
            const Square next = path[n];
            b.cell(p.X, p.Y).Solidity = 0;
            const int stepCost = p.X != next.x && p.Y != next.y ? kDiagonalStep : kStraightStep;
            if (enemyOn(b, next.x, next.y)) go = false;
            if (p.AP >= stepCost && go) {
                leaveSquare(b, p);
                if (p.Name.empty()) { // the battle was closed meanwhile
                    b.StopRequested = false;
                    b.MapClicksEnabled = true;
                    return;
                }
                p.X = next.x;
                p.Y = next.y;
                p.AP -= stepCost;
                const bool onFriend = enterSquare(b, p, next.x, next.y);
                drawWalker(b, p);
                placePieces(b);
                ShowPieceStats(b, i);
                if (b.ports.clock) b.ports.clock->wait(20, true);
                --n;
                if (reactionFire(b, i)) go = false;
                if (p.Wounds < 1) go = false;
                if (n > 0 && b.cell(path[n].x, path[n].y).Solidity > 0 && p.AP <= 4 && !onFriend)
                    go = false;
            } else {
                go = false;
            }
            if (b.StopRequested) go = false;
            DrawOverheadMap(b);
        } while (p.AP > 1 && n != 0 && go && n >= last);
    }

    FocusPiece(b, i);
    b.StopRequested = false;
    b.controls.cursor = CursorShape::Default;
    // Watchers fire once more at the end of every walk order, also one refused
    // at once; a question about the cost is no order and draws no fire. For a
    // walker shot dead on the way only the look for the nearest watcher is made.
    if (!query) EndOfMoveReaction(b, i);
    placePieces(b);
    FillPickList(b, i);
    FocusPiece(b, i);
    b.MapClicksEnabled = true;
}

} // namespace korvath
