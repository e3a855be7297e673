#pragma once
#include "game/state/BattleState.h"

#include <string>

namespace korvath {

// Fills the information panel from soldier i: statistics, the item in hand
// with its shot costs and the six carried items. Index 0 or a free record
// leaves the panel as it is. Never clears InfoLabel.
void ShowPieceStats(BattleState& b, int i);

// Shows the numbers of the soldier in the panel anew, as they are now; the
// status line above the map stays as it is.
void RefreshPieceStats(BattleState& b);

// Rebuilds the "On the ground" list for soldier p's square: an item lying on
// the floor first, then what the dead lying there carry. The Pick Up button
// is on while the list holds anything.
void FillPickList(BattleState& b, int p);

// The equipment index of an item lying on the floor ("item_12" is type 12),
// or 0 when the tile holds no item.
int floorItem(const std::string& action);

} // namespace korvath
