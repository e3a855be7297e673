#pragma once
#include "game/files/ScenarioManifest.h"
#include "game/state/Battle.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace korvath {

enum class ScenarioId { Korvath, Vexlar };

// The front screen's choice (BeginButtonClick steps 1, 3 and 4): fixes the
// scenario settings and the difficulty (1..8).
void chooseScenario(Battle& b, ScenarioId which, int difficulty);
// The same for a scenario of its manifest; `folder` holds a player's
// scenario's files ("" for the two that come with the game).
void chooseScenario(Battle& b, const ScenarioManifest& m, const std::string& folder,
                    int difficulty);

// Creating the battle window (FormCreate): reads every file of the chosen
// scenario into the tables, draws the map, fills the deployment list. Throws
// DataError (file, line, reason) and then leaves the battle exactly as it was.
void createBattle(Battle& b);
// Shows the floor art read by readFloorArt (files/ScenarioPictures.h).
void showFloorArt(Battle& b, const Raster& art);
// The window is shown (FormShow) / activated (FormActivate) / closed (FormClose).
void showBattle(Battle& b);
void activateBattle(Battle& b);
void closeBattle(Battle& b);

// Ending deployment: the list hides, Cancel and End turn come on, start stars
// turn into floor and the information panel shows.
void endDeployment(Battle& b);

// Quit from the menu: closes the battle during the human turn; otherwise
// logs why not. Returns true when the battle closed.
bool quitBattle(Battle& b);

} // namespace korvath
