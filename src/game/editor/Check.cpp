#include "game/editor/Check.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/editor/DescText.h"
#include "game/editor/EventText.h"
#include "game/editor/MapEdits.h"
#include "game/files/ScenarioFolders.h"

#include <algorithm>
#include <deque>
#include <map>

namespace korvath {

namespace {

std::string square(int x, int y) {
    return std::to_string(x) + ", " + std::to_string(y);
}

std::string who(const PieceRecord& p) {
    return std::string(p.Side == Side::Raiders ? "Raider " : "Operative ") + p.Name;
}

struct Tables {
    const ScenarioContent& c;
    std::array<GlyphTexts, kMaxGlyphs + 1> glyphs{};
    std::vector<PieceRecord> units;
    std::vector<EquipmentType> equipment;
    std::vector<TurnEvents> events;
    std::vector<CheckFinding>& out;

    void problem(const std::string& text) { out.push_back({true, text}); }
    void note(const std::string& text) { out.push_back({false, text}); }
    int glyph(int x, int y) const { return c.map[x][y].Glyph; }
    int solidity(int x, int y) const {
        const int s = solidityOfGlyph(glyph(x, y));
        return s >= 0 ? s : c.map[x][y].Solidity;
    }
    std::string tile(int x, int y) const {
        const std::string& d = glyphs[glyph(x, y)].Description;
        return d.empty() ? "glyph " + std::to_string(glyph(x, y)) : d;
    }
    std::string file(const std::string& event) const {
        return c.manifest.ScenarioName + event + ".txt";
    }
};

void checkStars(Tables& t) {
    int stars = 0;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) stars += t.glyph(x, y) == kStartStarGlyph;
    int raiders = 0, operatives = 0;
    for (const PieceRecord& p : t.units) (p.Side == Side::Raiders ? raiders : operatives) += 1;
    if (raiders == 0) t.problem("There are no Raiders: the player has nobody to command.");
    if (operatives == 0)
        t.problem("There are no Operatives: the battle is won at the first End Turn.");
    for (int d = 8; d >= 1; --d) {
        int toPlace = 0;
        for (const PieceRecord& p : t.units)
            toPlace += p.Side == Side::Raiders && p.X == 0 && p.MinDifficulty <= d;
        if (toPlace > 0 && stars == 0) {
            t.problem("No start star: " + std::to_string(toPlace) +
                      " Raiders are to be placed on start stars, but the map has none.");
            return;
        }
        if (toPlace > stars) {
            t.problem("More Raiders than stars: at difficulty " + std::to_string(d) + ", " +
                      std::to_string(toPlace) + " Raiders are to be placed on " +
                      std::to_string(stars) + " start stars.");
            return;
        }
    }
}

void checkSoldiers(Tables& t) {
    std::map<std::pair<int, int>, std::string> taken;
    const int items = static_cast<int>(t.equipment.size());
    for (const PieceRecord& p : t.units) {
        if (p.Wounds <= 0) t.problem(who(p) + " has no wounds left: dead before the battle.");
        if (p.Picture < 1) t.problem(who(p) + " has no picture (Picture 0).");
        for (int slot = 1; slot <= 6; ++slot)
            if (p.Items[slot] > items)
                t.problem(who(p) + " carries item " + std::to_string(p.Items[slot]) + " in slot " +
                          std::to_string(slot) + ", but the equipment table has " +
                          std::to_string(items) + " items.");
        if (p.X == 0 || p.Y == 0) {
            if (p.Side != Side::Raiders)
                t.problem(who(p) + " has no square: only Raiders start off the map, to be " +
                          "placed on the start stars.");
            continue;
        }
        const int x = p.X, y = p.Y;
        if (const int s = t.solidity(x, y); s != 0)
            t.problem(who(p) + " stands on " + (s == 4 ? "a wall" : "an object") + " at " +
                      square(x, y) + " (" + t.tile(x, y) + ").");
        auto [it, fresh] = taken.insert({{x, y}, p.Name});
        if (!fresh)
            t.problem(who(p) + " and " + it->second + " both stand on " + square(x, y) + ".");
    }
}

bool validDice(const std::string& dice) {
    if (dice.empty()) return true;
    const auto d = dice.find('d');
    int n = 0, m = 0;
    return d != std::string::npos && parseInt(dice.substr(0, d), n) &&
           parseInt(dice.substr(d + 1), m) && n >= 1 && m >= 1 && n <= 100 && m <= 1000;
}

void checkItems(Tables& t) {
    for (size_t i = 0; i < t.equipment.size(); ++i)
        if (!validDice(t.equipment[i].DamageDice))
            t.problem("Item " + std::to_string(i + 1) + " (" + t.equipment[i].Name +
                      "): its damage \"" + t.equipment[i].DamageDice +
                      "\" is not a number of dice, \"d\" and their sides (2d6).");
    std::map<int, bool> told;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            const std::string& a = t.glyphs[t.glyph(x, y)].Action;
            int item = 0;
            if (a.rfind("item_", 0) != 0 || told[t.glyph(x, y)]) continue;
            if (parseInt(a.substr(5), item) && item >= 1 &&
                item <= static_cast<int>(t.equipment.size()))
                continue;
            told[t.glyph(x, y)] = true;
            t.problem("The floor item at " + square(x, y) + " (" + t.tile(x, y) + ") is \"" + a +
                      "\", which names no item of the equipment table.");
        }
}

