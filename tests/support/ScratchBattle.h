#pragma once
#include "game/editor/ScenarioDocument.h"

#include <string>

namespace korvath::test {

// A battle made from scratch by the editor's commands, as a player would
// make it: three rooms in a row on the fortress tiles, joined by an airlock
// and an open door; four Raiders to place on four stars in the first room,
// four Operatives in the others; the core ("Victory!") behind a force field
// in the last room, the objective square beside it; a comms relay whose
// destruction opens a wall and an alarm on turn 3 that brings one more
// Operative. Not saved yet.
ScenarioDocument threeRooms(const std::string& appDir);

} // namespace korvath::test
