#pragma once
#include "game/files/ScenarioManifest.h"

#include <string>
#include <vector>

namespace korvath {

// Scenarios made by players: a folder each, holding the scenario's files and
// its manifest, in the game folder's scenarios/ or in the player's own
// $XDG_DATA_HOME/korvath/scenarios/. Copying a folder there installs it.
struct FoundScenario {
    std::string folder; // where its files are
    std::string key;    // the folder's name: keeps its saved games apart
    bool playersOwn = false;
    ScenarioManifest manifest;
    std::string problem; // why the manifest cannot be read; empty when it can
};

// The player's scenarios folder ($XDG_DATA_HOME/korvath/scenarios, or
// ~/.local/share/korvath/scenarios); "" without a home.
std::string playersScenariosFolder();

// Every scenario folder of the game folder and of the player's, by title; a
// player's folder hides one of the same name in the game folder.
std::vector<FoundScenario> findScenarios(const std::string& appDir);
// One folder; throws DataError naming the manifest and line. Both finish a
// save of a folder cut short first (finishInterruptedSaves), so a scenario is
// read whole, as it was before that save or as it is after it.
FoundScenario readScenarioFolder(const std::string& folder);

// The file `name` of the scenario folder (matched without regard to case).
// Throws DataError when the name could lead out of the folder: a path, "..",
// or a link to somewhere outside it.
std::string fileInFolder(const std::string& folder, const std::string& name);

} // namespace korvath
