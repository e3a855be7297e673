#include "game/commands/StagedRules.h"
#include "KitBattle.h"
#include "game/commands/Commands.h"

using namespace korvath;
using namespace korvath::testing;

namespace {

int centre(int square) {
    return square * kSquare - 16;
}

class CloseCombatTest : public KitTest {
  protected:
    void SetUp() override {
        KitTest::SetUp();
        soldier().Items = {0, kAxe, kRifle, 0, 0, 0, 0};
        soldier().Attack = 100;
        PieceRecord& e = addPiece(b(), 2, "Vask", 2, 11, 11, 3, 8);
        e.AP = 10;
        HandFightIconClick(b());
        sounds();
    }
    PieceRecord& enemy() { return soldier(2); }
    void blowAt(int x, int y) { handFightClick(b(), centre(x), centre(y)); }
};

TEST_F(CloseCombatTest, TheButtonArmsOnlyAMeleeWeapon) {
    EXPECT_TRUE(b().HandFightMode);
    EXPECT_EQ(b().cursor, CursorShape::Sword);

    b().HandFightMode = false;
    b().FireMode = true;
    b().armedShot = ArmedShot::Quick;
    HandFightIconClick(b());
    EXPECT_TRUE(b().HandFightMode);
    EXPECT_FALSE(b().FireMode);
    EXPECT_NE(b().armedShot, ArmedShot::Quick);

    // A rifle in the hand, or nobody selected, is refused.
    for (bool withRifle : {true, false}) {
        b().HandFightMode = false;
        soldier().Items[1] = withRifle ? kRifle : kAxe;
        b().PieceSelected = withRifle;
        b().messageLog.clear();
        HandFightIconClick(b());
        EXPECT_FALSE(b().HandFightMode);
        EXPECT_EQ(log(), Lines{"You are not holding a melee weapon"});
        EXPECT_EQ(sounds(), Sounds{"beep"});
    }
}

TEST_F(CloseCombatTest, ReachIsTheEightNeighboursAndHisOwnSquare) {
    // Two squares to the right is too far, and costs nothing.
    addPiece(b(), 3, "Far", 2, 12, 10);
    blowAt(12, 10);
    EXPECT_EQ(log(), Lines{"That enemy is too far"});
    EXPECT_EQ(sounds(), Sounds{"beep"});
    EXPECT_EQ(soldier().AP, 20);

    // His own square holds one of ours: himself.
    b().messageLog.clear();
    for (uint32_t seed : {0u, 7u, 99999u}) {
        b().rng.setSeed(seed);
        blowAt(10, 10);
    }
    EXPECT_EQ(log(), Lines(3, "That is one of your own men"));
    EXPECT_EQ(sounds(), (Sounds{"select", "beep", "select", "beep", "select", "beep"}));
    EXPECT_EQ(soldier().AP, 20);

    // The diagonal neighbour is in reach.
    b().messageLog.clear();
    enemy().Toughness = 20;
    blowAt(11, 11);
    EXPECT_EQ(log(), (Lines{"Korrin attacks and hits Vask", "Vask defends against your attack"}));
    EXPECT_EQ(sounds(), (Sounds{"select", "explode"}));
    EXPECT_TRUE(b().HandFightMode);
}

TEST_F(CloseCombatTest, ToughnessTwentyParriesEveryLandedBlow) {
    enemy().Toughness = 20;
    for (uint32_t seed = 0; seed < 50; ++seed) {
        b().rng.setSeed(seed * 7919u);
        blowAt(11, 11);
    }
    EXPECT_EQ(enemy().Wounds, 3);
    EXPECT_EQ(soldier().AP, 20);
    EXPECT_EQ(log().size(), 100u);
}

TEST_F(CloseCombatTest, ABlowOfSevenOnThreeWoundsLeavesNone) {
    // Toughness 0 never parries; the axe's 7d1 always does 7.
    blowAt(11, 11);
    EXPECT_EQ(log(), (Lines{"Korrin attacks and hits Vask", "doing 7 points of damage"}));
    EXPECT_EQ(enemy().Wounds, 0);
    EXPECT_EQ(soldier().AP, 15);
    EXPECT_EQ(controlsOf(b()).ActionPointsLabel.text, "15");
    EXPECT_EQ(sounds(), (Sounds{"select", "explode"}));
    // The body is drawn and the square no longer blocks.
    EXPECT_EQ(at(b().TerrainBitmap, 11, 11, 16, 16), soldierColour(2, kDeadFrame));
    EXPECT_EQ(b().cell(11, 11).Solidity, 0);
    EXPECT_TRUE(b().HandFightMode);
}

TEST_F(CloseCombatTest, AMissCostsTheBlowAndAnEmptySquareNothing) {
    soldier().Attack = 0;
    blowAt(11, 11);
    EXPECT_EQ(log(), Lines{"Korrin attacks and misses Vask"});
    EXPECT_EQ(sounds(), Sounds{"select"});
    EXPECT_EQ(soldier().AP, 15);
    EXPECT_EQ(enemy().Wounds, 3);

    blowAt(9, 10);
    EXPECT_EQ(log().size(), 1u);
    EXPECT_EQ(sounds(), Sounds{"select"});
    EXPECT_EQ(soldier().AP, 15);
}

} // namespace
