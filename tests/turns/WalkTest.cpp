// The selected soldier's walk: queries, paying for steps, who and what stops
// him, and what he leaves behind.
#include "WalkFixture.h"

using namespace korvath;
using namespace korvath::testing;

TEST_F(WalkTest, QueryReportsTheCostAndNeverMoves) {
    walker(10, 10, 10);
    EXPECT_EQ(query(11, 11), "3 action points required, 7 remaining.");
    EXPECT_EQ(query(10, 9), "2 action points required, 8 remaining.");
    EXPECT_EQ(query(15, 10), "10 action points required, 0 remaining.");
    EXPECT_EQ(query(16, 10), "Too far or unreacheable.");
    EXPECT_EQ(w().X, 10);
    EXPECT_EQ(w().Y, 10);
    EXPECT_EQ(w().AP, 10);
    EXPECT_EQ(clock.waits, 0);
    EXPECT_TRUE(b->MapClicksEnabled);
    // A query still counts as a walk for the list of recent walkers.
    EXPECT_EQ(b->RecentPieces[1], 1);
    EXPECT_EQ(b->RecentIndex, 2);
}

TEST_F(WalkTest, QueryOnAWalledOffSquareIsTooFar) {
    walker(10, 10, 50);
    for (int x = 19; x <= 21; ++x)
        for (int y = 9; y <= 11; ++y)
            if (x != 20 || y != 10) wall(x, y);
    EXPECT_EQ(query(20, 10), "Too far or unreacheable.");
    // Nor is it priced at nothing for a soldier too tired to look far.
    w().AP = 1;
    EXPECT_EQ(query(20, 10), "Too far or unreacheable.");
    w().AP = 50;
    walk(20, 10);
    EXPECT_EQ(w().X, 10);
    EXPECT_EQ(w().AP, 50);
    EXPECT_EQ(b->statusLine, "");
    EXPECT_TRUE(b->MapClicksEnabled);
}

TEST_F(WalkTest, AccessSquaresAreDearerInTheQueryThanOnTheWalk) {
    for (int x = 11; x <= 15; ++x) {
        wall(x, 9);
        wall(x, 11);
    }
    door(12, 10);
    door(14, 10);
    walker(10, 10, 20);
    EXPECT_EQ(query(15, 10), "14 action points required, 6 remaining.");
    walk(15, 10);
    EXPECT_EQ(w().X, 15);
    EXPECT_EQ(w().AP, 10);
    // The doors close behind him.
    EXPECT_EQ(b->cell(12, 10).Glyph, kDoorGlyph);
    EXPECT_EQ(b->cell(12, 10).Solidity, 3);
    EXPECT_EQ(b->cell(14, 10).Solidity, 3);
    EXPECT_EQ(at(b->TerrainBitmap, 14, 10, 16, 16), kDoorColour);
}

TEST_F(WalkTest, StepsPayTwoOrThreeAndMoveTheOccupiedMark) {
    walker(10, 10, 10);
    b->statusLine = "old";
    walk(13, 13);
    EXPECT_EQ(w().X, 13);
    EXPECT_EQ(w().Y, 13);
    EXPECT_EQ(w().AP, 1);
    EXPECT_EQ(w().UnderGlyph, kFloorGlyph);
    EXPECT_EQ(b->statusLine, "");
    for (int s = 10; s <= 12; ++s) {
        EXPECT_EQ(b->cell(s, s).Glyph, kFloorGlyph) << s;
        EXPECT_EQ(b->cell(s, s).Solidity, 0) << s;
        EXPECT_EQ(at(b->MapImage, s, s, 16, 16), 0u) << s;
    }
    EXPECT_EQ(b->cell(13, 13).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b->cell(13, 13).Solidity, 1);
    EXPECT_EQ(at(b->MapImage, 13, 13, 16, 16), soldierColour(1, 1));
    // One 20 ms pause and one turn for the window's messages per step.
    EXPECT_EQ(clock.waits, 3);
    EXPECT_EQ(clock.elapsed, 60u);
    EXPECT_EQ(clock.messageRuns, 3);
    EXPECT_TRUE(b->MapClicksEnabled);
    EXPECT_EQ(controlsOf(*b).ActionPointsLabel.text, "1");
}

