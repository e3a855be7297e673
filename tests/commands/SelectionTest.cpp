#include "CommandFixture.h"

namespace korvath::testing {
namespace {

// ---- Next unit ----

class NextUnit : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        soldier(4, "Dee", 1, 9, 5, kRifle);
        soldier(5, "Eve", 1, 11, 5, kRifle);
        placePieces(*battle);
    }
    void next() { NextButtonClick(*battle); }
};

TEST_F(NextUnit, SkipsTheEnemyTheDeadTheSpentAndThoseOnOverwatch) {
    Battle& b = *battle;
    b.Pieces[2].AP = 0;
    b.Pieces[4].Wounds = 0;
    b.Pieces[5].Overwatch = true;
    next();
    EXPECT_EQ(b.SelectedPiece, 1);
    EXPECT_TRUE(b.PieceSelected);
    // From Ann the forward search finds nobody; the search from the start
    // takes those on overwatch too, but Ann comes first.
    next();
    EXPECT_EQ(b.SelectedPiece, 1);
    EXPECT_TRUE(b.Pieces[5].Overwatch);

    b.Pieces[1].AP = 0;
    next();
    EXPECT_EQ(b.SelectedPiece, 5);
    EXPECT_FALSE(b.Pieces[5].Overwatch);
    EXPECT_TRUE(log().empty());
}

TEST_F(NextUnit, CyclesThroughTheSquadAndWrapsAround) {
    Battle& b = *battle;
    std::vector<int> order;
    for (int k = 0; k < 5; ++k) {
        next();
        order.push_back(b.SelectedPiece);
    }
    EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 5, 1}));
    EXPECT_EQ(ports.sounds, Sounds(5, "prompt"));
}

TEST_F(NextUnit, OverwatchIsOnlyClearedByTheSearchFromTheStart) {
    Battle& b = *battle;
    b.Pieces[2].Overwatch = true;
    next(); // Ann
    next(); // Bob is passed over
    EXPECT_EQ(b.SelectedPiece, 4);
    EXPECT_TRUE(b.Pieces[2].Overwatch);
    b.Pieces[1].AP = 0;
    next(); // Eve
    next(); // from the start: Bob, whose overwatch ends silently
    EXPECT_EQ(b.SelectedPiece, 2);
    EXPECT_FALSE(b.Pieces[2].Overwatch);
    EXPECT_TRUE(log().empty());
}

TEST_F(NextUnit, EnablesEveryActionButtonAndLeavesTheModes) {
    Battle& b = *battle;
    select(1);
    b.FireMode = true;
    b.armedShot = ArmedShot::Aimed;
    next(); // Bob holds a blade, yet all four come on
    EXPECT_EQ(b.SelectedPiece, 2);
    const Controls shown = controlsOf(b);
    for (const Control* c :
         {&shown.AimedFireIcon, &shown.SnapFireIcon, &shown.HandFightIcon, &shown.OverwatchIcon})
        EXPECT_TRUE(c->enabled);
    EXPECT_NE(b.armedShot, ArmedShot::Aimed);
    EXPECT_FALSE(b.FireMode);
    EXPECT_FALSE(b.HandFightMode);
    EXPECT_EQ(controlsOf(b).NameLabel.text, "Bob");
}

TEST_F(NextUnit, TakesTheFrameOffThePreviousSoldier) {
    Battle& b = *battle;
    select(1);
    // The frame runs one pixel in from the square's edge, on the screen only.
    ASSERT_EQ(at(b.MapImage, 5, 5, 1, 1), kSelectionFrameColour);
    next();
    EXPECT_EQ(at(b.MapImage, 5, 5, 1, 1), at(b.TerrainBitmap, 5, 5, 1, 1));
    EXPECT_EQ(at(b.MapImage, 7, 5, 1, 1), kSelectionFrameColour);
}

TEST_F(NextUnit, WhenNobodyCanActTheSelectionStays) {
    Battle& b = *battle;
    select(2);
    b.FireMode = true;
    for (int i : {1, 2, 4, 5}) b.Pieces[i].AP = 0;
    next();
    EXPECT_EQ(b.SelectedPiece, 2);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_TRUE(b.FireMode);
    EXPECT_TRUE(ports.sounds.empty());
}

