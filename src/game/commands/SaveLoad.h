#pragma once
#include "game/files/SavedGame.h"
#include "game/state/Battle.h"

namespace korvath {

// Puts a checked saved game into the running battle and redraws it.
void applySavedGame(Battle& b, const SavedGame& g);

// The "&Savegame" and "&Loadgame" menu entries.
void saveClick(Battle& b);
void LoadClick(Battle& b);

} // namespace korvath
