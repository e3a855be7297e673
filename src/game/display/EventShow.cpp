#include "game/display/EventShow.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"
#include "game/state/ShotArea.h"

#include "game/display/Display.h"

namespace korvath {

namespace {

using pixel_math::nearest;
using pixel_math::trunc;

// The view's right and bottom edges, in map pixels.
int viewRight(const Battle& b) {
    return viewWidth(b) - mapImageLeft(b);
}
int viewBottom(const Battle& b) {
    return viewHeight(b) - mapImageTop(b);
}

// Keeps the flying projectile in view: near the view's edge it comes to the
// middle, and so it does when the shooter drifts too far from it.
void followShot(Battle& b, const PieceRecord& shooter, double x, double y) {
    const int right = viewRight(b), bottom = viewBottom(b);
    const int w = viewWidth(b), h = viewHeight(b);
    const int px = trunc(x), py = trunc(y);
    if (px < right - w + 10 || px > right - 10 || py < bottom - h + 10 || py > bottom - 10) {
        ScrollToPoint(b, nearest(x), nearest(y));
    } else if (shooter.X * kSquare > px + w / 2 - 20 || shooter.X * kSquare < px - w / 2 + 20 ||
               shooter.Y * kSquare > py + h / 2 - 20 || shooter.Y * kSquare < py - h / 2 + 20) {
        ScrollToPoint(b, px, py);
    }
}

bool playersShot(const Battle& b, int shooter) {
    return pieceOrNone(b, shooter).Side == b.HumanSide;
}

struct Show {
    Battle& b;

    void operator()(const ShotFired& e) const {
        if (playersShot(b, e.shooter)) ++b.tally.shotsFired;
    }
    void operator()(const ShotSegment& e) const {
        followShot(b, pieceOrNone(b, e.shooter), e.x, e.y);
        if (e.shown) showShotArea(b, e.from);
        b.repaint();
        b.beat(Beat::ShotSegment);
    }
    void operator()(const ShotStopped& e) const {
        if (e.end == ShotEnd::Obstacle) {
            showShotArea(b, e.segment);
            b.repaint();
        } else if (e.end == ShotEnd::Soldier) {
            if (playersShot(b, e.shooter) &&
                pieceOrNone(b, e.soldier).Side != pieceOrNone(b, e.shooter).Side)
                ++b.tally.hits;
            showShotArea(b, e.segment);
            b.repaint();
            b.beat(Beat::HitShown);
        }
    }
    // The shield that halved or stopped a shot's damage, then the wounded
    // soldier flashing once for each point.
    void operator()(const DamageDone& e) const {
        if (e.harm != Harm::Shot) return;
        if (e.toughness == Toughness::Halved || e.toughness == Toughness::Cancelled) {
            (e.toughness == Toughness::Halved ? b.hitHalved : b.hitCancelled) = true;
            b.repaint();
            b.beat(Beat::ToughnessShown);
        }
        const PieceRecord& t = pieceOrNone(b, e.target);
        if (e.done <= 0 || !Battle::onMap(t.X, t.Y)) return;
        for (int k = 1; k <= e.done; ++k) {
            const Raster& picture =
                k % 2 == 1 ? b.glyph(kFlashGlyph).Picture : unitPicture(b, t.Picture, t.Frame);
            b.showPicture(picture, (t.X - 1) * kSquare, (t.Y - 1) * kSquare);
            b.repaint();
            b.beat(Beat::HitFlash);
        }
    }
    void operator()(const SoldierDied& e) const {
        if (e.harm != Harm::Shot) return;
        if (Battle::onMap(e.square.x, e.square.y)) b.copySquare(e.square.x, e.square.y);
        b.repaint();
        b.beat(Beat::Death);
    }
    void operator()(const ShotEnded& e) const {
        if (e.shown) showShotArea(b, e.segment);
        if (!b.hitHalved && !b.hitCancelled) return;
        b.beat(Beat::ShieldsShown);
        b.hitHalved = false;
        b.hitCancelled = false;
        b.repaint();
    }
    void operator()(const ReactionShot& e) const {
        if (!e.endOfWalk) b.beat(Beat::WatcherAnnounced);
    }
    // The rest shows in the squares, the soldiers and the log the rules drew.
    template <typename E> void operator()(const E&) const {}
};

} // namespace

void tell(Battle& b, const BattleEvent& e) {
    b.undo.heard(e);
    if (b.ports.events) b.ports.events->happened(e);
    std::visit(Show{b}, e);
}

void showShotArea(Battle& b, Point segment) {
    const ShotArea area(segment.x, segment.y);
    for (int ty = area.firstY; ty <= area.lastY; ++ty)
        for (int tx = area.firstX; tx <= area.lastX; ++tx) {
            if (b.squareInSync(tx + 1, ty + 1)) continue;
            int l, t, r, bottom;
            area.clip(tx, ty, l, t, r, bottom);
            if (r - l == kSquare && bottom - t == kSquare) {
                b.copySquare(tx + 1, ty + 1);
                continue;
            }
            b.showRectFrom(b.TerrainBitmap, l, t, r - l, bottom - t);
        }
}

} // namespace korvath
