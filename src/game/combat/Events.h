#pragma once
#include "game/state/Battle.h"

#include <string>

namespace korvath {

// Processes the scenario's event file named by `name`: map changes, then reinforcements.
void RunEventFile(Battle& b, const std::string& name);

} // namespace korvath
