#include "game/combat/Shooting.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"
#include "game/state/ShotArea.h"

#include "game/combat/Flight.h"
#include "game/combat/Impacts.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/display/InfoPanel.h"

#include <optional>
#include <vector>

// The shot really fired: its flight over the battle with the dice of
// ImpactTest at every meeting, the trace drawn on the terrain picture as it
// goes, the hit on a soldier, and the clean-up after. What the player sees
// of it (the trace on the screen, the flashes, the pauses, the view
// following the projectile) is shown from the events it tells.
namespace korvath {

namespace {

using pixel_math::squareOf;
using pixel_math::trunc;

constexpr int kDottedAmmo = 7; // arc weapons draw a dotted trace

// The area saved around the start of the current trace segment, to erase the
// segment again. Only the squares a segment touches change, so the area is
// not copied whole: the squares it covers are kept in the battle's shot
// shadow, each copied there only when the terrain changed since, and only
// the squares changed since the area was taken are put back.
struct SavedArea {
    ShotArea area;
    std::vector<uint32_t> versions; // the terrain's change counts when taken

    void take(BattleState& b, int x, int y) {
        area = ShotArea(x, y);
        BattleState::ShotShadow& shadow = b.shotShadow;
        if (shadow.squares.empty()) {
            shadow.squares.resize(kMapWidth * kMapHeight);
            shadow.versions.assign(kMapWidth * kMapHeight, 0);
        }
        versions.clear();
        for (int ty = area.firstY; ty <= area.lastY; ++ty)
            for (int tx = area.firstX; tx <= area.lastX; ++tx) {
                const uint32_t v = b.TerrainBitmap.tileVersion(tx, ty);
                const int at = ty * kMapWidth + tx;
                if (shadow.versions[at] != v) {
                    shadow.squares[at].copyFrom(b.TerrainBitmap, tx * kSquare, ty * kSquare,
                                                kSquare, kSquare);
                    shadow.versions[at] = v;
                }
                versions.push_back(v);
            }
    }
    void putBack(BattleState& b) const {
        size_t k = 0;
        for (int ty = area.firstY; ty <= area.lastY; ++ty)
            for (int tx = area.firstX; tx <= area.lastX; ++tx, ++k) {
                if (b.TerrainBitmap.tileVersion(tx, ty) == versions[k]) continue;
                int l, t, r, bottom;
                area.clip(tx, ty, l, t, r, bottom);
                b.TerrainBitmap.blit(b.shotShadow.squares[ty * kMapWidth + tx], l - tx * kSquare,
                                     t - ty * kSquare, r - l, bottom - t, l, t);
            }
    }
};

class FiredShot {
  public:
    FiredShot(Battle& b, int shooter, int degree, double x0, double y0, const ShotCall& call);
    void fly();
    void cleanUp();

  private:
    void segmentBegins();
    void obstacleMet();
    void soldierMet();
    void segmentEnds();
    void hitSoldier(int target, Point pixel);
    void redrawVisibleSquares();
    void redrawAllSquares();
    Point segment() const { return {trunc(segX_), trunc(segY_)}; }

