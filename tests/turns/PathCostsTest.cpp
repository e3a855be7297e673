// The cost flood: what each square costs, when the flood stops, and what it
// leaves out.
#include "WalkFixture.h"

using namespace korvath;
using namespace korvath::testing;

using PathCosts = WalkTest;

TEST_F(PathCosts, StepsCostTwoOrThreeAndTheStartIsMarkedOne) {
    FillPathCosts(*b, 40, 25, 45, 25);
    EXPECT_EQ(cost(40, 25), 1);
    EXPECT_EQ(cost(41, 25), 2);
    EXPECT_EQ(cost(39, 24), 3);
    EXPECT_EQ(cost(42, 26), 5);
    EXPECT_EQ(cost(45, 25), 10);
}

TEST_F(PathCosts, StopsAfterTheFirstSweepThatReachesTheGoal) {
    // One sweep carries costs far down and to the right but only one ring up
    // and to the left, and what it finds first is kept even if dearer.
    FillPathCosts(*b, 40, 25, 45, 25);
    EXPECT_GT(cost(70, 45), 0);
    EXPECT_EQ(cost(38, 23), 6);
    EXPECT_EQ(cost(40, 22), 0);
    EXPECT_EQ(cost(37, 25), 8); // the least would be 6

    // A goal up and to the left needs more sweeps; then the same square is cheaper.
    FillPathCosts(*b, 40, 25, 30, 20);
    EXPECT_EQ(cost(37, 25), 6);
    EXPECT_GT(cost(30, 20), 0);
}

TEST_F(PathCosts, AnAccessSquareCostsTwoMoreExceptNextToTheStart) {
    for (int x = 41; x <= 45; ++x) {
        wall(x, 24);
        wall(x, 26);
    }
    door(41, 25);
    door(43, 25);
    FillPathCosts(*b, 40, 25, 45, 25);
    EXPECT_EQ(cost(41, 25), 2);
    EXPECT_EQ(cost(42, 25), 4);
    EXPECT_EQ(cost(43, 25), 8);
    EXPECT_EQ(cost(45, 25), 12);
    EXPECT_EQ(cost(42, 24), 0); // walls take no cost
}

TEST_F(PathCosts, ClearsTheOldCostsAndLeavesWalledOffSquaresAtZero) {
    FillPathCosts(*b, 10, 10, 1, 1);
    ASSERT_GT(cost(60, 5), 0);
    for (int x = 59; x <= 61; ++x)
        for (int y = 4; y <= 6; ++y)
            if (x != 60 || y != 5) wall(x, y);
    FillPathCosts(*b, 10, 10, 60, 5); // every sweep runs, none reaches the goal
    EXPECT_EQ(cost(60, 5), 0);
    EXPECT_EQ(cost(10, 10), 1);
    EXPECT_EQ(cost(11, 10), 2);
    EXPECT_EQ(cost(59, 5), 0);
    EXPECT_EQ(cost(80, 50), 3 * 40 + 2 * 30); // 40 diagonal steps, 30 straight
}

TEST_F(PathCosts, CornersOfTheMapStayInsideTheGrid) {
    FillPathCosts(*b, 80, 50, 1, 1);
    EXPECT_EQ(cost(80, 50), 1);
    EXPECT_EQ(cost(79, 49), 3);
    EXPECT_GT(cost(1, 1), 0);
    FillPathCosts(*b, 1, 1, 80, 50);
    EXPECT_EQ(cost(80, 50), 3 * 49 + 2 * 30);
}
