// The floor art: a picture of the whole battlefield, 2560 x 1600, that the
// game shows wherever its terrain picture is black. It is painted pixel by
// pixel in map coordinates, so large floors never repeat a tile.
#pragma once
#include "assets/FloorNoise.h"
#include "assets/FloorPlan.h"
#include "engine/Raster.h"

#include <string>

namespace korvath::assets {

// The colour of map pixel (x, y) on a floor of one style; sq tells what
// stands around the pixel's square (for markings along walls).
using FloorPainter = noise::Tone (*)(int x, int y, const FloorSquare& sq);

// The painters of each tile set; null for a name they do not know.
FloorPainter fortressFloor(const std::string& style);
FloorPainter starshipFloor(const std::string& style);

// Throws DataError for a style no painter knows. Floors darken towards the
// walls and objects around them. No pixel of a square with a style is black.
Raster floorArt(const FloorPlan& plan);

} // namespace korvath::assets
