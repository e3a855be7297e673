#pragma once
#include "engine/TextFile.h"
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// The file of the scenario's event `name`: scenario + name + ".txt" in the
// scenario's folder (DataError for a player's name that leads outside it).
std::string eventFilePath(const BattleState& b, const std::string& name);

// Reads an event file's sections, in order: a first line ":Mapchanges" opens
// the map changes (a heading, then "column TAB row TAB glyph" lines up to
// ":EndMapChanges"); the next line ":Reinforcements" opens the reinforcements
// (unit lines up to ":EndReinforcements" or an empty line). A bad line stops
// the reading there and is kept as the file's badLine.
EventFile parseEventFile(TextFile& file);

// Reads and parses one file; a file that cannot be read is kept as its error.
EventFile readEventFile(const std::string& path);

// Every event the battle can run: the scheduled ones of TurnEventList and
// those of the glyphs whose Action begins with "event". Never throws.
EventFiles readEventFiles(const BattleState& b);

} // namespace korvath
