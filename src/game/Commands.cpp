#include "Commands.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void MapImageMouseDown(Battle&, MouseButton, ShiftState, int, int) {}
void MapImageMouseMove(Battle&, int, int, bool) {}
void FormMouseMove(Battle&) {}
void NextButtonClick(Battle&) {}
void CancelButtonClick(Battle&) {}
void FormKeyPress(Battle&, char) {}
void FormKeyDown(Battle&, int) {}
void EquipRadioClick(Battle&, bool) {}

} // namespace korvath
