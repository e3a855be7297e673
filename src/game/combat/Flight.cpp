#include "game/combat/Flight.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"

#include <algorithm>
#include <cmath>

namespace korvath {

namespace {

using pixel_math::nearest;
using pixel_math::squareOf;
using pixel_math::trunc;

constexpr int kBulletSteps = 15;
constexpr int kFlameSteps = 10;

} // namespace

const FlightGround::Changed* FlightGround::changed(int x, int y) const {
    for (const Changed& c : changes_)
        if (c.x == x && c.y == y) return &c;
    return nullptr;
}

Rgb FlightGround::changedPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= kMapPixelsX || y >= kMapPixelsY)
        return b_->TerrainBitmap.pixel(x, y);
    const Changed* c = changes_.empty() ? nullptr : changed(squareOf(x), squareOf(y));
    auto inside = [x, y](const Rect& r) {
        return x >= r.left && y >= r.top && x < r.right && y < r.bottom;
    };
    const Stroke* paint = nullptr;
    for (auto s = paints_.rbegin(); s != paints_.rend() && !paint; ++s)
        if (inside(s->bounds))
            for (size_t k = s->first; k < s->first + s->count && !paint; ++k)
                if (inside(rects_[k])) paint = &*s;
    if (paint && (!c || !c->picture || paint->order > c->order)) return paint->colour;
    if (!c || !c->picture) return b_->TerrainBitmap.pixel(x, y);
    return c->picture->pixel(x % kSquare, y % kSquare);
}

void FlightGround::paint(const std::vector<Rect>& stroke, Rgb colour) {
    Stroke s{{kMapPixelsX, kMapPixelsY, 0, 0}, rects_.size(), 0, colour, ++order_};
    for (Rect r : stroke) {
        r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, kMapPixelsX),
             std::min(r.bottom, kMapPixelsY)};
        if (r.left >= r.right || r.top >= r.bottom) continue;
        rects_.push_back(r);
        ++s.count;
        s.bounds = {std::min(s.bounds.left, r.left), std::min(s.bounds.top, r.top),
                    std::max(s.bounds.right, r.right), std::max(s.bounds.bottom, r.bottom)};
    }
    if (s.count > 0) paints_.push_back(s);
}

MapCell FlightGround::cell(int x, int y) const {
    if (const Changed* c = changes_.empty() ? nullptr : changed(x, y)) return c->cell;
    return b_->cellAt(x, y);
}

void FlightGround::change(int x, int y, MapCell now, const Raster* picture) {
    pictured_ = pictured_ || picture != nullptr;
    for (Changed& c : changes_)
        if (c.x == x && c.y == y) {
            c.cell = now;
            if (picture) {
                c.picture = picture;
                c.order = ++order_;
            }
            return;
        }
    changes_.push_back({x, y, now, picture, ++order_});
}

int FlightGround::livingSoldierAt(int x, int y) const {
    if (moved_ == 0) return korvath::livingSoldierAt(*b_, x, y);
    for (int i = 1; i <= kMaxPieces; ++i) {
        const Point at = square(i);
        if (at.x == x && at.y == y && b_->Pieces[i].Wounds > 0) return i;
    }
    return 0;
}

Impact impactAt(const FlightGround& ground, int px, int py) {
    if (px < 0 || py < 0 || px >= kMapPixelsX || py >= kMapPixelsY) return {};
    const int tx = squareOf(px), ty = squareOf(py);
    const int solidity = ground.cell(tx, ty).Solidity;
    if (solidity >= 2) return {Impact::Obstacle, 0};
    if (solidity == 1)
        if (const int found = ground.livingSoldierAt(tx, ty)) return {Impact::Soldier, found};
    return {};
}

ShotFlight::ShotFlight(const BattleState& b, int shooter, int degree, double x0, double y0)
    : x0_(x0), y0_(y0), x_(x0), y_(y0) {
    const EquipmentType& weapon = b.item(validIndex(shooter) ? b.Pieces[shooter].Items[1] : 0);
    steps_ = weapon.Effect == "Flames" ? kFlameSteps : kBulletSteps;
    reach_ = int64_t{weapon.Range} * kSquare;
    degree_ = degree < 0 || degree > 360 ? ((degree % 360) + 360) % 360 : degree;
    dx_ = b.CosTable[degree_];
    dy_ = b.SinTable[degree_];
    // Without direction tables the projectile could never move on.
    continuing_ = dx_ != 0 || dy_ != 0;
}

FlightEnd ShotFlight::end() const {
    if (stopped_) return FlightEnd::Stopped;
    return continuing_ ? FlightEnd::OffMap : FlightEnd::Spent;
}

// The steps of a segment up to the next pixel that is not black; most of a
// flight is here, so it runs on local copies of the point.
template <typename PixelAt> FlightMoment ShotFlight::steps(PixelAt pixelAt) {
    double x = x_, y = y_;
    const double dx = dx_, dy = dy_;
    const int last = continuing_ ? steps_ : step_;
    int step = step_, px = 0, py = 0;
    FlightMoment met = FlightMoment::SegmentEnds;
    while (step < last) {
        ++step;
        x += dx;
        y += dy;
        // Nothing is met within the first segment: the shot leaves the shooter's square.
        if (first_) continue;
        px = trunc(x);
        py = trunc(y);
        if (pixelAt(px, py) != 0) {
            met = FlightMoment::ObstacleProbe;
            break;
        }
        px = nearest(x);
        py = nearest(y);
        if (pixelAt(px, py) != 0) {
            met = FlightMoment::SoldierProbe;
            break;
        }
    }
    x_ = x;
    y_ = y;
    step_ = step;
    probe_ = {px, py};
    phase_ = met == FlightMoment::ObstacleProbe  ? Phase::SoldierTest
             : met == FlightMoment::SoldierProbe ? Phase::Step
                                                 : Phase::SegmentDone;
    return met;
}

FlightMoment ShotFlight::next(const FlightGround& ground) {
    for (;;) {
        switch (phase_) {
        case Phase::SegmentStart:
            segX_ = x_;
            segY_ = y_;
            step_ = 0;
            first_ = segX_ == x0_ && segY_ == y0_;
            phase_ = Phase::Step;
            if (!segments_) continue;
            return FlightMoment::SegmentBegins;
        case Phase::Step: {
            const Raster& terrain = ground.battle().TerrainBitmap;
            const FlightMoment m =
                ground.plain() ? steps([&terrain](int x, int y) { return terrain.pixel(x, y); })
                               : steps([&ground](int x, int y) { return ground.pixel(x, y); });
            if (m == FlightMoment::SegmentEnds && !segments_) continue;
            return m;
        }
        case Phase::SoldierTest:
            phase_ = Phase::Step;
            probe_ = {nearest(x_), nearest(y_)};
            if (ground.pixel(probe_.x, probe_.y) != 0) return FlightMoment::SoldierProbe;
            continue;
        case Phase::SegmentDone:
            travelled_ = nearest(std::sqrt((x_ - x0_) * (x_ - x0_) + (y_ - y0_) * (y_ - y0_)));
            if (reach_ < travelled_) continuing_ = false;
            if (x_ > 0 && y_ >= 0 && x_ < kMapPixelsX && y_ < kMapPixelsY && continuing_) {
                phase_ = Phase::SegmentStart;
                continue;
            }
            phase_ = Phase::Over;
            return FlightMoment::Ended;
        case Phase::Over:
            return FlightMoment::Ended;
        }
    }
}

} // namespace korvath
