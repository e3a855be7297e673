#include "game/commands/Commands.h"
#include "game/state/Pieces.h"

#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"
#include "game/turns/TurnSequence.h"

#include <cctype>

namespace korvath {

namespace {

constexpr size_t kLogLineWidth = 60;

bool deploying(const BattleState& b) {
    return b.deploying;
}

// The selected soldier's record; an empty one when the index is not a soldier.
const PieceRecord& selectedSoldier(const Battle& b) {
    return pieceOrNone(b, b.SelectedPiece);
}

// Step 6: the cost of the armed shot. The cost is kept in a byte.
int armedShotCost(const Battle& b) {
    const EquipmentType& hand = b.item(selectedSoldier(b).Items[1]);
    int cost = 0;
    if (b.armedShot == ArmedShot::Aimed) cost = hand.AimedShotAP;
    if (b.armedShot == ArmedShot::Quick) cost = hand.QuickShotAP;
    return cost & 0xFF;
}

// Step 9: the clicked own soldier becomes the selected one.
void selectSoldierAt(Battle& b, int tx, int ty) {
    b.actionButtons = ActionButtons::all(true);
    b.statusLine.clear();

    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X == tx && p.Y == ty && p.Wounds > 0) {
            b.SelectedPiece = static_cast<uint8_t>(i);
            break;
        }
    }
    PieceRecord& p = b.Pieces[b.SelectedPiece];
    if (p.Overwatch) {
        b.log((p.Name + " is now no longer in overwatch").substr(0, kLogLineWidth));
        p.Overwatch = false;
    }
    b.play("select");
    b.PieceSelected = true;

    b.actionButtons = ActionButtons::forHand(b.item(p.Items[1]).Kind == "Firearm");

    FillPickList(b, b.SelectedPiece);
    FocusPiece(b, b.SelectedPiece);
}

// The first soldier of the human side in first..160 who is alive, has action
// points left and, unless overwatchToo, is not on overwatch; 0 when none.
int nextReadySoldier(const Battle& b, int first, bool overwatchToo) {
    for (int i = std::max(first, 1); i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.Side == b.HumanSide && p.Wounds > 0 && p.AP > 0 && (overwatchToo || !p.Overwatch))
            return i;
    }
    return 0;
}

} // namespace

const MapClickActions& gameMapClickActions() {
    static const MapClickActions actions{handFightClick, fireClick, walkSelectedPiece, healingClick,
                                         placePickedSoldier};
    return actions;
}

bool ownSoldierOn(const BattleState& b, int x, int y) {
    return livingOfSideOn(b, b.HumanSide, x, y);
}

bool treatmentReaches(const BattleState& b, int x, int y) {
    return !deploying(b) && b.HumanTurn && !b.HandFightMode &&
           b.cellAt(x, y).Glyph == kOccupiedGlyph && ownSoldierOn(b, x, y) &&
           b.SelectedItemSlot != 0;
}

HealPlan treatmentAt(const BattleState& b, int mx, int my) {
    if (mx < 0 || my < 0 || mx >= kMapPixelsX || my >= kMapPixelsY || !b.MapClicksEnabled)
        return {};
    const int tx = mx / kSquare + 1, ty = my / kSquare + 1;
    // A click on an own soldier drops the selection first (unless a shot is
    // armed, which then keeps it): the treatment needs it dropped.
    if (b.FireMode || !treatmentReaches(b, tx, ty)) return {};
    return planHeal(b, mx, my);
}

void redrawSoldierSquare(Battle& b, int i) {
    if (validIndex(i)) drawSoldierPicture(b, b.Pieces[i]);
}

