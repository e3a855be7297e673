#include "game/display/InfoPanel.h"
#include "game/state/Pieces.h"

#include <charconv>

namespace korvath {

int floorItem(const std::string& action) {
    if (action.compare(0, 4, "item") != 0) return 0;
    const auto underscore = action.find('_');
    if (underscore == std::string::npos) return 0;
    const char* first = action.data() + underscore + 1;
    const char* last = action.data() + action.size();
    int e = 0;
    const auto [end, ec] = std::from_chars(first, last, e);
    if (ec != std::errc{} || end != last || e < 1 || e > kMaxEquipment) return 0;
    return e;
}

namespace {

void showNumbers(Battle& b, int i) {
    const PieceRecord& p = b.Pieces[i];
    Controls& c = b.controls;
    c.panelPiece = i;
    c.NameLabel.text = p.Name;
    c.ActionPointsLabel.text = std::to_string(p.AP);
    c.WSlabel.text = std::to_string(p.Attack);
    c.BSlabel.text = std::to_string(p.Shoot);
    c.Strengthlabel.text = std::to_string(p.Strength);
    c.ToughLabel.text = std::to_string(p.Toughness);
    c.WoundsLabel.text = std::to_string(p.Wounds);
    c.EnduranceLabel.text = std::to_string(p.Endurance);
    c.CoolLabel.text = std::to_string(p.Cool);
    c.FatigueLabel.text = std::to_string(p.Fatigue);
    // An empty hand holds no ammunition, whatever the last weapon held.
    c.AmmoLabel.text = std::to_string(p.Items[1] == 0 ? 0 : p.Ammo);

    const EquipmentType& hand = b.item(p.Items[1]);
    c.WeaponLabel.text = hand.Name;
    c.QuickShotLabel.text = std::to_string(hand.QuickShotAP);
    c.AimedShotLabel.text = std::to_string(hand.AimedShotAP);

    c.EquipGrid.rows.resize(6);
    for (int k = 0; k < 6; ++k) c.EquipGrid.rows[k] = {b.item(p.Items[k + 1]).Name};
}

} // namespace

void ShowPieceStats(Battle& b, int i) {
    if (!isPiece(b, i)) return;
    if (b.Pieces[i].Overwatch) b.controls.InfoLabel.text = "** overwatch **";
    showNumbers(b, i);
}

void RefreshPieceStats(Battle& b) {
    if (isPiece(b, b.controls.panelPiece)) showNumbers(b, b.controls.panelPiece);
}

void FillPickList(Battle& b, int p) {
    Control& list = b.controls.PickItems;
    list.rows.clear();
    list.row = -1;
    b.PickList.clear();
    if (!validIndex(p)) {
        b.controls.PickUpButton.enabled = false;
        return;
    }
    const PieceRecord& me = b.Pieces[p];

    if (const int e = floorItem(b.glyph(me.UnderGlyph).Action)) {
        list.rows.push_back({b.item(e).Name});
        list.row = 0;
        b.PickList.push_back({e, 0, 0});
    }

    // Bodies on the same square can be searched. Only the killed (Wounds
    // exactly 0) count, and bare hands are not an item to take.
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& other = b.Pieces[i];
        if (i == p || other.Name.empty() || other.X != me.X || other.Y != me.Y || other.Wounds != 0)
            continue;
        bool added = false;
        for (int j = 1; j <= 6; ++j) {
            const int e = other.Items[j];
            if (e < 1 || e > kMaxEquipment || b.item(e).Name == "Unarmed") continue;
            list.rows.push_back({b.item(e).Name});
            b.PickList.push_back({e, i, j});
            added = true;
        }
        if (added) list.row = 0;
    }

    b.controls.PickUpButton.enabled = !list.rows.empty();
}

} // namespace korvath
