#include "KitJson.h"

#include "game/commands/ArmedKit.h"
#include "game/commands/Commands.h"
#include "game/commands/GridPlan.h"
#include "game/state/Pieces.h"

namespace korvath {

namespace {

const char* kindName(GridPlan::Kind k) {
    switch (k) {
    case GridPlan::Kind::Reload:
        return "reload";
    case GridPlan::Kind::TooFewToReload:
        return "reloadTooFewPoints";
    case GridPlan::Kind::Swap:
        return "swap";
    case GridPlan::Kind::TooFewToSwap:
        return "swapTooFewPoints";
    case GridPlan::Kind::Nothing:
        break;
    }
    return "nothing";
}

const char* kindName(HealPlan::Kind k) {
    switch (k) {
    case HealPlan::Kind::Heal:
        return "heal";
    case HealPlan::Kind::TooFewPoints:
        return "tooFewPoints";
    case HealPlan::Kind::NotWounded:
        return "notWounded";
    case HealPlan::Kind::None:
        break;
    }
    return "none";
}

const char* kindName(ArmedKitClick::Kind k) {
    switch (k) {
    case ArmedKitClick::Kind::Treatment:
        return "treatment";
    case ArmedKitClick::Kind::PutBack:
        return "putBack";
    case ArmedKitClick::Kind::Nothing:
        return "nothing";
    case ArmedKitClick::Kind::NotArmed:
        break;
    }
    return "notArmed";
}

} // namespace

nlohmann::json gridPlanJson(const BattleState& b, int row) {
    const int armed = b.SelectedItemSlot, slot = row + 1;
    if (armed < 1 || armed > 6 || slot < 1 || slot > 6 || !isPiece(b, b.SelectedPiece))
        return {{"gridplan", nullptr}};
    const PieceRecord& p = b.Pieces[b.SelectedPiece];
    const GridPlan plan = planSecondClick(b, p, armed, slot);
    return {{"gridplan",
             {{"armed", armed - 1},
              {"row", row},
              {"kind", kindName(plan.kind)},
              {"cost", plan.cost},
              {"needed", plan.needed},
              {"ap", {plan.apBefore, plan.apAfter}},
              {"ammo", {plan.ammoBefore, plan.ammoAfter}},
              {"text", describePlan(b, p, slot, plan)}}}};
}

nlohmann::json healPlanJson(const BattleState& b, int mx, int my) {
    const HealPlan plan = treatmentAt(b, mx, my);
    if (plan.kind == HealPlan::Kind::None) return {{"healplan", nullptr}};
    return {{"healplan",
             {{"healer", plan.healer},
              {"patient", plan.patient},
              {"kind", kindName(plan.kind)},
              {"restored", plan.restored},
              {"cost", plan.cost},
              {"ap", plan.ap},
              {"text", describeHeal(b, plan)}}}};
}

nlohmann::json kitClickJson(const BattleState& b, int mx, int my) {
    const ArmedKitClick click = armedKitAt(b, mx, my);
    if (click.kind == ArmedKitClick::Kind::NotArmed) return {{"kitclick", nullptr}};
    return {{"kitclick", {{"kind", kindName(click.kind)}, {"text", describeArmedKit(b, click)}}}};
}

} // namespace korvath
