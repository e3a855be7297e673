#include "game/commands/Registry.h"

#include "engine/TextFile.h"
#include "game/combat/CloseCombat.h"
#include "game/commands/Commands.h"
#include "game/commands/Deployment.h"
#include "game/commands/DeveloperAids.h"
#include "game/commands/Inventory.h"
#include "game/commands/SaveLoad.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

namespace korvath {

namespace {

using Words = std::vector<std::string>;

constexpr auto number = &wholeNumber<CommandError>;

// "click X Y [right|middle] [shift] [ctrl] [alt]" and "square X Y ...": a press on a
// map pixel, or on the centre of a square.
void press(Battle& b, const Words& w, bool square) {
    int x = number(w[0], "X"), y = number(w[1], "Y");
    if (square) {
        x = x * kSquare - kSquare / 2;
        y = y * kSquare - kSquare / 2;
    }
    if (x < 0 || y < 0 || x >= kMapPixelsX || y >= kMapPixelsY)
        throw CommandError("the point lies outside the map");
    ShiftState shift;
    MouseButton pressed = MouseButton::Left;
    for (size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "right")
            pressed = MouseButton::Right;
        else if (w[i] == "middle")
            pressed = MouseButton::Middle;
        else if (w[i] == "shift")
            shift.shift = true;
        else if (w[i] == "ctrl")
            shift.ctrl = true;
        else if (w[i] == "alt")
            shift.alt = true;
        else
            throw CommandError("unknown click modifier \"" + w[i] + "\"");
    }
    // The pressed button is part of the shift state, as the window reports it.
    if (pressed == MouseButton::Right)
        shift.right = true;
    else if (pressed == MouseButton::Middle)
        shift.middle = true;
    else
        shift.left = true;
    MapImageMouseDown(b, pressed, shift, x, y);
}

struct Button {
    const char* name;
    Control Controls::*control;
    void (*click)(Battle&);
};

const Button kButtons[] = {
    {"EndTurn", &Controls::EndTurnButton, endTurn},
    {"Next", &Controls::NextButton, NextButtonClick},
    {"Cancel", &Controls::Cancelbutton, CancelButtonClick},
    {"Overwatch", &Controls::OverwatchIcon, OverwatchButtonClick},
    {"AimedShot", &Controls::AimedFireIcon,
     [](Battle& b) { FireButtonClick(b, FireButton::Aimed); }},
    {"QuickShot", &Controls::SnapFireIcon,
     [](Battle& b) { FireButtonClick(b, FireButton::Quick); }},
    {"HandFight", &Controls::HandFightIcon, HandFightIconClick},
    {"PickUp", &Controls::PickUpButton, PickUpButtonClick},
    {"DropItem", &Controls::DropItem, DropItemClick},
    {"Map", &Controls::MapRadio, [](Battle& b) { EquipRadioClick(b, false); }},
    {"Equipment", &Controls::EquipRadio, [](Battle& b) { EquipRadioClick(b, true); }},
};

// "button NAME": like a mouse click, nothing while the button is disabled or
// hidden, and the buttons live on the information panel.
void button(Battle& b, const Words& w) {
    for (const Button& k : kButtons)
        if (w[0] == k.name) {
            const Control& c = b.controls.*k.control;
            if (c.enabled && c.visible && b.controls.PiecesInfoPanel.visible) k.click(b);
            return;
        }
    throw CommandError("unknown button \"" + w[0] + "\"");
}

// "key K": a character key, or Esc.
void key(Battle& b, const Words& w) {
    const std::string& k = w[0];
    if (k == "Esc") {
        FormKeyDown(b, kEscapeKey);
        FormKeyPress(b, static_cast<char>(kEscapeKey));
        return;
    }
    if (k.size() != 1) throw CommandError("key takes one character or Esc, not \"" + k + "\"");
    FormKeyDown(b, std::toupper(static_cast<unsigned char>(k[0])));
    FormKeyPress(b, k[0]);
}

struct MenuEntry {
    const char* name;
    Control Controls::*control; // a hidden entry does nothing; null: always shown
    void (*click)(Battle&);
};

const MenuEntry kMenu[] = {
    {"Quit", nullptr, [](Battle& b) { quitBattle(b); }},
    {"ShowWounds", nullptr, ShowWoundsClick},
    {"ShowOverwatch", nullptr, ShowOverwatchClick},
    {"ShowHealers", nullptr, ShowMediKitClick},
    {"ClassicFloors", nullptr, ClassicFloorsClick},
    {"IwannaC", &Controls::IwannaC1, IwannaC1Click},
    {"Nodes", &Controls::Nodes1, Nodes1Click},
    {"SetP1", &Controls::Setp1tocoords1, Setp1tocoords1Click},
};

// "menu NAME [PATH]": PATH answers the save or load dialog; a relative one
// names a file below the game folder.
void menu(Battle& b, const Words& w) {
    const std::string& entry = w[0];
    if (entry == "Savegame" || entry == "Loadgame") {
        if (w.size() > 1 && b.ports.dialogs) {
            std::string answer = w[1];
            if (answer[0] != '/') answer = b.AppDir + "/" + answer;
            b.ports.dialogs->answerNextFile(answer);
        }
        entry == "Savegame" ? saveClick(b) : LoadClick(b);
        if (b.ports.dialogs) b.ports.dialogs->answerNextFile({});
        return;
    }
    for (const MenuEntry& m : kMenu)
        if (entry == m.name) {
            if (!m.control || (b.controls.*m.control).visible) m.click(b);
            return;
        }
    throw CommandError("unknown menu entry \"" + entry + "\"");
}

const std::vector<CommandSpec> kCommands = {
    {"activate", "activate", 0, [](Battle& b, const Words&) { activateBattle(b); }},
    {"button", "button NAME", 1, button},
    {"click", "click X Y [right|middle] [shift] [ctrl] [alt]", 2,
     [](Battle& b, const Words& w) { press(b, w, false); }},
    {"hover", "hover X Y", 2,
     [](Battle& b, const Words& w) { MapImageMouseMove(b, number(w[0], "X"), number(w[1], "Y")); }},
    {"key", "key K", 1, key},
    {"menu", "menu NAME [PATH]", 1, menu},
    {"overhead", "overhead X Y", 2,
     [](Battle& b, const Words& w) {
         OverHeadMapMouseDown(b, number(w[0], "X"), number(w[1], "Y"));
     }},
    {"pickrow", "pickrow N", 1,
     [](Battle& b, const Words& w) { PickItemsChange(b, number(w[0], "the row")); }},
    {"row", "row N", 1,
     [](Battle& b, const Words& w) { PlaceMenGridClick(b, number(w[0], "the row")); }},
    {"scroll", "scroll RIGHT BOTTOM", 2,
     [](Battle& b, const Words& w) {
         b.controls.ScrollTop.setPosition(number(w[0], "the scroll position"));
         b.controls.ScrollSide.setPosition(number(w[1], "the scroll position"));
     }},
    {"square", "square X Y [right|middle] [shift] [ctrl] [alt]", 2,
     [](Battle& b, const Words& w) { press(b, w, true); }},
    {"view", "view WIDTH HEIGHT", 2,
     [](Battle& b, const Words& w) {
         setViewSize(b, number(w[0], "the width"), number(w[1], "the height"));
     }},
};

} // namespace

