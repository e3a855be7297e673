#include "game/turns/TurnSequence.h"
#include "TestData.h"
#include "TurnFixture.h"
#include "game/commands/Commands.h"
#include "game/files/EventFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace korvath;
using namespace korvath::testing;

namespace {

class EndTurn : public ::testing::Test, protected TurnBattle {
  protected:
    Battle& battle() { return *b; }
    PieceRecord& piece(int i) { return b->Pieces[i]; }

    // Runs fn once, at the first repaint inside the computer's own turn.
    void duringComputerTurn(std::function<void()> fn) {
        ports.onRepaint = [this, fn, done = false]() mutable {
            if (done || b->HumanTurn || b->CurrentSide != 2) return;
            done = true;
            fn();
        };
    }
};

TEST_F(EndTurn, ActionPointsComeFromTheFormulaAndNothingCarriesOver) {
    auto weight = [&](int type, int w) {
        b->EquipmentTypes[type].Name = "Thing " + std::to_string(type);
        b->EquipmentTypes[type].Weight = w;
    };
    weight(2, 1);
    weight(3, 3);
    weight(4, 4);
    weight(5, 5);
    PieceRecord& p = piece(1);
    p.AP = 7; // left over from the turn before

    RestoreActionPoints(battle(), 1); // load 1: 1 div 5 = 0
    EXPECT_EQ(p.AP, 20 - 1 + 4);

    p.Items = {0, 2, 0, 3, 0, 0, 0}; // weight 4: load 5
    RestoreActionPoints(battle(), 1);
    EXPECT_EQ(p.AP, 23 - 1);

    p.Items = {0, 4, 5, 0, 0, 0, 0}; // weight 9: load 10
    RestoreActionPoints(battle(), 1);
    EXPECT_EQ(p.AP, 23 - 2);

    p.Items = {0, 0, 3, 0, 0, 0, 99}; // weight 3, and a slot naming no equipment type
    RestoreActionPoints(battle(), 1);
    EXPECT_EQ(p.AP, 23);

    p.Fatigue = 30; // no lower bound
    RestoreActionPoints(battle(), 1);
    EXPECT_EQ(p.AP, 20 - 30 + 4);
}

TEST_F(EndTurn, OperativesAreRestoredBeforeTheyMoveAndRaidersOnlyAfterwards) {
    PieceRecord& raider = piece(1);
    PieceRecord& guard = piece(2);
    raider.AP = 3;
    raider.Overwatch = true; // keeps watching through the computer's turn
    guard.AP = 0;
    guard.Overwatch = true;
    PieceRecord raiderDuring, guardDuring;
    std::string labelDuring;
    bool controlsDuring = true;
    duringComputerTurn([&] {
        raiderDuring = raider;
        guardDuring = guard;
        labelDuring = b->statusLine;
        controlsDuring = controlsOf(*b).WeaponLabel.enabled;
    });
    // Close enough that the guard always comes for him, and so repaints.
    move(1, 40, 20);
    move(2, 45, 20);

    endTurn(battle());

    ASSERT_FALSE(raiderDuring.Name.empty()) << "the computer turn never repainted";
    EXPECT_EQ(raiderDuring.AP, 3);
    EXPECT_TRUE(raiderDuring.Overwatch);
    EXPECT_FALSE(guardDuring.Overwatch);
    EXPECT_GE(guardDuring.AP, 20); // restored, then perhaps one step paid
    EXPECT_EQ(labelDuring, "The Operatives's turn");
    EXPECT_FALSE(controlsDuring);

    EXPECT_EQ(raider.AP, 23);
    EXPECT_FALSE(raider.Overwatch);
    EXPECT_TRUE(b->HumanTurn);
    EXPECT_EQ(b->CurrentSide, 1);
    EXPECT_EQ(b->TurnNumber, 2);
    EXPECT_EQ(b->statusLine, "The Raiders's turn");
    EXPECT_TRUE(controlsOf(*b).WeaponLabel.enabled);
    EXPECT_TRUE(controlsOf(*b).AmmoLabel.enabled);
    EXPECT_EQ(ports.sounds.front(), "TurnFinished");
    EXPECT_EQ(ports.sounds.back(), "TurnFinished");
    EXPECT_TRUE(ports.messages.empty());
}

TEST_F(EndTurn, ASecondPressDuringTheComputerTurnIsIgnored) {
    move(1, 40, 20);
    move(2, 45, 20);
    duringComputerTurn([&] { endTurn(battle()); });
    endTurn(battle());
    EXPECT_EQ(b->TurnNumber, 2);
    EXPECT_FALSE(ruleRunning(*b, Rule::EndTurn));
    endTurn(battle());
    EXPECT_EQ(b->TurnNumber, 3);
}

TEST_F(EndTurn, VictoryByEliminationThenTheNextPressLeavesTheBattle) {
    piece(2).Wounds = 0;
    b->FireMode = true;
    b->armedShot = ArmedShot::Quick;
    b->cursor = CursorShape::Aim;

    endTurn(battle());
    EXPECT_TRUE(b->GameOver);
    EXPECT_EQ(ports.messages, std::vector<std::string>{"You have won. There are no more enemies."});
    EXPECT_EQ(ports.sounds, (std::vector<std::string>{"TurnFinished", "SignOff", "TurnFinished"}));
    EXPECT_FALSE(b->FireMode);
    EXPECT_NE(b->armedShot, ArmedShot::Quick);
    EXPECT_EQ(b->cursor, CursorShape::Default);
    EXPECT_EQ(ports.ticks(), 1200u);
    // The Raiders still get their new turn.
    EXPECT_TRUE(b->HumanTurn);
    EXPECT_EQ(b->TurnNumber, 2);
    EXPECT_EQ(piece(1).AP, 23);
    EXPECT_TRUE(b->windowOpen);

    ports.sounds.clear();
    endTurn(battle());
    EXPECT_EQ(ports.sounds, std::vector<std::string>{"ohmigod"});
    EXPECT_EQ(ports.ticks(), 2400u);
    EXPECT_FALSE(b->windowOpen);
    EXPECT_EQ(b->TurnNumber, 2);
}

TEST_F(EndTurn, NoRaiderLeftAtTheStart) {
    piece(1).Wounds = 0;
    piece(2).AP = 0;
    endTurn(battle());
    EXPECT_TRUE(b->GameOver);
    EXPECT_EQ(ports.messages, std::vector<std::string>{"You have no more men left"});
    EXPECT_EQ(piece(2).AP, 23); // restored, and never moved
    EXPECT_FALSE(piece(2).Overwatch);
    EXPECT_EQ(b->TurnNumber, 2);
    EXPECT_TRUE(b->HumanTurn);
    EXPECT_EQ(b->CurrentSide, 2);
    EXPECT_FALSE(controlsOf(*b).WeaponLabel.enabled);
    EXPECT_EQ(ports.sounds, std::vector<std::string>{"TurnFinished"});

    endTurn(battle());
    EXPECT_FALSE(b->windowOpen);
}

TEST_F(EndTurn, LastRaiderKilledDuringTheComputerTurn) {
    move(1, 40, 20);
    move(2, 45, 20);
    duringComputerTurn([&] { piece(1).Wounds = 0; });
    endTurn(battle());
    EXPECT_EQ(ports.messages, std::vector<std::string>{"You have no more men left"});
    EXPECT_FALSE(b->GameOver);
    EXPECT_EQ(b->TurnNumber, 2);

    endTurn(battle()); // noticed only now, and told again
    EXPECT_TRUE(b->GameOver);
    EXPECT_EQ(ports.messages.size(), 2u);
    EXPECT_TRUE(b->windowOpen);

    endTurn(battle());
    EXPECT_FALSE(b->windowOpen);
}

TEST_F(EndTurn, ABattleDecidedDuringTheComputerTurnStopsTheOtherOperatives) {
    move(1, 40, 20);
    move(2, 45, 20);
    PieceRecord& far = operative(3, 75, 45);
    duringComputerTurn([&] { b->GameOver = true; });
    endTurn(battle());
    EXPECT_FALSE(far.Overwatch); // he would have settled into overwatch
    EXPECT_TRUE(b->HumanTurn);
    endTurn(battle());
    EXPECT_FALSE(b->windowOpen);
}

// ---- Timed glyph changes ----

TEST_F(EndTurn, ReplacedGlyphsAdvanceOneStepPerTurn) {
    b->Glyphs[110].Action = "replace_131";
    b->Glyphs[111].Action = "replace_090";
    b->Glyphs[112].Action = "replace_113";
    b->Glyphs[113].Action = "replace_114";
    b->Glyphs[90].Picture = Raster(kSquare, kSquare, rgb(1, 2, 3));
    b->cell(20, 20) = {110, 2, 0};
    b->cell(21, 20) = {111, 3, 0};
    b->cell(22, 20) = {112, 2, 0};

    endTurn(battle());
    EXPECT_EQ(b->cell(20, 20), (MapCell{kFloorGlyph, 0, 0})); // now passable floor
    EXPECT_EQ(b->cell(21, 20), (MapCell{90, 3, 0}));          // keeps its solidity
    EXPECT_EQ(b->cell(22, 20).Glyph, 113);
    EXPECT_EQ(at(b->MapImage, 21, 20, 5, 5), rgb(1, 2, 3));
    EXPECT_EQ(at(b->TerrainBitmap, 21, 20, 5, 5), rgb(1, 2, 3));

    endTurn(battle());
    EXPECT_EQ(b->cell(22, 20).Glyph, 114);
    EXPECT_EQ(b->cell(22, 20).Solidity, 2);
    endTurn(battle());
    EXPECT_EQ(b->cell(22, 20).Glyph, 114);
}

TEST_F(EndTurn, AReplacementWithoutANumberIsReportedAndTheTurnGoesOn) {
    b->Glyphs[110].Action = "replace_131";
    b->Glyphs[111].Action = "replace_x1";
    b->Glyphs[112].Action = "replace_300";
    b->cell(20, 20) = {110, 2, 0};
    b->cell(21, 20) = {111, 2, 0};
    b->cell(22, 20) = {110, 2, 0};
    b->FireMode = true;

    endTurn(battle());
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_NE(ports.messages[0].find("'x1' is not a valid integer value"), std::string::npos);
    EXPECT_EQ(b->cell(20, 20).Glyph, kFloorGlyph); // before the bad square: done
    EXPECT_EQ(b->cell(22, 20).Glyph, 110);         // after it: abandoned
    EXPECT_TRUE(b->FireMode);
    EXPECT_TRUE(b->HumanTurn);
    EXPECT_EQ(b->TurnNumber, 2);

    // A number naming no glyph is refused the same way.
    b->cell(21, 20) = {112, 2, 0};
    endTurn(battle());
    EXPECT_EQ(ports.messages.size(), 2u);
    EXPECT_EQ(b->cell(21, 20).Glyph, 112);
}

// ---- Scheduled events ----

class ScheduledEvents : public EndTurn {
  protected:
    ScheduledEvents() {
        b->AppDir = dir.path.string();
        b->ScenarioName = "korvath";
        std::filesystem::create_directories(dir.path / "scenarios");
    }
    // An event file that changes square (x, y) to glyph g.
    void changeFile(const std::string& name, int x, int y, int g) {
        std::ofstream f(dir.path / "scenarios" / ("korvath" + name + ".txt"), std::ios::binary);
        f << ":Mapchanges\r\nX\tY\tGlyph\r\n"
          << x << "\t" << y << "\t" << g << "\r\n:EndMapChanges\r\nnone\r\n";
    }
    void schedule(std::vector<TurnEvents> events) {
        b->TurnEventList[0].Turn = static_cast<int>(events.size());
        for (size_t j = 0; j < events.size(); ++j) b->TurnEventList[j + 1] = events[j];
        b->eventFiles = readEventFiles(*b); // as a new battle reads them
    }
    korvath::test::TempDir dir;
};

TEST_F(ScheduledEvents, FireOnTheirTurnInListOrderButNeverOnTurnOne) {
    changeFile("Early", 30, 30, 90);
    changeFile("First", 31, 30, 95);
    changeFile("Second", 31, 30, 100);
    changeFile("Later", 32, 30, 90);
    schedule({{1, "Early"}, {2, "First"}, {2, "Second"}, {3, "Later"}});

    endTurn(battle());
    EXPECT_EQ(b->cell(30, 30).Glyph, kFloorGlyph);
    EXPECT_EQ(b->cell(31, 30).Glyph, 100); // the second of the two came last
    EXPECT_EQ(b->cell(32, 30).Glyph, kFloorGlyph);
    EXPECT_TRUE(ports.messages.empty());

    endTurn(battle());
    EXPECT_EQ(b->cell(32, 30).Glyph, 90);
    EXPECT_EQ(b->cell(30, 30).Glyph, kFloorGlyph);
}

TEST_F(ScheduledEvents, AMissingFileIsReportedAndTheBattleGoesOn) {
    changeFile("Second", 31, 30, 100);
    schedule({{2, "Missing"}, {2, "Second"}});
    endTurn(battle());
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_NE(ports.messages[0].find("korvathMissing.txt"), std::string::npos);
    EXPECT_TRUE(b->HumanTurn);
    EXPECT_FALSE(ruleRunning(*b, Rule::EndTurn));
    endTurn(battle());
    EXPECT_EQ(b->TurnNumber, 3);
}

} // namespace
