#include "game/combat/Healing.h"
#include "game/state/Pieces.h"

#include "engine/TextFile.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"

#include <algorithm>

// Treating a wounded soldier with the kit chosen in the equipment grid.
namespace korvath {

void healingClick(Battle& b, int mx, int my) {
    b.actionButtons = ActionButtons::all(true);
    b.statusLine.clear();
    // The map click disarms the chosen slot once the treatment is over, and
    // the Drop button only works on an armed slot.
    b.dropOffered = false;

    const int healerIndex = b.SelectedPiece;
    const int slot = b.SelectedItemSlot;
    if (!isPiece(b, healerIndex) || slot < 1 || slot > 6) return;
    PieceRecord& healer = b.Pieces[healerIndex];

    const int tx = mx / kSquare + 1, ty = my / kSquare + 1;
    PieceRecord* patient = nullptr;
    for (int i = 1; i <= kMaxPieces && !patient; ++i)
        if (b.Pieces[i].X == tx && b.Pieces[i].Y == ty && b.Pieces[i].Wounds > 0)
            patient = &b.Pieces[i];
    if (!patient) return;

    // The kit in the armed slot: the grid's row clicked to arm it.
    const EquipmentType& kit = b.item(healer.Items[slot]);
    if (kit.Effect != "wounds") return;
    const int needed = kit.Weight + 3;

    if (healer.AP < needed) {
        b.messageLog.clear();
        b.log("not enough action points to heal soldier");
        b.play("beep");
        return;
    }

    b.play("select");
    if (patient->Wounds == patient->MaxWounds) {
        b.messageLog.clear();
        b.log("Soldier is not wounded");
        b.play("beep");
        return;
    }
    int restored = 0;
    if (!parseInt(kit.Value, restored)) restored = 0;
    patient->Wounds = std::min(patient->Wounds + restored, patient->MaxWounds);
    b.messageLog.clear();
    b.log("Soldier is treated for wounds sustained");
    // Treatment takes the rest of the turn of both, even when he treats himself.
    patient->AP = 0;
    healer.AP = 0;
    b.play("beep");
    ShowPieceStats(b, healerIndex);
    placePieces(b);
}

} // namespace korvath
