#include "game/state/DeriveControls.h"
#include "game/state/Pieces.h"

namespace korvath {

namespace {

// A side that had soldiers and has none left standing.
bool fallen(const BattleState& b, int side) {
    bool listed = false;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (b.Pieces[i].Side == side && !b.Pieces[i].Name.empty()) listed = true;
    return listed && !anyAlive(b, side);
}

// How many more presses of End turn lead off the field: 0 while the battle
// goes on. Once the game is over the next press leaves. Before that, the
// press that finds a side fallen tells of it first (an End turn under way
// that won the battle sets the game over itself); a squad that fell is told
// of twice.
int pressesToLeave(const BattleState& b) {
    if (b.GameOver) return 1;
    if (b.deploying || !b.windowOpen) return 0;
    if (fallen(b, b.HumanSide)) return 2;
    if (fallen(b, Side::Operatives)) return ruleRunning(b, Rule::EndTurn) ? 1 : 2;
    return 0;
}

void derivePanel(const BattleState& b, Controls& c) {
    const PanelTexts& p = b.panel;
    c.NameLabel.text = p.name;
    c.ActionPointsLabel.text = p.ap;
    c.WSlabel.text = p.attack;
    c.BSlabel.text = p.shoot;
    c.Strengthlabel.text = p.strength;
    c.ToughLabel.text = p.toughness;
    c.WoundsLabel.text = p.wounds;
    c.EnduranceLabel.text = p.endurance;
    c.CoolLabel.text = p.cool;
    c.FatigueLabel.text = p.fatigue;
    c.AmmoLabel.text = p.ammo;
    c.WeaponLabel.text = p.weapon;
    c.QuickShotLabel.text = p.quickShot;
    c.AimedShotLabel.text = p.aimedShot;
    // The actions bar is off while the computer plays.
    const bool playersTurn = b.CurrentSide == b.HumanSide;
    for (Control* label : {&c.WeaponLabel, &c.QuickShotLabel, &c.AimedShotLabel, &c.AmmoLabel})
        label->enabled = playersTurn;

    c.EquipGrid.rows.resize(p.kit.size());
    for (size_t k = 0; k < p.kit.size(); ++k) c.EquipGrid.rows[k].assign(1, p.kit[k]);
    c.EquipGrid.row = b.equipRow;
    c.EquipGrid.visible = b.equipmentShown;
    c.OverHeadMap.visible = !b.equipmentShown;
    c.MapRadio.down = !b.equipmentShown;
    c.EquipRadio.down = b.equipmentShown;

    c.PickItems.rows.resize(b.PickList.size());
    for (size_t k = 0; k < b.PickList.size(); ++k)
        c.PickItems.rows[k].assign(1, b.item(b.PickList[k].item).Name);
    c.PickItems.row = b.pickRow;
}

void deriveDeployment(const BattleState& b, Controls& c) {
    Control& grid = c.PlaceMenGrid;
    grid.visible = b.deploying;
    grid.rows.resize(b.deploymentList.size());
    for (size_t k = 0; k < b.deploymentList.size(); ++k) {
        const DeploymentEntry& e = b.deploymentList[k];
        grid.rows[k] = {e.placed ? "----" : pieceOrNone(b, e.piece).Name, std::to_string(e.piece)};
    }
    grid.row = b.deploymentRow;
    c.SolAPlabel.text = b.portrait.apLine;
}

void deriveView(const BattleState& b, Controls& c) {
    c.ScrollTop.min = b.view.width;
    c.ScrollTop.max = kMapPixelsX;
    c.ScrollTop.position = b.view.right;
    c.ScrollSide.min = b.view.height;
    c.ScrollSide.max = kMapPixelsY;
    c.ScrollSide.position = b.view.bottom;
}

} // namespace

bool buttonOn(const BattleState& b, PanelButton button) {
    using B = PanelButton;
    if (button == B::EndTurn) return b.GameOver || !b.deploying;
    if (button == B::Map || button == B::Equipment) return true;
    if (b.GameOver) return false;
    switch (button) {
    case B::Cancel:
        return !b.deploying;
    case B::AimedShot:
        return b.actionButtons.aimedShot;
    case B::QuickShot:
        return b.actionButtons.quickShot;
    case B::HandFight:
        return b.actionButtons.handFight;
    case B::Overwatch:
        return b.actionButtons.overwatch;
    case B::PickUp:
        return !b.PickList.empty();
    case B::DropItem:
        return b.dropOffered;
    default:
        return true; // Next
    }
}

void deriveControls(const BattleState& b, Controls& c) {
    const std::pair<Control*, PanelButton> buttons[] = {
        {&c.EndTurnButton, PanelButton::EndTurn},   {&c.NextButton, PanelButton::Next},
        {&c.Cancelbutton, PanelButton::Cancel},     {&c.OverwatchIcon, PanelButton::Overwatch},
        {&c.AimedFireIcon, PanelButton::AimedShot}, {&c.SnapFireIcon, PanelButton::QuickShot},
        {&c.HandFightIcon, PanelButton::HandFight}, {&c.PickUpButton, PanelButton::PickUp},
        {&c.DropItem, PanelButton::DropItem},
    };
    for (const auto& [control, button] : buttons) control->enabled = buttonOn(b, button);
    c.AimedFireIcon.down = b.armedShot == ArmedShot::Aimed;
    c.SnapFireIcon.down = b.armedShot == ArmedShot::Quick;
    c.PiecesInfoPanel.visible = !b.deploying;

    // Once the battle is decided the status bar says how to leave it, and
    // End turn is all that is left to press: once the game is over for the
    // rules too, before that (the turn that tells of the last man's death)
    // for the player in the window.
    const int presses = pressesToLeave(b);
    if (presses)
        c.StatusBar.text = std::string("The battle is over. Press End turn ") +
                           (presses == 2 ? "twice " : "") + "to return to the front screen.";
    else
        c.StatusBar.text.clear();
    c.endTurnOnly = presses > 0;

    c.InfoLabel.text = b.statusLine;
    c.DescLabel.text = b.hoverLine;
    // The log mostly stays as it was from one repaint to the next.
    if (c.WhatisHappening.lines != b.messageLog) c.WhatisHappening.lines = b.messageLog;
    derivePanel(b, c);
    deriveDeployment(b, c);
    deriveView(b, c);

    c.ShowWounds.down = b.showWounds;
    c.ShowOverwatch.down = b.showOverwatch;
    c.ShowMediKit.down = b.showHealers;
    for (Control* entry : {&c.N1, &c.IwannaC1, &c.Nodes1, &c.Setp1tocoords1})
        entry->visible = b.developerMode;
    c.IwannaC1.down = b.sightTraces;
    c.DefenseShield.visible = b.hitHalved;
    c.DefenseShieldExclude.visible = b.hitCancelled;
}

Controls controlsOf(const BattleState& b) {
    Controls c;
    deriveControls(b, c);
    return c;
}

} // namespace korvath
