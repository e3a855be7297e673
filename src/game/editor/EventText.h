#pragma once
#include "game/editor/LinedText.h"
#include "game/state/Records.h"

#include <string>
#include <vector>

namespace korvath {

// What an event file does: squares of the map that change, then soldiers that
// arrive.
struct MapChange {
    int x = 0, y = 0, glyph = 0;
    bool operator==(const MapChange&) const = default;
};
struct EventContents {
    std::vector<MapChange> changes;
    std::vector<PieceRecord> reinforcements; // every line, whatever its MinDifficulty
};

// Reads the file's sections as the game does; throws DataError (named `name`)
// where the game would stop.
EventContents readEventText(const LinedText& text, const std::string& name);
// The file in the game's format: ":Mapchanges" with its heading and entries
// (or a first line that says there are none), then ":Reinforcements".
LinedText eventText(const EventContents& e);

} // namespace korvath
