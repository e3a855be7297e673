#pragma once
#include <string>
#include <utility>
#include <vector>

namespace korvath {

// The battle window's controls as plain data, derived from the battle's state
// after every command (deriveControls) and never read by a rule. The Qt
// window mirrors it onto widgets of the same names, and the headless driver
// prints it.
struct Control {
    enum class Kind {
        Button,
        Radio,
        Label,
        Grid,
        List,
        Memo,
        ScrollBar,
        Panel,
        MenuEntry,
        Picture
    };
    Kind kind = Kind::Label;
    bool enabled = true;
    bool visible = true;
    bool down = false; // speed buttons and radio buttons; check mark of a menu entry
    std::string text;
    std::vector<std::vector<std::string>> rows; // grids (cells) and lists (one cell a row)
    int row = -1;                               // selected row of a grid or list, -1 none
    std::vector<std::string> lines;             // memo lines
    int min = 0, max = 0, position = 0;         // scroll bars
};

struct Controls {
    Controls();

    // Speed buttons of the information panel.
    Control EndTurnButton, HandFightIcon, AimedFireIcon, SnapFireIcon, Cancelbutton, OverwatchIcon,
        NextButton, DropItem, PickUpButton;
    Control MapRadio, EquipRadio;
    // Status line above the map and hover line at the bottom of the panel.
    Control InfoLabel, DescLabel;
    // Soldier statistics.
    Control NameLabel, ActionPointsLabel, WSlabel, BSlabel, Strengthlabel, ToughLabel, WoundsLabel,
        EnduranceLabel, CoolLabel, FatigueLabel, AmmoLabel, WeaponLabel, QuickShotLabel,
        AimedShotLabel;
    // Deployment.
    Control PlaceMenGrid, WhatManLabel, SolAPlabel, Label11;
    Control EquipGrid, PickItems, WhatisHappening;
    Control ScrollTop, ScrollSide;
    Control PiecesInfoPanel, OverHeadMap, MapPanel;
    // "Options" menu: the marker switches and the developer entries.
    Control ShowWounds, ShowOverwatch, ShowMediKit, N1, IwannaC1, Nodes1, Setp1tocoords1;
    // The shield pictures of the actions bar.
    Control DefenseShield, DefenseShieldExclude;
    // The strip along the bottom of the window: what to do next, when the
    // battle's own controls do not say it.
    Control StatusBar;

    // The battle is decided: the window shows End turn as the only button
    // left to press. The rules' own enabled states stay as they are, so a game
    // loaded after a lost battle finds its buttons as they were, and a script
    // may still press what the rules allow.
    bool endTurnOnly = false;

    // A control as the window shows it: enabled, and not held off by the end of the battle.
    bool usable(const Control& c) const {
        return c.enabled &&
               (!endTurnOnly || c.kind != Control::Kind::Button || &c == &EndTurnButton);
    }

    // Every control with its name, in a fixed order.
    std::vector<std::pair<const char*, Control*>> all();
    Control* find(const std::string& name);
};

} // namespace korvath
