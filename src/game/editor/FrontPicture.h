#pragma once
#include "engine/Raster.h"
#include "game/files/ScenarioFiles.h"

#include <array>
#include <vector>

namespace korvath {

// The size of a scenario's picture on the front screen.
constexpr int kFrontPictureWidth = 273, kFrontPictureHeight = 169;

// The whole battlefield as the battle would first show it: every square's
// tile, and the soldiers standing on the map.
Raster drawBattlefield(const MapSquares& map, const std::array<Raster, 157>& tiles,
                       const std::array<std::array<Raster, 9>, 17>& units,
                       const std::vector<PieceRecord>& soldiers);
// A picture shrunk to width x height, each pixel the mean of those it covers.
Raster shrink(const Raster& big, int width, int height);

} // namespace korvath
