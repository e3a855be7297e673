#pragma once
#include "assets/GlyphTable.h"
#include "assets/Tiles.h"

#include <QImage>

namespace korvath::assets {

Theme themeNamed(const std::string& name);

// One 32 x 32 tile picture; throws DataError for an unknown picture name.
QImage tilePicture(const Theme& theme, const GlyphSource& glyph);

// The tiles bitmap: 12 rows of 13 tiles, 40 pixels apart with a 4-pixel
// margin; glyph 1 + row * 13 + column.
QImage tileSheet(const GlyphTable& table);

// The 32 x 32 picture of glyph g cut back out of a sheet.
QImage cutTile(const QImage& sheet, int glyph);

} // namespace korvath::assets
