#include "game/combat/Impacts.h"
#include "Field.h"

#include <gtest/gtest.h>

namespace korvath::combat {
namespace {

constexpr int kVerticalGenerator = 28, kVerticalField = 46;
constexpr int kHorizontalGenerator = 29, kHorizontalField = 47;

struct Impacts : ::testing::Test, Field {
    // The shooter stands far away and deals exactly `damage` on every roll.
    void shooterDealing(int damage) {
        addItem(1, "Gun", std::to_string(damage) + "d1");
        soldier(1, 1, 70, 45).Items[1] = 1;
    }
    bool hit(int x, int y, int& found) {
        return ImpactTest(b, 1, (x - 1) * kSquare + 5, (y - 1) * kSquare + 7, found);
    }
    bool hit(int x, int y) {
        int found = 0;
        return hit(x, y, found);
    }
};

TEST_F(Impacts, StrongObjectFallsOnlyToMoreThanThirteen) {
    put(30, 30, kCrate);
    shooterDealing(13);
    EXPECT_TRUE(hit(30, 30));
    EXPECT_EQ(b.cell(30, 30), (MapCell{kCrate, 3, 0}));

    shooterDealing(14);
    EXPECT_TRUE(hit(30, 30));
    EXPECT_EQ(b.cell(30, 30), (MapCell{kFloorGlyph, 0, 0}));
    EXPECT_EQ(b.TerrainBitmap.pixel(29 * 32 + 3, 29 * 32 + 3), 0u); // painted as floor
}

TEST_F(Impacts, WeakObjectFallsOnTheSixSidedRollAndWallsNever) {
    shooterDealing(100);
    put(40, 40, kWall);
    int fell = 0, stood = 0;
    for (uint32_t k = 0; k < 12; ++k) {
        const uint32_t seed = k * 0x9E3779B9u;
        put(30, 30, kBarrel);
        Random copy;
        copy.setSeed(seed);
        const bool falls = copy.random(6) + 1 >= 4;
        b.rng.setSeed(seed);
        EXPECT_TRUE(hit(30, 30));
        EXPECT_EQ(b.cell(30, 30).Solidity, falls ? 0 : 2) << "seed " << seed;
        EXPECT_EQ(b.cell(30, 30).Glyph, falls ? kFloorGlyph : kBarrel);
        // Not repainted here: the picture still shows the barrel.
        EXPECT_NE(b.TerrainBitmap.pixel(29 * 32 + 3, 29 * 32 + 3), 0u);
        (falls ? fell : stood)++;
        EXPECT_TRUE(hit(40, 40));
        EXPECT_EQ(b.cell(40, 40), (MapCell{kWall, 4, 0}));
    }
    EXPECT_GT(fell, 0);
    EXPECT_GT(stood, 0);
}

TEST_F(Impacts, VictoryTileEndsTheBattleWithAnyDamage) {
    b.Glyphs[60].Action = "Victory!";
    put(30, 30, 60);
    shooterDealing(1);
    EXPECT_TRUE(hit(30, 30));
    EXPECT_TRUE(b.GameOver);
    EXPECT_EQ(b.cell(30, 30), (MapCell{kFloorGlyph, 0, 0}));
}

TEST_F(Impacts, GeneratorSwitchesOffOneWholeFieldLine) {
    put(20, 20, kVerticalGenerator);
    for (int y = 5; y <= 40; ++y) put(22, y, kVerticalField);  // longer than the block
    for (int y = 17; y <= 23; ++y) put(18, y, kVerticalField); // a second line nearby
    shooterDealing(13);
    hit(20, 20);
    EXPECT_EQ(b.cell(22, 5).Glyph, kVerticalField);

    shooterDealing(14);
    b.dirty = {};
    EXPECT_TRUE(hit(20, 20));
    for (int y = 5; y <= 40; ++y) EXPECT_EQ(b.cell(22, y), (MapCell{kFloorGlyph, 0, 0})) << y;
    for (int y = 17; y <= 23; ++y) EXPECT_EQ(b.cell(18, y).Glyph, kVerticalField) << y;
    EXPECT_EQ(b.cell(20, 20), (MapCell{kVerticalGenerator, 4, 0}));
    EXPECT_EQ(b.MapImage.pixel(21 * 32 + 4, 30 * 32 + 4), 0u); // whole picture shown again
}

TEST_F(Impacts, HorizontalGeneratorWalksTheSeedRowAndStaysInsideTheMap) {
    put(2, 2, kHorizontalGenerator);
    for (int x = 1; x <= 30; ++x) put(x, 1, kHorizontalField);
    put(4, 4, kHorizontalField);
    put(5, 4, kHorizontalField);
    shooterDealing(20);
    EXPECT_TRUE(hit(2, 2));
    // The last field square of the block, by row then column, is (5, 4).
    EXPECT_EQ(b.cell(4, 4).Glyph, kFloorGlyph);
    EXPECT_EQ(b.cell(5, 4).Glyph, kFloorGlyph);
    EXPECT_EQ(b.cell(1, 1).Glyph, kHorizontalField);

    b.cell(4, 4).Glyph = b.cell(5, 4).Glyph = kFloorGlyph;
    EXPECT_TRUE(hit(2, 2));
    for (int x = 1; x <= 30; ++x) EXPECT_EQ(b.cell(x, 1).Glyph, kFloorGlyph) << x;
}

TEST_F(Impacts, SoldiersOpenGroundAndTheEdge) {
    shooterDealing(5);
    soldier(2, 2, 10, 10);
    soldier(3, 2, 11, 10, 0); // a body on a square still marked
    int found = -1;
    EXPECT_TRUE(hit(10, 10, found));
    EXPECT_EQ(found, 2);
    EXPECT_FALSE(hit(11, 10, found));
    EXPECT_EQ(found, 0);
    EXPECT_FALSE(hit(12, 10, found));
    EXPECT_FALSE(ImpactTest(b, 1, -1, 5, found));
    EXPECT_FALSE(ImpactTest(b, 1, 5, kMapPixelsY, found));
}

TEST_F(Impacts, FlameBurstBurnsFloorButNotWallsBodiesOrSoldiers) {
    shooterDealing(3);
    // End point in square (31, 20), flying right: the burst centres on (30, 20).
    const double ex = 30 * 32 + 5, ey = 19 * 32 + 16;
    put(29, 19, kWall);
    put(30, 19, kBarrel);
    soldier(2, 2, 31, 21, 10);
    soldier(3, 1, 29, 21, 2).UnderGlyph = 140;
    b.Glyphs[140].Action = "access";
    b.cell(31, 19) = {kOccupiedGlyph, 0, 0}; // a body's square
    FlameBurst(b, 1, ex, ey, 0);

    for (auto [x, y] : {std::pair{29, 20}, {30, 20}, {31, 20}, {30, 21}}) {
        EXPECT_GE(b.cell(x, y).Glyph, 92) << x << "," << y;
        EXPECT_LE(b.cell(x, y).Glyph, 94) << x << "," << y;
        EXPECT_EQ(b.cell(x, y).Solidity, 2);
        EXPECT_EQ(b.MapImage.pixel((x - 1) * 32 + 3, (y - 1) * 32 + 3),
                  b.glyph(b.cell(x, y).Glyph).Picture.pixel(3, 3));
    }
    EXPECT_EQ(b.cell(29, 19), (MapCell{kWall, 4, 0}));
    EXPECT_EQ(b.cell(30, 19), (MapCell{kBarrel, 2, 0}));
    EXPECT_EQ(b.cell(31, 19), (MapCell{kOccupiedGlyph, 0, 0}));
    EXPECT_EQ(b.cell(31, 21).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b.cell(32, 20).Glyph, kFloorGlyph); // outside the nine

    EXPECT_EQ(b.Pieces[2].Wounds, 7);
    EXPECT_EQ(b.Pieces[3].Wounds, 0);
    EXPECT_EQ(b.Pieces[3].Frame, kDeadFrame);
    EXPECT_EQ(b.cell(29, 21).Solidity, 3); // died on an access square
    EXPECT_EQ(b.TerrainBitmap.pixel(28 * 32 + 1, 20 * 32 + 1), b.UnitPictures[1][8].pixel(1, 1));
    const std::vector<std::string> expected = {"Raider 3 has been shot, taking 3 points of damage.",
                                               "Raider 3 is dead.",
                                               "Guard 2 has been shot, taking 3 points of damage."};
    EXPECT_EQ(b.messageLog, expected);
    EXPECT_EQ(rec.sounds, std::vector<std::string>{"dead"});
}

TEST_F(Impacts, FlameBurstAtTheMapCornerAndItsShooter) {
    shooterDealing(9);
    b.Pieces[1].Wounds = 9;
    b.cell(70, 45).Solidity = 1;
    FlameBurst(b, 1, 5, 5, 180); // steps back to (21, 5): square (1, 1)
    EXPECT_EQ(b.cell(1, 1).Solidity, 2);
    EXPECT_EQ(b.cell(2, 2).Solidity, 2);
    FlameBurst(b, 1, 69 * 32 + 16 + 16, 44 * 32 + 16, 0); // burns its own shooter
    EXPECT_EQ(b.Pieces[1].Wounds, 0);
    EXPECT_EQ(b.cell(70, 45).Solidity, 0);
}

TEST_F(Impacts, RollDamageFollowsTheDice) {
    addItem(1, "Rifle", "2d6");
    addItem(2, "Stick", "");
    soldier(1, 1, 5, 5).Items[1] = 1;
    soldier(2, 1, 6, 5).Items[1] = 2;
    soldier(3, 1, 7, 5); // empty-handed
    for (uint32_t seed = 0; seed < 20; ++seed) {
        Random copy;
        copy.setSeed(seed);
        const int twoD6 = copy.random(6) + 1 + copy.random(6) + 1;
        const int d4 = copy.random(4) + 1;
        b.rng.setSeed(seed);
        EXPECT_EQ(RollDamage(b, b.ports, 1), twoD6);
        EXPECT_EQ(RollDamage(b, b.ports, 2), d4);
        const int bare = RollDamage(b, b.ports, 3);
        EXPECT_GE(bare, 1);
        EXPECT_LE(bare, 4);
    }
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(Impacts, BadDamageTextIsToldOnceAndDoesNoDamage) {
    for (const char* text : {"2x6", "d6", "2d", "-1d6", "2d6+1", "0d6", "2 d6"}) {
        int n = 0, m = 0;
        EXPECT_FALSE(parseDamageDice(text, n, m)) << text;
    }
    int n = 0, m = 0;
    ASSERT_TRUE(parseDamageDice("10d20", n, m));
    EXPECT_EQ(n, 10);
    EXPECT_EQ(m, 20);

    b.AppDir = "/nonexistent";
    b.ScenarioName = "korvath";
    addItem(1, "Odd Gun", "2x6");
    soldier(1, 1, 5, 5).Items[1] = 1;
    put(30, 30, kCrate);
    EXPECT_EQ(RollDamage(b, b.ports, 1), 0);
    EXPECT_EQ(RollDamage(b, b.ports, 1), 0);
    EXPECT_TRUE(ImpactTest(b, 1, 29 * 32 + 1, 29 * 32 + 1, n)); // the object still stops the shot
    EXPECT_EQ(b.cell(30, 30).Glyph, kCrate);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_NE(rec.messages[0].find("korvathDesc.txt"), std::string::npos);
    EXPECT_NE(rec.messages[0].find("Odd Gun"), std::string::npos);
    EXPECT_NE(rec.messages[0].find("2x6"), std::string::npos);
}

} // namespace
} // namespace korvath::combat
