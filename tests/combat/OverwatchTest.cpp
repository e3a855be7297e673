#include "game/combat/Overwatch.h"
#include "ShotBattle.h"
#include "game/commands/Commands.h"

namespace korvath::testing {
namespace {

using OverwatchButton = ShotTest;

TEST_F(OverwatchButton, KeepsThePointsForReactionShotsAndEndsTheSelection) {
    soldier(1, "Raider", 1, 10, 10);
    ready();
    b.SelectedPiece = 1;
    b.PieceSelected = true;
    b.armedShot = ArmedShot::Quick;

    b.Pieces[1].AP = 3; // a quick shot costs 4
    OverwatchButtonClick(b);
    EXPECT_FALSE(b.Pieces[1].Overwatch);
    EXPECT_TRUE(b.PieceSelected);

    b.Pieces[1].AP = 4;
    OverwatchButtonClick(b);
    EXPECT_TRUE(b.Pieces[1].Overwatch);
    EXPECT_EQ(b.Pieces[1].AP, 4);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_NE(b.armedShot, ArmedShot::Quick);
    EXPECT_EQ(log(), (std::vector<std::string>{
                         "Raider does not have enough action point to go into overwatch.",
                         "Raider goes into overwatch."}));
}

// An Operative on overwatch at (20, 10) watches a Raider walking along row 10.
struct Reaction : ShotTest {
    PieceRecord& watcher() { return b.Pieces[2]; }
    void setUp(int moverX, int range = 10) {
        soldier(1, "Raider", 1, moverX, 10).Wounds = 50;
        PieceRecord& w = soldier(2, "Operative", 2, 20, 10);
        w.Overwatch = true;
        b.EquipmentTypes[kRifle].Range = range;
        ready();
    }
};

TEST_F(Reaction, AWatcherDoesNotFireAtAMoverAsFarAsItsRange) {
    setUp(30); // 10 squares away
    EXPECT_FALSE(CheckOverWatch(b, 2, 1));
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(watcher().AP, 20);
    EXPECT_EQ(watcher().Ammo, 10);
}

TEST_F(Reaction, AWatcherFiresAtAMoverInsideItsRangeAndKeepsWatching) {
    setUp(29); // 9 squares away
    EXPECT_TRUE(CheckOverWatch(b, 2, 1));
    EXPECT_EQ(log().front(), "Operative sees opponent and fires.");
    EXPECT_EQ(watcher().AP, 16);
    EXPECT_EQ(watcher().Ammo, 9);
    EXPECT_TRUE(watcher().Overwatch);
    EXPECT_FALSE(b.FireMode);
    EXPECT_EQ(ports.waitsOf(800), 1);
}

TEST_F(Reaction, AWatcherWithPointsForOneShotFiresOnceThenLeavesOverwatch) {
    setUp(25);
    watcher().AP = 4;
    EXPECT_TRUE(CheckOverWatch(b, 2, 1));
    EXPECT_EQ(watcher().AP, 0);
    EXPECT_TRUE(watcher().Overwatch);
    ports.sounds.clear();

    EXPECT_FALSE(CheckOverWatch(b, 2, 1));
    EXPECT_EQ(log().back(), "Operative does not have enough actionpoint to fire");
    EXPECT_EQ(ports.sounds, std::vector<std::string>{"beep"});
    EXPECT_FALSE(watcher().Overwatch);
}

TEST_F(Reaction, AnEmptyWeaponIsAnnouncedAndStillPaidFor) {
    setUp(25);
    watcher().Ammo = 0;
    EXPECT_TRUE(CheckOverWatch(b, 2, 1));
    EXPECT_EQ(log(), (std::vector<std::string>{"Operative sees opponent and fires.",
                                               "Operative's weapon is no longer loaded."}));
    EXPECT_EQ(watcher().AP, 16);
    EXPECT_EQ(b.Pieces[1].Wounds, 50);
}

TEST_F(Reaction, OnlyAHumanWatcherSaysItHasNoClearShot) {
    // A Raider watching in the Operatives' turn, a wall in his way.
    b.HumanTurn = false;
    soldier(1, "Raider", 1, 10, 10).Overwatch = true;
    soldier(2, "Operative", 2, 15, 10);
    soldier(3, "Watcher", 2, 10, 20).Overwatch = true;
    wall(12, 10);
    ready();
    EXPECT_FALSE(CheckOverWatch(b, 1, 2));
    EXPECT_FALSE(CheckOverWatch(b, 1, 2));
    EXPECT_EQ(log(), (std::vector<std::string>(2, "Raider cannot get a clear shot at the enemy")));
    EXPECT_EQ(b.Pieces[1].AP, 20);
    EXPECT_TRUE(b.Pieces[1].Overwatch);

    // The Operatives watching a Raider behind the same wall stay silent.
    b.HumanTurn = true;
    b.Pieces[3].X = 15;
    b.Pieces[3].Y = 11;
    b.Pieces[2].Overwatch = true;
    ready();
    EXPECT_FALSE(CheckOverWatch(b, 2, 1));
    EXPECT_EQ(log().size(), 2u);
}

// A Raider has walked to (10, 10); the nearest Operative stands three squares
// east, and a watcher far to the south has him in view.
struct EndOfMove : ShotTest {
    EndOfMove() {
        soldier(1, "Raider", 1, 10, 10).Wounds = 50;
        soldier(2, "Nearest", 2, 13, 10);
        PieceRecord& w = soldier(3, "Watcher", 2, 10, 30);
        w.Overwatch = true;
        b.EquipmentTypes[kRifle].Range = 5; // no range limit at the end of a move
    }
};

TEST_F(EndOfMove, WatchersFireFreeShotsWhenTheNearestOperativeSeesTheMover) {
    ready();
    EndOfMoveReaction(b, 1);
    EXPECT_EQ(b.Pieces[3].Ammo, 9);
    EXPECT_EQ(b.Pieces[3].AP, 20);
    EXPECT_TRUE(b.Pieces[3].Overwatch);
    EXPECT_FALSE(logged("Watcher sees opponent and fires."));
    EXPECT_EQ(b.Pieces[2].Ammo, 10); // not on overwatch
}

TEST_F(EndOfMove, NobodyReactsWhenTheNearestOperativeCannotSeeTheMover) {
    for (int y = 5; y <= 15; ++y) wall(12, y);
    ready();
    EndOfMoveReaction(b, 1);
    EXPECT_EQ(b.Pieces[3].Ammo, 10);
    EXPECT_TRUE(log().empty());
}

TEST_F(EndOfMove, AWatcherWithAnEmptyWeaponSaysSo) {
    b.Pieces[3].Ammo = 0;
    ready();
    EndOfMoveReaction(b, 1);
    EXPECT_EQ(log(), std::vector<std::string>{"Watcher's weapon is no longer loaded."});
    EXPECT_EQ(b.Pieces[3].AP, 20);
}

} // namespace
} // namespace korvath::testing