    Battle& b_;
    const int shooter_;
    // The weapon is read once: nothing in the shot changes what the shooter holds.
    const EquipmentType weapon_;
    const bool flames_;
    std::optional<Rgb> colour_;
    ShotFlight flight_;
    SavedArea saved_;
    double segX_ = 0, segY_ = 0; // the current segment's start; none yet
    bool traceShown_ = false;
};

FiredShot::FiredShot(Battle& b, int shooter, int degree, double x0, double y0, const ShotCall& call)
    : b_(b), shooter_(shooter), weapon_(b.item(b.Pieces[shooter].Items[1])),
      flames_(weapon_.Effect == "Flames"), colour_(traceColour(weapon_)),
      flight_(b, shooter, degree, x0, y0) {
    tell(b_, ShotFired{shooter_,
                       call.kind,
                       {trunc(x0), trunc(y0)},
                       flight_.degree(),
                       call.strayed,
                       call.stray,
                       call.target});
    if (!colour_)
        b_.warning("The weapon \"" + weapon_.Name + "\" has the trace colour \"" +
                   weapon_.TraceColour +
                   "\", which is not a whole number; its shot leaves no trace.");
    if (flames_) b_.play("flames");
}

void FiredShot::fly() {
    const FlightGround ground(b_);
    for (FlightMoment m; (m = flight_.next(ground)) != FlightMoment::Ended;) {
        if (m == FlightMoment::SegmentBegins) segmentBegins();
        if (m == FlightMoment::ObstacleProbe) obstacleMet();
        if (m == FlightMoment::SoldierProbe) soldierMet();
        if (m == FlightMoment::SegmentEnds) segmentEnds();
    }
    if (flight_.stopped()) return;
    const Point end{trunc(flight_.x()), trunc(flight_.y())};
    tell(b_, ShotStopped{shooter_,
                         flight_.end() == FlightEnd::OffMap ? ShotEnd::OffMap : ShotEnd::Spent,
                         end,
                         {squareOf(end.x), squareOf(end.y)},
                         0,
                         {},
                         segment()});
}

void FiredShot::segmentBegins() {
    // A bullet shows as a dash moving along; a flame's jet stays and grows.
    if (!flames_ && segX_ != 0 && segY_ != 0) saved_.putBack(b_);
    segX_ = flight_.segmentX();
    segY_ = flight_.segmentY();
    traceShown_ = true;
    saved_.take(b_, trunc(segX_), trunc(segY_));
}

void FiredShot::obstacleMet() {
    const Point at{flight_.probeX(), flight_.probeY()};
    const Point square{squareOf(at.x), squareOf(at.y)};
    // What stands there, named before the impact may break it.
    const int glyph = b_.cellAt(square.x, square.y).Glyph;
    int found = 0;
    if (!ImpactTest(b_, shooter_, at.x, at.y, found) || found != 0) return;
    flight_.stop();
    traceShown_ = false;
    if (!flames_) b_.play("explode");
    tell(b_, ShotStopped{shooter_, ShotEnd::Obstacle, at, square, 0, b_.glyph(glyph).Description,
                         segment()});
}

void FiredShot::soldierMet() {
    const Point at{flight_.probeX(), flight_.probeY()};
    int found = 0;
    if (!ImpactTest(b_, shooter_, at.x, at.y, found) || found == 0) return;
    hitSoldier(found, at);
    flight_.stop();
}

void FiredShot::segmentEnds() {
    const int travelled = flight_.travelled();
    int width = flames_ ? travelled / 20 : 1;
    if (travelled / 32 < 2) width = 1;
    if (colour_)
        b_.TerrainBitmap.line(segment(), {trunc(flight_.x()), trunc(flight_.y())}, *colour_, width,
                              weapon_.AmmoType == kDottedAmmo);
    tell(b_, ShotSegment{shooter_, segment(), flight_.x(), flight_.y(), traceShown_});
}

// A soldier met by the projectile: damage, the toughness roll and perhaps
// his death.
void FiredShot::hitSoldier(int target, Point pixel) {
    int damage = RollDamage(b_, b_.ports, shooter_);
    placePieces(b_);
    b_.play("explode");
    placePieces(b_);
    PieceRecord& t = b_.Pieces[target];
    tell(b_, ShotStopped{shooter_,
                         ShotEnd::Soldier,
                         pixel,
                         {squareOf(pixel.x), squareOf(pixel.y)},
                         target,
                         t.Name,
                         segment()});

    const int rolled = damage;
    const int roll = b_.rng.random(10) + 1;
    Toughness toughness = Toughness::Whole;
    if (1 < roll && roll < t.Toughness) {
        damage /= 2;
        toughness = Toughness::Halved;
        b_.log("Damage reduced due to toughness");
        b_.play("dizzy1");
    } else if (roll == 1) {
        damage = 0;
        toughness = Toughness::Cancelled;
        b_.log("No damage done");
        b_.play("dizzy2");
    }
    const int left = t.Wounds > damage ? t.Wounds - damage : 0;
    tell(b_, DamageDone{shooter_, target, Harm::Shot, rolled, toughness, damage, left});

    const bool onMap = Battle::onMap(t.X, t.Y);
    if (t.Wounds > damage) {
        t.Wounds -= damage;
    } else {
        t.Wounds = 0;
        if (onMap)
            b_.TerrainBitmap.draw(unitPicture(b_, t.Picture, kDeadFrame), (t.X - 1) * kSquare,
                                  (t.Y - 1) * kSquare);
        // A dead Operative leaves nothing to pick up.
        if (t.Side != b_.HumanSide)
            for (int slot = 1; slot <= 6; ++slot) t.Items[slot] = 0;
        tell(b_, SoldierDied{target, shooter_, Harm::Shot, {t.X, t.Y}});
    }

    t.Overwatch = false; // a hit always ends overwatch
    if (t.Wounds < 1) t.Frame = kDeadFrame;
    if (damage != 0)
        b_.log(t.Name + " has been shot, taking " + std::to_string(damage) + " points of damage.");
    if (t.Wounds < 1) {
        b_.log(t.Name + " is dead.");
        b_.play("dead");
        if (onMap) b_.cell(t.X, t.Y).Solidity = 0;
    }
    ShowPieceStats(b_, target);
}

// Repaints the tiles of the squares in view (soldiers' squares keep their
// pictures), so that objects broken by the shot disappear.
void FiredShot::redrawVisibleSquares() {
    const int right = viewWidth(b_) - mapImageLeft(b_);
    const int bottom = viewHeight(b_) - mapImageTop(b_);
    const int firstX = std::max(1, (right - viewWidth(b_)) / kSquare + 1);
    const int lastX = std::min(kMapWidth, (right - 1) / kSquare + 1);
    const int firstY = std::max(1, (bottom - viewHeight(b_)) / kSquare + 1);
    const int lastY = std::min(kMapHeight, (bottom - 1) / kSquare + 1);
    for (int y = firstY; y <= lastY; ++y)
        for (int x = firstX; x <= lastX; ++x) {
            const int glyph = b_.cell(x, y).Glyph;
            if (glyph == kOccupiedGlyph) continue;
            b_.drawGlyph(x, y, glyph);
            b_.copySquare(x, y);
        }
}

void FiredShot::redrawAllSquares() {
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            const int glyph = b_.cell(x, y).Glyph;
            if (glyph != kOccupiedGlyph) b_.drawGlyph(x, y, glyph);
        }
}

void FiredShot::cleanUp() {
    if (flames_) {
        FlameBurst(b_, shooter_, flight_.x(), flight_.y(), flight_.degree());
        traceShown_ = false;
    }
    // Take the last trace segment away again.
    if (segX_ != 0 && segY_ != 0) saved_.putBack(b_);
    if (!traceShown_) redrawVisibleSquares();
    if (flames_) redrawAllSquares();
    tell(b_, ShotEnded{shooter_, segment(), traceShown_});
}

// The "Victory!" tile has fallen to the shot.
void wonByTheShot(Battle& b) {
    b.FireMode = false;
    b.HandFightMode = false;
    b.cursor = CursorShape::Default;
    b.beat(Beat::VictoryPause);
    b.play("SignOff");
    b.beat(Beat::Fanfare);
    showCurrentState(b);
    b.information("You have won. Mardok has been destroyed.");
    b.armedShot = ArmedShot::None;
    placePieces(b);
}

} // namespace

void FireBullet(Battle& b, int shooter, double angle, double startX, double startY,
                [[maybe_unused]] double targetX, [[maybe_unused]] double targetY,
                const ShotCall& call) {
    if (!isPiece(b, shooter)) {
        b.MapClicksEnabled = true;
        return;
    }
    FiredShot shot(b, shooter, trunc(angle), startX, startY, call);
    shot.fly();
    shot.cleanUp();
    if (b.GameOver) wonByTheShot(b);
    b.MapClicksEnabled = true;
    FocusPiece(b, shooter);
}

} // namespace korvath
