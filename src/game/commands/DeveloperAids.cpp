#include "game/commands/DeveloperAids.h"

#include "game/display/Display.h"

namespace korvath {

// The hidden Options entries: only shown when the game starts in developer mode.

void IwannaC1Click(Battle& b) {
    b.sightTraces = !b.sightTraces;
}

void Nodes1Click(Battle& b) {
    b.nodeGridVisible = !b.nodeGridVisible;
}

// Moves soldier 1 by hand. Only his position changes: the square he leaves
// keeps its marking until something redraws it.
void Setp1tocoords1Click(Battle& b) {
    b.Pieces[1].X = 42;
    b.Pieces[1].Y = 30;
    placePieces(b);
}

} // namespace korvath
