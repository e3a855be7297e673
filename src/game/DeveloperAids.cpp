#include "DeveloperAids.h"

#include "Display.h"

namespace korvath {

// The hidden Options entries: only shown when the game starts in developer mode.

void IwannaC1Click(Battle& b) {
    b.controls.IwannaC1.down = !b.controls.IwannaC1.down;
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

void dumpNodeGrid(Battle& b) {
    if (!b.nodeGridVisible) return;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) b.NodeGrid[x][y] = b.MapGrid[x][y].PathCost;
    if (b.ports.refresh) b.ports.refresh->repaint();
}

// Shows the hidden entries and their separator.
void enableDeveloperMode(Battle& b) {
    b.developerMode = true;
    for (Control* c :
         {&b.controls.N1, &b.controls.IwannaC1, &b.controls.Nodes1, &b.controls.Setp1tocoords1})
        c->visible = true;
}

} // namespace korvath
