#include "TestData.h"
#include "engine/Bmp.h"
#include "engine/DataError.h"
#include "game/combat/Events.h"
#include "game/commands/Scenario.h"
#include "game/files/Briefing.h"
#include "game/files/ScenarioPictures.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

using namespace korvath;
using namespace korvath::test;

namespace {

class ScenarioLoad : public ::testing::Test {
  protected:
    ScenarioLoad() : b(std::make_unique<Battle>()) {
        b->AppDir = dir.path.string();
        ports.attach(*b);
    }
    void load(const TestScenario& s, int difficulty = 3) {
        s.write(dir.path);
        chooseScenario(*b, ScenarioId::Korvath, difficulty);
        createBattle(*b);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> n;
        for (int i = 1; i <= kMaxPieces && !b->Pieces[i].Name.empty(); ++i)
            n.push_back(b->Pieces[i].Name);
        return n;
    }
    TempDir dir;
    std::unique_ptr<Battle> b;
    HeadlessPorts ports;
};

} // namespace

TEST_F(ScenarioLoad, UnitsAboveTheDifficultyTakeNoIndex) {
    TestScenario s;
    s.units = {TestScenario::unit("A", 1, 0, 0, 1), TestScenario::unit("B", 2, 5, 5, 4),
               TestScenario::unit("C", 2, 6, 5, 3), TestScenario::unit("D", 2, 7, 5, 8)};
    load(s, 3);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "C"}));
    EXPECT_TRUE(b->Pieces[3].Name.empty()); // the left-out last line leaves nothing
    EXPECT_EQ(b->Pieces[2].X, 6);

    load(s, 8);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "B", "C", "D"}));
    load(s, 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"A"}));
}

TEST_F(ScenarioLoad, DerivedValuesAndNameCuts) {
    TestScenario s;
    const std::string longName(35, 'x');
    s.units = {TestScenario::unit(longName, 1, 0, 0),
               TestScenario::unit("Bare", 2, 5, 5, 1, "0\t2\t0\t0\t0\t0", 7),
               TestScenario::unit("Armed", 2, 6, 5, 1, "2\t1\t0\t0\t0\t0")};
    s.equipment[0] =
        std::string(25, 'R') + "\t1\tFirearm\t2\t2d6\t6\t3\t20\t10\t1\tnone\t0\t-\t255";
    load(s);
    EXPECT_EQ(b->Pieces[1].Name, std::string(30, 'x'));
    EXPECT_EQ(b->EquipmentTypes[1].Name, std::string(20, 'R'));
    EXPECT_EQ(b->EquipmentTypes[1].AimedShotAP, 6); // aimed before quick in the file
    EXPECT_EQ(b->EquipmentTypes[1].QuickShotAP, 3);
    EXPECT_EQ(b->EquipmentTypes[1].TraceColour, "255");
    const PieceRecord& bare = b->Pieces[2];
    EXPECT_EQ(bare.MaxWounds, 7);
    EXPECT_EQ(bare.UnderGlyph, kFloorGlyph);
    EXPECT_EQ(bare.Frame, 0); // empty hand
    EXPECT_EQ(bare.Ammo, 0);
    EXPECT_EQ(b->Pieces[3].Frame, 2);
    EXPECT_EQ(b->Pieces[3].Ammo, 0); // a blade holds no shots
    EXPECT_EQ(b->Pieces[1].Ammo, 10);
    // Operatives stand on their squares; the Raiders wait in the deployment list.
    EXPECT_EQ(b->cell(5, 5).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b->cell(5, 5).Solidity, 1);
    EXPECT_TRUE(b->deploying);
    EXPECT_EQ(controlsOf(*b).PlaceMenGrid.rows,
              (std::vector<std::vector<std::string>>{{std::string(30, 'x'), "1"}}));
    EXPECT_EQ(b->SelectedPiece, 1);
    EXPECT_TRUE(b->HumanTurn);
}

TEST_F(ScenarioLoad, SolidityFollowsTheGlyphExceptAbove156) {
    TestScenario s;
    s.glyph[3][3] = 66;
    s.glyph[4][3] = 90;
    s.glyph[5][3] = 200;
    TempDir other;
    load(s);
    EXPECT_EQ(b->cell(1, 1).Solidity, 4);
    EXPECT_EQ(b->cell(3, 3).Solidity, 3);
    EXPECT_EQ(b->cell(4, 3).Solidity, 2);
    EXPECT_EQ(b->cell(6, 6).Solidity, 0);
    EXPECT_EQ(b->cell(5, 3).Solidity, 0); // stored value kept
    // The border around the map reads as zero on all four sides.
    for (auto [x, y] : {std::pair{0, 5}, {81, 5}, {5, 0}, {5, 51}}) {
        EXPECT_EQ(b->cellAt(x, y).Glyph, 0);
        EXPECT_EQ(b->cellAt(x, y).Solidity, 0);
    }
    // The terrain picture shows each square's tile.
    EXPECT_EQ(b->TerrainBitmap.pixel(2 * 32 + 16, 2 * 32 + 16), tileColour(66));
    EXPECT_EQ(b->MapImage.pixel(2 * 32 + 16, 2 * 32 + 16), tileColour(66));
}

