#include "game/combat/Impacts.h"
#include "game/state/Pieces.h"

#include "game/state/PixelMath.h"

#include "game/combat/Events.h"
#include "game/combat/Flight.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"

#include <string>

// What a projectile meets and what it does to the map: breaking objects,
// switching off force fields, objective and victory tiles, and the fire of a
// flame weapon's burst.
namespace korvath {

namespace {

constexpr int kVerticalGenerator = 28;
constexpr int kVerticalField = 46;
constexpr int kHorizontalGenerator = 29;
constexpr int kHorizontalField = 47;
constexpr int kFirstFlameGlyph = 92;
constexpr int kHeavyDamage = 13; // an object of Solidity 3 falls to more than this

// The square becomes plain floor and is painted so on the terrain picture.
void makeFloor(Battle& b, int x, int y, bool draw = true) {
    b.cell(x, y).Glyph = kFloorGlyph;
    b.cell(x, y).Solidity = 0;
    if (draw) b.drawGlyph(x, y, kFloorGlyph);
}

// An object the shot destroyed: it becomes floor, and says so.
void destroy(Battle& b, int x, int y, bool draw = true) {
    const int before = b.cell(x, y).Glyph;
    makeFloor(b, x, y, draw);
    tell(b, ObjectDestroyed{{x, y}, before, kFloorGlyph});
}

// A generator hit hard enough switches off the nearest line of field squares:
// the last field square in the 7 x 7 block around the generator (largest row,
// then largest column) seeds the run, which is cleared in both directions.
void switchOffField(Battle& b, int tx, int ty, int field, bool vertical) {
    int bx = 0, by = 0;
    for (int y = ty - 3; y <= ty + 3; ++y)
        for (int x = tx - 3; x <= tx + 3; ++x)
            if (Battle::onMap(x, y) && b.cell(x, y).Glyph == field) {
                bx = x;
                by = y;
            }
    if (bx == 0) return;
    const int dx = vertical ? 0 : 1, dy = vertical ? 1 : 0;
    int squares = 0;
    for (int x = bx, y = by; Battle::onMap(x, y) && b.cell(x, y).Glyph == field; x -= dx, y -= dy) {
        makeFloor(b, x, y);
        ++squares;
    }
    for (int x = bx + dx, y = by + dy; Battle::onMap(x, y) && b.cell(x, y).Glyph == field;
         x += dx, y += dy) {
        makeFloor(b, x, y);
        ++squares;
    }
    b.copyAll();
    tell(b, ForceFieldDown{{tx, ty}, squares});
}

void hitObstacle(Battle& b, int shooter, int tx, int ty) {
    const int r6 = b.rng.random(6) + 1;
    const int dmg = RollDamage(b, b.ports, shooter);
    const std::string act = b.glyph(b.cell(tx, ty).Glyph).Action;

    if (act == "Victory!") {
        b.GameOver = true;
        destroy(b, tx, ty);
    } else if (act.compare(0, 5, "event") == 0) {
        // Any hit destroys an objective tile; its event comes when the last
        // square showing that tile is gone.
        const int old = b.cell(tx, ty).Glyph;
        destroy(b, tx, ty);
        placePieces(b);
        b.copySquare(tx, ty);
        b.repaint();
        bool remains = false;
        for (int x = 1; x <= kMapWidth && !remains; ++x)
            for (int y = 1; y <= kMapHeight && !remains; ++y) remains = b.cell(x, y).Glyph == old;
        if (!remains) RunEventFile(b, b.glyph(old).Action);
    } else if (b.cell(tx, ty).Solidity == 3 && dmg > kHeavyDamage) {
        destroy(b, tx, ty);
    }

    const int g = b.cell(tx, ty).Glyph;
    if (g == kVerticalGenerator && dmg > kHeavyDamage)
        switchOffField(b, tx, ty, kVerticalField, true);
    if (g == kHorizontalGenerator && dmg > kHeavyDamage)
        switchOffField(b, tx, ty, kHorizontalField, false);

    // A weak object falls one time in two; the shot's clean-up repaints it.
    if (b.cell(tx, ty).Solidity == 2 && r6 >= 4) destroy(b, tx, ty, false);
}

void burnSoldier(Battle& b, int shooter, int i, int x, int y) {
    const int damage = RollDamage(b, b.ports, shooter);
    PieceRecord& p = b.Pieces[i];
    tell(b, DamageDone{shooter, i, Harm::Flames, damage, Toughness::None, damage,
                       p.Wounds > damage ? p.Wounds - damage : 0});
    if (p.Wounds > damage) {
        p.Wounds -= damage;
    } else {
        p.Wounds = 0;
        if (p.Picture >= 1 && p.Picture <= kPictureRows) {
            const Raster& body = unitPicture(b, p.Picture, kDeadFrame);
            b.TerrainBitmap.draw(body, (x - 1) * kSquare, (y - 1) * kSquare);
            b.showPicture(body, (x - 1) * kSquare, (y - 1) * kSquare);
        }
        tell(b, SoldierDied{i, shooter, Harm::Flames, {x, y}});
    }
    if (p.Wounds < 1) p.Frame = kDeadFrame;
    b.log(p.Name + " has been shot, taking " + std::to_string(damage) + " points of damage.");
    if (p.Wounds < 1) {
        b.log(p.Name + " is dead.");
        b.play("dead");
        b.cell(x, y).Solidity = b.glyph(p.UnderGlyph).Action == "access" ? 3 : 0;
    }
}

} // namespace

bool ImpactTest(Battle& b, int shooter, int px, int py, int& found) {
    const Impact met = impactAt(FlightGround(b), px, py);
    found = met.soldier;
    if (met.kind == Impact::Obstacle)
        hitObstacle(b, shooter, pixel_math::squareOf(px), pixel_math::squareOf(py));
    return met.kind != Impact::Open;
}

void FlameBurst(Battle& b, int shooter, double x, double y, int d) {
    d = ((d % 360) + 360) % 360;
    x -= 16 * b.CosTable[d];
    y -= 16 * b.SinTable[d];
    const int cx = static_cast<int>(x / kSquare) + 1, cy = static_cast<int>(y / kSquare) + 1;
    for (int sy = cy - 1; sy <= cy + 1; ++sy)
        for (int sx = cx - 1; sx <= cx + 1; ++sx) {
            if (!Battle::onMap(sx, sy)) continue;
            MapCell& c = b.cell(sx, sy);
            if (c.Solidity == 0 && c.Glyph != kOccupiedGlyph) {
                c.Glyph = static_cast<uint8_t>(kFirstFlameGlyph + b.rng.random(3));
                c.Solidity = 2;
                b.showPicture(b.glyph(c.Glyph).Picture, (sx - 1) * kSquare, (sy - 1) * kSquare);
            }
            if (c.Solidity == 1) {
                const int i = livingSoldierAt(b, sx, sy);
                if (i > 0) burnSoldier(b, shooter, i, sx, sy);
            }
        }
}

} // namespace korvath
