#include "game/turns/Opponent.h"
#include "TurnFixture.h"
#include "game/display/Display.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvath;
using namespace korvath::testing;

namespace {

// The computer's soldiers act with HumanTurn off, as inside End Turn.
class Opponent : public ::testing::Test, protected TurnBattle {
  protected:
    Opponent() {
        b->HumanTurn = false;
        b->CurrentSide = 2;
    }
    PieceRecord& piece(int i) { return b->Pieces[i]; }
    int occupiedSquares() const {
        int n = 0;
        for (int x = 1; x <= kMapWidth; ++x)
            for (int y = 1; y <= kMapHeight; ++y) n += b->MapGrid[x][y].Glyph == kOccupiedGlyph;
        return n;
    }
    int logCount(const std::string& text) const {
        const auto& lines = b->messageLog;
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }
    // Walls round (x, y) on every side but the right.
    void boxIn(int x, int y) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if ((dx || dy) && !(dx == 1 && dy == 0)) wall(x + dx, y + dy);
    }
};

TEST_F(Opponent, AnEnemyNearerThanEightSquaresIsAlwaysAdvancedUpon) {
    for (bool hidden : {false, true})
        for (uint32_t seed = 0; seed < 5; ++seed) {
            SCOPED_TRACE(::testing::Message() << "seed " << seed << (hidden ? " hidden" : " seen"));
            TurnBattle t;
            t.b->HumanTurn = false;
            t.move(1, 37, 20);
            t.move(2, 30, 20);
            if (hidden) // walled in on all sides but the far one
                for (int dx = -1; dx <= 1; ++dx)
                    for (int dy = -1; dy <= 1; ++dy)
                        if ((dx || dy) && !(dx == 1 && dy == 0)) t.wall(37 + dx, 20 + dy);
            t.b->nodeGridVisible = true;
            t.b->rng.setSeed(seed);
            computerPieceTurn(*t.b, 2);
            EXPECT_EQ(t.b->NodeGrid[30][20], 1); // a path was sought from his square
            EXPECT_LT(t.b->Pieces[2].AP, 20);    // and walked
        }
}

TEST_F(Opponent, AStepCostingExactlyTheRemainingPointsIsNotTakenButTheStepBackIs) {
    // A corridor along row 20 that turns down at its end, so the Raider at
    // its far end cannot be seen and every step along it is straight.
    move(2, 10, 20);
    move(1, 18, 25);
    for (int x = 9; x <= 19; ++x) {
        wall(x, 19);
        if (x < 17) wall(x, 21);
    }
    wall(9, 20);
    for (int y = 20; y <= 26; ++y) wall(19, y);
    for (int y = 21; y <= 26; ++y) wall(16, y);
    piece(2).AP = 4;

    bool moved = false;
    AdvanceTowards(*b, 2, 1, moved);
    EXPECT_TRUE(moved);
    // 4 AP: one step to (11, 20) leaves 2, the next step costs 2 and is
    // refused, and the 2 points pay for the step back.
    EXPECT_EQ(piece(2).X, 10);
    EXPECT_EQ(piece(2).Y, 20);
    EXPECT_EQ(piece(2).AP, 0);
    EXPECT_EQ(b->cell(10, 20), (MapCell{kOccupiedGlyph, 1, b->cell(10, 20).PathCost}));
    EXPECT_EQ(b->cell(11, 20).Glyph, kFloorGlyph);
    EXPECT_EQ(b->cell(11, 20).Solidity, 0);
    EXPECT_EQ(occupiedSquares(), 2);
    EXPECT_EQ(ports.ticks(), 20u); // one walking step; no pause after a refused step
}

TEST_F(Opponent, AnEmptyWeaponStillCostsItsQuickShotAndSaysSo) {
    move(1, 30, 20);
    move(2, 33, 20);
    PieceRecord& guard = piece(2);
    guard.Items[1] = 1;
    guard.Ammo = 0;
    const int raiderWounds = piece(1).Wounds;
    computerPieceTurn(*b, 2);
    EXPECT_EQ(logCount("Guard 2's weapon is no longer loaded."), 3);
    EXPECT_LT(guard.AP, 6);
    EXPECT_GE(guard.AP, 0);
    EXPECT_EQ(piece(1).Wounds, raiderWounds);
}

TEST_F(Opponent, NothingInHandOrAFreeShotMeansNoFiring) {
    move(1, 30, 20);
    move(2, 32, 20);
    b->EquipmentTypes[2] = equipment("Free Gun", "Firearm", "", 0, 0);
    b->EquipmentTypes[2].Range = 20;
    b->EquipmentTypes[2].Capacity = 10;
    for (int hand : {0, 2}) {
        piece(2).Items[1] = hand;
        piece(2).Ammo = 10;
        piece(2).AP = 20;
        ports.sounds.clear();
        computerPieceTurn(*b, 2);
        EXPECT_EQ(piece(2).Ammo, 10);
        EXPECT_EQ(std::count(ports.sounds.begin(), ports.sounds.end(), "fire"), 0);
    }
}