TEST_F(NextUnit, DoesNothingInTheComputersTurn) {
    battle->HumanTurn = false;
    next();
    EXPECT_FALSE(battle->PieceSelected);
    EXPECT_EQ(battle->SelectedPiece, 0);
}

// ---- Cancel ----

using Cancel = CommandTest;

TEST_F(Cancel, FirstLeavesFireModeThenDropsTheSelection) {
    Battle& b = *battle;
    select(1);
    b.FireMode = true;
    b.armedShot = ArmedShot::Quick;
    b.cursor = CursorShape::Aim;

    CancelButtonClick(b);
    EXPECT_FALSE(b.FireMode);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_NE(b.armedShot, ArmedShot::Quick);
    EXPECT_EQ(b.cursor, CursorShape::Default);
    EXPECT_EQ(controlsOf(b).NameLabel.text, "Ann");
    EXPECT_TRUE(controlsOf(b).AimedFireIcon.enabled);
    EXPECT_EQ(at(b.MapImage, 5, 5, 1, 1), kSelectionFrameColour);

    b.mapCursor = CursorShape::HandPoint;
    CancelButtonClick(b);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(b.SelectedPiece, 1);
    EXPECT_EQ(b.mapCursor, CursorShape::Default);
    const Controls c = controlsOf(b);
    for (const Control* label :
         {&c.NameLabel, &c.ActionPointsLabel, &c.WSlabel, &c.BSlabel, &c.Strengthlabel,
          &c.ToughLabel, &c.WoundsLabel, &c.EnduranceLabel, &c.FatigueLabel, &c.CoolLabel})
        EXPECT_EQ(label->text, "-");
    EXPECT_EQ(c.QuickShotLabel.text, "");
    EXPECT_EQ(c.AimedShotLabel.text, "");
    for (const Control* button :
         {&c.AimedFireIcon, &c.SnapFireIcon, &c.HandFightIcon, &c.OverwatchIcon})
        EXPECT_FALSE(button->enabled);
    EXPECT_EQ(at(b.MapImage, 5, 5, 1, 1), at(b.TerrainBitmap, 5, 5, 1, 1));
    EXPECT_EQ(ports.sounds, (Sounds{"select", "select"}));
}

TEST_F(Cancel, HandFightModeIsLeftLikeFireMode) {
    Battle& b = *battle;
    select(2);
    b.HandFightMode = true;
    CancelButtonClick(b);
    EXPECT_FALSE(b.HandFightMode);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_EQ(controlsOf(b).NameLabel.text, "Bob");
    CancelButtonClick(b);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(controlsOf(b).NameLabel.text, "-");
}

TEST_F(Cancel, WithNothingSelectedOnlyRedrawsAndAcknowledges) {
    Battle& b = *battle;
    b.panel.name = "Ann";
    CancelButtonClick(b);
    EXPECT_EQ(controlsOf(b).NameLabel.text, "Ann");
    EXPECT_EQ(ports.sounds, Sounds{"select"});
}

// ---- Keys ----

using Keys = CommandTest;

TEST_F(Keys, KCancelsInEitherCase) {
    Battle& b = *battle;
    select(1);
    FormKeyPress(b, 'K');
    EXPECT_FALSE(b.PieceSelected);
    select(1);
    FormKeyPress(b, 'k');
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_FALSE(b.StopRequested);
}

TEST_F(Keys, KeysActOnlyWhileTheirButtonIsEnabled) {
    Battle& b = *battle;
    select(1);
    b.deploying = true; // Cancel and End turn are off
    FormKeyPress(b, 'k');
    FormKeyDown(b, kEscapeKey);
    FormKeyPress(b, '0');
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_FALSE(b.StopRequested);
}

TEST_F(Keys, ZeroEndsTheTurnAndAsksARunningWalkToStop) {
    Battle& b = *battle;
    FormKeyPress(b, '0');
    EXPECT_TRUE(b.StopRequested);
}

