#include "Overwatch.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void OverwatchButtonClick(Battle&) {}
bool CheckOverWatch(Battle&, int, int) {
    return false;
}
void EndOfMoveReaction(Battle&, int) {}

} // namespace korvath
