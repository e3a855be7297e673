#include "game/combat/ShotOdds.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"

#include "game/combat/DamageSpread.h"
#include "game/combat/ShotBranches.h"
#include "game/combat/Sight.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace korvath {

namespace {

using pixel_math::squareOf;
using pixel_math::trunc;

double wrapped(double angle) {
    if (angle < 0) angle += 360;
    if (angle > 360) angle -= 360;
    return angle;
}

// A soldier's wounds after a strike, as chances: alive[w] for w wounds left.
// What a flame's fire then does to him.
struct AfterFire {
    double wounded = 0, killed = 0;
};
AfterFire burn(const std::vector<double>& alive, int wounds, const DamageSpread& roll) {
    AfterFire out;
    for (int w = 1; w < static_cast<int>(alive.size()); ++w) {
        if (alive[w] == 0) continue;
        const double dies = roll.atLeast(w);
        out.killed += alive[w] * dies;
        // Alive after the fire, and hurt unless neither touched him.
        const double untouched = w == wounds ? 1 - roll.atLeast(1) : 0;
        out.wounded += alive[w] * (1 - dies - untouched);
    }
    return out;
}

// Adds the branches of the degrees up.
class Tally {
  public:
    Tally(const FlightGround& ground, int shooter, ShotOdds& out)
        : g_(ground), b_(ground.battle()), shooter_(shooter), roll_(b_, shooter), out_(out) {
        const EquipmentType& weapon = b_.item(b_.Pieces[shooter].Items[1]);
        flames_ = weapon.Effect == "Flames";
        out_.exact = roll_.exact();
    }

    void degree(int d, double weight) {
        ShotFlight probe(b_, shooter_, d, 0, 0);
        degree_ = probe.degree() % 360; // the burst folds 360 to 0
        weight_ = weight;
        const Point at = g_.square(shooter_);
        flyBranches(g_, shooter_, d, squareCentre(at.x), squareCentre(at.y), roll_, budget_,
                    [this](const BranchEnd& e, const FlightGround& atEnd) { add(e, atEnd); });
        ++out_.degrees;
    }

    void finish();

  private:
    SoldierOdds& soldier(int i) {
        SoldierOdds& s = soldiers_[i];
        s.soldier = i;
        s.friendly = b_.Pieces[i].Side == b_.Pieces[shooter_].Side;
        return s;
    }
    const HitHarm& harmOf(int i) {
        auto found = harms_.find(i);
        if (found != harms_.end()) return found->second;
        const PieceRecord& p = b_.Pieces[i];
        return harms_.emplace(i, shotHarm(roll_, p.Toughness, p.Wounds)).first->second;
    }
    void add(const BranchEnd& e, const FlightGround& atEnd);
    void fireAt(const BranchEnd& e, const FlightGround& atEnd, double w);

