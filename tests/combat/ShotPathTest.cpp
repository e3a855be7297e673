// Where a shot would stop, worked out without dice, against the shot itself:
// every aim round a shooter among walls, friends and foes.
#include "game/combat/ShotPath.h"
#include "ShotBattle.h"
#include "game/combat/Shooting.h"

#include <cmath>
#include <numbers>

namespace korvath::testing {
namespace {

struct ShotPathTest : ShotTest {
    // A Raider at (6, 10) who never strays, a friend and two Operatives near
    // him, a wall to the east, the map's edge to the west, open floor
    // elsewhere; rifle range 8.
    ShotPathTest() {
        soldier(1, "Raider", 1, 6, 10);
        soldier(2, "Friend", 1, 9, 12);
        soldier(3, "Grell the Axe", 2, 11, 7);
        soldier(4, "Operative", 2, 4, 15);
        for (int y = 2; y <= 18; ++y) wall(13, y);
        b.Glyphs[kWallGlyph].Description = "Stone wall";
        b.EquipmentTypes[kRifle].Range = 8;
        b.HumanTurn = true;
        b.SelectedPiece = 1;
        b.PieceSelected = true;
        ready();
        FireButtonClick(b, FireButton::Aimed);
    }
};

// One shot on a fresh field.
struct Trial : ShotPathTest {
    void TestBody() override {}
};

TEST(ShotPath, EveryAimStopsWhereTheShotWithoutStrayStops) {
    int ends[5] = {};
    for (int degree = 0; degree < 360; degree += 5) {
        Trial t;
        t.ports.times.set({1000 + degree});
        Battle& b = t.b;
        const PieceRecord& s = b.Pieces[1];
        const int mx = int(shotStartX(s) + 150 * std::cos(degree * std::numbers::pi / 180));
        const int my = int(shotStartY(s) + 150 * std::sin(degree * std::numbers::pi / 180));

        const uint64_t draws = b.rng.draws();
        const Raster terrain = b.TerrainBitmap;
        const ShotStop predicted =
            predictShot(b, 1, unscatteredDegree(s, mx, my), shotStartX(s), shotStartY(s));
        EXPECT_EQ(b.rng.draws(), draws);
        EXPECT_TRUE(b.TerrainBitmap == terrain);

        fireClick(b, mx, my);
        const std::vector<ShotStopped> stops = t.heard.all<ShotStopped>();
        EXPECT_EQ(t.heard.all<ShotFired>().size(), 1u);
        ASSERT_FALSE(stops.empty());
        const ShotStopped& real = stops.back();
        EXPECT_EQ(int(real.end), int(predicted.end)) << "aim " << degree;
        EXPECT_EQ(real.square.x, predicted.x) << "aim " << degree;
        EXPECT_EQ(real.square.y, predicted.y) << "aim " << degree;
        if (predicted.end == ShotEnd::Soldier) {
            EXPECT_EQ(real.what, b.Pieces[predicted.soldier].Name);
        }
        ++ends[int(predicted.end)];
    }
    // The ring of aims meets every kind of end.
    for (const ShotEnd e : {ShotEnd::Obstacle, ShotEnd::Soldier, ShotEnd::Spent, ShotEnd::OffMap})
        EXPECT_GT(ends[int(e)], 0) << int(e);
}

} // namespace
} // namespace korvath::testing
