// Undo takes back a misclick and never a roll of the dice: an undone command
// leaves the battle exactly as it was, generator and pictures included, and
// whatever drew fire, struck a blow or ended the turn cannot be taken back.
#include "game/commands/Undo.h"
#include "ScriptedBattle.h"
#include "game/commands/Recording.h"
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using nlohmann::json;

namespace korvath {
namespace {

using Lines = std::vector<std::string>;
using test::ScriptedBattle;

// The battle before anyone is placed, and with the squad on its stars; made once.
const Battle& korvath(bool deployed) {
    static const auto made = [](bool deploy) {
        auto battle = std::make_unique<ScriptedBattle>(KORVATH_GAME_DIR);
        battle->startKorvath(deploy);
        return battle;
    };
    static const auto before = made(false), after = made(true);
    return (deployed ? after : before)->runner.battle();
}

bool gameBuilt() {
    return ScriptedBattle::gameBuilt(KORVATH_GAME_DIR);
}

const json kSame = json::array();

struct Step {
    const char* name;
    bool deployed; // the squad on its stars first
    Lines setup;
    Lines command; // one command the player may take back
};

const Step kSteps[] = {
    {"placing a soldier", false, {"row 0"}, {"square 9 22"}},
    {"selecting a soldier", true, {}, {"square 9 22"}},
    {"a walk", true, {"square 9 22"}, {"square 16 20"}},
    {"a walk and then a scroll", true, {"square 9 22"}, {"square 16 20", "scroll 1500 1000"}},
    {"a reload", true, {"set piece 6 Ammo 0", "square 11 25", "row 2"}, {"row 0"}},
    {"an exchange", true, {"set piece 1 Items2 2", "square 9 22", "row 0"}, {"row 1"}},
    {"a drop", true, {"square 9 22", "row 4"}, {"button DropItem"}},
    {"a pick up",
     true,
     {"set piece 9 X 9", "set piece 9 Y 22", "set piece 9 Wounds 0", "square 9 22", "pickrow 0"},
     {"button PickUp"}},
    {"overwatch on", true, {"square 9 22"}, {"button Overwatch"}},
    {"overwatch off",
     true,
     {"square 9 22", "button Overwatch", "square 9 22"},
     {"button Overwatch"}},
    {"a marker switch", true, {}, {"menu ShowWounds"}},
};

TEST(Undo, TakesEachKindOfCommandBackToTheByteAndRedoesIt) {
    if (!gameBuilt()) GTEST_SKIP() << "no game folder built";
    for (const Step& s : kSteps) {
        ScriptedBattle battle(KORVATH_GAME_DIR, korvath(s.deployed));
        battle.run(s.setup);
        const auto before = battle.state();
        battle.run(s.command);
        const auto after = battle.state();
        ASSERT_NE(after.differencesFrom(before), kSame) << s.name << ": the command did nothing";
        ASSERT_TRUE(battle.runner.battle().undo.canUndo()) << s.name;
        battle.run({"undo"});
        EXPECT_EQ(battle.state().differencesFrom(before), kSame) << s.name;
        battle.run({"redo"});
        EXPECT_EQ(battle.state().differencesFrom(after), kSame) << s.name;
        EXPECT_EQ(battle.err.str(), "") << s.name;
    }
}

TEST(Undo, PlayingOnAfterAnUndoIsTheBattleWithoutTheCommand) {
    if (!gameBuilt()) GTEST_SKIP() << "no game folder built";
    const struct {
        const char* name;
        bool deployed;
        Lines undone; // each line taken back again
        Lines then;
    } cases[] = {
        {"a walk that drew from the generator",
         true,
         {"square 9 22", "square 16 20"},
         {"square 9 22", "square 12 18", "button EndTurn"}},
        {"a placement", false, {"row 0", "square 9 22"}, {"row 0", "square 11 22"}},
    };
    for (const auto& c : cases) {
        ScriptedBattle with(KORVATH_GAME_DIR, korvath(c.deployed)),
            without(KORVATH_GAME_DIR, korvath(c.deployed));
        with.run(c.undone);
        for (size_t k = 0; k < c.undone.size(); ++k) with.run({"undo"});
        ASSERT_FALSE(with.runner.battle().undo.canUndo()) << c.name;
        with.run(c.then);
        without.run(c.then);
        EXPECT_EQ(with.state().differencesFrom(without.state()), kSame) << c.name;
    }
}

TEST(Undo, WhatDrewFireStruckABlowOrEndedTheTurnEndsTheHistory) {
    if (!gameBuilt()) GTEST_SKIP() << "no game folder built";
    // The Gate Warden (soldier 9) stands two squares from the sergeant.
    const Lines nearby = {"set piece 9 X 11", "set piece 9 Y 20", "set piece 9 Toughness 0",
                          "set piece 1 Attack 100", "set piece 1 Shoot 100"};
    const struct {
        const char* name;
        Lines setup;
        Lines command;
        UndoBarrier why;
    } cases[] = {
        {"an aimed shot", nearby, {"button AimedShot", "square 11 20"}, UndoBarrier::Shot},
        {"a blow",
         {"set piece 9 X 10", "set piece 9 Y 22", "set piece 1 Items1 2", "set piece 1 Attack 100"},
         {"button HandFight", "square 10 22"},
         UndoBarrier::Blow},
        {"a walk that drew reaction fire",
         {"set piece 9 X 12", "set piece 9 Y 18", "set piece 9 Overwatch 1"},
         {"square 16 20"},
         UndoBarrier::Shot},
        {"a walk cut short by death",
         {"set piece 9 X 12", "set piece 9 Y 18", "set piece 9 Overwatch 1",
          "set piece 9 Shoot 100", "set piece 1 Wounds 1", "set piece 1 Toughness 0"},
         {"square 16 20"},
         UndoBarrier::Shot},
        {"End Turn", {}, {"button EndTurn"}, UndoBarrier::TurnBegan},
    };
    for (const auto& c : cases) {
        ScriptedBattle battle(KORVATH_GAME_DIR, korvath(true));
        battle.run(c.setup);
        battle.run({"square 9 22", "button Cancel", "square 9 22"}); // steps that could go back
        ASSERT_TRUE(battle.runner.battle().undo.canUndo()) << c.name;
        battle.run(c.command);
        const UndoHistory& h = battle.runner.battle().undo;
        EXPECT_EQ(h.steps(), 0u) << c.name;
        EXPECT_EQ(h.barrier(), c.why) << c.name;
        const auto now = battle.state();
        battle.run({"undo"});
        EXPECT_EQ(battle.state().differencesFrom(now), kSame) << c.name;
        EXPECT_NE(battle.err.str().find("nothing to undo"), std::string::npos) << c.name;
        EXPECT_EQ(undoEntries(battle.runner.battle()).undoTip, barrierText(c.why));
    }
}

TEST(Undo, AnUndoAskedForDuringAWalkLeavesTheWalkWhole) {
    if (!gameBuilt()) GTEST_SKIP() << "no game folder built";
    ScriptedBattle battle(KORVATH_GAME_DIR, korvath(true)), plain(KORVATH_GAME_DIR, korvath(true));
    battle.run({"square 9 22"});
    plain.run({"square 9 22", "square 16 20"});
    const auto before = battle.state();
    std::istringstream script("square 16 20\nmeanwhile 2 undo\n");
    ASSERT_EQ(battle.runner.run(script, "walk"), 0) << battle.err.str();
    EXPECT_EQ(battle.state().differencesFrom(plain.state()), kSame);
    battle.run({"undo"});
    EXPECT_EQ(battle.state().differencesFrom(before), kSame);
}

TEST(Undo, AReplayWithUndoAndRedoPlaysBackToTheSameBattle) {
    if (!gameBuilt()) GTEST_SKIP() << "no game folder built";
    Battle b;
    b.AppDir = KORVATH_GAME_DIR;
    HeadlessPorts ports;
    Recording recording;
    ports.attach(b);
    b.ports.watcher = &recording;
    b.rng.setSeed(777);
    chooseScenario(b, ScenarioId::Korvath, 3);
    createBattle(b);
    recording.battleBegins(b, 777);
    showBattle(b);
    const Lines commands = {
        "activate",     "row 0", "square 9 22",  "undo",          "redo",         "row 1",
        "square 11 22", "undo",  "square 13 24", "row 2",         "square 7 24",  "row 3",
        "square 11 22", "row 4", "square 9 25",  "row 5",         "square 11 25", "row 6",
        "square 7 27",  "row 7", "square 13 27", "square 9 22",   "square 16 20", "undo",
        "square 14 19", "undo",  "redo",         "button EndTurn"};
    for (const std::string& line : commands) runCommand(b, scriptWords(line));
    ASSERT_TRUE(b.windowOpen && b.TurnNumber == 2);

    ScriptedBattle replayed(KORVATH_GAME_DIR);
    std::istringstream script(recording.script());
    ASSERT_EQ(replayed.runner.run(script, "the recording"), 0) << replayed.err.str();
    Battle& r = replayed.runner.battle();
    EXPECT_EQ(json::diff(battleJson(b, true, false), battleJson(r, true, false)), json::array());
    EXPECT_TRUE(r.TerrainBitmap == b.TerrainBitmap && r.MapImage == b.MapImage);
    EXPECT_EQ(r.rng.seed(), b.rng.seed());
    EXPECT_EQ(r.rng.draws(), b.rng.draws());
    EXPECT_EQ(r.Pieces[2].X, 13) << "the placement done after an undo";
}

} // namespace
} // namespace korvath
