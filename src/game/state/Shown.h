#pragma once
#include "game/state/Records.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// What the battle window shows that only the rules decide: the view onto the
// map, the message log and the status lines, the panel as last filled, which
// buttons are on, the deployment list, the portrait, the cursor. The rules
// write it; the window's controls are derived from it (deriveControls), so
// that a copy of the battle's state is the whole battle.
namespace korvath {

enum class CursorShape { Default, Hourglass, HandPoint, Sword, Aim };

// The part of the battlefield in view: the map pixel column at its right
// edge and the row at its bottom edge (the scroll bars' positions), and its
// size. The view never leaves the map; one wider or taller than the map sees
// all of it.
struct View {
    int right = 0, bottom = 0;
    int width = 0, height = 0;

    void setRight(int r) { right = std::clamp(r, width, std::max(width, kMapPixelsX)); }
    void setBottom(int b) { bottom = std::clamp(b, height, std::max(height, kMapPixelsY)); }
    // A new size; the view's left and top edges stay where they were.
    void resize(int w, int h) {
        const int left = right - width, top = bottom - height;
        width = std::clamp(w, 1, kMapPixelsX);
        height = std::clamp(h, 1, kMapPixelsY);
        setRight(left + width);
        setBottom(top + height);
    }
    // The view a battle window opens with, at its left and top edges.
    static View opening(int w, int h) { return {w, h, w, h}; }
    bool operator==(const View&) const = default;
};

// The information panel as the rules last filled it. The numbers are those of
// the moment they were shown: the panel is filled anew only where the rules
// say, so it may lag behind a soldier's record.
struct PanelTexts {
    int piece = 0; // soldier whose numbers are shown, 0 none
    std::string name, ap, attack, shoot, strength, toughness, wounds, endurance, cool, fatigue,
        ammo;
    std::string weapon = "Actions", quickShot, aimedShot;
    std::array<std::string, 6> kit{}; // the equipment grid's rows, slot 1 first
};

// Which of the four action buttons of a selected soldier are on.
struct ActionButtons {
    bool aimedShot = false, quickShot = false, handFight = false, overwatch = false;
    static ActionButtons all(bool on) { return {on, on, on, on}; }
    // A firearm in hand offers the shots and overwatch, anything else close combat.
    static ActionButtons forHand(bool firearm) { return {firearm, firearm, !firearm, firearm}; }
};

// A soldier of the deployment list, in the list's order.
struct DeploymentEntry {
    uint8_t piece = 0;
    bool placed = false;
};

// The deployment portrait: the soldier picture shown (row 0: none) and the
// line under it.
struct Portrait {
    int picture = 0, frame = 0;
    std::string apLine;
};

struct Shown {
    View view;
    std::vector<std::string> messageLog; // the log under the map, one line an event
    std::string statusLine;              // the line above the map
    std::string hoverLine;               // the square under the mouse
    PanelTexts panel;
    ActionButtons actionButtons;
    bool dropOffered = false;    // the Drop Item button is on
    int pickRow = -1;            // chosen row of the "On the ground" list, -1 none
    int equipRow = -1;           // highlighted row of the equipment grid, -1 none
    bool equipmentShown = false; // the equipment grid, not the overhead map
    std::vector<DeploymentEntry> deploymentList;
    int deploymentRow = -1; // the list's current row, -1 none
    Portrait portrait;
    CursorShape cursor = CursorShape::Default;    // over the whole window
    CursorShape mapCursor = CursorShape::Default; // the map's own, beneath it

    void log(const std::string& line) { messageLog.push_back(line); }
};

} // namespace korvath
