#include "CursorFile.h"

#include <QPixmap>

#include <fstream>
#include <iterator>

namespace korvath {

namespace {

uint32_t le(const std::vector<unsigned char>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

} // namespace

std::optional<CursorPicture> parseCursor(const std::vector<unsigned char>& b) {
    if (b.size() < 22 || le(b, 0, 2) != 0 || le(b, 2, 2) != 2 || le(b, 4, 2) < 1) return {};
    CursorPicture out;
    out.hotX = static_cast<int>(le(b, 10, 2));
    out.hotY = static_cast<int>(le(b, 12, 2));
    const size_t size = le(b, 14, 4), offset = le(b, 18, 4);
    if (offset >= b.size() || size > b.size() - offset) return {};

    static const unsigned char png[] = {0x89, 'P', 'N', 'G'};
    if (size >= 4 && std::equal(png, png + 4, b.begin() + static_cast<long>(offset))) {
        out.image = QImage::fromData(b.data() + offset, static_cast<int>(size), "PNG")
                        .convertToFormat(QImage::Format_ARGB32);
        if (out.image.isNull()) return {};
        return out;
    }

    // A device-independent bitmap twice as tall as the picture: the colour
    // rows, then the one-bit AND mask, both stored bottom row first.
    if (size < 40 || le(b, offset, 4) < 40) return {};
    const size_t header = le(b, offset, 4);
    const int w = static_cast<int>(le(b, offset + 4, 4));
    const int h = static_cast<int>(le(b, offset + 8, 4)) / 2;
    const int bits = static_cast<int>(le(b, offset + 14, 2));
    if (w <= 0 || h <= 0 || w > 256 || h > 256) return {};
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
    size_t colours = le(b, offset + 32, 4);
    if (bits <= 8 && colours == 0) colours = size_t{1} << bits;
    if (bits > 8) colours = 0;
    const size_t palette = offset + header;
    const size_t pixels = palette + colours * 4;
    const size_t colourStride = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
    const size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    const size_t mask = pixels + colourStride * h;
    if (mask + maskStride * h > offset + size) return {};

    out.image = QImage(w, h, QImage::Format_ARGB32);
    bool anyAlpha = false;
    for (int y = 0; y < h; ++y) {
        const size_t row = pixels + colourStride * (h - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            QRgb c = 0;
            if (bits == 32) {
                c = qRgba(b[row + x * 4 + 2], b[row + x * 4 + 1], b[row + x * 4],
                          b[row + x * 4 + 3]);
                anyAlpha = anyAlpha || qAlpha(c) != 0;
            } else if (bits == 24) {
                c = qRgb(b[row + x * 3 + 2], b[row + x * 3 + 1], b[row + x * 3]);
            } else {
                const size_t bit = static_cast<size_t>(x) * bits;
                const unsigned byte = b[row + bit / 8];
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                const size_t p = palette + std::min<size_t>(index, colours - 1) * 4;
                c = qRgb(b[p + 2], b[p + 1], b[p]);
            }
            line[x] = c;
        }
    }
    // Without an alpha channel the AND mask says which pixels are see-through.
    if (!anyAlpha) {
        for (int y = 0; y < h; ++y) {
            const size_t row = mask + maskStride * (h - 1 - y);
            auto* line = reinterpret_cast<QRgb*>(out.image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const bool clear = (b[row + x / 8] >> (7 - x % 8)) & 1;
                line[x] = clear ? qRgba(0, 0, 0, 0) : (line[x] | 0xff000000u);
            }
        }
    }
    return out;
}

QCursor loadCursor(const std::string& file, Qt::CursorShape fallback) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return QCursor(fallback);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    auto picture = parseCursor(bytes);
    if (!picture) return QCursor(fallback);
    return QCursor(QPixmap::fromImage(picture->image), picture->hotX, picture->hotY);
}

} // namespace korvath
