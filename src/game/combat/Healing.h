#pragma once
#include "game/state/BattleState.h"
#include "game/state/Ports.h"

#include <string>

namespace korvath {

// What a treatment click at map pixel (mx, my) does with the kit in the armed
// slot: the click carries out this plan, and the window tells it on hover.
struct HealPlan {
    enum class Kind {
        None,         // no kit armed, no soldier there, or the armed item heals nothing
        Heal,         // the patient gets `restored` wounds back; both turns end
        TooFewPoints, // the healer has fewer than `cost` points
        NotWounded,   // the patient has all his wounds
    };
    Kind kind = Kind::None;
    int healer = 0, patient = 0;
    int restored = 0; // wounds given back, never past his maximum
    int cost = 0;     // the points the treatment asks for (it then takes them all)
    int ap = 0;       // the healer's points now
};

HealPlan planHeal(const BattleState& b, int mx, int my);

// The plan in the player's words: "Heal Kira Sol: +4 wounds, 5 AP (his turn
// and yours end)", "Kira Sol is not wounded", "Too few points to heal: 5 AP,
// has 3"; empty for None.
std::string describeHeal(const BattleState& b, const HealPlan& plan);

// The kit in the armed slot of the equipment grid, applied by the selected
// soldier to the own soldier at map pixel (mx, my). True when a soldier was
// treated, so that the squad is drawn anew.
bool treatWounded(BattleState& b, const Ports& ports, int mx, int my);

} // namespace korvath
