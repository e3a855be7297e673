// The equipment grid's second click does what its plan says: for every pair
// of rows of every Raider of both scenarios, with points enough, just
// enough, too few and none, the plan the window shows is what the click then
// does to the soldier's points, ammunition and kit.
#include "game/commands/GridPlan.h"
#include "Script.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace korvath {
namespace {

struct Scenario {
    const char* name;
    int stars[8][2]; // one start star per soldier
};

const Scenario kScenarios[] = {
    {"korvath", {{9, 22}, {11, 22}, {7, 24}, {13, 24}, {9, 25}, {11, 25}, {7, 27}, {13, 27}}},
    {"vexlar", {{13, 9}, {15, 9}, {17, 9}, {19, 9}, {13, 11}, {15, 11}, {17, 11}, {19, 11}}},
};

TEST(GridPlan, TheSecondClickDoesWhatItsPlanSays) {
    const fs::path game = KORVATH_GAME_DIR;
    if (!fs::exists(game / "scenarios")) GTEST_SKIP() << "the game folder is not built";
    int reloads = 0, swaps = 0, refusals = 0, belowZero = 0;
    for (const Scenario& s : kScenarios) {
        test::LinkedGameFolder folder(game);
        std::ostringstream out, err;
        ScriptRunner runner(folder.path.string(), out, err);
        runner.command(std::string("start ") + s.name + " 1");
        for (int row = 0; row < 8; ++row) {
            runner.command("row " + std::to_string(row));
            runner.command("square " + std::to_string(s.stars[row][0]) + " " +
                           std::to_string(s.stars[row][1]));
        }
        Battle& b = runner.battle();
        ASSERT_FALSE(b.deploying) << s.name;
        for (const auto& star : s.stars) {
            runner.command("square " + std::to_string(star[0]) + " " + std::to_string(star[1]));
            const int i = b.SelectedPiece;
            const BattleState before = b;
            for (int armed = 1; armed <= 6; ++armed)
                for (int slot = 1; slot <= 6; ++slot)
                    for (int ap : {before.Pieces[i].AP, 4, 2, 0}) {
                        static_cast<BattleState&>(b) = before;
                        b.Pieces[i].AP = ap;
                        runner.command("row " + std::to_string(armed - 1));
                        ASSERT_EQ(b.SelectedItemSlot, armed);
                        const PieceRecord was = b.Pieces[i];
                        const GridPlan plan = planSecondClick(b, was, armed, slot);
                        EXPECT_FALSE(describePlan(b, was, slot, plan).empty());
                        runner.command("row " + std::to_string(slot - 1));
                        const PieceRecord& now = b.Pieces[i];
                        const std::string where =
                            std::string(s.name) + " soldier " + std::to_string(i) + " rows " +
                            std::to_string(armed) + "," + std::to_string(slot);
                        EXPECT_EQ(now.AP, plan.apAfter) << where;
                        EXPECT_EQ(now.Ammo, plan.ammoAfter) << where;
                        auto kit = was.Items;
                        if (plan.kind == GridPlan::Kind::Reload) kit[armed] = 0;
                        if (plan.kind == GridPlan::Kind::Swap) std::swap(kit[armed], kit[slot]);
                        EXPECT_EQ(now.Items, kit) << where;
                        reloads += plan.kind == GridPlan::Kind::Reload;
                        swaps += plan.kind == GridPlan::Kind::Swap;
                        refusals += plan.kind == GridPlan::Kind::TooFewToSwap ||
                                    plan.kind == GridPlan::Kind::TooFewToReload;
                        belowZero += plan.apAfter < 0;
                    }
        }
    }
    // The squads' kit reaches every kind of plan, the exchange's quirk included.
    EXPECT_GT(reloads, 0);
    EXPECT_GT(swaps, 0);
    EXPECT_GT(refusals, 0);
    EXPECT_GT(belowZero, 0);
}

} // namespace
} // namespace korvath