TEST_F(WalkTest, TheWalkEndsWhereTheActionPointsRunOut) {
    walker(10, 10, 7);
    walk(20, 10);
    EXPECT_EQ(w().X, 13);
    EXPECT_EQ(w().AP, 1);
}

TEST_F(WalkTest, OneActionPointNeverMovesTwoMakeOneStraightStep) {
    walker(10, 10, 1);
    walk(11, 10);
    EXPECT_EQ(w().X, 10);
    EXPECT_EQ(w().AP, 1);

    w().AP = 2;
    walk(11, 11);
    EXPECT_EQ(w().X, 10);
    EXPECT_EQ(w().AP, 2);
    walk(14, 10);
    EXPECT_EQ(w().X, 11);
    EXPECT_EQ(w().Y, 10);
    EXPECT_EQ(w().AP, 0);
}

TEST_F(WalkTest, ShortOfPointsHeWillNotStartOrGoOnIntoADoorOrAFriend) {
    for (int x = 11; x <= 13; ++x) {
        wall(x, 9);
        wall(x, 11);
    }
    door(11, 10);
    walker(10, 10, 3);
    walk(12, 10);
    EXPECT_EQ(w().X, 10); // 3 AP would pay for the step, but not through a door

    w().AP = 6;
    walk(12, 10);
    EXPECT_EQ(w().X, 12);
    EXPECT_EQ(w().AP, 2);

    // With 4 AP left after a step he stops in front of a friend.
    soldier(2, 1, 15, 10);
    w().AP = 6;
    walk(16, 10);
    EXPECT_EQ(w().X, 14);
    EXPECT_EQ(w().AP, 2);
}

TEST_F(WalkTest, AWalkMayEndOnTheNearestFriendOfARow) {
    walker(10, 10, 10);
    soldier(2, 1, 12, 10);
    walk(12, 10);
    EXPECT_EQ(w().X, 12);
    EXPECT_EQ(w().AP, 6);
    EXPECT_EQ(w().UnderGlyph, kFloorGlyph);
    EXPECT_EQ(b->cell(12, 10).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b->Pieces[2].X, 12);
    // He leaves the square to his friend.
    walk(13, 10);
    EXPECT_EQ(w().X, 13);
    EXPECT_EQ(b->cell(12, 10).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b->cell(12, 10).Solidity, 1);

    // Two friends in a row beyond him: he ends on the first.
    soldier(3, 1, 15, 10);
    soldier(4, 1, 16, 10);
    w().AP = 20;
    walk(16, 10);
    EXPECT_EQ(w().X, 15);
    EXPECT_EQ(w().AP, 16);
}

TEST_F(WalkTest, AWalkTowardsAnEnemyStopsInFrontOfHim) {
    walker(10, 10, 20);
    soldier(2, 2, 14, 10);
    walk(14, 10);
    EXPECT_EQ(w().X, 13);
    EXPECT_EQ(w().AP, 14);
    EXPECT_EQ(b->Pieces[2].X, 14);
    EXPECT_EQ(b->cell(14, 10).Glyph, kOccupiedGlyph);
}

TEST_F(WalkTest, EscDuringAWalkStopsItAfterTheStep) {
    walker(10, 10, 20);
    clock.onMessages = [this] { b->StopRequested = true; };
    walk(20, 10);
    EXPECT_EQ(w().X, 11);
    EXPECT_EQ(w().AP, 18);
    EXPECT_FALSE(b->StopRequested);

    clock.onMessages = nullptr;
    walk(20, 10);
    EXPECT_EQ(w().X, 20);
}

TEST_F(WalkTest, APendingStopRequestEndsTheNextWalkAfterItsFirstStep) {
    walker(10, 10, 20);
    b->StopRequested = true;
    walk(10, 20);
    EXPECT_EQ(w().Y, 11);
    EXPECT_FALSE(b->StopRequested);
    // A query consumes the request as well.
    b->StopRequested = true;
    query(10, 15);
    EXPECT_FALSE(b->StopRequested);
}

