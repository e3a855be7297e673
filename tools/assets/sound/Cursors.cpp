#include "LittleEndian.h"
#include "Sounds.h"

#include <array>
#include <cmath>

namespace korvath::assets {

namespace {

constexpr int kSize = 32;

// A cursor picture: 0xAARRGGBB, fully opaque or fully clear, rows from the top.
using Picture = std::array<uint32_t, kSize * kSize>;

constexpr uint32_t opaque(int r, int g, int b) {
    return 0xff000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}
constexpr uint32_t kClear = 0;
constexpr uint32_t kOutline = opaque(0, 0, 0);

bool isOpaque(uint32_t c) {
    return (c >> 24) != 0;
}

// Rings every drawn shape with a black edge so the cursor stands out on
// light and dark ground alike.
void outline(Picture& p) {
    Picture out = p;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            if (isOpaque(p[y * kSize + x])) continue;
            const int nx[4] = {x - 1, x + 1, x, x};
            const int ny[4] = {y, y, y - 1, y + 1};
            for (int i = 0; i < 4; ++i)
                if (nx[i] >= 0 && nx[i] < kSize && ny[i] >= 0 && ny[i] < kSize &&
                    isOpaque(p[ny[i] * kSize + nx[i]]))
                    out[y * kSize + x] = kOutline;
        }
    p = out;
}

// A Windows cursor file with one 32 x 32 image: the directory, then a
// bitmap header of doubled height, the 32-bit colour rows and the 1-bit AND
// mask (1 = see-through), both stored bottom row first.
std::vector<uint8_t> encodeCursor(const Picture& p, int hotX, int hotY) {
    constexpr uint32_t kHeaderBytes = 40;
    constexpr uint32_t kColourBytes = kSize * kSize * 4;
    constexpr uint32_t kMaskBytes = kSize * 4; // one 32-bit row per line
    constexpr uint32_t kImageBytes = kHeaderBytes + kColourBytes + kMaskBytes;
    constexpr uint32_t kImageOffset = 6 + 16;

    std::vector<uint8_t> out;
    out.reserve(kImageOffset + kImageBytes);
    put16(out, 0); // reserved
    put16(out, 2); // cursor
    put16(out, 1); // one image
    out.push_back(kSize);
    out.push_back(kSize);
    out.push_back(0); // no palette
    out.push_back(0); // reserved
    put16(out, static_cast<uint32_t>(hotX));
    put16(out, static_cast<uint32_t>(hotY));
    put32(out, kImageBytes);
    put32(out, kImageOffset);

    put32(out, kHeaderBytes);
    put32(out, kSize);
    put32(out, kSize * 2); // colour rows and mask rows together
    put16(out, 1);         // planes
    put16(out, 32);        // bits per pixel
    put32(out, 0);         // uncompressed
    put32(out, kColourBytes + kMaskBytes);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            const uint32_t c = p[y * kSize + x];
            out.push_back(static_cast<uint8_t>(c & 0xff));
            out.push_back(static_cast<uint8_t>((c >> 8) & 0xff));
            out.push_back(static_cast<uint8_t>((c >> 16) & 0xff));
            out.push_back(static_cast<uint8_t>(c >> 24));
        }
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < kSize / 8; ++byte) {
            uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!isOpaque(p[y * kSize + byte * 8 + bit]))
                    bits |= static_cast<uint8_t>(0x80 >> bit);
            out.push_back(bits);
        }
    return out;
}

} // namespace

// A short sword pointing up and to the left: a bevelled steel blade, a gold
// cross-guard, a bound leather grip and a round pommel. Its point is the hot spot.
std::vector<uint8_t> swordCursor() {
    const double tipX = 1.5, tipY = 1.5; // centre of pixel (1, 1)
    const double bladeLength = 17.5 * std::sqrt(2.0);
    const double k = 1.0 / std::sqrt(2.0);

    Picture p{};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const double dx = x + 0.5 - tipX, dy = y + 0.5 - tipY;
            const double along = (dx + dy) * k;  // from the point towards the pommel
            const double across = (dx - dy) * k; // signed distance from the sword's axis
            const double off = std::abs(across);
            uint32_t c = kClear;
            if (along >= 0.0 && along <= bladeLength && off <= std::min(1.7, 0.2 + 0.45 * along)) {
                // Light on the upper-right flat, shaded on the lower-left.
                c = across >= 0.0 ? opaque(225, 230, 240) : opaque(150, 158, 175);
            } else if (std::abs(along - bladeLength - 1.0) <= 1.3 && off <= 6.0) {
                c = std::abs(along - bladeLength - 1.0) <= 0.5 ? opaque(240, 200, 70)
                                                               : opaque(185, 140, 35);
            } else if (along > bladeLength + 2.3 && along <= bladeLength + 8.0 && off <= 1.3) {
                // The grip's binding shows as alternating bands.
                c = static_cast<int>(along) % 2 ? opaque(125, 75, 35) : opaque(90, 50, 20);
            } else {
                const double px = along - (bladeLength + 9.6);
                if (px * px + across * across <= 2.3 * 2.3) c = opaque(215, 175, 50);
            }
            p[y * kSize + x] = c;
        }
    outline(p);
    return encodeCursor(p, 1, 1);
}

// A red gun-sight: a ring with four ticks and a centre dot on the hot spot.
std::vector<uint8_t> aimCursor() {
    constexpr int c = 16;
    const uint32_t red = opaque(255, 45, 35);
    Picture p{};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const int dx = x - c, dy = y - c;
            const double r = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            const bool ring = std::abs(r - 9.0) < 0.6;
            const bool tick = (dx == 0 && std::abs(dy) >= 4 && std::abs(dy) <= 14) ||
                              (dy == 0 && std::abs(dx) >= 4 && std::abs(dx) <= 14);
            const bool dot = dx == 0 && dy == 0;
            p[y * kSize + x] = ring || tick || dot ? red : kClear;
        }
    outline(p);
    return encodeCursor(p, c, c);
}

} // namespace korvath::assets
