#pragma once
#include "engine/Raster.h"
#include "game/state/BattleState.h"
#include "game/state/Records.h"

#include <iosfwd>

#include <array>
#include <set>
#include <string>

namespace korvath {

// Readers of the scenario's pictures, waves and cursors. Each throws
// DataError naming the file when it cannot be read or holds too little.

// The tiles of glyphs 1..156: 12 rows of 13 on the sheet.
using TilePictures = std::array<Raster, kLastTileGlyph + 1>;
TilePictures readTilePictures(const std::string& path);

// The soldiers' pictures [row 1..16][frame 1..8]: 16 rows of 8 on the sheet.
using SoldierPictures = std::array<std::array<Raster, kPictureFrames + 1>, kPictureRows + 1>;
SoldierPictures readSoldierPictures(const std::string& path);

// The names (without ".wav") of the waves in the wave collection.
std::set<std::string> readWaveNames(const std::string& path);

// The window decodes the cursors itself; the battle only needs them there.
void requireCursor(const std::string& path);

// The floor art the window shows under the open squares (the headless
// driver has no screen to show it on): graphics/<scenario>Floors.bmp, a
// picture of the whole battlefield, read before the battle is created and
// shown once it is. The floors are decoration: without the file, or with one
// that is no such picture, they are black, and the second says why in one
// line on `warnings`.
Raster readFloorArt(const BattleState& b, std::ostream& warnings);

} // namespace korvath
