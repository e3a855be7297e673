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

void showNumbers(BattleState& b, int i) {
    const PieceRecord& p = b.Pieces[i];
    PanelTexts& t = b.panel;
    t.piece = i;
    t.name = p.Name;
    t.ap = std::to_string(p.AP);
    t.attack = std::to_string(p.Attack);
    t.shoot = std::to_string(p.Shoot);
    t.strength = std::to_string(p.Strength);
    t.toughness = std::to_string(p.Toughness);
    t.wounds = std::to_string(p.Wounds);
    t.endurance = std::to_string(p.Endurance);
    t.cool = std::to_string(p.Cool);
    t.fatigue = std::to_string(p.Fatigue);
    // An empty hand holds no ammunition, whatever the last weapon held.
    t.ammo = std::to_string(p.Items[1] == 0 ? 0 : p.Ammo);

    const EquipmentType& hand = b.item(p.Items[1]);
    t.weapon = hand.Name;
    t.quickShot = std::to_string(hand.QuickShotAP);
    t.aimedShot = std::to_string(hand.AimedShotAP);

    for (int k = 0; k < 6; ++k) t.kit[k] = b.item(p.Items[k + 1]).Name;
}

} // namespace

void ShowPieceStats(BattleState& b, int i) {
    if (!isPiece(b, i)) return;
    if (b.Pieces[i].Overwatch) b.statusLine = "** overwatch **";
    showNumbers(b, i);
}

void RefreshPieceStats(BattleState& b) {
    if (isPiece(b, b.panel.piece)) showNumbers(b, b.panel.piece);
}

void FillPickList(BattleState& b, int p) {
    b.PickList.clear();
    b.pickRow = -1;
    if (!validIndex(p)) return;
    const PieceRecord& me = b.Pieces[p];

    if (const int e = floorItem(b.glyph(me.UnderGlyph).Action)) {
        b.PickList.push_back({e, 0, 0});
        b.pickRow = 0;
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
            b.PickList.push_back({e, i, j});
            added = true;
        }
        if (added) b.pickRow = 0;
    }
}

} // namespace korvath
