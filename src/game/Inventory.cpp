#include "Inventory.h"

// Not built yet: the rules arrive with their own change.
namespace korvath {

void EquipGridClick(Battle&, int) {}
void PickItemsChange(Battle&, int) {}
void PickUpButtonClick(Battle&) {}
void DropItemClick(Battle&) {}

} // namespace korvath
