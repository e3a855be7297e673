#pragma once
#include "game/files/SaveFiles.h"
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// The battle kept at the start of each of the player's turns: saved games
// named autosave1 (this turn's) to autosave3 (two turns back), so that
// autosave1_korvath.map and the rest show in the load dialog like any other
// saved game of the scenario.
constexpr int kAutosaves = 3;

// The base name of autosave n (1..3) in a folder: FOLDER/autosaveN.
std::string autosaveBase(const std::string& folder, int n);

// Moves the older autosaves one place back (the oldest goes, and a place
// whose set before it is not whole is emptied) and saves the battle as
// autosave1. The three sets change as one, through one commit record
// (FOLDER/.korvath-autosave_SCENARIO.rotation): cut short anywhere, the next
// look at the folder finds the whole rotation before or the whole one after.
// Throws DataError naming the file and the system's reason. Reads the
// battle, changes nothing of it.
void autosave(const BattleState& b, const std::string& folder,
              const SaveFiles& files = diskFiles());

} // namespace korvath
