#pragma once
#include "game/state/Records.h"

#include <string>

namespace korvath {

// A unit line (23 fields) or an equipment line (14 fields) holding the
// record: the columns of `old` whose value the record keeps stay as they were
// written ("+5", a column no field reads), the others are written anew.
std::string unitLine(const PieceRecord& p, const std::string& old = {});
std::string equipmentLine(const EquipmentType& e, const std::string& old = {});

} // namespace korvath
