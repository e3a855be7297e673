#include "game/combat/Events.h"
#include "Field.h"
#include "TestData.h"
#include "game/combat/Impacts.h"
#include "game/files/EventFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace korvath::combat {
namespace {

using test::TempDir;
using test::TestScenario;

struct Events : ::testing::Test, Field {
    TempDir dir;

    Events() {
        b.AppDir = dir.path.string();
        b.ScenarioName = "korvath";
        b.Difficulty = 3;
        addItem(1, "Laser Rifle", "2d6", 10, 3);
        addItem(2, "Blade", "1d8", 0, 2);
    }

    void file(const std::string& name, const std::vector<std::string>& lines) {
        std::filesystem::create_directories(dir.path / "scenarios");
        std::ofstream out(dir.path / "scenarios" / ("korvath" + name + ".txt"), std::ios::binary);
        for (const auto& l : lines) out << l << "\r\n";
    }
    static std::string reinforcement(const std::string& name, int x, int y, int minDifficulty = 1) {
        return TestScenario::unit(name, 2, x, y, minDifficulty, "1\t2\t0\t0\t0\t0");
    }
    // Reads the event's file, as a new battle does, and runs it.
    void run(const std::string& name) {
        b.eventFiles[name] = readEventFile(eventFilePath(b, name));
        RunEventFile(b, name);
    }
    const std::vector<std::string>& log() const { return b.messageLog; }
};

TEST_F(Events, MapChangesSetGlyphSolidityAndPicture) {
    file("Breach", {":Mapchanges", "column\trow\tglyph", "5\t6\t10", "7\t8\t80", "9\t9\t200",
                    ":EndMapChanges", "no reinforcements"});
    b.cell(9, 9).Solidity = 3;
    run("Breach");
    EXPECT_EQ(b.cell(5, 6), (MapCell{10, 4, 0}));
    EXPECT_EQ(b.cell(7, 8), (MapCell{80, 2, 0}));
    EXPECT_EQ(b.cell(9, 9), (MapCell{200, 3, 0})); // beyond the tile set: Solidity kept
    EXPECT_EQ(log(), std::vector<std::string>(3, "Some a structure has changed."));
    EXPECT_EQ(b.TerrainBitmap.pixel(4 * 32 + 1, 5 * 32 + 1), b.Glyphs[10].Picture.pixel(0, 0));
    EXPECT_EQ(rec.messageRuns, 3);
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(Events, FileNameIsScenarioPlusEventMatchedWithoutCase) {
    file("BREACH", {":Mapchanges", "h", "5\t6\t10", ":EndMapChanges"});
    run("Breach");
    EXPECT_EQ(b.cell(5, 6).Glyph, 10);
}

TEST_F(Events, ReinforcementsWithTheDifficultyFilter) {
    soldier(1, 1, 20, 20);
    soldier(3, 1, 21, 20);
    file("Wave", {"no map changes", ":Reinforcements", reinforcement("Late", 30, 30, 5),
                  reinforcement("Early", 31, 30, 3), reinforcement("Next", 32, 30),
                  ":EndReinforcements", reinforcement("Never", 33, 30)});
    run("Wave");
    EXPECT_EQ(b.Pieces[2].Name, "Early"); // the skipped line leaves its slot free
    EXPECT_EQ(b.Pieces[4].Name, "Next");
    EXPECT_TRUE(b.Pieces[5].Name.empty());
    const PieceRecord& p = b.Pieces[2];
    EXPECT_EQ(p.X, 31);
    EXPECT_EQ(p.Wounds, 10);
    EXPECT_EQ(p.MaxWounds, 10);
    EXPECT_EQ(p.Items[2], 2);
    EXPECT_EQ(p.Frame, 3);
    EXPECT_EQ(p.Ammo, 10); // loaded with everybody else
    EXPECT_EQ(p.UnderGlyph, kFloorGlyph);
    EXPECT_EQ(b.cell(31, 30), (MapCell{kOccupiedGlyph, 1, 0}));
    EXPECT_EQ(log(), std::vector<std::string>{"Reinforcements Arrive!."});
}

TEST_F(Events, ReinforcementsEndAtAnEmptyLineAfterMapChanges) {
    file("Both", {":Mapchanges", "h", "5\t6\t10", ":EndMapChanges", ":Reinforcements",
                  reinforcement("Alpha", 30, 30)});
    run("Both");
    EXPECT_EQ(b.Pieces[1].Name, "Alpha");
    EXPECT_EQ(log(), (std::vector<std::string>{"Some a structure has changed.",
                                               "Reinforcements Arrive!."}));
}

TEST_F(Events, AFirstLineOfReinforcementsMeansNoMapChangesOnly) {
    file("Odd", {":Reinforcements", reinforcement("Alpha", 30, 30), ":EndReinforcements"});
    run("Odd");
    EXPECT_TRUE(b.Pieces[1].Name.empty());
    EXPECT_TRUE(log().empty());
    EXPECT_TRUE(rec.messages.empty());
}

TEST_F(Events, EveryEventReloadsTheLivingOnly) {
    soldier(1, 1, 20, 20).Items[1] = 1;
    soldier(2, 2, 22, 20).Items[1] = 2;
    soldier(3, 2, 24, 20, 0).Items[1] = 1;
    b.Pieces[3].Frame = kDeadFrame;
    b.Pieces[1].Frame = 7;
    file("Quiet", {":Mapchanges", "h", "5\t6\t10", ":EndMapChanges"});
    run("Quiet");
    EXPECT_EQ(b.Pieces[1].Frame, 3);
    EXPECT_EQ(b.Pieces[1].Ammo, 10);
    EXPECT_EQ(b.Pieces[2].Frame, 2);
    EXPECT_EQ(b.Pieces[2].Ammo, 0);
    EXPECT_EQ(b.Pieces[3].Frame, kDeadFrame);
    EXPECT_EQ(b.Pieces[3].Ammo, 0);
}

TEST_F(Events, MissingFileIsToldAndChangesNothing) {
    soldier(1, 1, 20, 20).Items[1] = 1;
    const PieceRecord before = b.Pieces[1];
    const auto map = b.MapGrid;
    const Raster terrain = b.TerrainBitmap;
    run("Gone");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_NE(rec.messages[0].find("korvathGone.txt"), std::string::npos);
    EXPECT_EQ(b.Pieces[1], before);
    EXPECT_TRUE(b.MapGrid == map);
    EXPECT_TRUE(b.TerrainBitmap == terrain);
    EXPECT_TRUE(log().empty());
}

TEST_F(Events, BadMapChangeStopsThereKeepingEarlierEntries) {
    for (const std::string bad :
         {"81\t5\t10", "5\t0\t10", "5\t5\t0", "5\t5\t256", "5\tx\t10", "5\t5"}) {
        SCOPED_TRACE(bad);
        rec.messages.clear();
        b.messageLog.clear();
        b.cell(3, 3) = b.cell(4, 4) = {kFloorGlyph, 0, 0};
        b.Pieces[1] = {};
        file("Bad", {":Mapchanges", "h", "3\t3\t10", bad, "4\t4\t10", ":EndMapChanges",
                     ":Reinforcements", reinforcement("Alpha", 30, 30)});
        run("Bad");
        EXPECT_EQ(b.cell(3, 3).Glyph, 10);
        EXPECT_EQ(b.cell(4, 4).Glyph, kFloorGlyph);
        EXPECT_TRUE(b.Pieces[1].Name.empty());
        EXPECT_EQ(log().size(), 1u);
        ASSERT_EQ(rec.messages.size(), 1u);
        EXPECT_NE(rec.messages[0].find("korvathBad.txt, line 4"), std::string::npos);
    }
}

// The window's messages run before every entry, also before the bad line
// that ends the file, as when the file was read line by line.
TEST_F(Events, MessagesRunBeforeEachEntryAndTheBadLine) {
    const std::string change = "3\t3\t10", arrival = reinforcement("Alpha", 30, 30);
    const std::string structure = "Some a structure has changed.",
                      arrive = "Reinforcements Arrive!.";
    struct Case {
        std::vector<std::string> lines;
        int runs;
        std::vector<std::string> log;
    };
    for (const Case& c : std::vector<Case>{
             {{":Mapchanges", "h", change, change, ":EndMapChanges", ":Reinforcements", arrival,
               arrival, ":EndReinforcements"},
              4,
              {structure, structure, arrive}},
             {{":Mapchanges", "h", change, change, "x"}, 3, {structure, structure}},
             {{":Mapchanges", "h", change, ":EndMapChanges", ":Reinforcements", arrival, "bad"},
              3,
              {structure}},
         }) {
        SCOPED_TRACE(c.lines.back());
        rec.messageRuns = 0;
        rec.messages.clear();
        b.messageLog.clear();
        file("Order", c.lines);
        run("Order");
        EXPECT_EQ(rec.messageRuns, c.runs);
        EXPECT_EQ(log(), c.log);
        EXPECT_EQ(rec.messages.size(), c.runs == 4 ? 0u : 1u);
    }
}

TEST_F(Events, MapChangesWithoutTheirEndLineAreAnError) {
    file("Open", {":Mapchanges", "h", "3\t3\t10"});
    run("Open");
    EXPECT_EQ(b.cell(3, 3).Glyph, 10);
    EXPECT_EQ(rec.messages.size(), 1u);
}

TEST_F(Events, NoFreeSlotIsAnErrorAndEarlierArrivalsStay) {
    for (int i = 1; i <= kMaxPieces - 1; ++i) b.Pieces[i].Name = "Taken";
    file("Crowd", {"-", ":Reinforcements", reinforcement("Last", 30, 30),
                   reinforcement("Extra", 31, 30), ":EndReinforcements"});
    run("Crowd");
    EXPECT_EQ(b.Pieces[kMaxPieces].Name, "Last");
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_NE(rec.messages[0].find("line 4"), std::string::npos);
    EXPECT_NE(rec.messages[0].find("Extra"), std::string::npos);
    EXPECT_EQ(b.cell(30, 30).Solidity, 1); // what arrived is shown
    EXPECT_EQ(b.cell(31, 30).Solidity, 0);
}

TEST_F(Events, ReinforcementOffTheMapIsAnError) {
    file("Lost", {"-", ":Reinforcements", reinforcement("Lost", 0, 30), ":EndReinforcements"});
    run("Lost");
    EXPECT_TRUE(b.Pieces[1].Name.empty());
    EXPECT_EQ(rec.messages.size(), 1u);
}

TEST_F(Events, ObjectiveFiresItsEventOnceForItsLastSquare) {
    b.Glyphs[85].Action = "eventBreach";
    file("eventBreach", {":Mapchanges", "h", "5\t6\t10", ":EndMapChanges"});
    put(30, 30, 85);
    put(31, 30, 85);
    addItem(3, "Popgun", "1d1");
    soldier(1, 1, 70, 45).Items[1] = 3; // one point of damage is enough
    b.eventFiles = readEventFiles(b);
    int found = 0;
    EXPECT_TRUE(ImpactTest(b, 1, 29 * 32 + 4, 29 * 32 + 4, found));
    EXPECT_EQ(b.cell(30, 30), (MapCell{kFloorGlyph, 0, 0}));
    EXPECT_TRUE(log().empty());
    EXPECT_TRUE(ImpactTest(b, 1, 30 * 32 + 4, 29 * 32 + 4, found));
    EXPECT_EQ(log(), std::vector<std::string>{"Some a structure has changed."});
    EXPECT_EQ(b.cell(5, 6).Glyph, 10);
    EXPECT_FALSE(ImpactTest(b, 1, 30 * 32 + 4, 29 * 32 + 4, found)); // floor now
    EXPECT_EQ(log().size(), 1u);
    EXPECT_TRUE(rec.messages.empty());
}

} // namespace
} // namespace korvath::combat