TEST_F(Opponent, WithNoEnemyLeftHeOnlyWatches) {
    piece(1).Wounds = 0;
    move(2, 30, 20);
    for (int i = 3; i <= 6; ++i) operative(i, 30 + i, 30);
    b->RecentPieces = {0, 1, 1, 1, 1, 1}; // heard moving, but his advance never failed
    for (int i = 2; i <= 6; ++i) computerPieceTurn(*b, i);
    for (int i = 2; i <= 6; ++i) {
        EXPECT_EQ(piece(i).AP, 20);
        EXPECT_TRUE(piece(i).Overwatch);
    }
}

TEST_F(Opponent, AFailedAdvanceLeavesHimWhereHeIs) {
    move(2, 30, 20);
    move(1, 60, 20);
    boxIn(60, 20);
    wall(61, 20); // shut in completely
    bool moved = true;
    AdvanceTowards(*b, 2, 1, moved);
    EXPECT_FALSE(moved);
    EXPECT_EQ(piece(2).X, 30);
    EXPECT_EQ(piece(2).AP, 20);

    moved = true;
    piece(1).X = 0; // not on the map
    AdvanceTowards(*b, 2, 1, moved);
    EXPECT_FALSE(moved);
    moved = true;
    AdvanceTowards(*b, 2, 1000, moved);
    EXPECT_FALSE(moved);
    EXPECT_EQ(piece(2).AP, 20);
}

TEST_F(Opponent, APathLongerThanAHundredSquaresIsWalkedFromHisEnd) {
    // Three walls with gaps at alternate ends make the way about 170 squares long.
    for (int y = 1; y <= kMapHeight; ++y) {
        if (y != 49) wall(10, y);
        if (y != 2) wall(20, y);
        if (y != 49) wall(30, y);
    }
    move(2, 5, 25);
    move(1, 35, 25);
    piece(2).AP = 7;
    bool moved = false;
    AdvanceTowards(*b, 2, 1, moved);
    EXPECT_TRUE(moved);
    const PieceRecord& g = piece(2);
    EXPECT_LE(std::abs(g.X - 5), 3);
    EXPECT_GT(g.Y, 25); // he heads down to the gap at the bottom
    EXPECT_LE(g.Y, 28);
    EXPECT_LT(g.AP, 7);
    EXPECT_EQ(occupiedSquares(), 2);
    EXPECT_EQ(b->cell(g.X, g.Y).Glyph, kOccupiedGlyph);
}

} // namespace

namespace {

TEST_F(Opponent, AWalkThatRunsItsCourseStepsBackAfterAPause) {
    // Chasing a soldier heard moving who has since fallen: nobody is seen on
    // the way, so the walk ends beside the body and he steps back.
    move(1, 20, 20);
    piece(1).Wounds = 0;
    move(2, 10, 20);
    piece(2).AP = 40;
    bool moved = false;
    AdvanceTowards(*b, 2, 1, moved);
    EXPECT_TRUE(moved);
    EXPECT_EQ(piece(2).X, 18);
    EXPECT_EQ(piece(2).Y, 20);
    EXPECT_EQ(piece(2).AP, 40 - 9 * 2 - 2);
    EXPECT_EQ(ports.ticks(), 9u * 20 + 350);
    EXPECT_EQ(b->cell(19, 20).Solidity, 0);
}

TEST_F(Opponent, ARaiderOnOverwatchFiresAtTheWalker) {
    move(1, 30, 20);
    move(2, 36, 20);
    PieceRecord& watcher = piece(1);
    watcher.Items[1] = 1;
    watcher.Ammo = 10;
    watcher.Overwatch = true;
    placePieces(*b);
    computerPieceTurn(*b, 2);
    EXPECT_EQ(logCount("Raider 1 sees opponent and fires."), 1);
    EXPECT_EQ(watcher.AP, 20 - 6);
    EXPECT_TRUE(watcher.Overwatch);
}

TEST_F(Opponent, AfterAFailedAdvanceHeSometimesChasesSomeoneHeHeard) {
    b->ObjectiveX = 2;
    b->ObjectiveY = 48;
    move(1, 35, 20); // near, but walled in: no way to him
    boxIn(35, 20);
    wall(36, 20);
    raider(3, 70, 40); // far and out of sight, open to the right
    boxIn(70, 40);
    auto chases = [&](uint8_t heard) {
        int n = 0;
        for (uint32_t seed = 0; seed < 24; ++seed) {
            move(2, 30, 20);
            piece(2).AP = 20;
            piece(2).Overwatch = false;
            b->RecentPieces = {0, heard, heard, heard, heard, heard};
            b->rng.setSeed(seed);
            computerPieceTurn(*b, 2);
            n += piece(2).AP < 20;
        }
        return n;
    };
    const int withRing = chases(3);
    EXPECT_GT(withRing, 0);
    EXPECT_LT(withRing, 24);
    EXPECT_EQ(chases(0), 0);
}

} // namespace