const std::vector<CommandSpec>& commands() {
    return kCommands;
}

const CommandSpec* findCommand(const std::string& name) {
    for (const CommandSpec& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

namespace {

// What a hover or a scroll can change: the line under the map, the cursor and
// the view. A recording leaves out those that changed none of it.
struct Passing {
    std::string desc;
    CursorShape cursor;
    int right, down, width, height;
    explicit Passing(const Battle& b)
        : desc(b.controls.DescLabel.text), cursor(b.controls.cursor),
          right(b.controls.ScrollTop.position), down(b.controls.ScrollSide.position),
          width(b.controls.ScrollTop.min), height(b.controls.ScrollSide.min) {}
    bool operator==(const Passing&) const = default;
};

// Tells the watcher where a command begins and ends, even when it throws.
class Watched {
  public:
    Watched(Battle& b, const Words& words) : b_(b), passing_(b) {
        if (b.ports.watcher) b.ports.watcher->commandBegins(words);
        fleeting_ = isFleeting(words[0]);
    }
    ~Watched() {
        if (b_.ports.watcher)
            b_.ports.watcher->commandEnds(!fleeting_ || !(Passing(b_) == passing_));
    }
    Watched(const Watched&) = delete;
    Watched& operator=(const Watched&) = delete;

  private:
    Battle& b_;
    Passing passing_;
    bool fleeting_ = false;
};

} // namespace

void checkCommand(const std::vector<std::string>& words) {
    if (words.empty()) return;
    const CommandSpec* c = findCommand(words[0]);
    if (!c) throw CommandError("unknown command \"" + words[0] + "\"");
    if (words.size() - 1 < c->minWords) throw CommandError(std::string("usage: ") + c->usage);
    // The words the usage names by a coordinate, a row or a size are numbers.
    static const std::set<std::string> kNumbers = {"X",      "Y",     "N",     "RIGHT",
                                                   "BOTTOM", "WIDTH", "HEIGHT"};
    std::istringstream usage(c->usage);
    std::string part;
    usage >> part;
    std::vector<int> numbers;
    for (size_t i = 1; usage >> part && i < words.size(); ++i)
        if (kNumbers.count(part)) numbers.push_back(number(words[i], part.c_str()));
    if (words[0] == "click" && (numbers[0] < 0 || numbers[1] < 0 || numbers[0] >= kMapPixelsX ||
                                numbers[1] >= kMapPixelsY))
        throw CommandError("the point lies outside the map");
    if (words[0] == "square" && !Battle::onMap(numbers[0], numbers[1]))
        throw CommandError("the square lies outside the map");
}

void runCommand(Battle& b, const std::vector<std::string>& words) {
    if (words.empty()) return;
    const CommandSpec* c = findCommand(words[0]);
    if (!c) throw CommandError("unknown command \"" + words[0] + "\"");
    const Words rest(words.begin() + 1, words.end());
    if (rest.size() < c->minWords) throw CommandError(std::string("usage: ") + c->usage);
    Watched watched(b, words);
    RuleGuard running(b, Rule::Command);
    c->run(b, rest);
    b.showRuleState();
}

Control* buttonControl(Battle& b, const std::string& name) {
    for (const Button& k : kButtons)
        if (name == k.name) return &(b.controls.*k.control);
    return nullptr;
}

} // namespace korvath
