#include "game/editor/FrontPicture.h"

#include <algorithm>

namespace korvath {

Raster drawBattlefield(const MapSquares& map, const std::array<Raster, 157>& tiles,
                       const std::array<std::array<Raster, 9>, 17>& units,
                       const std::vector<PieceRecord>& soldiers) {
    Raster field(kMapPixelsX, kMapPixelsY);
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            const int g = map[x][y].Glyph;
            if (g >= 1 && g <= kLastTileGlyph && !tiles[g].empty())
                field.draw(tiles[g], (x - 1) * kSquare, (y - 1) * kSquare);
        }
    for (const PieceRecord& p : soldiers) {
        if (p.X < 1 || p.Y < 1 || p.X > kMapWidth || p.Y > kMapHeight) continue;
        if (p.Picture < 1 || p.Picture > kPictureRows || units[p.Picture][1].empty()) continue;
        field.draw(units[p.Picture][1], (p.X - 1) * kSquare, (p.Y - 1) * kSquare);
    }
    return field;
}

Raster shrink(const Raster& big, int width, int height) {
    Raster out(width, height);
    if (big.empty() || width <= 0 || height <= 0) return out;
    for (int oy = 0; oy < height; ++oy) {
        const int y0 = oy * big.height() / height;
        const int y1 = std::max(y0 + 1, (oy + 1) * big.height() / height);
        for (int ox = 0; ox < width; ++ox) {
            const int x0 = ox * big.width() / width;
            const int x1 = std::max(x0 + 1, (ox + 1) * big.width() / width);
            uint64_t r = 0, g = 0, b = 0, n = 0;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) {
                    const Rgb c = big.pixel(x, y);
                    r += (c >> 16) & 255;
                    g += (c >> 8) & 255;
                    b += c & 255;
                    ++n;
                }
            out.setPixel(
                ox, oy,
                rgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)));
        }
    }
    return out;
}

} // namespace korvath
