#include "game/commands/StagedRules.h"

#include "game/combat/CloseCombat.h"
#include "game/combat/Healing.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"

namespace korvath {

void handFightClick(Battle& b, int mx, int my) {
    BattleStage stage(b);
    if (strikeBlow(b, stage.ports(), mx, my)) placePieces(b);
}

void healingClick(Battle& b, int mx, int my) {
    BattleStage stage(b);
    if (treatWounded(b, stage.ports(), mx, my)) placePieces(b);
}

} // namespace korvath
