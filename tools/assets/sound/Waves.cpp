#include "Sounds.h"

namespace korvath::assets {

std::map<std::string, std::vector<uint8_t>> synthesiseWaves() { return {}; }

} // namespace korvath::assets
