#include "game/files/EventFiles.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "game/files/ScenarioFiles.h"
#include "game/files/ScenarioPaths.h"

#include <algorithm>

namespace korvath {

namespace {

// "column TAB row TAB glyph", on the map and a glyph that exists.
EventFile::MapChange parseMapChange(const TextFile& f, const std::string& line) {
    const auto fields = splitTabs(line, 3);
    if (fields.size() != 3)
        f.fail("a map change needs column, row and glyph separated by tabs: \"" + line + "\"");
    const int x = f.toInt(fields[0], "the column");
    const int y = f.toInt(fields[1], "the row");
    const int g = f.toInt(fields[2], "the glyph");
    if (!BattleState::onMap(x, y))
        f.fail("the square " + std::to_string(x) + ", " + std::to_string(y) +
               " is outside the map (1..80, 1..50)");
    if (g < 1 || g > kMaxGlyphs) f.fail("the glyph " + std::to_string(g) + " is not 1..255");
    return {x, y, g};
}

void readSections(TextFile& f, EventFile& e) {
    std::string line = f.readLine();
    if (line == ":Mapchanges") {
        f.readLine(); // heading
        line = f.readLine();
        // The first entry is always one, whatever it says.
        do {
            e.mapChanges.push_back(parseMapChange(f, line));
            line = f.readLine();
        } while (line != ":EndMapChanges");
    }
    line = f.readLine();
    if (line == ":Reinforcements") {
        e.reinforcementSection = true;
        line = f.readLine();
        do {
            e.arrivals.push_back({parseUnitLine(f, line), f.lineNumber()});
            line = f.readLine();
        } while (line != ":EndReinforcements" && !line.empty());
    }
}

} // namespace

std::string eventFilePath(const BattleState& b, const std::string& name) {
    return scenarioFilePath(b, b.ScenarioName + name + ".txt");
}

EventFile parseEventFile(TextFile& file) {
    EventFile e;
    e.path = file.name();
    try {
        readSections(file, e);
    } catch (const DataError& error) {
        e.badLine = error.what();
    }
    return e;
}

EventFile readEventFile(const std::string& path) {
    try {
        TextFile file = TextFile::load(path);
        return parseEventFile(file);
    } catch (const DataError& error) {
        EventFile e;
        e.path = path;
        e.unreadable = error.what();
        return e;
    }
}

EventFiles readEventFiles(const BattleState& b) {
    std::vector<std::string> names;
    const int scheduled = std::clamp(b.TurnEventList[0].Turn, 0, kMaxEvents);
    for (int j = 1; j <= scheduled; ++j) names.push_back(b.TurnEventList[j].EventName);
    for (int g = 1; g <= kMaxGlyphs; ++g)
        if (b.Glyphs[g].Action.starts_with("event")) names.push_back(b.Glyphs[g].Action);
    EventFiles files;
    for (const std::string& name : names)
        if (!files.contains(name)) {
            try {
                files[name] = readEventFile(eventFilePath(b, name));
            } catch (const DataError& error) { // a player's name that leads outside the folder
                files[name].unreadable = error.what();
            }
        }
    return files;
}

} // namespace korvath
