#pragma once
#include "game/state/BattleState.h"

#include <cstdint>
#include <vector>

// The flight of a projectile, pixel by pixel, written once: the real shot
// (FireBullet), the line of fire the window draws (predictShot) and every
// question about where a shot may go fly with it. The flight only moves and
// looks; at each pixel where it may meet something it stops and asks its
// owner, who decides what the meeting does (the real shot rolls the dice of
// ImpactTest, a dry run only reports) and whether the flight goes on.
namespace korvath {

// The battlefield as a flight sees it: the terrain picture's pixels and the
// squares. A flight that branches (an object falls in one branch and stands
// in the other) lays its own changed squares over the battle's in a copy of
// its ground, never in a copy of the battle.
class FlightGround {
  public:
    explicit FlightGround(const BattleState& b) : b_(&b) {}
    const BattleState& battle() const { return *b_; }

    // The terrain pixel at map pixel (x, y); black outside the map.
    Rgb pixel(int x, int y) const {
        if (!paints_.empty()) return changedPixel(x, y);
        // Without paint only a changed square with a picture of its own shows
        // other pixels; sight and shot lines ask this for every step.
        if (x >= 0 && y >= 0 && x < kMapPixelsX && y < kMapPixelsY)
            for (const Changed& c : changes_)
                if (c.picture && c.x == x / kSquare + 1 && c.y == y / kSquare + 1)
                    return c.picture->pixel(x % kSquare, y % kSquare);
        return b_->TerrainBitmap.pixel(x, y);
    }
    // No picture or paint of its own: the battle's terrain pixels as they
    // are, whatever its squares now hold (a fallen object keeps its pixels).
    bool plain() const { return !pictured_ && paints_.empty(); }
    // Square (x, y); outside the grid, the zero border.
    MapCell cell(int x, int y) const;
    // In this ground only, square (x, y) now holds `now` and shows `picture`
    // (32 x 32); no picture leaves its pixels as they were.
    void change(int x, int y, MapCell now, const Raster* picture = nullptr);
    // In this ground only, the rectangles of one stroke (right and bottom
    // excluded) are painted `colour`: a flame's jet stays on the terrain, and
    // the steps after it read it.
    struct Rect {
        int left, top, right, bottom;
    };
    void paint(const std::vector<Rect>& stroke, Rgb colour);
    // In this ground only, soldier i stands on square (x, y): a walk worked
    // out ahead moves its walker here, and nowhere in the battle.
    void moveSoldier(int i, int x, int y) {
        moved_ = i;
        movedTo_ = {x, y};
    }
    // Soldier i's square in this ground.
    Point square(int i) const {
        if (i == moved_) return movedTo_;
        const PieceRecord& p = b_->Pieces[i];
        return {p.X, p.Y};
    }
    // The first living soldier on square (x, y), 0 when none stands there.
    int livingSoldierAt(int x, int y) const;

  private:
    struct Changed {
        int x, y;
        MapCell cell;
        const Raster* picture;
        int order; // when its picture was laid, against the paints
    };
    struct Stroke {
        Rect bounds;
        size_t first, count; // its rectangles in rects_
        Rgb colour;
        int order;
    };
    const Changed* changed(int x, int y) const;
    Rgb changedPixel(int x, int y) const;

    const BattleState* b_;
    std::vector<Changed> changes_;
    std::vector<Stroke> paints_;
    std::vector<Rect> rects_;
    int order_ = 0;
    bool pictured_ = false; // a changed square shows a picture of its own
    int moved_ = 0;
    Point movedTo_;
};

// What a projectile finds at map pixel (px, py), as ImpactTest judges it:
// open ground, a living soldier (by index) or an obstacle (Solidity 2 and up).
struct Impact {
    enum Kind { Open, Soldier, Obstacle } kind = Open;
    int soldier = 0;
};
Impact impactAt(const FlightGround& ground, int px, int py);

// The moments at which a flight waits for its owner.
enum class FlightMoment {
    SegmentBegins, // a new segment starts at segmentX/Y()
    ObstacleProbe, // the pixel the projectile stands on (truncated) is not black
    SoldierProbe,  // the pixel nearest to it is not black
    SegmentEnds,   // the segment's steps are flown (travelled() is still the last segment's)
    Ended,         // nothing more: end() says why
};

enum class FlightEnd { Stopped, Spent, OffMap };

// One flight, a small value: copied at a probe, the copy flies on from that
// very pixel (the other test of the step included), so a question may follow
// each outcome of a meeting as its own branch.
//
// The flight moves in segments of 15 one-pixel steps (10 for a flame). No
// test is made in the first segment, which leaves the shooter's square. In
// every later step the obstacle test looks at the truncated pixel and the
// soldier test at the nearest one, in that order, both in every step. After
// each segment the distance from the start counts against the weapon's
// range; the flight ends there, at the map's edge, or when its owner stops it.
class ShotFlight {
  public:
    // Soldier `shooter`'s shot in whole degree `degree` (folded into 0..360)
    // from pixel point (x0, y0); his weapon in hand gives the range and the
    // length of a segment.
    ShotFlight(const BattleState& b, int shooter, int degree, double x0, double y0);

    // Flies on to the next moment its owner must see.
    FlightMoment next(const FlightGround& ground);
    // An owner that draws no trace is told only of the meetings and the end.
    void meetingsOnly() { segments_ = false; }
    // The owner's answer to a probe: the flight goes no further. The step's
    // other test still comes, as in every step.
    void stop() {
        continuing_ = false;
        stopped_ = true;
    }

    int degree() const { return degree_; }
    double x() const { return x_; }
    double y() const { return y_; }
    double segmentX() const { return segX_; }
    double segmentY() const { return segY_; }
    bool firstSegment() const { return first_; }
    // The pixel of the probe just reported.
    int probeX() const { return probe_.x; }
    int probeY() const { return probe_.y; }
    // Pixels from the start, as counted after the last finished segment.
    int travelled() const { return travelled_; }
    bool stopped() const { return stopped_; }
    FlightEnd end() const;

  private:
    enum class Phase { SegmentStart, Step, SoldierTest, SegmentDone, Over };
    template <typename PixelAt> FlightMoment steps(PixelAt pixelAt);

    double dx_ = 0, dy_ = 0;
    double x0_, y0_, x_, y_;
    double segX_ = 0, segY_ = 0;
    int64_t reach_ = 0; // the range in pixels
    int degree_ = 0;
    int steps_ = 15;
    int step_ = 0;
    int travelled_ = 0;
    Point probe_;
    bool continuing_ = true;
    bool stopped_ = false;
    bool first_ = false;
    bool segments_ = true;
    Phase phase_ = Phase::SegmentStart;
};

} // namespace korvath
