#include "sound/Sounds.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

using korvath::assets::aimCursor;
using korvath::assets::swordCursor;

namespace {

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}

struct Cursor {
    int hotX = -1, hotY = -1;
    bool opaque[32][32] = {}; // [y][x], from the colour rows' alpha
    bool maskClear[32][32] = {};
};

// Reads a cursor file the way Windows does, checking every header field on the way.
Cursor parse(const std::vector<uint8_t>& f) {
    Cursor c;
    EXPECT_EQ(f.size(), 22u + 40u + 32u * 32u * 4u + 32u * 4u);
    if (f.size() != 22u + 40u + 32u * 32u * 4u + 32u * 4u) return c;
    EXPECT_EQ(le16(f, 0), 0u);
    EXPECT_EQ(le16(f, 2), 2u) << "type must be cursor";
    EXPECT_EQ(le16(f, 4), 1u);
    EXPECT_EQ(f[6], 32);
    EXPECT_EQ(f[7], 32);
    c.hotX = static_cast<int>(le16(f, 10));
    c.hotY = static_cast<int>(le16(f, 12));
    EXPECT_EQ(le32(f, 14), f.size() - 22);
    EXPECT_EQ(le32(f, 18), 22u);
    EXPECT_EQ(le32(f, 22), 40u);
    EXPECT_EQ(le32(f, 26), 32u);
    EXPECT_EQ(le32(f, 30), 64u) << "height covers colour and mask";
    EXPECT_EQ(le16(f, 34), 1u);
    EXPECT_EQ(le16(f, 36), 32u);
    EXPECT_EQ(le32(f, 38), 0u);
    const size_t colour = 62, mask = colour + 32 * 32 * 4;
    for (int row = 0; row < 32; ++row) {
        const int y = 31 - row; // bottom row first
        for (int x = 0; x < 32; ++x) {
            c.opaque[y][x] = f[colour + (row * 32 + x) * 4 + 3] != 0;
            c.maskClear[y][x] = (f[mask + row * 4 + x / 8] & (0x80 >> (x % 8))) != 0;
        }
    }
    return c;
}

void expectMaskMatchesAlpha(const Cursor& c) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            EXPECT_NE(c.opaque[y][x], c.maskClear[y][x]) << "pixel " << x << "," << y;
}

} // namespace

TEST(Cursors, SwordIsWellFormedWithItsHotSpotOnThePoint) {
    const Cursor c = parse(swordCursor());
    expectMaskMatchesAlpha(c);
    ASSERT_TRUE(c.hotX >= 0 && c.hotX < 32 && c.hotY >= 0 && c.hotY < 32);
    EXPECT_TRUE(c.opaque[c.hotY][c.hotX]);
    // The point is the top-left end of the drawing; only its black edge lies beyond.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (c.opaque[y][x]) {
                EXPECT_GE(x + y, c.hotX + c.hotY - 1) << x << "," << y;
            }
    EXPECT_TRUE(c.opaque[24][24]) << "the sword reaches down to the lower right";
}

TEST(Cursors, AimIsWellFormedAndCentredOnItsHotSpot) {
    const Cursor c = parse(aimCursor());
    expectMaskMatchesAlpha(c);
    EXPECT_EQ(c.hotX, 16);
    EXPECT_EQ(c.hotY, 16);
    EXPECT_TRUE(c.opaque[16][16]);
    for (int y = 1; y < 32; ++y)
        for (int x = 1; x < 32; ++x) {
            EXPECT_EQ(c.opaque[y][x], c.opaque[y][32 - x]) << x << "," << y;
            EXPECT_EQ(c.opaque[y][x], c.opaque[32 - y][x]) << x << "," << y;
        }
}

TEST(Cursors, QtReadsThemWithTheirTransparency) {
    for (const auto& file : {swordCursor(), aimCursor()}) {
        const Cursor c = parse(file);
        QImage image;
        ASSERT_TRUE(image.loadFromData(QByteArray(reinterpret_cast<const char*>(file.data()),
                                                  static_cast<qsizetype>(file.size())),
                                       "CUR"));
        ASSERT_EQ(image.width(), 32);
        ASSERT_EQ(image.height(), 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                EXPECT_EQ(qAlpha(image.pixel(x, y)) != 0, c.opaque[y][x]) << x << "," << y;
    }
}
