#pragma once
#include "game/editor/ScenarioContent.h"

#include <string>
#include <vector>

namespace korvath {

// What Check found: a problem the battle cannot be played right with (a
// soldier on a wall, an event file missing …), or a note worth knowing (no
// "Victory!" tile, how the short battle went). Each names the square, the
// soldier or the file and line.
struct CheckFinding {
    bool problem = true;
    std::string text;
};

struct CheckReport {
    std::vector<CheckFinding> findings;
    bool passed() const;
    // The findings, one a line, problems first.
    std::string text() const;
};

// Checks the scenario written in `folder` as the game will play it: the
// game's own loader reads it (at every difficulty a soldier comes at), its
// tables are looked over square by square and soldier by soldier, every
// event file is run on it, and a short battle is played (the Raiders
// deployed, then End Turn until it is decided or ten turns have gone).
// appDir is the game folder with the shared pictures and sounds.
CheckReport checkScenario(const std::string& appDir, const std::string& folder);

// The parts of it, for the editor to tell more as it goes.
void checkTables(const ScenarioContent& c, std::vector<CheckFinding>& out);
void checkInBattle(const std::string& appDir, const std::string& folder, const ScenarioContent& c,
                   std::vector<CheckFinding>& out);

} // namespace korvath
