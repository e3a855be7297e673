#include "game/combat/Healing.h"
#include "game/state/Pieces.h"

#include "engine/ShownText.h"
#include "engine/TextFile.h"
#include "game/display/InfoPanel.h"

#include <algorithm>

// Treating a wounded soldier with the kit chosen in the equipment grid.
namespace korvath {

HealPlan planHeal(const BattleState& b, int mx, int my) {
    HealPlan plan;
    const int slot = b.SelectedItemSlot;
    if (!isPiece(b, b.SelectedPiece) || slot < 1 || slot > 6) return plan;
    const PieceRecord& healer = b.Pieces[b.SelectedPiece];
    const int patient = livingSoldierAt(b, mx / kSquare + 1, my / kSquare + 1);
    if (patient == 0) return plan;
    // The kit in the armed slot: the grid's row clicked to arm it.
    const EquipmentType& kit = b.item(healer.Items[slot]);
    if (kit.Effect != "wounds") return plan;
    plan.healer = b.SelectedPiece;
    plan.patient = patient;
    plan.cost = kit.Weight + 3;
    plan.ap = healer.AP;
    const PieceRecord& p = b.Pieces[patient];
    if (healer.AP < plan.cost) {
        plan.kind = HealPlan::Kind::TooFewPoints;
    } else if (p.Wounds == p.MaxWounds) {
        plan.kind = HealPlan::Kind::NotWounded;
    } else {
        int restored = 0;
        if (!parseInt(kit.Value, restored)) restored = 0;
        plan.kind = HealPlan::Kind::Heal;
        plan.restored = std::min(p.Wounds + restored, static_cast<int>(p.MaxWounds)) - p.Wounds;
    }
    return plan;
}

std::string describeHeal(const BattleState& b, const HealPlan& plan) {
    if (plan.kind == HealPlan::Kind::None) return {};
    const std::string name = shownText(b.Pieces[plan.patient].Name);
    const std::string ap = std::to_string(plan.cost) + " AP";
    switch (plan.kind) {
    case HealPlan::Kind::TooFewPoints:
        return "Too few points to heal: " + ap + ", has " + std::to_string(plan.ap);
    case HealPlan::Kind::NotWounded:
        return name + " is not wounded";
    default:
        return "Heal " + name + ": " + (plan.restored >= 0 ? "+" : "") +
               std::to_string(plan.restored) + " wounds, " + ap +
               (plan.patient == plan.healer ? " (your turn ends)" : " (his turn and yours end)");
    }
}

bool treatWounded(BattleState& b, const Ports& ports, int mx, int my) {
    b.actionButtons = ActionButtons::all(true);
    b.statusLine.clear();
    // The map click disarms the chosen slot once the treatment is over, and
    // the Drop button only works on an armed slot.
    b.dropOffered = false;

    const HealPlan plan = planHeal(b, mx, my);
    if (plan.kind == HealPlan::Kind::None) return false;
    if (plan.kind == HealPlan::Kind::TooFewPoints) {
        b.messageLog.clear();
        b.log("not enough action points to heal soldier");
        ports.play("beep");
        return false;
    }
    ports.play("select");
    if (plan.kind == HealPlan::Kind::NotWounded) {
        b.messageLog.clear();
        b.log("Soldier is not wounded");
        ports.play("beep");
        return false;
    }
    PieceRecord& healer = b.Pieces[plan.healer];
    PieceRecord& patient = b.Pieces[plan.patient];
    patient.Wounds += plan.restored;
    b.messageLog.clear();
    b.log("Soldier is treated for wounds sustained");
    // Treatment takes the rest of the turn of both, even when he treats himself.
    patient.AP = 0;
    healer.AP = 0;
    ports.tell(Heal{plan.healer, plan.patient, plan.restored, plan.ap});
    ports.play("beep");
    ShowPieceStats(b, plan.healer);
    return true;
}

} // namespace korvath