TEST_F(ScenarioLoad, GlyphLinesFollowTheTabRules) {
    // Texts from an earlier battle show which glyphs a line leaves alone.
    b->Glyphs[1].Description = "old one";
    b->Glyphs[1].Action = "old action";
    b->Glyphs[2].Action = "kept";
    TestScenario s;
    s.glyphLines[0] = "no tab at all";
    s.glyphLines[1] = "x\tOnly description";
    s.glyphLines[2] = "x\tDoor\taccess\twith\ttabs";
    load(s);
    EXPECT_EQ(b->Glyphs[1].Description, "old one");
    EXPECT_EQ(b->Glyphs[1].Action, "old action");
    EXPECT_EQ(b->Glyphs[2].Description, "Only description");
    EXPECT_EQ(b->Glyphs[2].Action, "kept");
    EXPECT_EQ(b->Glyphs[3].Description, "Door");
    EXPECT_EQ(b->Glyphs[3].Action, "access\twith\ttabs");
}

TEST_F(ScenarioLoad, EventsSectionPresentOrAbsent) {
    TestScenario s;
    s.events = {"3\tReinforce", "5\tBreach\twith tab"};
    load(s);
    EXPECT_EQ(b->TurnEventList[0].Turn, 2);
    EXPECT_EQ(b->TurnEventList[2].Turn, 5);
    EXPECT_EQ(b->TurnEventList[2].EventName, "Breach\twith tab");

    s.withEvents = false;
    load(s);
    EXPECT_EQ(b->TurnEventList[0].Turn, 0);
    EXPECT_TRUE(b->TurnEventList[1].EventName.empty());
}

// Every event the battle can run is read with the scenario, so an event that
// a shot sets off opens no file; a file missing then is told when it runs.
TEST_F(ScenarioLoad, EventFilesAreReadWithTheScenario) {
    TestScenario s;
    s.events = {"3\tBreach", "4\tGone"};
    s.glyphLines[69] = "70\tDoor\teventDoor";
    s.extraFiles["scenarios/korvathBreach.txt"] = {":Mapchanges", "h", "5\t6\t10",
                                                   ":EndMapChanges"};
    s.extraFiles["scenarios/korvathEventDoor.txt"] = {":Mapchanges", "h", "7\t6\t10",
                                                      ":EndMapChanges"};
    load(s);
    std::filesystem::remove_all(dir.path / "scenarios");

    RunEventFile(*b, "Breach");
    RunEventFile(*b, "eventDoor");
    EXPECT_EQ(b->cell(5, 6).Glyph, 10);
    EXPECT_EQ(b->cell(7, 6).Glyph, 10);
    EXPECT_TRUE(ports.messages.empty());
    RunEventFile(*b, "Gone");
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_NE(ports.messages[0].find("korvathGone.txt: cannot open the file"), std::string::npos);
}

TEST_F(ScenarioLoad, StaleOverwatchIsClearedAndNoDeploymentWhenAllArePlaced) {
    b->Pieces[1].Overwatch = true;
    TestScenario s;
    s.units = {TestScenario::unit("Placed", 1, 10, 10), TestScenario::unit("Guard", 2, 30, 30)};
    load(s);
    EXPECT_FALSE(b->Pieces[1].Overwatch);
    EXPECT_FALSE(b->deploying);
    EXPECT_TRUE(controlsOf(*b).Cancelbutton.enabled);
    EXPECT_TRUE(controlsOf(*b).EndTurnButton.enabled);
    EXPECT_TRUE(controlsOf(*b).PiecesInfoPanel.visible);
    EXPECT_EQ(b->cell(11, 10).Glyph, kFloorGlyph); // the other star became floor
}

