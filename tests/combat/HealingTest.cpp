#include "game/commands/StagedRules.h"
#include "KitBattle.h"
#include "game/commands/Inventory.h"
#include "game/display/Display.h"

using namespace korvath;
using namespace korvath::testing;

namespace {

int centre(int square) {
    return square * kSquare - 16;
}

// Korrin (soldier 1) carries a medikit in slot 3 and treats Lenn (soldier 2).
class HealingTest : public KitTest {
  protected:
    void SetUp() override {
        KitTest::SetUp();
        soldier().Items[3] = kMedikit;
        PieceRecord& lenn = addPiece(b(), 2, "Lenn", 1, 12, 10, 3, 10);
        lenn.AP = 18;
        placePieces(b());
        // Choosing the kit in the grid ends move mode.
        EquipGridClick(b(), 2);
        b().statusLine = "status";
        b().log("earlier line");
    }
    void treat(int x, int y) { healingClick(b(), centre(x), centre(y)); }
    PieceRecord& patient() { return soldier(2); }
};

TEST_F(HealingTest, TreatmentRestoresWoundsAndUsesUpBothTurns) {
    treat(12, 10);
    EXPECT_EQ(patient().Wounds, 10);
    EXPECT_EQ(patient().AP, 0);
    EXPECT_EQ(soldier().AP, 0);
    EXPECT_EQ(log(), Lines{"Soldier is treated for wounds sustained"});
    EXPECT_EQ(sounds(), (Sounds{"select", "beep"}));
    EXPECT_EQ(b().statusLine, "");
    EXPECT_TRUE(controlsOf(b()).HandFightIcon.enabled && controlsOf(b()).OverwatchIcon.enabled);
    EXPECT_FALSE(controlsOf(b()).DropItem.enabled);
    // The medikit is not used up.
    EXPECT_EQ(soldier().Items[3], kMedikit);
}

TEST_F(HealingTest, HealingIsCappedAndTheHealerMayTreatHimself) {
    b().EquipmentTypes[kMedikit].Value = "4";
    soldier().Wounds = 8;
    treat(10, 10);
    EXPECT_EQ(soldier().Wounds, 10);
    EXPECT_EQ(soldier().AP, 0);
    EXPECT_EQ(patient().AP, 18);
}

TEST_F(HealingTest, AnUnwoundedPatientOrTooFewPointsChangesNothing) {
    patient().Wounds = 10;
    treat(12, 10);
    EXPECT_EQ(log(), Lines{"Soldier is not wounded"});
    EXPECT_EQ(sounds(), (Sounds{"select", "beep"}));
    EXPECT_EQ(soldier().AP, 20);
    EXPECT_EQ(patient().AP, 18);

    // The medikit weighs 2: treatment needs 5 points.
    patient().Wounds = 3;
    soldier().AP = 4;
    treat(12, 10);
    EXPECT_EQ(log(), Lines{"not enough action points to heal soldier"});
    EXPECT_EQ(sounds(), Sounds{"beep"});
    EXPECT_EQ(patient().Wounds, 3);
    EXPECT_EQ(soldier().AP, 4);

    soldier().AP = 5;
    treat(12, 10);
    EXPECT_EQ(patient().Wounds, 10);
}

TEST_F(HealingTest, KitThatDoesNotHealDoesNothing) {
    b().SelectedItemSlot = 1; // the rifle, whatever row the grid shows
    b().equipRow = 0;
    treat(12, 10);
    EXPECT_EQ(patient().Wounds, 3);
    EXPECT_EQ(soldier().AP, 20);
    EXPECT_EQ(log(), Lines{"earlier line"});
    EXPECT_EQ(sounds(), Sounds{});
}

} // namespace
