#include "engine/Bmp.h"
#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/Random.h"
#include "engine/Raster.h"
#include "engine/ShownText.h"
#include "engine/TextFile.h"
#include "engine/Ustar.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace korvath;

TEST(Random, FollowsTheGamesSequence) {
    Random r;
    EXPECT_EQ(r.seed(), 0u);
    // seed 0 -> 1: (100 * 1) >> 32 = 0; then 134775814: (100 * 134775814) >> 32 = 3
    EXPECT_EQ(r.random(100), 0);
    EXPECT_EQ(r.seed(), 1u);
    EXPECT_EQ(r.random(100), 3);
    EXPECT_EQ(r.seed(), 134775814u);
    r.reseedFromTimeOfDay(((13 * 60 + 5) * 60 + 7) * 1000 + 250);
    EXPECT_EQ(r.seed(), 47107250u);
    // Whatever the seed, results stay in 0..n-1.
    for (int i = 0; i < 1000; ++i) {
        const int v = r.random(6);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 6);
    }
}

TEST(TextFile, ReadsCrlfAndLfAndGivesEmptyLinesPastTheEnd) {
    TextFile f = TextFile::fromText("a.txt", "one\r\ntwo\nthree");
    EXPECT_EQ(f.readLine(), "one");
    EXPECT_EQ(f.readLine(), "two");
    EXPECT_EQ(f.readLine(), "three");
    EXPECT_TRUE(f.atEnd());
    EXPECT_EQ(f.readLine(), "");
    EXPECT_EQ(f.readLine(), "");
}

TEST(TextFile, NumbersAreStrictAndErrorsNameFileAndLine) {
    int v = 0;
    EXPECT_TRUE(parseInt("42", v));
    EXPECT_EQ(v, 42);
    EXPECT_TRUE(parseInt("-7", v));
    EXPECT_EQ(v, -7);
    for (const char* bad : {"", " 4", "4 ", "4x", "0x10", "+-3", "99999999999", "1.5"})
        EXPECT_FALSE(parseInt(bad, v)) << bad;

    TextFile f = TextFile::fromText("units.txt", "a\nb\n");
    f.readLine();
    f.readLine();
    try {
        f.toInt("x7", "Wounds");
        FAIL();
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), "units.txt");
        EXPECT_EQ(e.line(), 2);
        EXPECT_NE(std::string(e.what()).find("Wounds"), std::string::npos);
    }
}

