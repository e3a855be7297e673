#include "game/combat/Healing.h"
#include "game/state/Pieces.h"

#include "engine/TextFile.h"
#include "game/display/InfoPanel.h"

#include <algorithm>

// Treating a wounded soldier with the kit chosen in the equipment grid.
namespace korvath {

bool treatWounded(BattleState& b, const Ports& ports, int mx, int my) {
    b.actionButtons = ActionButtons::all(true);
    b.statusLine.clear();
    // The map click disarms the chosen slot once the treatment is over, and
    // the Drop button only works on an armed slot.
    b.dropOffered = false;

    const int healerIndex = b.SelectedPiece;
    const int slot = b.SelectedItemSlot;
    if (!isPiece(b, healerIndex) || slot < 1 || slot > 6) return false;
    PieceRecord& healer = b.Pieces[healerIndex];

    const int patientIndex = livingSoldierAt(b, mx / kSquare + 1, my / kSquare + 1);
    if (patientIndex == 0) return false;
    PieceRecord* patient = &b.Pieces[patientIndex];

    // The kit in the armed slot: the grid's row clicked to arm it.
    const EquipmentType& kit = b.item(healer.Items[slot]);
    if (kit.Effect != "wounds") return false;
    const int needed = kit.Weight + 3;

    if (healer.AP < needed) {
        b.messageLog.clear();
        b.log("not enough action points to heal soldier");
        ports.play("beep");
        return false;
    }

    ports.play("select");
    if (patient->Wounds == patient->MaxWounds) {
        b.messageLog.clear();
        b.log("Soldier is not wounded");
        ports.play("beep");
        return false;
    }
    int restored = 0;
    if (!parseInt(kit.Value, restored)) restored = 0;
    const int before = patient->Wounds, ap = healer.AP;
    patient->Wounds = std::min(patient->Wounds + restored, patient->MaxWounds);
    b.messageLog.clear();
    b.log("Soldier is treated for wounds sustained");
    // Treatment takes the rest of the turn of both, even when he treats himself.
    patient->AP = 0;
    healer.AP = 0;
    ports.tell(Heal{healerIndex, patientIndex, patient->Wounds - before, ap});
    ports.play("beep");
    ShowPieceStats(b, healerIndex);
    return true;
}

} // namespace korvath
