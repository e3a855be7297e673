#include "game/combat/Shooting.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"

#include "game/combat/Sight.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"

#include <charconv>

// The player's side of shooting (the two shot buttons and the map click that
// fires) and the computer's shot. The shot itself is FireBullet.
namespace korvath {

namespace {

using pixel_math::squareOf;
using pixel_math::trunc;

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

Aim AimDeviation(Random& rng, double angle, int shoot) {
    Aim aim;
    const int roll = rng.random(100) + 1;
    if (roll > shoot) {
        const int m = rng.random(10) + rng.random(10) + 1;
        angle = angle - 10 + m;
        aim.strayed = true;
        aim.stray = m - 10;
    }
    if (angle < 0) angle += 360;
    if (angle > 360) angle -= 360;
    aim.angle = angle;
    return aim;
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
        const int sx = squareCentre(s.X), sy = squareCentre(s.Y);
        const double angle = Bearing(sx, sy, mx, my);
        b.rng.reseedFromTimeOfDay(b.timeOfDay());
        const Aim aim = AimDeviation(b.rng, angle, s.Shoot);
        if (weapon.Effect != "Flames") b.play("fire");
        const ShotKind kind = b.armedShot == ArmedShot::Quick ? ShotKind::Quick : ShotKind::Aimed;
        FireBullet(b, shooter, trunc(aim.angle), sx, sy, mx, my,
                   {kind, aim.strayed, aim.stray, livingSoldierAt(b, squareOf(mx), squareOf(my))});
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
    NearestEnemy(b, shooter, s.X, s.Y, visible, target, &b);
    if (!visible || !isPiece(b, target)) return;
    const EquipmentType& weapon = b.item(s.Items[1]);
    if (s.AP < weapon.QuickShotAP) return;

    DrawTargetDiscs(b);
    b.repaint();
    const int sx = squareCentre(s.X), sy = squareCentre(s.Y);
    const PieceRecord& t = b.Pieces[target];
    const int tx = squareCentre(t.X), ty = squareCentre(t.Y);
    const double angle = Bearing(sx, sy, tx, ty);
    b.play("fire");
    const Aim aim = AimDeviation(b.rng, angle, s.Shoot);
    if (s.Ammo > 0) {
        FireBullet(b, shooter, trunc(aim.angle), sx, sy, tx, ty,
                   {ShotKind::Computer, aim.strayed, aim.stray, target});
        s.Ammo = static_cast<uint8_t>(s.Ammo - 1);
    } else {
        b.log(s.Name + "'s weapon is no longer loaded.");
    }
    s.AP -= weapon.QuickShotAP;
    placePieces(b);
}

} // namespace korvath
