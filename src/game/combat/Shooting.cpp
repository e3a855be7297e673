#include "game/combat/Shooting.h"
#include "game/state/Pieces.h"

#include "game/combat/Impacts.h"
#include "game/combat/ShotPath.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"

#include <charconv>
#include <cmath>

namespace korvath {

namespace {

constexpr int kSaveSize = 150; // the area kept to erase a trace segment
constexpr int kSaveHalf = 75;  // the segment starts in its middle
constexpr int kDottedAmmo = 7; // arc weapons draw a dotted trace

int trunc(double v) {
    return static_cast<int>(v);
}
int nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}

const Raster& unitPicture(const Battle& b, int picture, int frame) {
    static const Raster none;
    if (picture < 1 || picture > kPictureRows || frame < 1 || frame > kPictureFrames) return none;
    return b.UnitPictures[picture][frame];
}

// The area saved around the start of the current trace segment, to erase the
// segment again. Only the squares a segment touches change, so the area is
// not copied whole: the squares it covers are kept in the battle's shot
// shadow, each copied there only when the terrain changed since, and only
// the squares changed since the area was taken are put back or shown.
struct SavedArea {
    int left = 0, top = 0;
    int firstX = 0, firstY = 0, lastX = -1, lastY = -1; // squares covered, from 0
    std::vector<uint32_t> versions;                     // the terrain's change counts when taken

