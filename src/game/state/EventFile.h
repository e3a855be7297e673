#pragma once
#include "game/state/Records.h"

#include <map>
#include <string>
#include <vector>

namespace korvath {

// One scenario event file as it was read when the battle began (or was
// loaded): the changes it makes, in file order. Running the event opens no
// file, so an event that a shot sets off never waits on the disk.
struct EventFile {
    struct MapChange {
        int x = 0, y = 0, glyph = 0;
    };
    // A reinforcement line: the soldier as the line gives him, and the line's
    // number for the errors found only when he arrives (no free slot, a
    // square off the map).
    struct Arrival {
        PieceRecord piece;
        int line = 0;
    };

    std::string path;       // the file, as its errors name it
    std::string unreadable; // why the file could not be read; then nothing else is set
    std::vector<MapChange> mapChanges;
    bool reinforcementSection = false; // the ":Reinforcements" line was reached
    std::vector<Arrival> arrivals;
    // The error of the bad line the reading stopped at (naming the file and
    // the line), empty when every line was good. What comes before it stays.
    std::string badLine;
};

// Every event file the scenario can run, by the event's name.
using EventFiles = std::map<std::string, EventFile>;

} // namespace korvath