// Every rejected scenario names the file, and leaves the running battle as it was.
TEST_F(ScenarioLoad, RejectionsLeaveTheBattleUnchanged) {
    TestScenario good;
    load(good);
    const auto before = b->Pieces;
    const auto mapBefore = b->MapGrid;
    const Raster terrainBefore = b->TerrainBitmap;

    struct Case {
        const char* name;
        std::function<void(TestScenario&)> spoil;
        const char* file;
        const char* says = ""; // the field and its value, for numbers out of range
    };
    const std::vector<Case> cases = {
        {"161 kept units",
         [](TestScenario& s) {
             s.units.clear();
             for (int i = 0; i < 161; ++i)
                 s.units.push_back(TestScenario::unit("U" + std::to_string(i), 2, 5, 5));
         },
         "korvathDesc.txt"},
        {"31 equipment lines", [](TestScenario& s) { s.equipment.assign(31, s.equipment[0]); },
         "korvathDesc.txt"},
        {"11 events", [](TestScenario& s) { s.events.assign(11, "4\tX"); }, "korvathDesc.txt"},
        {"map glyph 0", [](TestScenario& s) { s.glyph[7][7] = 0; }, "korvath.map"},
        {"short map", [](TestScenario& s) { s.mapRecords = 3999; }, "korvath.map"},
        {"no player line", [](TestScenario& s) { s.withPlayerLine = false; }, "korvathDesc.txt"},
        {"bad number",
         [](TestScenario& s) {
             s.units[0] = "X\t1\t0\t0\tone\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t0\t0\t0\t0\t0\t0\t1";
         },
         "korvathDesc.txt"},
        {"short unit line", [](TestScenario& s) { s.units[0] = "X\t1\t0"; }, "korvathDesc.txt"},
        // Numbers the rules cannot use: they would overflow a sum or hang a drawing.
        {"a soldier far off the map",
         [](TestScenario& s) { s.units[2] = TestScenario::unit("Far", 2, 100000000, 5); },
         "korvathDesc.txt", "X is 100000000, must be 0..80"},
        {"a target disc of two billion pixels",
         [](TestScenario& s) { s.units[2].replace(s.units[2].rfind('\t') + 1, 2, "2000000000"); },
         "korvathDesc.txt", "TargetSize is 2000000000"},
        {"an item beyond the equipment table",
         [](TestScenario& s) {
             s.units[0] = TestScenario::unit("R", 1, 0, 0, 1, "31\t0\t0\t0\t0\t0");
         },
         "korvathDesc.txt", "Items1 is 31, must be 0..30"},
        {"a weapon too heavy to carry",
         [](TestScenario& s) {
             s.equipment[1].replace(s.equipment[1].find("\t1\t1d8"), 2, "\t5000");
         },
         "korvathDesc.txt", "Weight is 5000"},
    };
    for (const auto& c : cases) {
        TestScenario s;
        c.spoil(s);
        try {
            load(s);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const DataError& e) {
            EXPECT_NE(e.file().find(c.file), std::string::npos) << c.name << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            if (*c.says) {
                EXPECT_GT(e.line(), 0) << c.name;
            }
        }
        EXPECT_EQ(b->Pieces, before) << c.name;
        EXPECT_EQ(b->MapGrid, mapBefore) << c.name;
        EXPECT_EQ(b->TerrainBitmap, terrainBefore) << c.name;
    }
}

TEST_F(ScenarioLoad, BriefingAndQuitAndClose) {
    TestScenario s;
    load(s);
    EXPECT_EQ(briefingLines(*b),
              (std::vector<std::string>{"Take the fortress.", "Mind the guns."}));
    b->HumanTurn = false;
    EXPECT_FALSE(quitBattle(*b));
    EXPECT_EQ(b->messageLog.back(), "Wait until computer it is your turn before quiting.");
    b->HumanTurn = true;
    EXPECT_TRUE(quitBattle(*b));
    EXPECT_FALSE(b->windowOpen);
    for (const auto& p : b->Pieces) {
        EXPECT_TRUE(p.Name.empty());
        EXPECT_EQ(p.X, 0);
    }
}

TEST_F(ScenarioLoad, DeploymentOpensTheViewOnTheStartStars) {
    TestScenario s;
    s.glyph[10][10] = s.glyph[11][10] = kFloorGlyph;
    s.glyph[60][40] = s.glyph[62][42] = kStartStarGlyph;
    load(s);
    // The view's right and bottom edges lie half a panel past the stars' middle.
    EXPECT_EQ(b->view.right, 61 * 32 - 16 + 710 / 2);
    EXPECT_EQ(b->view.bottom, 41 * 32 - 16 + 518 / 2);
}

// The floor picture is decoration: one that cannot be read leaves black
// floors and one warning naming it, never a battle that cannot start.
TEST_F(ScenarioLoad, AFloorPictureThatCannotBeReadLeavesBlackFloors) {
    load(TestScenario());
    const std::string path = (dir.path / "graphics" / "korvathFloors.bmp").string();
    Raster whole(kMapPixelsX, kMapPixelsY);
    whole.fillRect(0, 0, 10, 10, rgb(1, 2, 3));
    const auto good = encodeBmp(whole);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes; // empty: no file
        bool shown;
    } cases[] = {
        {"no picture", {}, false},
        {"cut short after its header", {good.begin(), good.begin() + 60}, false},
        {"another size", encodeBmp(Raster(32, 32)), false},
        {"the whole battlefield", good, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path);
        if (!c.bytes.empty())
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()),
                       static_cast<std::streamsize>(c.bytes.size()));
        std::ostringstream warnings;
        const Raster art = readFloorArt(*b, warnings);
        EXPECT_EQ(!art.empty(), c.shown);
        const bool damaged = !c.bytes.empty() && !c.shown;
        const std::string said = warnings.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), damaged ? 1 : 0) << said;
        if (damaged) {
            EXPECT_NE(warnings.str().find(path), std::string::npos) << warnings.str();
        }
    }
}