    const FlightGround& g_;
    const BattleState& b_;
    const int shooter_;
    const DamageSpread roll_;
    ShotOdds& out_;
    bool flames_ = false;
    int degree_ = 0;
    double weight_ = 0;
    BranchBudget budget_;
    std::map<int, SoldierOdds> soldiers_;
    std::map<int, HitHarm> harms_;
    std::map<std::pair<int, int>, StopOdds> stops_;
    std::map<std::pair<int, int>, double> fire_;
    std::map<std::string, double> events_;
};

void Tally::add(const BranchEnd& e, const FlightGround& atEnd) {
    const double w = weight_ * e.p;
    if (e.victory) out_.victory += w;
    if (e.pastEvent && w > 0) out_.pastEvent = true;
    for (const std::string& name : e.events) events_[name] += w;
    switch (e.end) {
    case ShotEnd::Soldier: {
        SoldierOdds& s = soldier(e.soldier);
        s.hit += w;
        const HitHarm& h = harmOf(e.soldier);
        s.damage += w * h.damage;
        if (!flames_) {
            s.wounded += w * h.wounded;
            s.killed += w * h.killed;
        }
        break;
    }
    case ShotEnd::Obstacle: {
        StopOdds& s = stops_[{e.stop.x, e.stop.y}];
        s.square = e.stop;
        s.glyph = e.glyph;
        s.p += w;
        if (e.destroyed) s.destroyed += w;
        break;
    }
    case ShotEnd::Spent:
        out_.spent += w;
        break;
    case ShotEnd::OffMap:
    case ShotEnd::None:
        out_.offMap += w;
        break;
    }
    if (flames_) fireAt(e, atEnd, w);
}

// A flame's burst where the branch ends: the 3 x 3 squares around the point
// half a square back, in FlameBurst's order.
void Tally::fireAt(const BranchEnd& e, const FlightGround& atEnd, double w) {
    const double x = e.x - 16 * b_.CosTable[degree_], y = e.y - 16 * b_.SinTable[degree_];
    const int cx = static_cast<int>(x / kSquare) + 1, cy = static_cast<int>(y / kSquare) + 1;
    bool struckBurnt = false;
    for (int sy = cy - 1; sy <= cy + 1; ++sy)
        for (int sx = cx - 1; sx <= cx + 1; ++sx) {
            if (!BattleState::onMap(sx, sy)) continue;
            const MapCell c = atEnd.cell(sx, sy);
            if (c.Solidity == 0 && c.Glyph != kOccupiedGlyph) fire_[{sx, sy}] += w;
            if (c.Solidity != 1) continue;
            const int i = atEnd.livingSoldierAt(sx, sy);
            if (i == 0) continue;
            const int wounds = b_.Pieces[i].Wounds;
            if (i == e.soldier && e.end == ShotEnd::Soldier) {
                // Struck first: the fire finds him as the strike left him;
                // dead, his square no longer burns him.
                const HitHarm& h = harmOf(i);
                const AfterFire f = burn(h.left, wounds, roll_);
                SoldierOdds& s = soldier(i);
                s.killed += w * (h.killed + f.killed);
                s.wounded += w * f.wounded;
                s.burnt += w * (1 - h.killed);
                struckBurnt = true;
                continue;
            }
            std::vector<double> alive(static_cast<size_t>(std::max(wounds, 0)) + 1, 0.0);
            if (wounds >= 1) alive[wounds] = 1;
            const AfterFire f = burn(alive, wounds, roll_);
            SoldierOdds& s = soldier(i);
            s.burnt += w;
            s.burntKilled += w * f.killed;
            s.burntWounded += w * f.wounded;
        }
    if (e.end == ShotEnd::Soldier && !struckBurnt) {
        const HitHarm& h = harmOf(e.soldier);
        soldier(e.soldier).wounded += w * h.wounded;
        soldier(e.soldier).killed += w * h.killed;
    }
}

void Tally::finish() {
    out_.exact = out_.exact && !budget_.exhausted && !out_.pastEvent;
    for (auto& [i, s] : soldiers_) {
        if (s.hit > 0) s.damage /= s.hit;
        out_.soldiers.push_back(s);
    }
    std::stable_sort(out_.soldiers.begin(), out_.soldiers.end(),
                     [](const SoldierOdds& a, const SoldierOdds& b) { return a.hit > b.hit; });
    for (auto& [at, s] : stops_) out_.obstacles.push_back(s);
    std::stable_sort(out_.obstacles.begin(), out_.obstacles.end(),
                     [](const StopOdds& a, const StopOdds& b) { return a.p > b.p; });
    for (auto& [at, p] : fire_) out_.fire.push_back({{at.first, at.second}, p});
    for (auto& [name, p] : events_) out_.events.push_back({name, p});
}

} // namespace

const SoldierOdds* ShotOdds::of(int soldier) const {
    for (const SoldierOdds& s : soldiers)
        if (s.soldier == soldier) return &s;
    return nullptr;
}

double ShotOdds::deathOf(int soldier) const {
    const SoldierOdds* s = of(soldier);
    return s ? s->killed + s->burntKilled : 0;
}

std::vector<std::pair<int, double>> shotDegrees(double angle, int shoot, bool strays) {
    std::vector<std::pair<int, double>> out;
    auto add = [&](double a, double p) {
        if (p <= 0) return;
        const int d = trunc(wrapped(a));
        for (auto& [degree, q] : out)
            if (degree == d) {
                q += p;
                return;
            }
        out.emplace_back(d, p);
    };
    // The Shoot roll r = 1..100 holds the aim when r <= Shoot; otherwise
    // m = random(10) + random(10) + 1 turns it by m - 10.
    const double holds = strays ? std::clamp(shoot, 0, 100) / 100.0 : 1.0;
    add(angle, holds);
    for (int m = 1; m <= 19; ++m)
        add(angle - 10 + m, (1 - holds) * (10 - std::abs(m - 10)) / 100.0);
    return out;
}

ShotOdds shotOdds(const FlightGround& ground, int shooter, double angle, bool strays) {
    ShotOdds out;
    out.shooter = shooter;
    const BattleState& b = ground.battle();
    if (!isPiece(b, shooter)) return out;
    Tally tally(ground, shooter, out);
    for (const auto& [degree, p] : shotDegrees(angle, b.Pieces[shooter].Shoot, strays))
        tally.degree(degree, p);
    tally.finish();
    return out;
}

ShotOdds degreeOdds(const FlightGround& ground, int shooter, int degree) {
    return shotOdds(ground, shooter, degree, false);
}

ShotOdds shotOddsAt(const BattleState& b, int shooter, int mx, int my) {
    if (!isPiece(b, shooter)) return {};
    const PieceRecord& p = b.Pieces[shooter];
    const double angle = Bearing(squareCentre(p.X), squareCentre(p.Y), static_cast<double>(mx),
                                 static_cast<double>(my));
    ShotOdds out = shotOdds(FlightGround(b), shooter, angle, true);
    out.target = livingSoldierAt(b, squareOf(mx), squareOf(my));
    return out;
}

} // namespace korvath