TEST(TextFile, SplitsOnSingleTabsAndKeepsTheRest) {
    EXPECT_EQ(splitTabs("a\t\tb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitTabs("a\tb\tc\td", 3), (std::vector<std::string>{"a", "b", "c\td"}));
}

TEST(Paths, MatchComponentsWithoutRegardToCase) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "korvath-paths-test";
    fs::remove_all(dir);
    fs::create_directories(dir / "Graphics");
    std::ofstream(dir / "Graphics" / "KorvathIntroPic.bmp") << "x";
    const std::string found = gamePath(dir.string(), "\\graphics\\korvathIntroPic.bmp");
    EXPECT_EQ(found, (dir / "Graphics" / "KorvathIntroPic.bmp").string());
    EXPECT_TRUE(fileExists(found));
    // A file that is not there keeps the spelling given, for writing.
    EXPECT_EQ(gamePath(dir.string(), "\\savedgames\\new_korvath.map"),
              (dir / "savedgames" / "new_korvath.map").string());
    fs::remove_all(dir);
}

TEST(Raster, EllipseRespectsItsBoundsAndOutline) {
    Raster r(32, 32);
    r.ellipse(16 - 9, 16 - 9, 16 + 9, 16 + 9, rgb(128, 128, 128), rgb(128, 0, 0));
    EXPECT_EQ(r.pixel(16, 16), rgb(128, 0, 0));
    EXPECT_EQ(r.pixel(16, 7), rgb(128, 128, 128)); // top edge is inside
    EXPECT_EQ(r.pixel(16, 25), 0u);                // bottom edge is excluded
    EXPECT_EQ(r.pixel(7, 7), 0u);                  // corners stay clear
    Raster none(8, 8);
    none.ellipse(4, 4, 4, 4, 1, 1);
    EXPECT_EQ(none, Raster(8, 8));
}

// The ellipse is drawn row by row from estimated runs; it must paint exactly
// the pixels of testing every point of its box against the curve and its
// four neighbours, clipped or not, at every size. A box far beyond the
// picture paints only the picture's part, at once.
TEST(Raster, EllipseRunsPaintExactlyThePointsOfThePointByPointTest) {
    auto reference = [](Raster& r, int left, int top, int right, int bottom) {
        const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
        const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
        auto inside = [&](int x, int y) {
            if (x < left || x >= right || y < top || y >= bottom) return false;
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            return dx * dx + dy * dy <= 1.0;
        };
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (inside(x, y))
                    r.setPixel(x, y,
                               !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                                       !inside(x, y + 1)
                                   ? 1
                                   : 2);
    };
    for (int w = 1; w <= 40; ++w)
        for (int h = 1; h <= 40; h += (w % 3) + 1)
            for (const int at : {-17, -3, 0, 5}) {
                Raster fast(48, 40), slow(48, 40);
                fast.ellipse(at, at + 2, at + w, at + 2 + h, 1, 2);
                reference(slow, at, at + 2, at + w, at + 2 + h);
                ASSERT_EQ(fast, slow) << w << " x " << h << " at " << at;
            }
    Raster big(64, 64);
    big.ellipse(-1'000'000'000, -1'000'000'000, 1'000'000'000, 1'000'000'000, 1, 2);
    EXPECT_EQ(big.pixel(0, 0), 2u);
}

TEST(Raster, LinesLeaveOutTheEndPointAndDotsSkip) {
    Raster r(10, 3);
    r.line({0, 1}, {6, 1}, 7);
    EXPECT_EQ(r.pixel(5, 1), 7u);
    EXPECT_EQ(r.pixel(6, 1), 0u);
    Raster d(10, 3);
    d.line({0, 1}, {6, 1}, 7, 1, true);
    EXPECT_EQ(d.pixel(0, 1), 7u);
    EXPECT_EQ(d.pixel(1, 1), 0u);
    EXPECT_EQ(d.pixel(2, 1), 7u);
}

TEST(Raster, BlitClipsAtEveryEdge) {
    Raster src(4, 4, 9), dst(6, 6);
    dst.blit(src, 0, 0, 4, 4, -2, 4);
    EXPECT_EQ(dst.pixel(0, 4), 9u);
    EXPECT_EQ(dst.pixel(1, 5), 9u);
    EXPECT_EQ(dst.pixel(2, 4), 0u);
}

// Black in the source lets the ground show, read from the ground's own
// origin, also when the copy is clipped; ground that does not cover the
// copy is ignored.
TEST(Raster, BlitOverShowsTheGroundThroughBlack) {
    Raster src(4, 4, 9);
    src.setPixel(1, 1, 0);
    src.setPixel(3, 3, 0);
    Raster ground(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ground.setPixel(x, y, rgb(x, y, 1));
    Raster dst(6, 6, 5);
    dst.blitOver(src, ground, 0, 0, 4, 4, -1, 3, 2, 1); // src (1, 0) lands on ground (3, 1)
    const struct {
        int x, y;
        Rgb want;
    } cases[] = {{0, 3, 9}, {0, 4, ground.pixel(3, 2)}, {2, 5, 9}, {2, 3, 9}, {3, 3, 5}, {0, 2, 5}};
    for (const auto& c : cases) EXPECT_EQ(dst.pixel(c.x, c.y), c.want) << c.x << "," << c.y;
    Raster plain(6, 6, 5);
    plain.blitOver(src, Raster(3, 3, 7), 0, 0, 4, 4, 0, 0, 0, 0);
    EXPECT_EQ(plain.pixel(1, 1), 0u);
}

TEST(Bmp, RoundTripsAndRejectsDamage) {
    Raster img(5, 3);
    img.setPixel(0, 0, rgb(1, 2, 3));
    img.setPixel(4, 2, rgb(250, 128, 7));
    const auto bytes = encodeBmp(img);
    EXPECT_EQ(decodeBmp("x.bmp", bytes), img);
    auto cut = bytes;
    cut.resize(cut.size() - 10);
    EXPECT_THROW(decodeBmp("x.bmp", cut), DataError);
    EXPECT_THROW(decodeBmp("x.bmp", {'B', 'M'}), DataError);
}

TEST(Ustar, RoundTripsAndChecksHeaders) {
    Archive a = {{"fire.wav", {1, 2, 3}}, {"beep.wav", std::vector<uint8_t>(700, 5)}};
    auto bytes = writeUstar(a);
    EXPECT_EQ(bytes.size() % 512, 0u);
    EXPECT_EQ(parseUstar("w.dxw", bytes), a);
    bytes[10] ^= 0x55; // damage the first header
    EXPECT_THROW(parseUstar("w.dxw", bytes), DataError);
}

// Text from files is shown as UTF-8: valid UTF-8 stays, anything else is read
// byte by byte as Windows-1252.
TEST(ShownText, ValidUtf8StaysOtherBytesReadAsWindows1252) {
    const struct {
        std::string bytes, shown;
    } cases[] = {
        {"Grell the Axe", "Grell the Axe"},
        {"Caf\xc3\xa9", "Caf\xc3\xa9"},                   // UTF-8 already
        {"Caf\xe9", "Caf\xc3\xa9"},                       // é in Windows-1252
        {"\xff\xfe", "\xc3\xbf\xc3\xbe"},                 // ÿþ
        {"\x80 \x81", "\xe2\x82\xac \xef\xbf\xbd"},       // € and a byte it has no letter for
        {"\xc3", "\xc3\x83"},                             // a UTF-8 sequence cut short
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"}, // a surrogate is no UTF-8
        {"\xe0\x80\xaf", "\xc3\xa0\xe2\x82\xac\xc2\xaf"}, // nor an overlong form
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownText(c.bytes), c.shown) << c.bytes;
        EXPECT_TRUE(isValidUtf8(shownText(c.bytes)));
    }
}
