#include "game/combat/ShotBranches.h"
#include "game/state/PixelMath.h"

#include "engine/Raster.h"
#include "game/combat/Shooting.h"

#include <algorithm>
#include <optional>

namespace korvath {

namespace {

using pixel_math::squareOf;
using pixel_math::trunc;

constexpr int kVerticalGenerator = 28;
constexpr int kVerticalField = 46;
constexpr int kHorizontalGenerator = 29;
constexpr int kHorizontalField = 47;

struct Branch {
    ShotFlight flight;
    FlightGround ground;
    BranchEnd end;
    bool eventSetOff = false;
    bool stoppedAtEvent = false; // the event went off as the shot stopped
};

// What one ImpactTest call did, to tell outcomes apart: outcomes alike in
// both are one and the same branch.
struct HitKey {
    bool heavy = false; // the damage roll over 13 changed something
    bool weak = false;  // r6 >= 4 felled a weak object
    bool operator==(const HitKey&) const = default;
};

class Walker {
  public:
    Walker(const FlightGround& ground, int shooter, const DamageSpread& roll, BranchBudget& budget,
           const BranchDone& done)
        : b_(ground.battle()), roll_(roll), budget_(budget), done_(done) {
        const EquipmentType& weapon = b_.item(b_.Pieces[shooter].Items[1]);
        flames_ = weapon.Effect == "Flames";
        dotted_ = weapon.AmmoType == 7;
        colour_ = traceColour(weapon);
    }
    void run(Branch br);

  private:
    void floor(FlightGround& g, int x, int y) const {
        MapCell c = g.cell(x, y);
        c.Glyph = kFloorGlyph;
        c.Solidity = 0;
        g.change(x, y, c);
    }
    bool remains(const FlightGround& g, int glyph) const;
    bool switchOffField(FlightGround& g, int tx, int ty, int field, bool vertical) const;
    HitKey hit(Branch& br, int tx, int ty, bool heavy, bool r6High) const;
    bool harmless(const FlightGround& g, int tx, int ty) const;
    void split(Branch& br, int tx, int ty);
    void paintTrace(Branch& br) const;
    void finish(Branch& br) const;

