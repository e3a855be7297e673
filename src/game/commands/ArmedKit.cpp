#include "game/commands/ArmedKit.h"

#include "engine/ShownText.h"
#include "game/commands/Commands.h"
#include "game/state/Pieces.h"

namespace korvath {

namespace {

std::string armedName(const BattleState& b) {
    const int slot = b.SelectedItemSlot;
    if (!isPiece(b, b.SelectedPiece) || b.Pieces[b.SelectedPiece].Items[slot] == 0)
        return "An empty row";
    return shownText(b.item(b.Pieces[b.SelectedPiece].Items[slot]).Name);
}

} // namespace

// The map click's own steps with a row armed: no shot or blow armed, the
// player's turn, the battle begun; its treatment step on an own soldier, and
// with nobody selected for a walk, no other step acts.
ArmedKitClick armedKitAt(const BattleState& b, int mx, int my) {
    ArmedKitClick click;
    if (mx < 0 || my < 0 || mx >= kMapPixelsX || my >= kMapPixelsY || !b.MapClicksEnabled ||
        b.SelectedItemSlot < 1 || b.SelectedItemSlot > 6 || b.FireMode || b.HandFightMode ||
        b.deploying || !b.HumanTurn)
        return click;
    const int tx = mx / kSquare + 1, ty = my / kSquare + 1;
    if (treatmentReaches(b, tx, ty)) {
        click.plan = treatmentAt(b, mx, my);
        click.kind = click.plan.kind == HealPlan::Kind::None ? ArmedKitClick::Kind::PutBack
                                                             : ArmedKitClick::Kind::Treatment;
    } else if (!b.PieceSelected) {
        click.kind = ArmedKitClick::Kind::Nothing;
    }
    return click;
}

std::string describeArmedKit(const BattleState& b, const ArmedKitClick& click) {
    switch (click.kind) {
    case ArmedKitClick::Kind::Treatment:
        return describeHeal(b, click.plan);
    case ArmedKitClick::Kind::PutBack:
        return armedName(b) + " chosen in the equipment grid: a click on a soldier only puts it "
                              "back (it heals nothing)";
    case ArmedKitClick::Kind::Nothing:
        return armedName(b) + " chosen in the equipment grid: a click here does nothing (click "
                              "its row again to put it back)";
    case ArmedKitClick::Kind::NotArmed:
        break;
    }
    return {};
}

} // namespace korvath
