#include "game/combat/Overwatch.h"
#include "game/state/Pieces.h"

#include "game/combat/Shooting.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/display/InfoPanel.h"

namespace korvath {

bool CheckOverWatch(Battle& b, int watcherSideSoldier, int mover) {
    const int watchSide = validIndex(watcherSideSoldier) ? b.Pieces[watcherSideSoldier].Side : 0;
    bool result = false;
    if (isPiece(b, mover)) {
        for (int i = 1; i <= kMaxPieces && !b.Pieces[i].Name.empty(); ++i) {
            PieceRecord& w = b.Pieces[i];
            const PieceRecord& m = b.Pieces[mover];
            const int sx = squareCentre(w.X), sy = squareCentre(w.Y);
            const int tx = squareCentre(m.X), ty = squareCentre(m.Y);
            const double a = Bearing(sx, sy, tx, ty);
            const EquipmentType& weapon = b.item(w.Items[1]);
            if (PieceDistance(b, mover, i) >= weapon.Range) continue;
            if (w.Side != watchSide || !w.Overwatch || m.Wounds <= 0 || w.Wounds <= 0) continue;

            int hitX = 0, hitY = 0;
            const bool clearLine = TraceShotLine(b, i, hitX, hitY, a, sx, sy);
            const bool enoughAP = w.AP >= weapon.QuickShotAP;
            if (enoughAP && clearLine) {
                DrawTargetDiscs(b);
                if (b.HumanTurn) {
                    b.FireMode = true;
                    ShowPieceStats(b, i);
                }
                int found = 0;
                if (IsEnemy(b, b.HumanSide, hitX, hitY, found)) {
                    b.rng.reseedFromTimeOfDay(b.timeOfDay());
                    const Aim aim = AimDeviation(b.rng, a, w.Shoot);
                    b.log(w.Name + " sees opponent and fires.");
                    tell(b, ReactionShot{i, mover, false});
                    result = true;
                    if (w.Ammo > 0) {
                        FireBullet(b, i, aim.angle, sx, sy, tx, ty,
                                   {ShotKind::Reaction, aim.strayed, aim.stray, mover});
                        w.Ammo = static_cast<uint8_t>(w.Ammo - 1);
                    } else {
                        b.log(w.Name + "'s weapon is no longer loaded.");
                    }
                }
                // The shot is paid for even from an empty weapon; the watcher keeps watching.
                w.AP -= weapon.QuickShotAP;
            } else if (!enoughAP && clearLine) {
                b.log(w.Name + " does not have enough actionpoint to fire");
                if (b.HumanTurn) b.play("beep");
                w.Overwatch = false;
            } else if (enoughAP && !clearLine) {
                if (watchSide == b.HumanSide)
                    b.log(w.Name + " cannot get a clear shot at the enemy");
            }
        }
    }
    placePieces(b);
    b.FireMode = false;
    return result;
}

void EndOfMoveReaction(Battle& b, int mover) {
    if (!isPiece(b, mover)) return;
    bool visible = false;
    int target = 0;
    NearestEnemy(b, mover, b.Pieces[mover].X, b.Pieces[mover].Y, visible, target, &b);
    // Only when the nearest Operative sees the mover does anybody react.
    if (!isPiece(b, target) || !ICanSeeTheEnemy(b, target, mover, &b)) return;

    for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
        PieceRecord& w = b.Pieces[k];
        if (!w.Overwatch || w.Wounds <= 0 || w.Side == b.HumanSide) continue;
        if (!ICanSeeTheEnemy(b, k, mover, &b)) continue;
        if (w.AP < b.item(w.Items[1]).QuickShotAP) continue;

        DrawTargetDiscs(b);
        b.repaint();
        const PieceRecord& m = b.Pieces[mover];
        const int sx = squareCentre(w.X), sy = squareCentre(w.Y);
        const int tx = squareCentre(m.X), ty = squareCentre(m.Y);
        // No stray and no cost: the watcher had the mover in its sights all along.
        const double a = Bearing(sx, sy, tx, ty);
        tell(b, ReactionShot{k, mover, true});
        if (w.Ammo > 0) {
            FireBullet(b, k, static_cast<int>(a), sx, sy, tx, ty,
                       {ShotKind::Reaction, false, 0, mover});
            w.Ammo = static_cast<uint8_t>(w.Ammo - 1);
        } else {
            b.log(w.Name + "'s weapon is no longer loaded.");
        }
    }
}

} // namespace korvath
