#include "Bmp.h"

#include "DataError.h"

#include <algorithm>
#include <fstream>

namespace korvath {

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

} // namespace

Raster decodeBmp(const std::string& name, const std::vector<uint8_t>& b) {
    auto bad = [&](const std::string& why) { return DataError(name, 0, why); };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw bad("not a bitmap file");
    const uint32_t offset = le32(b, 10);
    const uint32_t headerSize = le32(b, 14);
    const int32_t width = static_cast<int32_t>(le32(b, 18));
    const int32_t rawHeight = static_cast<int32_t>(le32(b, 22));
    const uint16_t bpp = le16(b, 28);
    const uint32_t compression = le32(b, 30);
    if (width <= 0 || rawHeight == 0 || width > 16384 || rawHeight > 16384 || rawHeight < -16384)
        throw bad("bitmap size out of range");
    if (compression != 0 && !(compression == 3 && bpp == 32))
        throw bad("compressed bitmaps are not supported");
    if (bpp != 24 && bpp != 32 && bpp != 8)
        throw bad("only 8, 24 and 32-bit bitmaps are supported");
    const bool bottomUp = rawHeight > 0;
    const int height = bottomUp ? rawHeight : -rawHeight;
    const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    if (offset > b.size() || stride * height > b.size() - offset)
        throw bad("bitmap file is cut short");

    std::vector<Rgb> palette;
    if (bpp == 8) {
        uint32_t colours = le32(b, 46);
        if (colours == 0 || colours > 256) colours = 256;
        const size_t at = 14 + headerSize;
        if (at + colours * 4 > offset) throw bad("bitmap palette is cut short");
        for (uint32_t i = 0; i < colours; ++i)
            palette.push_back(rgb(b[at + i * 4 + 2], b[at + i * 4 + 1], b[at + i * 4]));
        palette.resize(256, 0);
    }

    // A new picture: its pixels are written directly, every tile counts as new.
    Raster r(width, height);
    Rgb* out = r.data();
    const size_t step = bpp / 8;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &b[offset + stride * (bottomUp ? height - 1 - y : y)];
        if (bpp == 8)
            for (int x = 0; x < width; ++x) *out++ = palette[row[x]];
        else
            for (const uint8_t* p = row; p < row + width * step; p += step)
                *out++ = rgb(p[2], p[1], p[0]);
    }
    return r;
}

Raster readBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw DataError(path, 0, "cannot open the file");
    // The whole file in one read: the floor pictures are 12 MB.
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max<std::streamoff>(0, in.tellg())));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) throw DataError(path, 0, "cannot read the file");
    return decodeBmp(path, bytes);
}

std::vector<uint8_t> encodeBmp(const Raster& image) {
    const uint32_t stride = (static_cast<uint32_t>(image.width()) * 3 + 3) & ~3u;
    const uint32_t size = stride * image.height();
    std::vector<uint8_t> b;
    b.reserve(54 + size);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + size);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, image.width());
    put32(b, image.height());
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, size);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.pixel(x, y);
            b.push_back(c & 255);
            b.push_back((c >> 8) & 255);
            b.push_back((c >> 16) & 255);
        }
        for (uint32_t pad = image.width() * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
}

} // namespace korvath