    const BattleState& b_;
    const DamageSpread& roll_;
    BranchBudget& budget_;
    const BranchDone& done_;
    bool flames_ = false, dotted_ = false;
    std::optional<Rgb> colour_;
};

bool Walker::remains(const FlightGround& g, int glyph) const {
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            if (g.cell(x, y).Glyph == glyph) return true;
    return false;
}

// The generator's rule over this ground: the last field square of the 7 x 7
// block seeds the run that goes, in both directions.
bool Walker::switchOffField(FlightGround& g, int tx, int ty, int field, bool vertical) const {
    int bx = 0, by = 0;
    for (int y = ty - 3; y <= ty + 3; ++y)
        for (int x = tx - 3; x <= tx + 3; ++x)
            if (BattleState::onMap(x, y) && g.cell(x, y).Glyph == field) {
                bx = x;
                by = y;
            }
    if (bx == 0) return false;
    const int dx = vertical ? 0 : 1, dy = vertical ? 1 : 0;
    for (int x = bx, y = by; BattleState::onMap(x, y) && g.cell(x, y).Glyph == field;
         x -= dx, y -= dy)
        floor(g, x, y);
    for (int x = bx + dx, y = by + dy; BattleState::onMap(x, y) && g.cell(x, y).Glyph == field;
         x += dx, y += dy)
        floor(g, x, y);
    return true;
}

// One ImpactTest call on the obstacle at (tx, ty), its dice given: heavy is
// a damage roll over 13, r6High an r6 of 4 or more.
HitKey Walker::hit(Branch& br, int tx, int ty, bool heavy, bool r6High) const {
    FlightGround& g = br.ground;
    const MapCell c = g.cell(tx, ty);
    const std::string& act = b_.glyph(c.Glyph).Action;
    HitKey key;
    if (act == "Victory!") {
        br.end.victory = true;
        floor(g, tx, ty);
    } else if (act.compare(0, 5, "event") == 0) {
        floor(g, tx, ty);
        if (!remains(g, c.Glyph)) {
            br.end.events.push_back(act);
            br.eventSetOff = true;
            br.stoppedAtEvent = br.flight.stopped();
        }
    } else if (c.Solidity == 3 && heavy) {
        floor(g, tx, ty);
        key.heavy = true;
    }
    const int glyph = g.cell(tx, ty).Glyph;
    if (heavy && glyph == kVerticalGenerator)
        key.heavy |= switchOffField(g, tx, ty, kVerticalField, true);
    if (heavy && glyph == kHorizontalGenerator)
        key.heavy |= switchOffField(g, tx, ty, kHorizontalField, false);
    if (g.cell(tx, ty).Solidity == 2 && r6High) {
        floor(g, tx, ty);
        key.weak = true;
    }
    return key;
}

// A wall without a generator's role: no roll of the dice changes it.
bool Walker::harmless(const FlightGround& g, int tx, int ty) const {
    const MapCell c = g.cell(tx, ty);
    const std::string& act = b_.glyph(c.Glyph).Action;
    return c.Solidity != 2 && c.Solidity != 3 && c.Glyph != kVerticalGenerator &&
           c.Glyph != kHorizontalGenerator && act != "Victory!" && act.compare(0, 5, "event") != 0;
}

// The outcomes of one ImpactTest call: each but the first flown on at once,
// the first carried on in br.
void Walker::split(Branch& br, int tx, int ty) {
    if (harmless(br.ground, tx, ty)) return;
    const double heavy = roll_.heavy();
    struct Outcome {
        double p;
        HitKey key;
        std::optional<Branch> branch;
    };
    std::vector<Outcome> outcomes;
    for (const bool h : {false, true})
        for (const bool r6 : {false, true}) {
            const double p = (h ? heavy : 1 - heavy) * 0.5;
            if (p <= 0) continue;
            Branch copy = br;
            const HitKey key = hit(copy, tx, ty, h, r6);
            auto same = std::find_if(outcomes.begin(), outcomes.end(),
                                     [&](const Outcome& o) { return o.key == key; });
            if (same != outcomes.end())
                same->p += p;
            else
                outcomes.push_back({p, key, std::move(copy)});
        }
    // Past the budget the object is taken to stand (the first outcome).
    if (budget_.left < static_cast<int>(outcomes.size())) {
        budget_.exhausted = true;
        br = std::move(*outcomes.front().branch);
        return;
    }
    budget_.left -= static_cast<int>(outcomes.size()) - 1;
    const double p = br.end.p;
    for (size_t k = 1; k < outcomes.size(); ++k) {
        Branch& other = *outcomes[k].branch;
        other.end.p = p * outcomes[k].p;
        run(std::move(other));
    }
    br = std::move(*outcomes.front().branch);
    br.end.p = p * outcomes.front().p;
}

// A flame's jet stays on the terrain, the width of its pen growing with the
// distance; a bullet's dash is wiped before the next step looks.
void Walker::paintTrace(Branch& br) const {
    if (!flames_ || !colour_) return;
    const ShotFlight& f = br.flight;
    const int travelled = f.travelled();
    const int width = travelled / 32 < 2 ? 1 : std::max(1, travelled / 20);
    const int lo = -(width / 2), hi = lo + width;
    std::vector<FlightGround::Rect> stroke;
    Raster::linePoints({trunc(f.segmentX()), trunc(f.segmentY())}, {trunc(f.x()), trunc(f.y())},
                       dotted_, [&](int x, int y) {
                           stroke.push_back({x + lo, y + lo, x + hi, y + hi});
                       });
    br.ground.paint(stroke, *colour_);
}

void Walker::finish(Branch& br) const {
    BranchEnd& e = br.end;
    // The event's file may change squares and bring soldiers in, which this
    // ground does not hold: a shot that flies on after it, or a flame that
    // bursts, meets a map the odds do not know. (A shot stopped at the tile
    // still makes its step's soldier test a pixel away; that one is taken to
    // find the square as it was.)
    if (br.eventSetOff && (flames_ || !br.stoppedAtEvent)) e.pastEvent = true;
    e.x = br.flight.x();
    e.y = br.flight.y();
    if (e.end == ShotEnd::None)
        e.end = br.flight.end() == FlightEnd::OffMap ? ShotEnd::OffMap : ShotEnd::Spent;
    if (e.end == ShotEnd::Spent || e.end == ShotEnd::OffMap)
        e.stop = {squareOf(trunc(e.x)), squareOf(trunc(e.y))};
    if (e.end == ShotEnd::Obstacle) e.destroyed = br.ground.cell(e.stop.x, e.stop.y).Solidity < 2;
    done_(e, br.ground);
}

void Walker::run(Branch br) {
    for (FlightMoment m; (m = br.flight.next(br.ground)) != FlightMoment::Ended;) {
        if (m == FlightMoment::SegmentEnds) {
            paintTrace(br);
            continue;
        }
        if (m != FlightMoment::ObstacleProbe && m != FlightMoment::SoldierProbe) continue;
        const int px = br.flight.probeX(), py = br.flight.probeY();
        const Impact met = impactAt(br.ground, px, py);
        if (met.kind == Impact::Open) continue;
        const int tx = squareOf(px), ty = squareOf(py);
        if (met.kind == Impact::Soldier) {
            // Only the soldier test strikes a soldier.
            if (m != FlightMoment::SoldierProbe) continue;
            br.end.end = ShotEnd::Soldier;
            br.end.soldier = met.soldier;
            br.end.stop = {tx, ty};
            br.flight.stop();
            continue;
        }
        // An obstacle stops the obstacle test; met by the soldier test it
        // only rolls its dice, and the shot flies on if it fell.
        if (m == FlightMoment::ObstacleProbe) {
            br.end.end = ShotEnd::Obstacle;
            br.end.glyph = br.ground.cell(tx, ty).Glyph;
            br.end.stop = {tx, ty};
            br.flight.stop();
        }
        split(br, tx, ty);
    }
    finish(br);
}

} // namespace

void flyBranches(const FlightGround& ground, int shooter, int degree, double x0, double y0,
                 const DamageSpread& roll, BranchBudget& budget, const BranchDone& done) {
    Walker walker(ground, shooter, roll, budget, done);
    ShotFlight flight(ground.battle(), shooter, degree, x0, y0);
    // A flame's jet is painted after each segment; a bullet's is not read.
    if (ground.battle().item(ground.battle().Pieces[shooter].Items[1]).Effect != "Flames")
        flight.meetingsOnly();
    walker.run({flight, ground, {}});
}

} // namespace korvath
