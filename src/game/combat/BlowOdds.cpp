#include "game/combat/BlowOdds.h"
#include "game/state/Pieces.h"

#include "game/combat/DamageSpread.h"

#include <algorithm>

namespace korvath {

BlowOdds blowOdds(const BattleState& b, int attacker, int target) {
    BlowOdds out;
    out.attacker = attacker;
    out.target = target;
    if (!isPiece(b, attacker) || !isPiece(b, target)) return out;
    const PieceRecord& a = b.Pieces[attacker];
    const PieceRecord& t = b.Pieces[target];
    // r = 1..100 lands when Attack >= r; r2 = 1..100 parries when 5 x Toughness >= r2.
    out.lands = std::clamp(a.Attack, 0, 100) / 100.0;
    const double parry = std::clamp<int64_t>(int64_t{t.Toughness} * 5, 0, 100) / 100.0;
    out.parried = out.lands * parry;
    const double through = out.lands - out.parried;
    const HitHarm h = wholeHarm(DamageSpread(b, attacker), t.Wounds);
    out.wounded = through * h.wounded;
    out.killed = through * h.killed;
    out.damage = h.damage;
    return out;
}

} // namespace korvath
