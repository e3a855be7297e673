#include "game/combat/Overwatch.h"
#include "game/state/Pieces.h"

#include "game/combat/Flight.h"
#include "game/combat/Shooting.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/display/InfoPanel.h"

namespace korvath {

WatchJudgement judgeWatcher(const FlightGround& g, int watchSide, int i, int mover) {
    const BattleState& b = g.battle();
    WatchJudgement out;
    const PieceRecord& w = b.Pieces[i];
    const PieceRecord& m = b.Pieces[mover];
    const Point from = g.square(i), to = g.square(mover);
    const int sx = squareCentre(from.x), sy = squareCentre(from.y);
    out.angle = Bearing(sx, sy, squareCentre(to.x), squareCentre(to.y));
    const EquipmentType& weapon = b.item(w.Items[1]);
    if (PieceDistance(g, mover, i) >= weapon.Range) return out;
    if (w.Side != watchSide || !w.Overwatch || m.Wounds <= 0 || w.Wounds <= 0) return out;
    const bool clearLine = TraceShotLine(g, i, out.hitX, out.hitY, out.angle, sx, sy);
    const bool enoughAP = w.AP >= weapon.QuickShotAP;
    if (enoughAP && clearLine)
        out.reply = WatchReply::Fires;
    else if (clearLine)
        out.reply = WatchReply::TooFewPoints;
    else if (enoughAP)
        out.reply = WatchReply::NoClearLine;
    return out;
}

bool CheckOverWatch(Battle& b, int watcherSideSoldier, int mover) {
    const int watchSide = validIndex(watcherSideSoldier) ? b.Pieces[watcherSideSoldier].Side : 0;
    bool result = false;
    if (isPiece(b, mover)) {
        for (int i = 1; i <= kMaxPieces && !b.Pieces[i].Name.empty(); ++i) {
            PieceRecord& w = b.Pieces[i];
            const PieceRecord& m = b.Pieces[mover];
            const int sx = squareCentre(w.X), sy = squareCentre(w.Y);
            const int tx = squareCentre(m.X), ty = squareCentre(m.Y);
            const EquipmentType& weapon = b.item(w.Items[1]);
            const WatchJudgement j = judgeWatcher(FlightGround(b), watchSide, i, mover);
            if (j.reply == WatchReply::Fires) {
                DrawTargetDiscs(b);
                if (b.HumanTurn) {
                    b.FireMode = true;
                    ShowPieceStats(b, i);
                }
                int found = 0;
                if (IsEnemy(b, b.HumanSide, j.hitX, j.hitY, found)) {
                    b.rng.reseedFromTimeOfDay(b.timeOfDay());
                    const Aim aim = AimDeviation(b.rng, j.angle, w.Shoot);
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
            } else if (j.reply == WatchReply::TooFewPoints) {
                b.log(w.Name + " does not have enough actionpoint to fire");
                if (b.HumanTurn) b.play("beep");
                w.Overwatch = false;
            } else if (j.reply == WatchReply::NoClearLine) {
                if (watchSide == b.HumanSide)
                    b.log(w.Name + " cannot get a clear shot at the enemy");
            }
        }
    }
    placePieces(b);
    b.FireMode = false;
    return result;
}

bool endOfMoveSpotted(const FlightGround& g, int spotter, int mover) {
    return isPiece(g.battle(), spotter) && ICanSeeTheEnemy(g, spotter, mover);
}

bool endOfMoveFires(const FlightGround& g, int k, int mover, Screen* traces, int spent) {
    const BattleState& b = g.battle();
    const PieceRecord& w = b.Pieces[k];
    if (!w.Overwatch || w.Wounds <= 0 || w.Side == b.HumanSide) return false;
    // The real reaction looks over the battle itself, painting the
    // developer's sight traces as it looks.
    if (!(traces ? ICanSeeTheEnemy(b, k, mover, traces) : ICanSeeTheEnemy(g, k, mover)))
        return false;
    return w.AP - spent >= b.item(w.Items[1]).QuickShotAP;
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
        if (!endOfMoveFires(FlightGround(b), k, mover, &b)) continue;

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
