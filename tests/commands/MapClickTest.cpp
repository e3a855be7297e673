#include "CommandFixture.h"

namespace korvath::testing {
namespace {

using MapClick = CommandTest;

TEST_F(MapClick, WhileBusyOnlyBeeps) {
    Battle& b = *battle;
    b.MapClicksEnabled = false;
    clickSquare(5, 5);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(ports.sounds, Sounds{"beep"});
    EXPECT_TRUE(actionsTaken().empty());
}

TEST_F(MapClick, SelectingAFirearmSoldier) {
    Battle& b = *battle;
    b.statusLine = "old news";
    clickSquare(5, 5);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_EQ(b.SelectedPiece, 1);
    EXPECT_EQ(ports.sounds, Sounds{"select"});
    EXPECT_EQ(b.statusLine, "");
    EXPECT_TRUE(controlsOf(b).AimedFireIcon.enabled);
    EXPECT_TRUE(controlsOf(b).SnapFireIcon.enabled);
    EXPECT_TRUE(controlsOf(b).OverwatchIcon.enabled);
    EXPECT_FALSE(controlsOf(b).HandFightIcon.enabled);
    // The panel shows him and the view is centred on him.
    EXPECT_EQ(controlsOf(b).NameLabel.text, "Ann");
    EXPECT_EQ(b.view.right, 710);
    EXPECT_TRUE(actionsTaken().empty());
}

TEST_F(MapClick, SelectingAMeleeSoldierOffersOnlyCloseCombat) {
    Battle& b = *battle;
    clickSquare(7, 5);
    EXPECT_EQ(b.SelectedPiece, 2);
    EXPECT_TRUE(controlsOf(b).HandFightIcon.enabled);
    EXPECT_FALSE(controlsOf(b).AimedFireIcon.enabled);
    EXPECT_FALSE(controlsOf(b).SnapFireIcon.enabled);
    EXPECT_FALSE(controlsOf(b).OverwatchIcon.enabled);
}

TEST_F(MapClick, SelectingSkipsTheDeadAndFillsTheGroundList) {
    Battle& b = *battle;
    // A body with a lower index under Bob: Bob is chosen, and the body's
    // rifle is offered on the ground.
    PieceRecord& body = soldier(4, "Dan", 1, 7, 5, kRifle);
    body.Wounds = 0;
    std::swap(b.Pieces[2], b.Pieces[4]);
    placePieces(b);
    clickSquare(7, 5);
    EXPECT_EQ(b.SelectedPiece, 4);
    EXPECT_EQ(controlsOf(b).PickItems.rows, std::vector<std::vector<std::string>>{{"Laser Rifle"}});
    EXPECT_TRUE(controlsOf(b).PickUpButton.enabled);
}

TEST_F(MapClick, SelectingASoldierOnOverwatchEndsItWithAShortLogLine) {
    Battle& b = *battle;
    b.Pieces[1].Name = "Sergeant-Major Aurelian Thorvaldsen"; // 35 characters
    b.Pieces[1].Overwatch = true;
    clickSquare(5, 5);
    EXPECT_FALSE(b.Pieces[1].Overwatch);
    const std::string line = "Sergeant-Major Aurelian Thorvaldsen is now no longer in overwatch";
    EXPECT_EQ(log(), std::vector<std::string>{line.substr(0, 60)});
    EXPECT_EQ(log()[0].size(), 60u);

    // Short names keep the whole line.
    b.Pieces[2].Overwatch = true;
    clickSquare(7, 5);
    EXPECT_EQ(log().back(), "Bob is now no longer in overwatch");
}

TEST_F(MapClick, ClickingAnotherOwnSoldierSwitchesTheSelection) {
    Battle& b = *battle;
    select(1);
    clickSquare(7, 5);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_EQ(b.SelectedPiece, 2);
    EXPECT_EQ(ports.sounds, Sounds{"select"});
    // No walk onto the other soldier's square.
    EXPECT_TRUE(actionsTaken().empty());
}

TEST_F(MapClick, InFireModeAClickOnAnOwnSoldierIsAShot) {
    Battle& b = *battle;
    select(1);
    b.FireMode = true;
    b.armedShot = ArmedShot::Quick;
    clickSquare(7, 5);
    EXPECT_EQ(actionsTaken(), Calls{"shot 208 144"});
    EXPECT_EQ(b.SelectedPiece, 1);
    EXPECT_TRUE(b.PieceSelected);
}

TEST_F(MapClick, OnlyTheRightButtonAloneAsksForTheCost) {
    select(1);
    clickSquare(12, 12, true);
    clickSquare(12, 12, true, true); // with shift it is an ordinary click
    clickSquare(12, 12);
    EXPECT_EQ(actionsTaken(), (Calls{"query 12 12", "walk 12 12", "walk 12 12"}));

    ShiftState both;
    both.left = both.right = true;
    MapImageMouseDown(*battle, MouseButton::Right, both, 400, 400, recorders);
    EXPECT_EQ(actionsTaken().back(), "walk 13 13");
}

TEST_F(MapClick, WalksOnlyOntoPassableSquares) {
    Battle& b = *battle;
    select(1);
    clickSquare(9, 9); // wall
    EXPECT_TRUE(actionsTaken().empty());

    b.cell(9, 9) = {static_cast<uint8_t>(kAccessGlyph), 3, 0}; // a door
    clickSquare(9, 9);
    b.cell(9, 9) = {static_cast<uint8_t>(kWallGlyph), 2, 0}; // a weak object
    clickSquare(9, 9);
    clickSquare(20, 20); // the enemy's square is passable: the walk sorts him out
    EXPECT_EQ(actionsTaken(), (Calls{"walk 9 9", "walk 20 20"}));
}

TEST_F(MapClick, NoWalkWithoutASelectionOrWhenTheBattleIsDecided) {
    Battle& b = *battle;
    clickSquare(12, 12);
    select(1);
    b.GameOver = true;
    clickSquare(12, 12);
    b.GameOver = false;
    b.SelectedPiece = 0;
    clickSquare(12, 12);
    EXPECT_TRUE(actionsTaken().empty());
}

TEST_F(MapClick, CloseCombatNeedsTheBlowsActionPoints) {
    Battle& b = *battle;
    select(2);
    b.HandFightMode = true;
    b.Pieces[2].AP = 3;
    clickSquare(8, 5);
    b.Pieces[2].AP = 2;
    clickSquare(8, 5);
    // Hand mode is no query and no walk: the right button strikes too.
    b.Pieces[2].AP = 3;
    clickSquare(8, 6, true);
    EXPECT_EQ(actionsTaken(), (Calls{"blow 240 144", "blow 240 176"}));
    EXPECT_TRUE(log().empty());
}

TEST_F(MapClick, AShotIsFiredWhenActionPointsAndAmmunitionAllow) {
    Battle& b = *battle;
    select(1);
    b.FireMode = true;
    b.armedShot = ArmedShot::Aimed;
    b.Pieces[1].AP = 8;
    MapImageMouseDown(b, MouseButton::Left, ShiftState{false, false, false, true}, 645, 641,
                      recorders);
    EXPECT_EQ(actionsTaken(), Calls{"shot 645 641"});
    EXPECT_TRUE(log().empty());
}

TEST_F(MapClick, RefusedShotsSayWhy) {
    Battle& b = *battle;
    select(1);
    b.FireMode = true;
    b.armedShot = ArmedShot::Aimed;

    // Enough for a quick shot but not for the aimed one: nothing at all.
    b.Pieces[1].AP = 7;
    clickSquare(20, 20);
    EXPECT_TRUE(log().empty());
    EXPECT_TRUE(ports.sounds.empty());

    b.Pieces[1].AP = 3;
    clickSquare(20, 20);
    EXPECT_EQ(log(), std::vector<std::string>{"not enough action points"});

    b.Pieces[1].AP = 20;
    b.Pieces[1].Ammo = 0;
    clickSquare(20, 20);
    EXPECT_EQ(log().back(), "Weapon has run out of ammunition");
    // Both action points and ammunition short: the action points are named.
    b.Pieces[1].AP = 1;
    clickSquare(20, 20);
    EXPECT_EQ(log().back(), "not enough action points");

    EXPECT_EQ(ports.sounds, (Sounds{"select", "select", "select"}));
    EXPECT_TRUE(actionsTaken().empty());
    EXPECT_TRUE(b.PieceSelected);
}

TEST_F(MapClick, TheShotCostKeepsOnlyItsLowByte) {
    Battle& b = *battle;
    b.EquipmentTypes[kRifle].AimedShotAP = 256 + 6;
    select(1);
    b.FireMode = true;
    b.armedShot = ArmedShot::Aimed;
    b.Pieces[1].AP = 6;
    clickSquare(20, 20);
    EXPECT_EQ(actionsTaken(), Calls{"shot 624 624"});
}

TEST_F(MapClick, AChosenItemIsUsedOnTheClickedOwnSoldier) {
    Battle& b = *battle;
    select(1);
    // Choosing a slot of the equipment grid ends move mode (inventory rules).
    b.PieceSelected = false;
    b.SelectedItemSlot = 2;
    clickSquare(20, 20); // an enemy: no treatment
    EXPECT_TRUE(actionsTaken().empty());
    EXPECT_EQ(b.SelectedItemSlot, 2);

    clickSquare(7, 5);
    EXPECT_EQ(actionsTaken(), Calls{"heal 208 144"});
    EXPECT_EQ(b.SelectedItemSlot, 0);
    EXPECT_EQ(ports.sounds, Sounds{"beep"});
    // The treatment takes the place of selecting the patient.
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(b.SelectedPiece, 1);
}

TEST_F(MapClick, DuringTheComputersTurnOnlyTheReselectionTestActs) {
    Battle& b = *battle;
    select(1);
    b.HumanTurn = false;
    b.FireMode = false;
    clickSquare(12, 12);
    EXPECT_TRUE(b.PieceSelected);
    clickSquare(7, 5);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(b.SelectedPiece, 1);
    b.HandFightMode = true;
    b.SelectedItemSlot = 1;
    clickSquare(7, 5);
    clickSquare(8, 5);
    EXPECT_TRUE(actionsTaken().empty());
    EXPECT_TRUE(ports.sounds.empty());
    EXPECT_TRUE(log().empty());
}

TEST_F(MapClick, EveryClickRedrawsTheOverheadMap) {
    Battle& b = *battle;
    b.OverHeadMapImage.fillRect(0, 0, 240, 150, rgb(1, 2, 3));
    clickSquare(30, 30);
    // Square (5, 5) holds Ann: side 1 is green.
    EXPECT_EQ(b.OverHeadMapImage.pixel(4 * 3 + 1, 4 * 3 + 1), rgb(102, 204, 0));
    EXPECT_EQ(b.OverHeadMapImage.pixel(29 * 3 + 2, 29 * 3 + 2), rgb(35, 32, 27));
}

// ---- Deployment as the map click sees it ----

class DeploymentClick : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        Battle& b = *battle;
        b.deploying = true;
        b.cell(3, 3).Glyph = kStartStarGlyph;
    }
};

