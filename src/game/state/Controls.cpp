#include "game/state/Controls.h"

namespace korvath {

Controls::Controls() {
    using K = Control::Kind;
    for (Control* b : {&EndTurnButton, &HandFightIcon, &AimedFireIcon, &SnapFireIcon, &Cancelbutton,
                       &OverwatchIcon, &NextButton, &DropItem, &PickUpButton})
        b->kind = K::Button;
    // Until a soldier is chosen the action buttons are off; Cancel and End
    // turn come on when deployment ends.
    for (Control* b : {&HandFightIcon, &AimedFireIcon, &SnapFireIcon, &OverwatchIcon, &DropItem,
                       &PickUpButton, &Cancelbutton, &EndTurnButton})
        b->enabled = false;
    MapRadio.kind = EquipRadio.kind = K::Radio;
    MapRadio.down = true;
    MapRadio.text = "Map";
    EquipRadio.text = "Equipment";
    PlaceMenGrid.kind = EquipGrid.kind = K::Grid;
    EquipGrid.visible = false;
    EquipGrid.rows.assign(6, {""});
    PickItems.kind = K::List;
    WhatisHappening.kind = K::Memo;
    ScrollTop.kind = ScrollSide.kind = K::ScrollBar;
    PiecesInfoPanel.kind = OverHeadMap.kind = MapPanel.kind = K::Panel;
    PiecesInfoPanel.visible = false;
    for (Control* m :
         {&ShowWounds, &ShowOverwatch, &ShowMediKit, &N1, &IwannaC1, &Nodes1, &Setp1tocoords1})
        m->kind = K::MenuEntry;
    ShowWounds.down = ShowOverwatch.down = ShowMediKit.down = true;
    ShowWounds.text = "Show wounds";
    ShowOverwatch.text = "Show overwatch";
    ShowMediKit.text = "Show Healers";
    for (Control* m : {&N1, &IwannaC1, &Nodes1, &Setp1tocoords1}) m->visible = false;
    DefenseShield.kind = DefenseShieldExclude.kind = K::Picture;
    DefenseShield.visible = DefenseShieldExclude.visible = false;
    WhatManLabel.text = "Current soldier";
    Label11.text = "Place units on red and yellow stars on the map";
    WeaponLabel.text = "Actions";
}

std::vector<std::pair<const char*, Control*>> Controls::all() {
    return {
        {"EndTurnButton", &EndTurnButton},
        {"HandFightIcon", &HandFightIcon},
        {"AimedFireIcon", &AimedFireIcon},
        {"SnapFireIcon", &SnapFireIcon},
        {"Cancelbutton", &Cancelbutton},
        {"OverwatchIcon", &OverwatchIcon},
        {"NextButton", &NextButton},
        {"DropItem", &DropItem},
        {"PickUpButton", &PickUpButton},
        {"MapRadio", &MapRadio},
        {"EquipRadio", &EquipRadio},
        {"InfoLabel", &InfoLabel},
        {"DescLabel", &DescLabel},
        {"NameLabel", &NameLabel},
        {"ActionPointsLabel", &ActionPointsLabel},
        {"WSlabel", &WSlabel},
        {"BSlabel", &BSlabel},
        {"Strengthlabel", &Strengthlabel},
        {"ToughLabel", &ToughLabel},
        {"WoundsLabel", &WoundsLabel},
        {"EnduranceLabel", &EnduranceLabel},
        {"CoolLabel", &CoolLabel},
        {"FatigueLabel", &FatigueLabel},
        {"AmmoLabel", &AmmoLabel},
        {"WeaponLabel", &WeaponLabel},
        {"QuickShotLabel", &QuickShotLabel},
        {"AimedShotLabel", &AimedShotLabel},
        {"PlaceMenGrid", &PlaceMenGrid},
        {"WhatManLabel", &WhatManLabel},
        {"SolAPlabel", &SolAPlabel},
        {"Label11", &Label11},
        {"EquipGrid", &EquipGrid},
        {"PickItems", &PickItems},
        {"WhatisHappening", &WhatisHappening},
        {"ScrollTop", &ScrollTop},
        {"ScrollSide", &ScrollSide},
        {"PiecesInfoPanel", &PiecesInfoPanel},
        {"OverHeadMap", &OverHeadMap},
        {"MapPanel", &MapPanel},
        {"ShowWounds", &ShowWounds},
        {"ShowOverwatch", &ShowOverwatch},
        {"ShowMediKit", &ShowMediKit},
        {"N1", &N1},
        {"IwannaC1", &IwannaC1},
        {"Nodes1", &Nodes1},
        {"Setp1tocoords1", &Setp1tocoords1},
        {"DefenseShield", &DefenseShield},
        {"DefenseShieldExclude", &DefenseShieldExclude},
        {"StatusBar", &StatusBar},
    };
}

Control* Controls::find(const std::string& name) {
    for (auto& [n, c] : all())
        if (name == n) return c;
    return nullptr;
}

} // namespace korvath
