#include "game/commands/Registry.h"

#include "engine/TextFile.h"
#include "game/commands/StagedRules.h"
#include "game/commands/Commands.h"
#include "game/commands/Deployment.h"
#include "game/commands/DeveloperAids.h"
#include "game/commands/Inventory.h"
#include "game/commands/SaveLoad.h"
#include "game/commands/Scenario.h"
#include "game/commands/Undo.h"
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
    PanelButton button;
    void (*click)(Battle&);
};

const Button kButtons[] = {
    {"EndTurn", PanelButton::EndTurn, endTurn},
    {"Next", PanelButton::Next, NextButtonClick},
    {"Cancel", PanelButton::Cancel, CancelButtonClick},
    {"Overwatch", PanelButton::Overwatch, OverwatchButtonClick},
    {"AimedShot", PanelButton::AimedShot, [](Battle& b) { FireButtonClick(b, FireButton::Aimed); }},
    {"QuickShot", PanelButton::QuickShot, [](Battle& b) { FireButtonClick(b, FireButton::Quick); }},
    {"HandFight", PanelButton::HandFight, HandFightIconClick},
    {"PickUp", PanelButton::PickUp, PickUpButtonClick},
    {"DropItem", PanelButton::DropItem, DropItemClick},
    {"Map", PanelButton::Map, [](Battle& b) { EquipRadioClick(b, false); }},
    {"Equipment", PanelButton::Equipment, [](Battle& b) { EquipRadioClick(b, true); }},
};

// "button NAME": like a mouse click, nothing while the button is off, and the
// buttons live on the information panel, which deployment hides.
void button(Battle& b, const Words& w) {
    for (const Button& k : kButtons)
        if (w[0] == k.name) {
            if (buttonOn(b, k.button) && !b.deploying) k.click(b);
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
    bool developers; // hidden, and doing nothing, unless in developer mode
    void (*click)(Battle&);
};

const MenuEntry kMenu[] = {
    {"Quit", false, [](Battle& b) { quitBattle(b); }},
    {"ShowWounds", false, ShowWoundsClick},
    {"ShowOverwatch", false, ShowOverwatchClick},
    {"ShowHealers", false, ShowMediKitClick},
    {"ClassicFloors", false, ClassicFloorsClick},
    {"IwannaC", true, IwannaC1Click},
    {"Nodes", true, Nodes1Click},
    {"SetP1", true, Setp1tocoords1Click},
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
            if (!m.developers || b.developerMode) m.click(b);
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
    {"redo", "redo", 0, [](Battle& b, const Words&) { redoLast(b); }},
    {"row", "row N", 1,
     [](Battle& b, const Words& w) { PlaceMenGridClick(b, number(w[0], "the row")); }},
    {"scroll", "scroll RIGHT BOTTOM", 2,
     [](Battle& b, const Words& w) {
         b.view.setRight(number(w[0], "the scroll position"));
         b.view.setBottom(number(w[1], "the scroll position"));
     }},
    {"square", "square X Y [right|middle] [shift] [ctrl] [alt]", 2,
     [](Battle& b, const Words& w) { press(b, w, true); }},
    {"undo", "undo", 0, [](Battle& b, const Words&) { undoLast(b); }},
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
    View view;
    explicit Passing(const BattleState& b) : desc(b.hoverLine), cursor(b.cursor), view(b.view) {}
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
    UndoScope undoable(b, words);
    c->run(b, rest);
    undoable.finished();
    b.showRuleState();
}

} // namespace korvath
