#include "game/combat/Threats.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"

#include "game/combat/Flight.h"
#include "game/combat/Overwatch.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvath {

using pixel_math::nearest;
using pixel_math::squareOf;

namespace {

struct Fire {
    int square; // y * (kMapWidth + 1) + x, so that sorting goes row by row
    int watcher;
};

// What the raider looks like wherever he would step, and what his own square
// shows once he has left it, as a step leaves them.
struct Walker {
    int index = 0;
    Raster left{kSquare, kSquare, 0}, look{kSquare, kSquare, 0};
    bool onMap = false;
    MapCell under;

    Walker(const BattleState& b, int raider) : index(raider) {
        const PieceRecord& r = b.Pieces[raider];
        left.draw(b.glyph(r.UnderGlyph).Picture, 0, 0);
        paintLivingLook(b, r, look, 0, 0);
        onMap = BattleState::onMap(r.X, r.Y);
        under = {static_cast<uint8_t>(r.UnderGlyph),
                 static_cast<uint8_t>(b.isDoor(r.UnderGlyph) ? 3 : 0), 0};
    }
    // The battle as it would stand with him on square `at`.
    void layOut(FlightGround& g, const BattleState& b, Point at) const {
        const PieceRecord& r = b.Pieces[index];
        if (onMap) g.change(r.X, r.Y, under, &left);
        g.change(at.x, at.y, {kOccupiedGlyph, 1, 0}, &look);
        g.moveSoldier(index, at.x, at.y);
    }
};

std::vector<int> watchersOf(const BattleState& b) {
    std::vector<int> watchers;
    for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
        const PieceRecord& w = b.Pieces[k];
        if (w.Side != b.HumanSide && w.Overwatch && w.Wounds > 0 &&
            w.AP >= b.item(w.Items[1]).QuickShotAP)
            watchers.push_back(k);
    }
    return watchers;
}

bool openFor(const BattleState& b, const PieceRecord& r, int x, int y) {
    return b.MapGrid[x][y].Solidity == 0 && !(x == r.X && y == r.Y);
}

std::vector<ThreatSquare> bySquare(std::vector<Fire>& fires) {
    // Row by row; on one square the watchers stay in the order they fire.
    std::stable_sort(fires.begin(), fires.end(),
                     [](const Fire& a, const Fire& c) { return a.square < c.square; });
    std::vector<ThreatSquare> out;
    for (const Fire& f : fires) {
        const Point at{f.square % (kMapWidth + 1), f.square / (kMapWidth + 1)};
        if (out.empty() || out.back().square.x != at.x || out.back().square.y != at.y)
            out.push_back({at, {}});
        out.back().watchers.push_back(f.watcher);
    }
    return out;
}

// A watcher's shot lines in each whole degree, traced once over the battle
// with the raider gone from his square and standing nowhere. The line towards
// a square he might step onto is the same up to that square; there it meets
// his look, or passes it and ends where this line ends (TraceShotLine's own
// steps: black pixels pass, the watcher's own square passes, a soldier's
// square ends it with the question of who stands there, a solid one ends it).
class WatcherLines {
  public:
    WatcherLines(const FlightGround& ground, int watcher) : g_(ground), watcher_(watcher) {
        const PieceRecord& w = ground.battle().Pieces[watcher];
        x0_ = squareCentre(w.X);
        y0_ = squareCentre(w.Y);
        s0x_ = squareOf(nearest(x0_));
        s0y_ = squareOf(nearest(y0_));
        side_ = w.Side;
    }

    // Whether the line in degree `d` towards square `at` is clear, with the
    // walker's look laid on that square.
    bool clearTowards(int d, Point at, const Walker& walker) {
        Line& l = line(d);
        // The steps that can fall on the square lie within its distance, give
        // or take the rounding of each step's pixel.
        const double left = (at.x - 1) * kSquare, top = (at.y - 1) * kSquare;
        const double nx = std::clamp(x0_, left, left + kSquare - 1) - x0_;
        const double ny = std::clamp(y0_, top, top + kSquare - 1) - y0_;
        const double fx = std::max(std::abs(left - x0_), std::abs(left + kSquare - 1 - x0_));
        const double fy = std::max(std::abs(top - y0_), std::abs(top + kSquare - 1 - y0_));
        const size_t first = static_cast<size_t>(std::max(0.0, std::hypot(nx, ny) - 3));
        const size_t last = std::min(l.pixels.size(), static_cast<size_t>(std::hypot(fx, fy) + 3));
        for (size_t n = first; n < last; ++n) {
            const int px = l.pixels[n] & 0xffff, py = l.pixels[n] >> 16;
            if (squareOf(px) != at.x || squareOf(py) != at.y) continue;
            if (walker.look.pixel(px % kSquare, py % kSquare) == 0) continue;
            FlightGround there(g_.battle());
            there.moveSoldier(walker.index, at.x, at.y);
            int found = 0;
            return IsEnemy(there, side_, at.x, at.y, found);
        }
        return l.clear;
    }

