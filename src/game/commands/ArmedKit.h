#pragma once
#include "game/combat/Healing.h"
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// What a left click on the map does while a row of the equipment grid is
// armed: the kit goes to the own soldier clicked (a treatment, or for kit
// that heals nothing only put back), and anywhere else the click does
// nothing at all, which a player who armed a row and went back to the map
// cannot otherwise tell.
struct ArmedKitClick {
    enum class Kind {
        NotArmed,  // no row armed, or the click is a shot, a blow or a walk
        Treatment, // `plan` says what the treatment does
        PutBack,   // on an own soldier, kit that heals nothing is only put back
        Nothing,   // the click changes nothing
    };
    Kind kind = Kind::NotArmed;
    HealPlan plan;
};

ArmedKitClick armedKitAt(const BattleState& b, int mx, int my);
// In the words of the status bar; "" when not armed.
std::string describeArmedKit(const BattleState& b, const ArmedKitClick& click);

} // namespace korvath
