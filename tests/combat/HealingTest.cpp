#include "KitBattle.h"
#include "game/commands/ArmedKit.h"
#include "game/commands/Commands.h"
#include "game/commands/Inventory.h"
#include "game/commands/Registry.h"
#include "game/commands/StagedRules.h"
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

// What the pointer over a square says the armed kit would do, against what
// the map click there then does.
using Click = ArmedKitClick::Kind;
struct HoverCase {
    const char* name;
    void (*setUp)(Battle& b);
    int x, y; // the square hovered, then clicked
    Click click;
    HealPlan::Kind kind;
    int restored; // wounds the click gives back
    const char* text;
};

class HealingHoverTest : public HealingTest, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(HealingHoverTest, TellsWhatTheClickThenDoes) {
    const HoverCase& c = GetParam();
    c.setUp(b());
    const int mx = centre(c.x), my = centre(c.y);
    const ArmedKitClick told = armedKitAt(b(), mx, my);
    const HealPlan& plan = told.plan;
    EXPECT_EQ(told.kind, c.click);
    EXPECT_EQ(plan.kind, c.kind);
    EXPECT_EQ(describeArmedKit(b(), told), c.text);
    if (plan.kind == HealPlan::Kind::Heal) {
        EXPECT_EQ(plan.restored, c.restored);
    }

    const auto before = b().Pieces;
    const int armed = b().SelectedItemSlot;
    runCommand(b(), {"click", std::to_string(mx), std::to_string(my)});
    for (int i : {1, 2}) {
        const bool treated = plan.kind == HealPlan::Kind::Heal && i == plan.patient;
        EXPECT_EQ(soldier(i).Wounds, before[i].Wounds + (treated ? c.restored : 0)) << i;
        const bool spent = plan.kind == HealPlan::Kind::Heal && (i == plan.patient || i == 1);
        EXPECT_EQ(soldier(i).AP, spent ? 0 : before[i].AP) << i;
    }
    // The kit goes back once it reaches a soldier; a click that does nothing leaves it armed.
    if (c.click != Click::NotArmed) {
        EXPECT_EQ(b().SelectedItemSlot, c.click == Click::Nothing ? armed : 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HealingHoverTest,
    ::testing::Values(
        HoverCase{"WoundedFriend", [](Battle&) {}, 12, 10, Click::Treatment, HealPlan::Kind::Heal,
                  7, "Heal Lenn: +7 wounds, 5 AP (his turn and yours end)"},
        HoverCase{"SmallKit", [](Battle& b) { b.EquipmentTypes[kMedikit].Value = "4"; }, 12, 10,
                  Click::Treatment, HealPlan::Kind::Heal, 4,
                  "Heal Lenn: +4 wounds, 5 AP (his turn and yours end)"},
        HoverCase{"Himself", [](Battle& b) { b.Pieces[1].Wounds = 8; }, 10, 10, Click::Treatment,
                  HealPlan::Kind::Heal, 2, "Heal Korrin: +2 wounds, 5 AP (your turn ends)"},
        HoverCase{"NotWounded", [](Battle& b) { b.Pieces[2].Wounds = 10; }, 12, 10,
                  Click::Treatment, HealPlan::Kind::NotWounded, 0, "Lenn is not wounded"},
        HoverCase{"TooFewPoints", [](Battle& b) { b.Pieces[1].AP = 4; }, 12, 10, Click::Treatment,
                  HealPlan::Kind::TooFewPoints, 0, "Too few points to heal: 5 AP, has 4"},
        // Still selected: the click on a friend drops the selection, then treats.
        HoverCase{"StillSelected", [](Battle& b) { b.PieceSelected = true; }, 12, 10,
                  Click::Treatment, HealPlan::Kind::Heal, 7,
                  "Heal Lenn: +7 wounds, 5 AP (his turn and yours end)"},
        HoverCase{"NobodyThere", [](Battle&) {}, 14, 10, Click::Nothing, HealPlan::Kind::None, 0,
                  "Medikit chosen in the equipment grid: a click here does nothing (click its "
                  "row again to put it back)"},
        HoverCase{"AnEnemy", [](Battle& b) { b.Pieces[2].Side = 2; }, 12, 10, Click::Nothing,
                  HealPlan::Kind::None, 0,
                  "Medikit chosen in the equipment grid: a click here does nothing (click its "
                  "row again to put it back)"},
        HoverCase{"ARifleOnAFriend", [](Battle& b) { b.SelectedItemSlot = 1; }, 12, 10,
                  Click::PutBack, HealPlan::Kind::None, 0,
                  "Pulse Rifle chosen in the equipment grid: a click on a soldier only puts it "
                  "back (it heals nothing)"},
        HoverCase{"NoKitArmed", [](Battle& b) { b.SelectedItemSlot = 0; }, 12, 10, Click::NotArmed,
                  HealPlan::Kind::None, 0, ""}),
    [](const ::testing::TestParamInfo<HoverCase>& i) { return std::string(i.param.name); });

} // namespace