  private:
    struct Line {
        bool traced = false;
        bool clear = false;
        std::vector<uint32_t> pixels; // the pixels passed, x | y << 16
    };

    Line& line(int d) {
        Line& l = lines_[d];
        if (l.traced) return l;
        l.traced = true;
        const BattleState& b = g_.battle();
        double x = x0_, y = y0_;
        while (true) {
            x += b.CosTable[d];
            y += b.SinTable[d];
            const int px = nearest(x), py = nearest(y);
            if (px < 0 || py < 0 || px >= kMapPixelsX || py >= kMapPixelsY) break;
            if (g_.pixel(px, py) != 0) {
                const int sx = squareOf(px), sy = squareOf(py);
                if (sx != s0x_ || sy != s0y_) {
                    const int solidity = g_.cell(sx, sy).Solidity;
                    if (solidity == 1) {
                        int found = 0;
                        l.clear = IsEnemy(g_, side_, sx, sy, found);
                        break;
                    }
                    if (solidity >= 2) break;
                }
            }
            l.pixels.push_back(static_cast<uint32_t>(px) | static_cast<uint32_t>(py) << 16);
        }
        return l;
    }

    const FlightGround& g_;
    int watcher_;
    double x0_ = 0, y0_ = 0;
    int s0x_ = 0, s0y_ = 0, side_ = 0;
    std::array<Line, 360> lines_;
};

} // namespace

std::vector<ThreatSquare> threatSquares(const BattleState& b, int raider) {
    if (!isPiece(b, raider) || b.Pieces[raider].Wounds < 1) return {};
    const std::vector<int> watchers = watchersOf(b);
    if (watchers.empty()) return {};
    const PieceRecord& r = b.Pieces[raider];
    const Walker walker(b, raider);
    // The battle with the raider gone from his square: every line is traced
    // over it once, and only the square he steps onto differs.
    FlightGround gone(b);
    if (walker.onMap) gone.change(r.X, r.Y, walker.under, &walker.left);
    gone.moveSoldier(raider, 0, 0);

    std::vector<Fire> fires;
    for (const int k : watchers) {
        const PieceRecord& w = b.Pieces[k];
        const int range = b.item(w.Items[1]).Range;
        const double sx = squareCentre(w.X), sy = squareCentre(w.Y);
        WatcherLines lines(gone, k);
        for (int y = std::max(1, w.Y - range); y <= std::min(kMapHeight, w.Y + range); ++y)
            for (int x = std::max(1, w.X - range); x <= std::min(kMapWidth, w.X + range); ++x) {
                if (!openFor(b, r, x, y)) continue;
                // As judgeWatcher takes him: within his weapon's reach, and
                // a clear line in the whole degree of the bearing.
                FlightGround there(b);
                there.moveSoldier(raider, x, y);
                if (PieceDistance(there, raider, k) >= range) continue;
                const double angle = Bearing(sx, sy, squareCentre(x), squareCentre(y));
                const int d = ((nearest(angle) % 360) + 360) % 360;
                if (lines.clearTowards(d, {x, y}, walker))
                    fires.push_back({y * (kMapWidth + 1) + x, k});
            }
    }
    return bySquare(fires);
}

std::vector<ThreatSquare> threatSquaresBySquare(const BattleState& b, int raider) {
    if (!isPiece(b, raider) || b.Pieces[raider].Wounds < 1) return {};
    const std::vector<int> watchers = watchersOf(b);
    if (watchers.empty()) return {};
    const PieceRecord& r = b.Pieces[raider];
    const Walker walker(b, raider);
    std::vector<Fire> fires;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            if (!openFor(b, r, x, y)) continue;
            FlightGround ground(b);
            walker.layOut(ground, b, {x, y});
            for (const int k : watchers)
                if (judgeWatcher(ground, b.Pieces[k].Side, k, raider).reply == WatchReply::Fires)
                    fires.push_back({y * (kMapWidth + 1) + x, k});
        }
    return bySquare(fires);
}

} // namespace korvath