// Squares the Raiders can get to: open ones, doors, and whatever a shot can
// clear on the way (objects, force fields, event tiles); walls stop them.
std::vector<bool> reachable(const Tables& t) {
    auto at = [](int x, int y) { return static_cast<size_t>(y) * (kMapWidth + 2) + x; };
    std::vector<bool> seen((kMapWidth + 2) * (kMapHeight + 2), false);
    std::deque<std::pair<int, int>> todo;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            const bool start = t.glyph(x, y) == kStartStarGlyph;
            if (start) todo.push_back({x, y}), seen[at(x, y)] = true;
        }
    for (const PieceRecord& p : t.units)
        if (p.Side == Side::Raiders && MapEdits::onMap(p.X, p.Y))
            todo.push_back({p.X, p.Y}), seen[at(p.X, p.Y)] = true;
    auto open = [&](int x, int y) {
        const int g = t.glyph(x, y);
        return t.solidity(x, y) < 4 || g == kVerticalField || g == kHorizontalField ||
               t.glyphs[g].Action.rfind("event", 0) == 0;
    };
    while (!todo.empty()) {
        const auto [x, y] = todo.front();
        todo.pop_front();
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const int nx = x + dx, ny = y + dy;
                if (!MapEdits::onMap(nx, ny) || seen[at(nx, ny)] || !open(nx, ny)) continue;
                seen[at(nx, ny)] = true;
                todo.push_back({nx, ny});
            }
    }
    return seen;
}

void checkObjectives(Tables& t) {
    const std::vector<bool> seen = reachable(t);
    auto near = [&](int x, int y) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (MapEdits::onMap(x + dx, y + dy) &&
                    seen[static_cast<size_t>(y + dy) * (kMapWidth + 2) + x + dx])
                    return true;
        return false;
    };
    const int ox = t.c.manifest.ObjectiveX, oy = t.c.manifest.ObjectiveY;
    if (MapEdits::onMap(ox, oy) && !near(ox, oy))
        t.problem("The objective square " + square(ox, oy) +
                  " (the square the Operatives defend) cannot be reached from the start.");
    int victories = 0;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            if (t.glyphs[t.glyph(x, y)].Action != "Victory!") continue;
            ++victories;
            if (t.solidity(x, y) < 2)
                t.problem("The \"Victory!\" tile at " + square(x, y) +
                          " is open floor: no shot can destroy it.");
            else if (!near(x, y))
                t.problem("The \"Victory!\" tile at " + square(x, y) +
                          " cannot be reached from the start.");
        }
    if (victories == 0)
        t.note("There is no \"Victory!\" tile: the Raiders win by killing every Operative.");
}