TEST_F(Keys, EscapeStopsAndCancels) {
    Battle& b = *battle;
    select(1);
    FormKeyDown(b, kEscapeKey);
    EXPECT_TRUE(b.StopRequested);
    EXPECT_FALSE(b.PieceSelected);
}

TEST_F(Keys, OtherKeysDoNothing) {
    Battle& b = *battle;
    select(1);
    for (char ch : std::string("ajlKx9 \r")) {
        if (ch == 'K') continue;
        FormKeyDown(b, std::toupper(static_cast<unsigned char>(ch)));
        FormKeyPress(b, ch);
    }
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_FALSE(b.StopRequested);
    EXPECT_TRUE(ports.sounds.empty());
    EXPECT_TRUE(log().empty());
}

// ---- Mouse moves ----

using MouseMove = CommandTest;

TEST_F(MouseMove, HoverLineNamesTheTileOrTheSoldier) {
    Battle& b = *battle;
    MapImageMouseMove(b, 11 * 32 + 5, 6 * 32 + 31);
    EXPECT_EQ(b.hoverLine, "12 : 7  Floor S:0");
    MapImageMouseMove(b, 4 * 32, 4 * 32);
    EXPECT_EQ(b.hoverLine, "5 : 5  Ann S:1");
    MapImageMouseMove(b, 8 * 32, 8 * 32);
    EXPECT_EQ(b.hoverLine, "9 : 9   S:4");

    // Over the grids only the cursor follows the mouse.
    MapImageMouseMove(b, 0, 0, false);
    EXPECT_EQ(b.hoverLine, "9 : 9   S:4");
}

TEST_F(MouseMove, HoverOverABodyNamesTheFirstRecordThere) {
    Battle& b = *battle;
    b.Pieces[3].X = 7;
    b.Pieces[3].Y = 5;
    b.Pieces[3].Wounds = 0;
    std::swap(b.Pieces[2], b.Pieces[3]);
    MapImageMouseMove(b, 6 * 32, 4 * 32);
    EXPECT_EQ(b.hoverLine, "7 : 5  Cid S:1");
}

TEST_F(MouseMove, CursorFollowsTheModeLaterRulesWinning) {
    Battle& b = *battle;
    CursorShape& cursor = b.cursor;
    cursor = CursorShape::Aim;
    MapImageMouseMove(b, 100, 100);
    EXPECT_EQ(cursor, CursorShape::Aim); // no rule applies: left as it is
    FormMouseMove(b);
    EXPECT_EQ(cursor, CursorShape::Default);

    b.PieceSelected = true;
    MapImageMouseMove(b, 100, 100);
    EXPECT_EQ(cursor, CursorShape::Default); // a selection is not a pick
    b.deploying = true;
    MapImageMouseMove(b, 100, 100, false);
    EXPECT_EQ(cursor, CursorShape::HandPoint);
    b.FireMode = true;
    MapImageMouseMove(b, 100, 100);
    EXPECT_EQ(cursor, CursorShape::Aim);
    b.HandFightMode = true;
    MapImageMouseMove(b, 100, 100);
    EXPECT_EQ(cursor, CursorShape::Sword);
    b.SelectedItemSlot = 3;
    MapImageMouseMove(b, 100, 100);
    EXPECT_EQ(cursor, CursorShape::HandPoint);
}

TEST_F(MouseMove, MapAndEquipmentRadios) {
    Battle& b = *battle;
    EquipRadioClick(b, true);
    Controls c = controlsOf(b);
    EXPECT_TRUE(c.EquipRadio.down);
    EXPECT_FALSE(c.MapRadio.down);
    EXPECT_TRUE(c.EquipGrid.visible);
    EXPECT_FALSE(c.OverHeadMap.visible);
    EquipRadioClick(b, false);
    c = controlsOf(b);
    EXPECT_FALSE(c.EquipRadio.down);
    EXPECT_TRUE(c.MapRadio.down);
    EXPECT_FALSE(c.EquipGrid.visible);
    EXPECT_TRUE(c.OverHeadMap.visible);
}

} // namespace
} // namespace korvath::testing
