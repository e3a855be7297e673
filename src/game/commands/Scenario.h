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
// The floor art the window shows under the open squares (the headless
// driver has no screen to show it on): graphics/<scenario>Floors.bmp, a
// picture of the whole battlefield, read before the battle is created and
// shown once it is. The floors are decoration: without the file, or with one
// that is no such picture, they are black, and the second says why in one
// line on `warnings`.
Raster readFloorArt(const Battle& b, std::ostream& warnings);
void showFloorArt(Battle& b, const Raster& art);
// The window is shown (FormShow) / activated (FormActivate) / closed (FormClose).
void showBattle(Battle& b);
void activateBattle(Battle& b);
void closeBattle(Battle& b);

// Ending deployment: the list hides, Cancel and End turn come on, start stars
// turn into floor and the information panel shows.
void endDeployment(Battle& b);

// The briefing text: the lines strictly between the two marker lines of the
// scenario description (up to the end of the file when the closing one is missing).
std::vector<std::string> briefingLines(const Battle& b);
// The briefing picture's path.
std::string briefingPicturePath(const Battle& b);
// The scenario's name as the player knows it ("Starship Vexlar F-242").
std::string scenarioTitle(const Battle& b);

// Quit from the menu: closes the battle during the human turn; otherwise
// logs why not. Returns true when the battle closed.
bool quitBattle(Battle& b);

} // namespace korvath