void checkForceFields(Tables& t) {
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            const int g = t.glyph(x, y);
            if (g != kVerticalGenerator && g != kHorizontalGenerator) continue;
            const int line = g == kVerticalGenerator ? kVerticalField : kHorizontalField;
            bool found = false;
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    found |= MapEdits::onMap(x + dx, y + dy) && t.glyph(x + dx, y + dy) == line;
            if (!found)
                t.note("The force-field generator at " + square(x, y) + " has no " +
                       (line == kVerticalField ? "vertical" : "horizontal") +
                       " field line within three squares: destroying it switches nothing off.");
        }
}

void checkEvents(Tables& t) {
    std::map<int, bool> told;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            const int g = t.glyph(x, y);
            const std::string& a = t.glyphs[g].Action;
            if (a.rfind("event", 0) != 0 || told[g]) continue;
            told[g] = true;
            if (!t.c.events.count(a))
                t.problem("The event tile at " + square(x, y) + " (" + t.tile(x, y) +
                          ") has no event file " + t.file(a) + ".");
            if (t.solidity(x, y) < 2)
                t.problem("The event tile at " + square(x, y) + " (" + t.tile(x, y) +
                          ") is open floor: no shot can destroy it.");
        }
    for (const TurnEvents& e : t.events) {
        if (e.Turn < 2)
            t.problem("The event " + e.EventName + " on turn " + std::to_string(e.Turn) +
                      " never comes: events come as a new turn begins, from turn 2 on.");
        if (!t.c.events.count(e.EventName))
            t.problem("The event " + e.EventName + " on turn " + std::to_string(e.Turn) +
                      " has no event file " + t.file(e.EventName) + ".");
    }
    for (const auto& [name, text] : t.c.events) {
        EventContents e;
        try {
            e = readEventText(text, t.file(name));
        } catch (const DataError&) {
            continue; // told when the game runs it (checkInBattle)
        }
        MapSquares after = t.c.map;
        for (const MapChange& m : e.changes) after[m.x][m.y].Glyph = static_cast<uint8_t>(m.glyph);
        for (const PieceRecord& p : e.reinforcements) {
            if (!MapEdits::onMap(p.X, p.Y)) {
                t.problem("The event " + name + " brings " + who(p) + " to " + square(p.X, p.Y) +
                          ", outside the map.");
                continue;
            }
            if (solidityOfGlyph(after[p.X][p.Y].Glyph) > 0)
                t.problem("The event " + name + " brings " + who(p) + " onto a wall or object at " +
                          square(p.X, p.Y) + ".");
        }
    }
}

} // namespace

bool CheckReport::passed() const {
    return std::none_of(findings.begin(), findings.end(),
                        [](const CheckFinding& f) { return f.problem; });
}

std::string CheckReport::text() const {
    std::string out;
    for (const bool problems : {true, false})
        for (const CheckFinding& f : findings)
            if (f.problem == problems) out += (problems ? "Problem: " : "Note: ") + f.text + "\n";
    return out;
}

void checkTables(const ScenarioContent& c, std::vector<CheckFinding>& out) {
    Tables t{c, {}, {}, {}, {}, out};
    TextFile glyphs = c.glyphDesc.asFile(c.manifest.ScenarioName + "GlyphDesc.txt");
    applyGlyphFile(glyphs, t.glyphs);
    LinedText desc = c.desc;
    DescText d(desc, c.manifest.ScenarioName + "Desc.txt");
    t.units = d.units();
    t.equipment = d.equipment();
    t.events = d.events();
    checkStars(t);
    checkSoldiers(t);
    checkItems(t);
    checkObjectives(t);
    checkForceFields(t);
    checkEvents(t);
}

CheckReport checkScenario(const std::string& appDir, const std::string& folder) {
    CheckReport r;
    ScenarioContent c;
    try {
        c = readScenarioContent(folder);
        readScenarioPictures(appDir, folder, c.manifest);
    } catch (const DataError& e) {
        r.findings.push_back({true, e.what()});
        return r;
    }
    checkTables(c, r.findings);
    checkInBattle(appDir, folder, c, r.findings);
    return r;
}

} // namespace korvath