TEST_F(WalkTest, TheRingOfRecentWalkersSkipsRepeatsAndWraps) {
    walker(10, 10, 0);
    soldier(2, 1, 20, 20).AP = 0;
    auto walkWith = [&](int i) {
        b->SelectedPiece = static_cast<uint8_t>(i);
        walk(30, 30);
    };
    walkWith(1);
    walkWith(1);
    walkWith(2);
    EXPECT_EQ(b->RecentPieces, (std::array<uint8_t, 6>{0, 1, 2, 0, 0, 0}));
    EXPECT_EQ(b->RecentIndex, 3);
    walkWith(1);
    walkWith(2);
    walkWith(2);
    EXPECT_EQ(b->RecentPieces, (std::array<uint8_t, 6>{0, 1, 2, 1, 2, 0}));
    walkWith(1);
    EXPECT_EQ(b->RecentIndex, 1);
    // The slot before the first is always empty, so a repeat is written there.
    walkWith(1);
    EXPECT_EQ(b->RecentPieces, (std::array<uint8_t, 6>{0, 1, 2, 1, 2, 1}));
    EXPECT_EQ(b->RecentIndex, 2);
}

TEST_F(WalkTest, ALongWindingPathIsWalkedToItsEndButTooFarToQuery) {
    // Three walls with gaps at alternate ends make a path of well over 100 squares.
    for (int y = 1; y <= 45; ++y) {
        wall(5, y);
        wall(15, y);
    }
    for (int y = 6; y <= 50; ++y) wall(10, y);
    walker(2, 2, 1000);
    EXPECT_EQ(query(18, 2), "Too far or unreacheable.");
    walk(18, 2);
    EXPECT_EQ(w().X, 18);
    EXPECT_EQ(w().Y, 2);
    EXPECT_GT(clock.waits, 100);
    EXPECT_EQ(1000 - w().AP, b->cell(18, 2).PathCost);
}

TEST_F(WalkTest, AWalkAlongTheMapsEdgeKeepsToTheMap) {
    walker(80, 50, 40);
    walk(80, 40);
    EXPECT_EQ(w().X, 80);
    EXPECT_EQ(w().Y, 40);
    EXPECT_EQ(w().AP, 20);
}

// An Operative on overwatch who sees the walker but whose weapon cannot reach
// him during the walk: only the end-of-walk reaction makes him fire.
class EndOfWalk : public WalkTest {
  protected:
    EndOfWalk() {
        EquipmentType& gun = b->EquipmentTypes[1];
        gun = equipment("Short Gun", "Firearm", "none", 2, 3);
        gun.Range = 1;
        gun.DamageDice = "1d1";
        gun.TraceColour = "255";
        PieceRecord& p = walker(10, 10, 20);
        p.Toughness = 10;
        p.TargetSize = 24;
        PieceRecord& watcher = soldier(2, 2, 10, 20);
        watcher.Items[1] = 1;
        watcher.AP = 10;
        watcher.Ammo = 5;
        watcher.Overwatch = true;
    }
    int shotsFired() { return 5 - b->Pieces[2].Ammo; }
};

TEST_F(EndOfWalk, OnlyAWalkThatMovedDrawsTheReaction) {
    query(15, 10);
    EXPECT_EQ(shotsFired(), 0);
    w().AP = 1;
    walk(11, 10);
    EXPECT_EQ(shotsFired(), 0);
    w().AP = 20;
    walk(11, 10);
    EXPECT_EQ(w().X, 11);
    EXPECT_EQ(shotsFired(), 1);
    EXPECT_TRUE(b->MapClicksEnabled);
}

TEST_F(EndOfWalk, AReactionShotDuringTheWalkEndsItAfterThatStep) {
    b->EquipmentTypes[1].Range = 30;
    b->Pieces[2].Shoot = 100; // no stray
    walk(20, 10);
    EXPECT_EQ(w().X, 11);
    EXPECT_EQ(w().AP, 18);
    EXPECT_GE(shotsFired(), 1);
    EXPECT_EQ(b->messageLog.at(0), "Soldier 2 sees opponent and fires.");

    // A walker killed by the reaction stops where he fell and draws no more fire.
    b->EquipmentTypes[1].DamageDice = "10d6";
    w().Toughness = 0;
    walk(20, 10);
    EXPECT_EQ(w().Wounds, 0) << ::testing::PrintToString(b->messageLog);
    EXPECT_EQ(w().X, 12);
    // The dead man stays selected, but a click no longer moves his body.
    const int fired = shotsFired();
    walk(20, 10);
    EXPECT_EQ(w().X, 12);
    EXPECT_EQ(shotsFired(), fired);
    const std::string status = b->statusLine;
    EXPECT_EQ(query(13, 10), status);
}
