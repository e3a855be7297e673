#include "assets/ScenarioText.h"

#include "assets/TextOut.h"
#include "engine/DataError.h"
#include "engine/TextFile.h"

namespace korvath::assets {

namespace {

int number(const std::string& name, int lineNo, const std::string& field, const char* what) {
    int v = 0;
    if (!parseInt(field, v))
        throw DataError(name, lineNo, std::string(what) + " is not a number: " + field);
    return v;
}

} // namespace

UnitLine parseUnitLine(const std::string& name, int lineNo, const std::string& line) {
    const auto f = splitTabs(line, 23);
    if (f.size() != 23) throw DataError(name, lineNo, "a unit line needs 23 fields");
    UnitLine u;
    u.name = f[0];
    int* fields[] = {&u.side,      &u.x,      &u.y,         &u.minDifficulty, &u.picture,
                     &u.ap,        &u.baseAP, &u.attack,    &u.shoot,         &u.strength,
                     &u.toughness, &u.wounds, &u.endurance, &u.fatigue,       &u.cool};
    for (size_t i = 0; i < 15; ++i) *fields[i] = number(name, lineNo, f[i + 1], "unit field");
    for (int s = 0; s < 6; ++s) u.items[s] = number(name, lineNo, f[16 + s], "item");
    u.targetSize = number(name, lineNo, f[22], "target size");
    return u;
}

ScenarioText parseScenarioText(const std::string& name, const std::string& text) {
    const auto lines = splitLines(text);
    ScenarioText s;
    size_t i = 0;
    auto next = [&]() { return i < lines.size() ? lines[i++] : std::string(); };
    auto fail = [&](const std::string& why) { return DataError(name, static_cast<int>(i), why); };

    bool inBriefing = false;
    while (i < lines.size()) {
        const std::string line = next();
        if (line == ": Scenario Description")
            inBriefing = true;
        else if (line == ": end of scenario description")
            inBriefing = false;
        else if (line == ": Player 1 = human")
            break;
        else if (inBriefing)
            s.briefing.push_back(line);
        if (i == lines.size()) throw fail("no line \": Player 1 = human\"");
    }
    next(); // heading
    for (std::string line = next(); line != "EndPlayer2" && !line.empty(); line = next())
        s.units.push_back(parseUnitLine(name, static_cast<int>(i), line));
    next();
    next();
    for (std::string line = next(); line != ": end of file" && !line.empty(); line = next()) {
        const auto f = splitTabs(line, 14);
        if (f.size() != 14) throw fail("an equipment line needs 14 fields");
        EquipmentLine e;
        const int n = static_cast<int>(i);
        e.name = f[0];
        e.ammoType = number(name, n, f[1], "AmmoType");
        e.kind = f[2];
        e.weight = number(name, n, f[3], "Weight");
        e.damageDice = f[4];
        e.aimedAP = number(name, n, f[5], "AimedShotAP");
        e.quickAP = number(name, n, f[6], "QuickShotAP");
        e.range = number(name, n, f[7], "Range");
        e.capacity = number(name, n, f[8], "Capacity");
        e.heldFrame = number(name, n, f[9], "HeldFrame");
        e.effect = f[10];
        e.value = f[11];
        e.traceColour = f[13];
        s.equipment.push_back(e);
    }
    if (i < lines.size() && next() == ":Events") {
        for (std::string line = next(); line != ":End Events"; line = next()) {
            if (i >= lines.size() && line.empty()) throw fail("no line \":End Events\"");
            const auto f = splitTabs(line, 2);
            if (f.size() != 2) throw fail("an event line is: turn<TAB>name");
            s.events.push_back({number(name, static_cast<int>(i), f[0], "turn"), f[1]});
        }
    }
    return s;
}

EventFile parseEventFile(const std::string& name, const std::string& text) {
    const auto lines = splitLines(text);
    EventFile ev;
    size_t i = 0;
    auto next = [&]() { return i < lines.size() ? lines[i++] : std::string(); };
    std::string line = next();
    if (line == ":Mapchanges") {
        next(); // header
        line = next();
        do {
            const auto f = splitTabs(line, 3);
            const int n = static_cast<int>(i);
            if (f.size() != 3)
                throw DataError(name, n, "a map change is: column<TAB>row<TAB>glyph");
            ev.changes.push_back({number(name, n, f[0], "column"), number(name, n, f[1], "row"),
                                  number(name, n, f[2], "glyph")});
            if (i >= lines.size()) throw DataError(name, n, "no line \":EndMapChanges\"");
            line = next();
        } while (line != ":EndMapChanges");
    }
    if (next() == ":Reinforcements") {
        for (line = next(); line != ":EndReinforcements" && !line.empty(); line = next())
            ev.reinforcements.push_back(parseUnitLine(name, static_cast<int>(i), line));
    }
    return ev;
}

} // namespace korvath::assets
