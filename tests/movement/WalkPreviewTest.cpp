// The walk's preview: worked out on its own costs, it gives the trace and the
// price the walk and the right button's question give, and leaves the battle
// exactly as it was.
#include "WalkFixture.h"

using namespace korvath;
using namespace korvath::testing;

TEST_F(WalkTest, PreviewIsTheWalksTraceAndTheQuestionsPriceWithoutTouchingTheBattle) {
    for (int y = 5; y <= 14; ++y) wall(14, y); // a wall to walk round
    door(14, 15);
    soldier(2, 1, 12, 8);
    walker(10, 10, 20);
    b->cell(30, 30).PathCost = 77; // left over from an earlier flood
    struct Case {
        int x, y;
        bool reachable, affordable;
    } cases[] = {
        {11, 11, true, true},   {13, 13, true, true},   {16, 10, true, false},
        {40, 40, true, false},  {14, 10, false, false}, // a wall is no walk order
        {10, 10, false, false},                         // his own square
    };
    for (const Case& c : cases) {
        const auto before = b->MapGrid;
        const uint64_t draws = b->rng.draws();
        const WalkPreview seen = previewWalk(*b, 1, c.x, c.y);
        EXPECT_TRUE(b->MapGrid == before) << c.x << "," << c.y;
        EXPECT_EQ(b->rng.draws(), draws);
        EXPECT_EQ(seen.reachable, c.reachable) << c.x << "," << c.y;
        EXPECT_EQ(seen.affordable, c.affordable) << c.x << "," << c.y;
        if (!c.reachable) continue;

        // The walk's own flood and trace, on the battle itself.
        const std::string answer = query(c.x, c.y);
        std::vector<Square> trace = tracePathBack(*b, {c.x, c.y}, true, w().AP, [&](Square at) {
            return at == Square{10, 10};
        });
        trace.erase(trace.begin());
        EXPECT_EQ(seen.path, trace) << c.x << "," << c.y;
        EXPECT_EQ(seen.cost, cost(c.x, c.y));
        EXPECT_EQ(answer.rfind(std::to_string(seen.cost) + " action points required", 0) == 0,
                  c.affordable)
            << answer;
    }
    // Walled in: the question says "Too far or unreacheable." and there is no path.
    for (int x = 29; x <= 31; ++x)
        for (int y = 29; y <= 31; ++y)
            if (x != 30 || y != 30) wall(x, y);
    EXPECT_FALSE(previewWalk(*b, 1, 30, 30).reachable);
    EXPECT_EQ(query(30, 30), "Too far or unreacheable.");
}
