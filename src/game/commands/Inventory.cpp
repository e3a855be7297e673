#include "game/commands/Inventory.h"
#include "game/commands/GridPlan.h"
#include "game/state/Pieces.h"

#include "engine/TextFile.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"

#include <charconv>
#include <utility>

// The selected soldier's kit, managed from the information panel: the
// equipment grid (arm a row, then reload, exchange or disarm), the "On the
// ground" list with its Pick Up button, and the Drop Item button.
namespace korvath {

namespace {

constexpr int kSlots = 6;
constexpr int kEmptyHandFrame = 7;

PieceRecord* selectedSoldier(Battle& b) {
    const int i = b.SelectedPiece;
    if (!isPiece(b, i)) return nullptr;
    return &b.Pieces[i];
}

void clearLog(Battle& b) {
    b.messageLog.clear();
}

// Second click on the grid: the magazine in slot a goes into the weapon in
// slot s, or the item in slot a changes places with the one in slot s, as
// planSecondClick works it out.
void useArmedSlot(Battle& b, PieceRecord& p, int a, int s) {
    const GridPlan plan = planSecondClick(b, p, a, s);
    switch (plan.kind) {
    case GridPlan::Kind::Reload:
        b.play("LoadMag");
        p.Ammo = static_cast<uint8_t>(plan.ammoAfter);
        clearLog(b);
        b.log("Weapon is reloaded");
        p.AP = plan.apAfter;
        ShowPieceStats(b, b.SelectedPiece);
        // The magazine is used up.
        p.Items[a] = 0;
        b.panel.kit[a - 1].clear();
        break;
    case GridPlan::Kind::TooFewToReload:
        clearLog(b);
        b.log("not enough action points to load weapon");
        b.play("beep");
        break;
    case GridPlan::Kind::Swap:
        b.play("select");
        p.Ammo = static_cast<uint8_t>(plan.ammoAfter);
        std::swap(p.Items[a], p.Items[s]);
        p.AP = plan.apAfter;
        p.Frame = b.item(p.Items[1]).HeldFrame;
        ShowPieceStats(b, b.SelectedPiece);
        placePieces(b);
        break;
    case GridPlan::Kind::TooFewToSwap:
        clearLog(b);
        b.log("not enough action points to exchange items");
        b.play("beep");
        break;
    case GridPlan::Kind::Nothing:
        break;
    }

    // The action buttons follow whatever is now in the hand.
    b.actionButtons = ActionButtons::forHand(b.item(p.Items[1]).Kind == "Firearm");
}

// Is this entry of the "On the ground" list still where the list says? The
// list is only rebuilt when a soldier is clicked, walks or picks something up,
// so it may describe another soldier's square by now.
bool stillOnTheGround(const Battle& b, const PieceRecord& p, const PickEntry& e) {
    if (e.item < 1 || e.item > kMaxEquipment) return false;
    if (e.owner == 0) return floorItem(b.glyph(p.UnderGlyph).Action) == e.item;
    if (!validIndex(e.owner) || e.slot < 1 || e.slot > kSlots) return false;
    const PieceRecord& body = b.Pieces[e.owner];
    return &body != &p && !body.Name.empty() && body.Wounds == 0 && body.X == p.X &&
           body.Y == p.Y && body.Items[e.slot] == e.item;
}

} // namespace

void EquipGridClick(Battle& b, int row) {
    if (row < 0 || row >= kSlots) return;
    b.equipRow = row;
    const int slot = row + 1;

    // Handling kit ends move mode.
    b.PieceSelected = false;
    b.cursor = CursorShape::Default;

    if (b.SelectedItemSlot == 0) {
        b.cursor = CursorShape::HandPoint;
        b.SelectedItemSlot = static_cast<uint8_t>(slot);
    } else {
        const int armed = b.SelectedItemSlot;
        // Nobody shown in the panel: there is no kit to handle, the click
        // only disarms the row.
        if (PieceRecord* p = selectedSoldier(b); p && armed >= 1 && armed <= kSlots)
            useArmedSlot(b, *p, armed, slot);
        b.cursor = CursorShape::Default;
        b.SelectedItemSlot = 0;
    }
    b.dropOffered = b.SelectedItemSlot != 0;
}

void PickItemsChange(BattleState& b, int row) {
    if (row < 0 || row >= static_cast<int>(b.PickList.size())) return;
    b.pickRow = row;
}

void PickUpButtonClick(Battle& b) {
    const int row = b.pickRow;
    if (row < 0 || row >= static_cast<int>(b.PickList.size())) return;
    PieceRecord* p = selectedSoldier(b);
    if (!p) return;
    const PickEntry e = b.PickList[row];

    if (!stillOnTheGround(b, *p, e)) {
        // An out-of-date list: show what really lies here now.
        b.play("beep");
        FillPickList(b, b.SelectedPiece);
        return;
    }

    int free = 0;
    for (int s = 1; s <= kSlots && free == 0; ++s)
        if (p->Items[s] == 0) free = s;
    if (free == 0) {
        // Hands and pack are full: the item stays where it lies.
        b.play("beep");
        return;
    }
    p->Items[free] = e.item;

    if (e.owner != 0) {
        b.Pieces[e.owner].Items[e.slot] = 0;
    } else {
        // Plain floor remains once he walks off. While he (or a body) lies on
        // the square it keeps its occupied mark.
        p->UnderGlyph = kFloorGlyph;
        if (Battle::onMap(p->X, p->Y) && b.cell(p->X, p->Y).Glyph != kOccupiedGlyph)
            b.cell(p->X, p->Y).Glyph = kFloorGlyph;
    }

    b.play("beep");
    ShowPieceStats(b, b.SelectedPiece);
    FillPickList(b, b.SelectedPiece);
}

void DropItemClick(Battle& b) {
    const int slot = b.SelectedItemSlot;
    PieceRecord* p = selectedSoldier(b);
    if (slot < 1 || slot > kSlots || !p) return;
    if (p->Items[slot] == 0 || b.item(p->Items[slot]).Name == "Unarmed") return;

    // Thrown away for good: it does not land on the floor.
    p->Items[slot] = 0;
    if (slot == 1) p->Frame = kEmptyHandFrame;

    ShowPieceStats(b, b.SelectedPiece);
    placePieces(b);
    b.PieceSelected = false;
    b.cursor = CursorShape::Default;
}

} // namespace korvath
