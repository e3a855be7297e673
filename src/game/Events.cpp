#include "Events.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void RunEventFile(Battle&, const std::string&) {}

} // namespace korvath
