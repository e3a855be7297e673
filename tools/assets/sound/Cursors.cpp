#include "Sounds.h"

namespace korvath::assets {

std::vector<uint8_t> swordCursor() { return {}; }
std::vector<uint8_t> aimCursor() { return {}; }

} // namespace korvath::assets