    void take(Battle& b, int x, int y) {
        left = x - kSaveHalf;
        top = y - kSaveHalf;
        firstX = std::max(0, left / kSquare - (left < 0));
        firstY = std::max(0, top / kSquare - (top < 0));
        lastX = std::min(kMapWidth - 1, (left + kSaveSize - 1) / kSquare);
        lastY = std::min(kMapHeight - 1, (top + kSaveSize - 1) / kSquare);
        Battle::ShotShadow& shadow = b.shotShadow;
        if (shadow.squares.empty()) {
            shadow.squares.resize(kMapWidth * kMapHeight);
            shadow.versions.assign(kMapWidth * kMapHeight, 0);
        }
        versions.clear();
        for (int ty = firstY; ty <= lastY; ++ty)
            for (int tx = firstX; tx <= lastX; ++tx) {
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
    // The part of square (tx, ty) inside the area.
    void clip(int tx, int ty, int& l, int& t, int& r, int& bottom) const {
        l = std::max(tx * kSquare, left);
        t = std::max(ty * kSquare, top);
        r = std::min(tx * kSquare + kSquare, left + kSaveSize);
        bottom = std::min(ty * kSquare + kSquare, top + kSaveSize);
    }
    void putBack(Battle& b) const {
        size_t k = 0;
        for (int ty = firstY; ty <= lastY; ++ty)
            for (int tx = firstX; tx <= lastX; ++tx, ++k) {
                if (b.TerrainBitmap.tileVersion(tx, ty) == versions[k]) continue;
                int l, t, r, bottom;
                clip(tx, ty, l, t, r, bottom);
                b.TerrainBitmap.blit(b.shotShadow.squares[ty * kMapWidth + tx], l - tx * kSquare,
                                     t - ty * kSquare, r - l, bottom - t, l, t);
            }
    }
    // Shows that area of the terrain picture on the screen.
    void show(Battle& b) const {
        for (int ty = firstY; ty <= lastY; ++ty)
            for (int tx = firstX; tx <= lastX; ++tx) {
                if (b.squareInSync(tx + 1, ty + 1)) continue;
                int l, t, r, bottom;
                clip(tx, ty, l, t, r, bottom);
                if (r - l == kSquare && bottom - t == kSquare) {
                    b.copySquare(tx + 1, ty + 1);
                    continue;
                }
                b.showRectFrom(b.TerrainBitmap, l, t, r - l, bottom - t);
            }
    }
};

void releaseFireButtons(Battle& b) {
    b.armedShot = ArmedShot::None;
}

// A soldier met by the projectile: damage, the toughness roll, the flashes
// and perhaps his death.
void hitSoldier(Battle& b, int shooter, int target, const SavedArea& area) {
    int damage = RollDamage(b, shooter);
    area.show(b);
    placePieces(b);
    b.repaint();
    b.play("explode");
    placePieces(b);
    b.beat(Beat::HitShown);

    PieceRecord& t = b.Pieces[target];
    const int roll = b.rng.random(10) + 1;
    if (1 < roll && roll < t.Toughness) {
        damage /= 2;
        b.log("Damage reduced due to toughness");
        b.hitHalved = true;
        b.repaint();
        b.play("dizzy1");
        b.beat(Beat::ToughnessShown);
    } else if (roll == 1) {
        damage = 0;
        b.log("No damage done");
        b.hitCancelled = true;
        b.repaint();
        b.play("dizzy2");
        b.beat(Beat::ToughnessShown);
    }

    const bool onMap = Battle::onMap(t.X, t.Y);
    const int x0 = (t.X - 1) * kSquare, y0 = (t.Y - 1) * kSquare;
    if (damage > 0 && onMap) {
        for (int k = 1; k <= damage; ++k) {
            const Raster& picture =
                k % 2 == 1 ? b.glyph(kFlashGlyph).Picture : unitPicture(b, t.Picture, t.Frame);
            b.TerrainBitmap.draw(picture, x0, y0);
            b.copySquare(t.X, t.Y);
            b.repaint();
            b.beat(Beat::HitFlash);
        }
    }

    if (t.Wounds > damage) {
        t.Wounds -= damage;
    } else {
        t.Wounds = 0;
        if (onMap) {
            b.TerrainBitmap.draw(unitPicture(b, t.Picture, kDeadFrame), x0, y0);
            b.copySquare(t.X, t.Y);
        }
        b.repaint();
        // A dead Operative leaves nothing to pick up.
        if (t.Side != b.HumanSide)
            for (int slot = 1; slot <= 6; ++slot) t.Items[slot] = 0;
        b.beat(Beat::Death);
    }

    t.Overwatch = false; // a hit always ends overwatch
    if (t.Wounds < 1) t.Frame = kDeadFrame;
    if (damage != 0)
        b.log(t.Name + " has been shot, taking " + std::to_string(damage) + " points of damage.");
    if (t.Wounds < 1) {
        b.log(t.Name + " is dead.");
        b.play("dead");
        if (onMap) b.cell(t.X, t.Y).Solidity = 0;
    }
    ShowPieceStats(b, target);
}

// Keeps the flying projectile in view.
void followShot(Battle& b, const PieceRecord& shooter, double x, double y) {
    const View& v = b.view;
    const int px = trunc(x), py = trunc(y);
    if (px < v.right - v.width + 10 || px > v.right - 10 || py < v.bottom - v.height + 10 ||
        py > v.bottom - 10) {
        ScrollToPoint(b, nearest(x), nearest(y));
    } else if (shooter.X * kSquare > px + viewWidth(b) / 2 - 20 ||
               shooter.X * kSquare < px - viewWidth(b) / 2 + 20 ||
               shooter.Y * kSquare > py + viewHeight(b) / 2 - 20 ||
               shooter.Y * kSquare < py - viewHeight(b) / 2 + 20) {
        ScrollToPoint(b, px, py);
    }
}

// Repaints the tiles of the squares in view (soldiers' squares keep their
// pictures), so that objects broken by the shot disappear.
void redrawVisibleSquares(Battle& b) {
    const View& v = b.view;
    const int firstX = std::max(1, (v.right - v.width) / kSquare + 1);
    const int lastX = std::min(kMapWidth, (v.right - 1) / kSquare + 1);
    const int firstY = std::max(1, (v.bottom - v.height) / kSquare + 1);
    const int lastY = std::min(kMapHeight, (v.bottom - 1) / kSquare + 1);
    for (int y = firstY; y <= lastY; ++y)
        for (int x = firstX; x <= lastX; ++x) {
            const int glyph = b.cell(x, y).Glyph;
            if (glyph == kOccupiedGlyph) continue;
            b.drawGlyph(x, y, glyph);
            b.copySquare(x, y);
        }
}

void redrawAllSquares(Battle& b) {
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            const int glyph = b.cell(x, y).Glyph;
            if (glyph != kOccupiedGlyph) b.drawGlyph(x, y, glyph);
        }
}

// The shot's outcome, for the window to tell: a new shot of soldier i.
void shotLeaves(Battle& b, int i) {
    b.lastShot = {b.lastShot.number + 1, ShotEnd::None, 0, 0, i, {}};
    if (b.Pieces[i].Side == b.HumanSide) ++b.tally.shotsFired;
}

void shotStops(Battle& b, ShotEnd end, int px, int py, std::string what) {
    ShotOutcome& s = b.lastShot;
    s.end = end;
    s.x = px / kSquare + 1;
    s.y = py / kSquare + 1;
    s.what = std::move(what);
}

} // namespace

std::optional<Rgb> traceColour(const EquipmentType& weapon) {
    const std::string& text = weapon.TraceColour;
    uint32_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (text.empty() || ec != std::errc{} || end != last) return std::nullopt;
    return fromBgr(value);
}

double AimDeviation(Battle& b, double angle, int shoot) {
    const int roll = b.rng.random(100) + 1;
    if (roll > shoot) {
        const int m = b.rng.random(10) + b.rng.random(10) + 1;
        angle = angle - 10 + m;
    }
    if (angle < 0) angle += 360;
    if (angle > 360) angle -= 360;
    return angle;
}

void FireButtonClick(Battle& b, FireButton sender) {
    if (sender == FireButton::Aimed) b.armedShot = ArmedShot::Aimed;
    if (sender == FireButton::Quick) b.armedShot = ArmedShot::Quick;
    if (b.PieceSelected && isPiece(b, b.SelectedPiece) &&
        b.item(b.Pieces[b.SelectedPiece].Items[1]).Kind == "Firearm") {
        b.SelectedItemSlot = 0;
        b.HandFightMode = false;
        DrawTargetDiscs(b);
        b.FireMode = true;
        b.cursor = CursorShape::Aim;
    } else {
        b.log("You cannot shoot with that");
    }
}

void fireClick(Battle& b, int mx, int my) {
    if (!isPiece(b, b.SelectedPiece)) return;
    const int shooter = b.SelectedPiece;
    PieceRecord& s = b.Pieces[shooter];
    const EquipmentType& weapon = b.item(s.Items[1]);
    // Only the low byte of a shot's cost counts.
    int cost = 0;
    if (b.armedShot == ArmedShot::Aimed) cost = weapon.AimedShotAP & 0xFF;
    if (b.armedShot == ArmedShot::Quick) cost = weapon.QuickShotAP & 0xFF;
    const bool ready = b.FireMode && !b.HandFightMode && b.HumanTurn && !b.deploying;

    // A soldier killed by his own flames stays selected, but shoots no more.
    if (ready && s.AP >= cost && s.Ammo > 0 && s.Wounds > 0) {
        b.MapClicksEnabled = false;
        const int sx = s.X * kSquare - 16, sy = s.Y * kSquare - 16;
        double angle = Bearing(sx, sy, mx, my);
        b.rng.reseedFromTimeOfDay(b.timeOfDay());
        angle = AimDeviation(b, angle, s.Shoot);
        if (weapon.Effect != "Flames") b.play("fire");
        FireBullet(b, shooter, trunc(angle), sx, sy, mx, my);
        s.Ammo = static_cast<uint8_t>(s.Ammo - 1);
        s.AP -= cost;
        ShowPieceStats(b, shooter);
        if (!b.GameOver) {
            placePieces(b);
            FireButtonClick(b, FireButton::None);
        }
        return;
    }
    if (!ready) return;
    if (s.AP < weapon.QuickShotAP) {
        b.log("not enough action points");
        b.play("select");
    } else if (s.Ammo < 1) {
        b.log("Weapon has run out of ammunition");
        b.play("select");
    }
}

void ShootEnemy(Battle& b, int shooter, int target) {
    if (!isPiece(b, shooter)) return;
    PieceRecord& s = b.Pieces[shooter];
    bool visible = false;
    NearestEnemy(b, shooter, s.X, s.Y, visible, target);
    if (!visible || !isPiece(b, target)) return;
    const EquipmentType& weapon = b.item(s.Items[1]);
    if (s.AP < weapon.QuickShotAP) return;

    DrawTargetDiscs(b);
    b.repaint();
    const int sx = s.X * kSquare - 16, sy = s.Y * kSquare - 16;
    const PieceRecord& t = b.Pieces[target];
    const int tx = t.X * kSquare - 16, ty = t.Y * kSquare - 16;
    double angle = Bearing(sx, sy, tx, ty);
    b.play("fire");
    angle = AimDeviation(b, angle, s.Shoot);
    if (s.Ammo > 0) {
        FireBullet(b, shooter, trunc(angle), sx, sy, tx, ty);
        s.Ammo = static_cast<uint8_t>(s.Ammo - 1);
    } else {
        b.log(s.Name + "'s weapon is no longer loaded.");
    }
    s.AP -= weapon.QuickShotAP;
    placePieces(b);
}

void FireBullet(Battle& b, int shooter, double angle, double startX, double startY, double,
                double) {
    if (!isPiece(b, shooter)) {
        b.MapClicksEnabled = true;
        return;
    }
    shotLeaves(b, shooter);
    // The weapon is read once: nothing in the shot changes what the shooter holds.
    const EquipmentType weapon = b.item(b.Pieces[shooter].Items[1]);
    const bool flames = weapon.Effect == "Flames";
    int d = trunc(angle);
    if (d < 0 || d > 360) d = ((d % 360) + 360) % 360;

    const std::optional<Rgb> colour = traceColour(weapon);
    if (!colour)
        b.warning("The weapon \"" + weapon.Name + "\" has the trace colour \"" +
                  weapon.TraceColour +
                  "\", which is not a whole number; its shot leaves no trace.");

    SavedArea area;
    double x = startX, y = startY;
    const double x0 = startX, y0 = startY;
    double segX = 0, segY = 0;
    bool continuing = true, traceShown = false;
    int travelled = 0, found = 0;
    // Without direction tables the projectile could never move on.
    if (b.CosTable[d] == 0 && b.SinTable[d] == 0) continuing = false;
    if (flames) b.play("flames");
    const int steps = flames ? 10 : 15;

    do {
        // A bullet shows as a dash moving along; a flame's jet stays and grows.
        if (!flames && segX != 0 && segY != 0) area.putBack(b);
        segX = x;
        segY = y;
        traceShown = true;
        area.take(b, trunc(segX), trunc(segY));
        // Nothing is met within the first segment: the shot leaves the shooter's square.
        const bool firstSegment = segX == x0 && segY == y0;

        for (int step = 1; step <= steps && continuing; ++step) {
            x += b.CosTable[d];
            y += b.SinTable[d];
            if (firstSegment) continue;
            if (const int px = trunc(x), py = trunc(y); b.TerrainBitmap.pixel(px, py) != 0) {
                // What stands there, named before the impact may break it.
                const int glyph = b.cellAt(px / kSquare + 1, py / kSquare + 1).Glyph;
                if (ImpactTest(b, shooter, px, py, found) && found == 0) {
                    shotStops(b, ShotEnd::Obstacle, px, py, b.glyph(glyph).Description);
                    continuing = false;
                    traceShown = false;
                    if (!flames) b.play("explode");
                    area.show(b);
                    b.repaint();
                }
            }
            if (b.TerrainBitmap.pixel(nearest(x), nearest(y)) != 0 &&
                ImpactTest(b, shooter, nearest(x), nearest(y), found) && found > 0) {
                shotStops(b, ShotEnd::Soldier, nearest(x), nearest(y), b.Pieces[found].Name);
                if (b.Pieces[found].Side != b.Pieces[shooter].Side &&
                    b.Pieces[shooter].Side == b.HumanSide)
                    ++b.tally.hits;
                hitSoldier(b, shooter, found, area);
                continuing = false;
            }
        }

        followShot(b, b.Pieces[shooter], x, y);

        int width = flames ? travelled / 20 : 1;
        if (travelled / 32 < 2) width = 1;
        if (colour)
            b.TerrainBitmap.line({trunc(segX), trunc(segY)}, {trunc(x), trunc(y)}, *colour, width,
                                 weapon.AmmoType == kDottedAmmo);
        if (traceShown) area.show(b);
        b.repaint();
        b.beat(Beat::ShotSegment);

        travelled = nearest(std::sqrt((x - x0) * (x - x0) + (y - y0) * (y - y0)));
        if (weapon.Range * kSquare < travelled) continuing = false;
    } while (x > 0 && y >= 0 && x < kMapPixelsX && y < kMapPixelsY && continuing);
    if (b.lastShot.end == ShotEnd::None)
        shotStops(b, continuing ? ShotEnd::OffMap : ShotEnd::Spent, trunc(x), trunc(y), {});

    if (flames) {
        FlameBurst(b, shooter, x, y, d);
        traceShown = false;
    }

    // Clean-up: take the last trace segment away again.
    if (segX != 0 && segY != 0) area.putBack(b);
    if (traceShown)
        area.show(b);
    else
        redrawVisibleSquares(b);
    if (flames) redrawAllSquares(b);

    if (b.hitHalved || b.hitCancelled) {
        b.beat(Beat::ShieldsShown);
        b.hitHalved = false;
        b.hitCancelled = false;
        b.repaint();
    }

    if (b.GameOver) {
        b.FireMode = false;
        b.HandFightMode = false;
        b.cursor = CursorShape::Default;
        b.beat(Beat::VictoryPause);
        b.play("SignOff");
        b.beat(Beat::Fanfare);
        showCurrentState(b);
        b.information("You have won. Mardok has been destroyed.");
        releaseFireButtons(b);
        placePieces(b);
    }

    b.MapClicksEnabled = true;
    FocusPiece(b, shooter);
}

} // namespace korvath
