#include "game/combat/Sight.h"
#include "Field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace korvath::combat {
namespace {

struct Sight : ::testing::Test, Field {};

TEST_F(Sight, NeighboursSeeEachOtherInBothTurns) {
    soldier(1, 1, 21, 20);
    soldier(2, 2, 20, 20);
    soldier(3, 2, 22, 20);
    for (bool human : {true, false}) {
        b.HumanTurn = human;
        EXPECT_TRUE(ICanSeeTheEnemy(b, 2, 1)) << "from the left, human turn " << human;
        EXPECT_TRUE(ICanSeeTheEnemy(b, 3, 1)) << "from the right, human turn " << human;
    }
    // Nobody and an empty record are never seen.
    EXPECT_FALSE(ICanSeeTheEnemy(b, 2, 0));
    EXPECT_FALSE(ICanSeeTheEnemy(b, 2, 99));
    EXPECT_FALSE(ICanSeeTheEnemy(b, 0, 1));
}

TEST_F(Sight, FarAcrossOpenGroundThereIsNoRangeLimit) {
    soldier(1, 1, 78, 20);
    soldier(2, 2, 3, 20);
    EXPECT_TRUE(ICanSeeTheEnemy(b, 2, 1));
}

TEST_F(Sight, ASoldierInBetweenHidesTheTargetWhateverHisSide) {
    soldier(1, 1, 24, 20);
    soldier(2, 2, 20, 20);
    for (int side : {1, 2}) {
        soldier(3, side, 22, 20);
        EXPECT_FALSE(ICanSeeTheEnemy(b, 2, 1)) << "blocker of side " << side;
    }
    b.Pieces[3] = {};
    b.cell(22, 20) = {kFloorGlyph, 0, 0};
    EXPECT_TRUE(ICanSeeTheEnemy(b, 2, 1));
}

TEST_F(Sight, ATargetTouchedOnlyAtItsCornerIsNotSeen) {
    soldier(1, 1, 21, 21);
    soldier(2, 2, 20, 20);
    EXPECT_TRUE(ICanSeeTheEnemy(b, 2, 1)); // the open diagonal lets rays in deep
    put(21, 20, kWall);
    put(20, 21, kWall);
    EXPECT_FALSE(ICanSeeTheEnemy(b, 2, 1));
}

TEST_F(Sight, WallsAndObjectsStopTheRayButNotTheTerrainPicture) {
    soldier(1, 1, 30, 20);
    soldier(2, 2, 20, 20);
    for (int y = 10; y <= 30; ++y) put(25, y, kBarrel);
    EXPECT_FALSE(ICanSeeTheEnemy(b, 2, 1));
    // Only Solidity counts: paint on open floor is no obstacle to sight.
    for (int y = 10; y <= 30; ++y) {
        b.cell(25, y) = {kFloorGlyph, 0, 0};
    }
    EXPECT_TRUE(ICanSeeTheEnemy(b, 2, 1));
}

TEST_F(Sight, TracePaintingGoesToTheScreenOnly) {
    soldier(1, 1, 21, 20);
    soldier(2, 2, 10, 20);
    const Raster terrain = b.TerrainBitmap;
    b.dirty = {};
    ICanSeeTheEnemy(b, 2, 1, &b);
    EXPECT_TRUE(b.dirty.empty());
    EXPECT_EQ(b.MapImage.pixel(10 * 32 - 16 + 8, 10 * 32 - 16 + 32), 0u);

    b.sightTraces = true;
    ICanSeeTheEnemy(b, 2, 1); // a question without a screen paints nowhere
    EXPECT_TRUE(b.dirty.empty());
    ICanSeeTheEnemy(b, 2, 1, &b);
    EXPECT_FALSE(b.dirty.empty());
    // The ray of degree 360 passes (304 + 8k, 624): its first steps are white.
    EXPECT_EQ(b.MapImage.pixel(10 * 32 - 16 + 8, 20 * 32 - 16), rgb(255, 255, 255));
    EXPECT_EQ(b.MapImage.pixel(10 * 32 - 16 + 16, 20 * 32 - 16), rgb(255, 255, 255));
    EXPECT_TRUE(b.TerrainBitmap == terrain);
}

TEST_F(Sight, IsEnemyJudgesForTheSideThatIsNotActing) {
    soldier(1, 1, 5, 5);
    soldier(2, 2, 6, 5);
    soldier(3, 1, 7, 5, 0); // a body
    int found = -1;

    b.HumanTurn = true; // the side argument is ignored: the enemy is a human
    EXPECT_TRUE(IsEnemy(b, 2, 5, 5, found));
    EXPECT_EQ(found, 1);
    EXPECT_TRUE(IsEnemy(b, 1, 5, 5, found));
    EXPECT_FALSE(IsEnemy(b, 1, 6, 5, found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(IsEnemy(b, 2, 7, 5, found));

    b.HumanTurn = false;
    EXPECT_TRUE(IsEnemy(b, 2, 5, 5, found));
    EXPECT_EQ(found, 1);
    EXPECT_FALSE(IsEnemy(b, 1, 5, 5, found));
    EXPECT_TRUE(IsEnemy(b, 1, 6, 5, found));
    EXPECT_EQ(found, 2);
    EXPECT_FALSE(IsEnemy(b, 2, 8, 5, found));

    b.VsComputer = 0;
    EXPECT_FALSE(IsEnemy(b, 2, 5, 5, found));
    EXPECT_EQ(found, 0);
}

TEST_F(Sight, TraceShotLineReportsTheFirstSoldierMet) {
    soldier(1, 2, 20, 20); // shooter
    soldier(2, 1, 26, 20);
    const double sx = 20 * 32 - 16, sy = 20 * 32 - 16;
    int hx = -1, hy = -1;

    EXPECT_TRUE(TraceShotLine(b, 1, hx, hy, 0.0, sx, sy)); // own disc is passed
    EXPECT_EQ(hx, 26);
    EXPECT_EQ(hy, 20);

    soldier(3, 2, 23, 20); // a friend in the way
    EXPECT_FALSE(TraceShotLine(b, 1, hx, hy, 0.4, sx, sy));
    EXPECT_EQ(hx, 23);
    EXPECT_EQ(hy, 20);

    put(17, 20, kWall);
    EXPECT_FALSE(TraceShotLine(b, 1, hx, hy, 180.0, sx, sy));
    EXPECT_EQ(hx, 0);
    EXPECT_EQ(hy, 0);

    // Nothing but floor up to the edge: the ray leaves the map.
    EXPECT_FALSE(TraceShotLine(b, 1, hx, hy, 270.0, sx, sy));
    EXPECT_EQ(hx, 0);
    EXPECT_EQ(hy, 0);
    // Out-of-table angles fold into 0..359 instead of reading past the tables.
    EXPECT_FALSE(TraceShotLine(b, 1, hx, hy, 540.0, sx, sy));
    EXPECT_EQ(hx, 0);
}

TEST_F(Sight, TraceShotLinePassesPaintOnOpenFloor) {
    soldier(1, 2, 20, 20);
    soldier(2, 1, 26, 20);
    b.TerrainBitmap.fillRect(22 * 32 - 32, 20 * 32 - 32, 22 * 32, 20 * 32, rgb(1, 1, 1));
    int hx = 0, hy = 0;
    EXPECT_TRUE(TraceShotLine(b, 1, hx, hy, 0.0, 20 * 32 - 16, 20 * 32 - 16));
    EXPECT_EQ(hx, 26);
}

TEST_F(Sight, PieceDistanceRoundsToWholeSquares) {
    soldier(1, 1, 1, 1);
    soldier(2, 2, 4, 5);
    soldier(3, 2, 2, 2);
    EXPECT_EQ(PieceDistance(b, 1, 2), 5);
    EXPECT_EQ(PieceDistance(b, 1, 3), 1); // 1.41
    EXPECT_EQ(PieceDistance(b, 3, 2), 4); // 3.61
}

TEST_F(Sight, NearestEnemyPrefersASeenEnemyAtTheSameDistance) {
    b.HumanTurn = false;
    soldier(1, 2, 20, 20);
    soldier(2, 1, 25, 20); // seen
    soldier(3, 1, 15, 20); // hidden behind a wall
    put(17, 20, kWall);
    for (uint32_t seed : {0u, 1u, 7u, 12345u}) {
        b.rng.setSeed(seed);
        bool visible = false;
        int target = 0;
        EXPECT_EQ(NearestEnemy(b, 1, 20, 20, visible, target), 5);
        EXPECT_EQ(target, 2);
        EXPECT_TRUE(visible);
    }
    // Only the hidden one left: it is reported, unseen.
    b.Pieces[2].Wounds = 0;
    bool visible = true;
    int target = 0;
    EXPECT_EQ(NearestEnemy(b, 1, 20, 20, visible, target), 5);
    EXPECT_EQ(target, 3);
    EXPECT_FALSE(visible);
}

TEST_F(Sight, NearestEnemyScanDirectionComesFromTheGenerator) {
    b.HumanTurn = false;
    soldier(1, 2, 20, 20);
    soldier(2, 1, 24, 20);
    soldier(3, 1, 16, 20);
    for (uint32_t seed = 0; seed < 6; ++seed) {
        Random copy;
        copy.setSeed(seed);
        const bool ascending = copy.random(2) == 0;
        b.rng.setSeed(seed);
        bool visible = false;
        int target = 0;
        EXPECT_EQ(NearestEnemy(b, 1, 20, 20, visible, target), 4);
        EXPECT_EQ(target, ascending ? 2 : 3) << "seed " << seed;
        EXPECT_EQ(b.rng.seed(), copy.seed()); // one draw, whatever the sight tests do
    }
}

TEST_F(Sight, NearestEnemyWithoutEnemiesAndForAHumanMover) {
    soldier(1, 2, 20, 20);
    bool visible = true;
    int target = 0;
    b.HumanTurn = false;
    EXPECT_EQ(NearestEnemy(b, 1, 20, 20, visible, target), 1000);
    EXPECT_EQ(target, 1000);
    EXPECT_FALSE(visible);

    // A human mover is told the nearest Operative by distance alone.
    b.HumanTurn = true;
    soldier(2, 1, 30, 30);
    soldier(3, 2, 35, 35);
    put(25, 25, kWall);
    EXPECT_EQ(NearestEnemy(b, 2, 30, 30, visible, target), 1000);
    EXPECT_EQ(target, 3);
    EXPECT_FALSE(visible);
}

TEST(Bearing, ReferencePointsAndDiagonals) {
    EXPECT_DOUBLE_EQ(Bearing(48, 48, 80, 48), 0);
    EXPECT_DOUBLE_EQ(Bearing(48, 48, 48, 80), 90);
    EXPECT_DOUBLE_EQ(Bearing(48, 48, 16, 48), 180);
    EXPECT_DOUBLE_EQ(Bearing(48, 48, 48, 16), 270);
    EXPECT_DOUBLE_EQ(Bearing(48, 48, 48, 48), 0);
    EXPECT_NEAR(Bearing(0, 0, 10, 10), 45, 1e-9);
    EXPECT_NEAR(Bearing(0, 0, -10, 10), 135, 1e-9);
    EXPECT_NEAR(Bearing(0, 0, -10, -10), 225, 1e-9);
    EXPECT_NEAR(Bearing(0, 0, 10, -10), 315, 1e-9);
    EXPECT_NEAR(Bearing(0, 0, 100, 1), std::atan2(1, 100) * 180 / std::numbers::pi, 1e-9);
}

} // namespace
} // namespace korvath::combat
