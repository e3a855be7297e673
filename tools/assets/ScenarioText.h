#pragma once
#include <string>
#include <vector>

namespace korvath::assets {

// A unit line: the fields the data checks and the map pictures need.
struct UnitLine {
    std::string name;
    int side = 0, x = 0, y = 0, minDifficulty = 0, picture = 0;
    int ap = 0, baseAP = 0, attack = 0, shoot = 0, strength = 0, toughness = 0, wounds = 0;
    int endurance = 0, fatigue = 0, cool = 0;
    int items[6] = {};
    int targetSize = 0;
};

struct EquipmentLine {
    std::string name;
    int ammoType = 0;
    std::string kind;
    int weight = 0;
    std::string damageDice;
    int aimedAP = 0, quickAP = 0, range = 0, capacity = 0, heldFrame = 0;
    std::string effect, value, traceColour;
};

struct EventLine {
    int turn = 0;
    std::string name;
};

// The scenario description file split into its parts.
struct ScenarioText {
    std::vector<std::string> briefing;
    std::vector<UnitLine> units;
    std::vector<EquipmentLine> equipment; // type 1 first
    std::vector<EventLine> events;
};

// An event file: map changes and reinforcements.
struct MapChange {
    int x = 0, y = 0, glyph = 0;
};
struct EventFile {
    std::vector<MapChange> changes;
    std::vector<UnitLine> reinforcements;
};

// Both read the layout the game reads and throw DataError (file, line, reason)
// where it would stumble.
ScenarioText parseScenarioText(const std::string& name, const std::string& text);
EventFile parseEventFile(const std::string& name, const std::string& text);
UnitLine parseUnitLine(const std::string& name, int lineNo, const std::string& line);

} // namespace korvath::assets