TEST_F(DeploymentClick, APickedSoldierGoesOntoAStar) {
    battle->PieceSelected = true;
    clickSquare(3, 3);
    EXPECT_EQ(actionsTaken(), Calls{"place 3 3"});
    EXPECT_TRUE(ports.sounds.empty());
}

TEST_F(DeploymentClick, AnyOtherClickDropsThePickWithABeep) {
    Battle& b = *battle;
    b.PieceSelected = true;
    b.cursor = CursorShape::HandPoint;
    clickSquare(4, 3);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(b.cursor, CursorShape::Default);
    EXPECT_EQ(ports.sounds, Sounds{"beep"});

    // Nobody picked: a star beeps too, and so does an own soldier, whom
    // nobody may select during deployment.
    clickSquare(3, 3);
    b.PieceSelected = true;
    clickSquare(5, 5);
    EXPECT_EQ(ports.sounds, (Sounds{"beep", "beep", "beep"}));
    EXPECT_TRUE(actionsTaken().empty());
    EXPECT_FALSE(b.PieceSelected);
}

TEST_F(DeploymentClick, NoOtherActionDuringDeployment) {
    Battle& b = *battle;
    b.PieceSelected = true;
    b.SelectedPiece = 1;
    b.FireMode = true;
    clickSquare(20, 20);
    b.FireMode = false;
    b.HandFightMode = true;
    b.PieceSelected = true;
    clickSquare(6, 5);
    b.HandFightMode = false;
    b.SelectedItemSlot = 1;
    clickSquare(5, 5);
    EXPECT_TRUE(actionsTaken().empty());
    EXPECT_TRUE(log().empty());
}

} // namespace
} // namespace korvath::testing