// The map click. Each step below is its own test and sees the flags as the
// steps before it left them; at most one of the actions of steps 5 to 9 runs.
void MapImageMouseDown(Battle& b, MouseButton, ShiftState shift, int x, int y,
                       const MapClickActions& act) {
    if (x < 0 || y < 0 || x >= kMapPixelsX || y >= kMapPixelsY) return;
    const int tx = x / kSquare + 1, ty = y / kSquare + 1;

    // 1. A walk or a shot is still being shown.
    if (!b.MapClicksEnabled) {
        b.play("beep");
        return;
    }

    // 2.
    bool query = false;

    // 3. Clicking another own soldier drops the current selection so that
    // step 9 selects the clicked one.
    if (b.PieceSelected && ownSoldierOn(b, tx, ty) && !b.FireMode) {
        b.PieceSelected = false;
        placePieces(b);
    }

    // 4. Exactly the right button, nothing else held: ask what a walk would cost.
    if (b.PieceSelected && !b.FireMode && !b.HandFightMode && shift.onlyRight()) query = true;

    // 5. Close combat.
    if (b.HumanTurn && b.HandFightMode && validIndex(b.SelectedPiece) &&
        selectedSoldier(b).AP >= b.item(selectedSoldier(b).Items[1]).QuickShotAP && !deploying(b) &&
        !query)
        act.blow(b, x, y);

    // 6. A shot, or why there is none.
    if (b.FireMode && !b.HandFightMode && b.HumanTurn && !deploying(b) && !query &&
        validIndex(b.SelectedPiece)) {
        const PieceRecord& p = selectedSoldier(b);
        if (p.AP >= armedShotCost(b) && p.Ammo > 0) {
            act.shot(b, x, y);
        } else if (p.AP < b.item(p.Items[1]).QuickShotAP) {
            b.log("not enough action points");
            b.play("select");
        } else if (p.Ammo == 0) {
            b.log("Weapon has run out of ammunition");
            b.play("select");
        }
    }

    // 7. Walk, or only its cost for a query.
    if (!deploying(b) && b.PieceSelected && b.HumanTurn && !b.FireMode && !b.HandFightMode &&
        validIndex(b.SelectedPiece) && b.passable(tx, ty) && !b.GameOver)
        act.walk(b, tx, ty, query);

    // 8. An item chosen in the equipment grid is used on the clicked own soldier.
    bool healed = false;
    if (!b.PieceSelected && treatmentReaches(b, tx, ty)) {
        act.heal(b, x, y);
        b.SelectedItemSlot = 0;
        b.play("beep");
        healed = true;
    }

    // 9. Select the clicked own soldier.
    if (!healed && !deploying(b) && !b.PieceSelected && b.HumanTurn && !b.HandFightMode &&
        b.cellAt(tx, ty).Glyph == kOccupiedGlyph && ownSoldierOn(b, tx, ty) &&
        b.SelectedItemSlot == 0)
        selectSoldierAt(b, tx, ty);

    // 10. Deployment: the picked soldier goes onto a start star; any other
    // click drops the pick.
    if (b.PieceSelected && b.cellAt(tx, ty).Glyph == kStartStarGlyph && deploying(b)) {
        act.place(b, tx, ty);
    } else if (deploying(b)) {
        b.PieceSelected = false;
        b.cursor = CursorShape::Default;
        b.play("beep");
    }

    // 11.
    DrawOverheadMap(b);
}

void MapImageMouseMove(BattleState& b, int x, int y, bool hoverLine) {
    const int tx = x / kSquare + 1, ty = y / kSquare + 1;
    if (hoverLine) {
        const MapCell c = b.cellAt(tx, ty);
        std::string name;
        if (c.Glyph < kOccupiedGlyph) {
            name = b.glyph(c.Glyph).Description;
        } else {
            for (int i = 1; i <= kMaxPieces; ++i)
                if (b.Pieces[i].X == tx && b.Pieces[i].Y == ty) {
                    name = b.Pieces[i].Name;
                    break;
                }
        }
        b.hoverLine = std::to_string(tx) + " : " + std::to_string(ty) + "  " + name +
                      " S:" + std::to_string(c.Solidity);
    }

    // Later tests win.
    CursorShape& cursor = b.cursor;
    if (deploying(b) && b.PieceSelected) cursor = CursorShape::HandPoint;
    if (b.FireMode) cursor = CursorShape::Aim;
    if (b.HandFightMode) cursor = CursorShape::Sword;
    if (b.SelectedItemSlot > 0) cursor = CursorShape::HandPoint;
}

void FormMouseMove(BattleState& b) {
    b.cursor = CursorShape::Default;
}

