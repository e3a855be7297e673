#include "Overwatch.h"

#include "Commands.h"
#include "Display.h"
#include "InfoPanel.h"
#include "Shooting.h"
#include "Sight.h"

namespace korvath {

namespace {

bool validPiece(const Battle& b, int i) {
    return i >= 1 && i <= kMaxPieces && !b.Pieces[i].Name.empty();
}

int centre(int square) {
    return square * kSquare - 16;
}

} // namespace

void OverwatchButtonClick(Battle& b) {
    if (!b.PieceSelected || !validPiece(b, b.SelectedPiece)) return;
    PieceRecord& p = b.Pieces[b.SelectedPiece];
    // Going on overwatch costs nothing: the points pay for the reaction shots.
    if (p.AP >= b.item(p.Items[1]).QuickShotAP) {
        p.Overwatch = true;
        b.log(p.Name + " goes into overwatch.");
        CancelButtonClick(b);
        b.controls.AimedFireIcon.down = false;
        b.controls.SnapFireIcon.down = false;
    } else {
        b.log(p.Name + " does not have enough action point to go into overwatch.");
    }
}

bool CheckOverWatch(Battle& b, int watcherSideSoldier, int mover) {
    const int watchSide = watcherSideSoldier >= 1 && watcherSideSoldier <= kMaxPieces
                              ? b.Pieces[watcherSideSoldier].Side
                              : 0;
    bool result = false;
    if (validPiece(b, mover)) {
        for (int i = 1; i <= kMaxPieces && !b.Pieces[i].Name.empty(); ++i) {
            PieceRecord& w = b.Pieces[i];
            const PieceRecord& m = b.Pieces[mover];
            const int sx = centre(w.X), sy = centre(w.Y);
            const int tx = centre(m.X), ty = centre(m.Y);
            double a = Bearing(sx, sy, tx, ty);
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
                    b.rng.reseedFromTimeOfDay(b.ports.clock ? b.ports.clock->msSinceMidnight() : 0);
                    a = AimDeviation(b, a, w.Shoot);
                    b.log(w.Name + " sees opponent and fires.");
                    shotWait(b, 800, true);
                    result = true;
                    if (w.Ammo > 0) {
                        FireBullet(b, i, a, sx, sy, tx, ty);
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
    if (!validPiece(b, mover)) return;
    bool visible = false;
    int target = 0;
    NearestEnemy(b, mover, b.Pieces[mover].X, b.Pieces[mover].Y, visible, target);
    // Only when the nearest Operative sees the mover does anybody react.
    if (!validPiece(b, target) || !ICanSeeTheEnemy(b, target, mover)) return;

    for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
        PieceRecord& w = b.Pieces[k];
        if (!w.Overwatch || w.Wounds <= 0 || w.Side == b.HumanSide) continue;
        if (!ICanSeeTheEnemy(b, k, mover)) continue;
        if (w.AP < b.item(w.Items[1]).QuickShotAP) continue;

        DrawTargetDiscs(b);
        shotRepaint(b);
        const PieceRecord& m = b.Pieces[mover];
        const int sx = centre(w.X), sy = centre(w.Y);
        const int tx = centre(m.X), ty = centre(m.Y);
        // No stray and no cost: the watcher had the mover in its sights all along.
        const double a = Bearing(sx, sy, tx, ty);
        if (w.Ammo > 0) {
            FireBullet(b, k, static_cast<int>(a), sx, sy, tx, ty);
            w.Ammo = static_cast<uint8_t>(w.Ammo - 1);
        } else {
            b.log(w.Name + "'s weapon is no longer loaded.");
        }
    }
}

} // namespace korvath
