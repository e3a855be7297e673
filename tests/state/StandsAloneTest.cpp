// A copy of the battle's state, put into a fresh battle whose controls are
// derived from it, is the same battle to the byte of its dump: nothing of the
// battle lives in the controls, the screen or the ports. Played on both real
// scenarios through the headless driver, at the moments where the most is
// shown: during deployment, a soldier selected with a shot armed, close
// combat armed, the kit in hand, after a computer turn and after a load.
#include "Script.h"
#include "StateJson.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;

namespace korvath {
namespace {

struct Situation {
    const char* name;
    std::vector<std::string> commands; // played after the ones before
    bool (*holds)(const Battle&);      // the situation is what its name says
};

struct Scenario {
    const char* name;
    std::vector<std::pair<int, int>> stars; // one per soldier to place
    std::pair<int, int> elsewhere;          // an open square away from the squad
};

const Scenario kScenarios[] = {
    {"korvath",
     {{9, 22}, {11, 22}, {7, 24}, {13, 24}, {9, 25}, {11, 25}, {7, 27}, {13, 27}},
     {20, 20}},
    {"vexlar",
     {{13, 9}, {15, 9}, {17, 9}, {19, 9}, {13, 11}, {15, 11}, {17, 11}, {19, 11}},
     {16, 14}},
};

std::string square(std::pair<int, int> s) {
    return "square " + std::to_string(s.first) + " " + std::to_string(s.second);
}

std::vector<Situation> situations(const Scenario& s) {
    std::vector<std::string> deploy;
    for (size_t row = 1; row < s.stars.size(); ++row) {
        deploy.push_back("row " + std::to_string(row));
        deploy.push_back(square(s.stars[row]));
    }
    const std::string first = square(s.stars[0]);
    const std::string save = std::string("savedgames/standalone.map");
    const std::string load = std::string("savedgames/standalone_") + s.name + ".map";
    return {
        {"a soldier picked for deployment",
         {"row 0"},
         [](const Battle& b) { return b.deploying && b.PieceSelected && b.portrait.picture > 0; }},
        {"one soldier placed",
         {first},
         [](const Battle& b) { return b.deploying && b.deploymentList[0].placed; }},
        {"the squad deployed", deploy, [](const Battle& b) { return !b.deploying; }},
        {"a soldier selected and a shot armed",
         {first, "hover 300 300", "button AimedShot"},
         [](const Battle& b) { return b.FireMode && !b.hoverLine.empty(); }},
        {"the selection dropped",
         {"button Cancel", "button Cancel"},
         [](const Battle& b) { return !b.PieceSelected && b.panel.name == "-"; }},
        {"close combat armed",
         {"set piece 1 Items1 2", first, "button HandFight"},
         [](const Battle& b) { return b.HandFightMode && b.cursor == CursorShape::Sword; }},
        {"the kit in hand",
         {"button Cancel", "button Equipment", "row 1"},
         [](const Battle& b) { return b.SelectedItemSlot == 2 && b.equipmentShown; }},
        {"a walk",
         {"row 1", first, square(s.elsewhere)},
         [](const Battle& b) { return b.PieceSelected && b.Pieces[1].AP < 20; }},
        {"after a computer turn",
         {"button EndTurn"},
         [](const Battle& b) { return b.TurnNumber == 2 && b.HumanTurn; }},
        {"after a load",
         {"menu Savegame " + save, "button EndTurn", "menu Loadgame " + load},
         [](const Battle& b) { return b.TurnNumber == 2; }},
    };
}

// Everything the dump shows, of the battle as it is and of a fresh battle
// holding only a copy of its state.
json dumpOf(Battle& b) {
    return battleJson(b, true, true);
}

json dumpOfCopy(const BattleState& state) {
    Battle fresh;
    static_cast<BattleState&>(fresh) = state;
    fresh.showRuleState();
    return battleJson(fresh, true, true);
}

TEST(StandsAlone, ACopyOfTheStateIsTheWholeBattle) {
    const fs::path game = KORVATH_GAME_DIR;
    if (!fs::exists(game / "scenarios")) GTEST_SKIP() << "the game folder is not built";
    for (const Scenario& s : kScenarios) {
        test::LinkedGameFolder folder(game);
        std::ostringstream out, err;
        ScriptRunner runner(folder.path.string(), out, err);
        for (const char* line : {"time 10:00:00.000", "seed 12345"}) runner.command(line);
        runner.command(std::string("start ") + s.name + " 1");
        for (const Situation& situation : situations(s)) {
            for (const std::string& line : situation.commands) runner.command(line);
            Battle& b = runner.battle();
            ASSERT_TRUE(b.windowOpen && situation.holds(b)) << s.name << ", " << situation.name;
            const json patch = json::diff(dumpOf(b), dumpOfCopy(b));
            EXPECT_TRUE(patch.empty()) << s.name << ", " << situation.name << ": " << patch.dump();
        }
        EXPECT_TRUE(err.str().empty()) << err.str();
    }
}

} // namespace
} // namespace korvath