void NextButtonClick(Battle& b) {
    if (!b.HumanTurn) return;
    const int old = b.SelectedPiece;

    // Those on overwatch are passed over, unless the search has to start
    // again from the first soldier.
    int found = nextReadySoldier(b, old + 1, false);
    if (found == 0) found = nextReadySoldier(b, 1, true);
    // Nobody can act: the selection stays as it is.
    if (found == 0) return;

    b.FireMode = false;
    b.Pieces[found].Overwatch = false;

    if (old > 0 && b.PieceSelected) redrawSoldierSquare(b, old);

    b.SelectedPiece = static_cast<uint8_t>(found);
    b.PieceSelected = true;
    b.actionButtons = ActionButtons::all(true);

    FocusPiece(b, b.SelectedPiece);
    b.play("prompt");
    b.armedShot = ArmedShot::None;
    b.FireMode = false;
    b.HandFightMode = false;
    DrawOverheadMap(b);
}

void OverwatchButtonClick(Battle& b) {
    if (!b.PieceSelected || !isPiece(b, b.SelectedPiece)) return;
    PieceRecord& p = b.Pieces[b.SelectedPiece];
    // Going on overwatch costs nothing: the points pay for the reaction shots.
    if (p.AP >= b.item(p.Items[1]).QuickShotAP) {
        p.Overwatch = true;
        b.log(p.Name + " goes into overwatch.");
        CancelButtonClick(b);
        b.armedShot = ArmedShot::None;
    } else {
        b.log(p.Name + " does not have enough action point to go into overwatch.");
    }
}

void HandFightIconClick(Battle& b) {
    b.armedShot = ArmedShot::None;
    if (b.PieceSelected && isPiece(b, b.SelectedPiece) &&
        b.item(b.Pieces[b.SelectedPiece].Items[1]).Kind == "Weapon") {
        b.HandFightMode = true;
        b.FireMode = false;
        b.cursor = CursorShape::Sword;
        return;
    }
    b.play("beep");
    b.log("You are not holding a melee weapon");
}

void endTurn(Battle& b) {
    EndTurnButtonClick(b);
    if (b.closeRequested) closeBattle(b);
}

void CancelButtonClick(Battle& b) {
    // A plain selection is dropped; fire or hand-to-hand mode is only left,
    // and the soldier stays selected until the next Cancel.
    if (!deploying(b) && b.PieceSelected && validIndex(b.SelectedPiece) && !b.FireMode &&
        !b.HandFightMode) {
        b.cursor = CursorShape::Default;
        b.actionButtons = ActionButtons::all(false);
        // The numbers go; the item in hand, its ammunition and the kit stay shown.
        PanelTexts& t = b.panel;
        for (std::string* label : {&t.name, &t.ap, &t.attack, &t.shoot, &t.strength, &t.toughness,
                                   &t.wounds, &t.endurance, &t.fatigue, &t.cool})
            *label = "-";
        t.quickShot.clear();
        t.aimedShot.clear();
        t.piece = 0;
        redrawSoldierSquare(b, b.SelectedPiece);
        b.letMessagesRun();
        b.PieceSelected = false;
        b.mapCursor = CursorShape::Default;
    }

    b.FireMode = false;
    b.HandFightMode = false;
    b.cursor = CursorShape::Default;
    b.armedShot = ArmedShot::None;
    placePieces(b);
    FocusPiece(b, b.SelectedPiece);
    b.play("select");
}

void FormKeyPress(Battle& b, char key) {
    const char k = static_cast<char>(std::tolower(static_cast<unsigned char>(key)));
    if (k == 'k' && buttonOn(b, PanelButton::Cancel)) CancelButtonClick(b);
    if (k == '0' && buttonOn(b, PanelButton::EndTurn)) {
        endTurn(b);
        b.StopRequested = true;
    }
    // The key goes no further: the grids and the log never see typed characters.
}

void FormKeyDown(Battle& b, int keyCode) {
    if (keyCode == kEscapeKey && buttonOn(b, PanelButton::Cancel)) {
        b.StopRequested = true;
        CancelButtonClick(b);
    }
}

void EquipRadioClick(BattleState& b, bool equipment) {
    b.equipmentShown = equipment;
}

} // namespace korvath
