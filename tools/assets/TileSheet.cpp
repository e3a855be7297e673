#include "assets/TileSheet.h"

#include "assets/QtRaster.h"
#include "engine/DataError.h"

namespace korvath::assets {

Theme themeNamed(const std::string& name) {
    return name == "starship" ? starshipTheme() : fortressTheme();
}

QImage tilePicture(const Theme& theme, const GlyphSource& glyph) {
    QImage img = blankImage(32, 32);
    QPainter p(&img);
    prepare(p);
    p.setClipRect(0, 0, 32, 32);
    if (!paintTile(p, theme, glyph.painter, glyph.arg))
        throw DataError("glyph table", 0, "unknown tile picture " + glyph.painter);
    return img;
}

QImage tileSheet(const GlyphTable& table) {
    const Theme theme = themeNamed(table.theme);
    QImage sheet = blankImage(13 * 40, 12 * 40, QColor(64, 64, 64));
    QPainter p(&sheet);
    for (int g = 1; g <= 156; ++g) {
        const int row = (g - 1) / 13, col = (g - 1) % 13;
        p.drawImage(col * 40 + 4, row * 40 + 4, tilePicture(theme, table.glyphs[g]));
    }
    return sheet;
}

QImage cutTile(const QImage& sheet, int glyph) {
    const int row = (glyph - 1) / 13, col = (glyph - 1) % 13;
    return sheet.copy(col * 40 + 4, row * 40 + 4, 32, 32);
}

} // namespace korvath::assets
