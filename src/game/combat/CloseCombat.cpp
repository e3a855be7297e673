#include "game/combat/CloseCombat.h"
#include "game/state/Pieces.h"

#include "game/combat/Impacts.h"
#include "game/display/InfoPanel.h"

#include <cmath>

// Hand-to-hand fighting: the blow at the square clicked.
namespace korvath {

namespace {

PieceRecord* selectedSoldier(BattleState& b) {
    const int i = b.SelectedPiece;
    if (!isPiece(b, i)) return nullptr;
    return &b.Pieces[i];
}

// Whoever decides what stands on a square: the first living soldier there.
// An enemy is his index, one of ours is -1, nobody is 0.
int blowTarget(const BattleState& b, int x, int y) {
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X != x || p.Y != y || p.Wounds <= 0) continue;
        return p.Side != b.HumanSide ? i : -1;
    }
    return 0;
}

// A blow that was struck, landed or not, costs the weapon's quick-shot points.
void payForBlow(BattleState& b, PieceRecord& attacker) {
    attacker.AP -= b.item(attacker.Items[1]).QuickShotAP;
    ShowPieceStats(b, b.SelectedPiece);
}

} // namespace

bool strikeBlow(BattleState& b, const Ports& ports, int mx, int my) {
    PieceRecord* attacker = selectedSoldier(b);
    if (!attacker) return false;

    // Only the eight squares around him and his own are in reach: a diagonal
    // neighbour is 1.41 squares away, which cuts down to 1.
    const int dx = (attacker->X - 1) - mx / kSquare;
    const int dy = (attacker->Y - 1) - my / kSquare;
    const int d = static_cast<int>(std::trunc(std::sqrt(static_cast<double>(dx * dx + dy * dy))));
    if (d > 1) {
        b.log("That enemy is too far");
        ports.play("beep");
        return false;
    }

    ports.play("select");
    const int target = blowTarget(b, mx / kSquare + 1, my / kSquare + 1);
    const int r = b.rng.percentile();

    if (target > 0) {
        PieceRecord& enemy = b.Pieces[target];
        if (attacker->Attack >= r) {
            b.log(attacker->Name + " attacks and hits " + enemy.Name);
            const int r2 = b.rng.percentile();
            ports.play("explode");
            if (enemy.Toughness * 5 >= r2) {
                // Parried: nothing is lost on either side.
                b.log(enemy.Name + " defends against your attack");
                ports.tell(Blow{b.SelectedPiece, target, true, true, 0});
                return false;
            }
            // The full weight of the weapon: no toughness halving as for shots.
            const int damage = RollDamage(b, ports, b.SelectedPiece);
            enemy.Wounds -= damage;
            if (enemy.Wounds < 1) enemy.Wounds = 0;
            b.log("doing " + std::to_string(damage) + " points of damage");
            ports.tell(Blow{b.SelectedPiece, target, true, false, damage});
            if (enemy.Wounds < 1)
                ports.tell(SoldierDied{target, b.SelectedPiece, Harm::Blow, {enemy.X, enemy.Y}});
            payForBlow(b, *attacker);
            return true;
        } else {
            b.log(attacker->Name + " attacks and misses " + enemy.Name);
            ports.tell(Blow{b.SelectedPiece, target, false, false, 0});
            payForBlow(b, *attacker);
            return true;
        }
    }
    if (target == -1) {
        b.log("That is one of your own men");
        ports.play("beep");
    }
    return false;
}

} // namespace korvath
