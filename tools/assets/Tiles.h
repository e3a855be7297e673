#pragma once
#include <QColor>
#include <QPainter>

#include <string>

namespace korvath::assets {

// The look of one tile set: the planet-side fortress or the starship.
struct Theme {
    bool starship = false;
    QColor wall;      // main wall material
    QColor wallLight; // lit edge
    QColor wallDark;  // shadowed edge
    QColor seam;      // mortar or panel seams
    QColor rock;      // second wall material: cliffs or outer hull
    QColor rockLight;
    QColor rockDark;
    QColor metal; // machinery and doors
    QColor metalLight;
    QColor metalDark;
    QColor accent;  // lamps, screens, field glow
    QColor warning; // hazard stripes
    QColor crate;   // boxes and furniture
    QColor crateDark;
};

Theme fortressTheme();
Theme starshipTheme();

// Paints one 32 x 32 tile at (0, 0) of the painter. `name` picks the picture
// (see the glyph tables under data/), `arg` is its variant: the joining mask
// of walls (1 north, 2 east, 4 south, 8 west) or the kind of a lying item.
// Returns false for an unknown name.
bool paintTile(QPainter& p, const Theme& theme, const std::string& name, int arg);

// The three families, each answering the names it knows.
bool paintWallTile(QPainter& p, const Theme& t, const std::string& name, int arg);
bool paintObjectTile(QPainter& p, const Theme& t, const std::string& name, int arg);
// The doors, machinery and the core; false for any other name.
bool paintStrongObjectTile(QPainter& p, const Theme& t, const std::string& name, int arg);
bool paintFloorTile(QPainter& p, const Theme& t, const std::string& name, int arg);

// Shared drawing helpers.
namespace draw {
// A raised block: light top and left edges, dark bottom and right ones, on the
// sides named by `openSides` (same bits as the joining mask).
void bevel(QPainter& p, QRect r, QColor light, QColor dark, int openSides, int width = 2);
void rivet(QPainter& p, int x, int y, QColor c);
// Diagonal hazard stripes inside r.
void stripes(QPainter& p, QRectF r, QColor a, QColor b, double step = 6);
// A glowing light: a soft halo and a bright core.
void glow(QPainter& p, QPointF centre, double radius, QColor c);
QColor mix(QColor a, QColor b, double t);
} // namespace draw

} // namespace korvath::assets
