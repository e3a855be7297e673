// The editor's model: the shipped battles survive it to the byte, a battle
// made from scratch passes Check and plays to its end, walls join as the
// shipped maps' do, Check finds each problem where it is, and a save cut
// short is finished or dropped whole.
#include "CrashingFiles.h"
#include "FolderFiles.h"
#include "ScratchBattle.h"
#include "Script.h"
#include "TestData.h"
#include "engine/DataError.h"
#include "game/commands/Scenario.h"
#include "game/editor/Check.h"
#include "game/editor/MapEdits.h"
#include "game/files/ScenarioFolders.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;
using namespace korvath;
using korvath::test::readFile;
using korvath::test::TempDir;

namespace {

const fs::path kGame = KORVATH_GAME_DIR;

std::unique_ptr<Battle> load(const ScenarioManifest& m, const std::string& folder, int d) {
    auto b = std::make_unique<Battle>();
    b->AppDir = kGame.string();
    chooseScenario(*b, m, folder, d);
    createBattle(*b);
    return b;
}

bool mentions(const CheckReport& r, const std::string& what) {
    for (const CheckFinding& f : r.findings)
        if (f.problem && f.text.find(what) != std::string::npos) return true;
    return false;
}

} // namespace

TEST(ShippedScenarios, SavedAsANewScenarioLoadToTheSameTablesFromTheSameBytes) {
    for (int index : {0, 1}) {
        const ScenarioManifest& shipped = shippedScenarios()[index];
        TempDir dir;
        ScenarioDocument d = ScenarioDocument::openShipped(kGame.string(), index);
        d.setScenarioName("copy");
        d.setTitle("A copy of " + shipped.Title);
        d.saveTo((dir.path / "copy").string());

        const fs::path scen = kGame / "scenarios", copy = dir.path / "copy";
        for (const char* part : {".map", "Desc.txt", "GlyphDesc.txt"})
            EXPECT_EQ(readFile(copy / ("copy" + std::string(part))),
                      readFile(scen / (shipped.ScenarioName + part)))
                << shipped.ScenarioName << part;
        for (const std::string& event : eventNames(d.content()))
            EXPECT_EQ(readFile(copy / ("copy" + event + ".txt")),
                      readFile(scen / (shipped.ScenarioName + event + ".txt")))
                << event;

        for (int difficulty : {1, 8}) {
            const auto a = load(shipped, {}, difficulty);
            const FoundScenario found = readScenarioFolder(copy.string());
            const auto b = load(found.manifest, found.folder, difficulty);
            EXPECT_EQ(a->Pieces, b->Pieces);
            EXPECT_EQ(a->MapGrid, b->MapGrid);
            for (int g = 1; g <= kMaxGlyphs; ++g) {
                EXPECT_EQ(a->Glyphs[g].Description, b->Glyphs[g].Description);
                EXPECT_EQ(a->Glyphs[g].Action, b->Glyphs[g].Action);
                EXPECT_TRUE(a->Glyphs[g].Picture == b->Glyphs[g].Picture);
            }
            for (int e = 0; e <= kMaxEvents; ++e) {
                EXPECT_EQ(a->TurnEventList[e].Turn, b->TurnEventList[e].Turn);
                EXPECT_EQ(a->TurnEventList[e].EventName, b->TurnEventList[e].EventName);
            }
            for (int i = 1; i <= kMaxEquipment; ++i)
                EXPECT_EQ(a->EquipmentTypes[i].Name, b->EquipmentTypes[i].Name);
            EXPECT_EQ(a->ObjectiveX, b->ObjectiveX);
            EXPECT_EQ(a->ObjectiveY, b->ObjectiveY);
        }
        // The shipped battles themselves pass Check: it asks nothing they lack.
        const CheckReport report = checkScenario(kGame.string(), copy.string());
        EXPECT_TRUE(report.passed()) << report.text();
    }
}

TEST(ScratchBattle, PassesCheckAndPlaysAWholeBattleToItsEnd) {
    TempDir dir;
    const std::string folder = (dir.path / "threerooms").string();
    test::threeRooms(kGame.string()).saveTo(folder);
    const CheckReport report = checkScenario(kGame.string(), folder);
    EXPECT_TRUE(report.passed()) << report.text();

    // Played as the front screen would start it, by korvath-headless.
    std::ostringstream out, err;
    ScriptRunner runner(kGame.string(), out, err);
    std::istringstream script("start \"" + folder +
                              "\" 3\n"
                              "row 0\nsquare 5 5\nrow 1\nsquare 6 5\n"
                              "row 2\nsquare 5 6\nrow 3\nsquare 6 6\n"
                              "repeat 200\nbutton EndTurn\nend\n");
    ASSERT_EQ(runner.run(script, "battle"), 0) << err.str();
    const Battle& b = runner.battle();
    EXPECT_TRUE(b.GameOver || !b.windowOpen) << "still going on turn " << b.TurnNumber;
    EXPECT_EQ(b.ScenarioFolder, folder);
}

TEST(Walls, JoinTheirNeighboursAsTheShippedMapsWereJoined) {
    for (int index : {0, 1}) {
        ScenarioDocument d = ScenarioDocument::openShipped(kGame.string(), index);
        const MapSquares shipped = d.content().map;
        const WallJoins& joins = d.pictures().joins;
        ASSERT_FALSE(joins.families.empty());
        // Every wall laid again as its family's first piece joins back the same.
        d.beginStroke();
        for (int x = 1; x <= kMapWidth; ++x)
            for (int y = 1; y <= kMapHeight; ++y)
                if (const int first = joins.familyOf(shipped[x][y].Glyph)) d.paint(x, y, first);
        d.endStroke();
        EXPECT_EQ(d.content().map, shipped) << shippedScenarios()[index].ScenarioName;
    }
}

TEST(Editing, EveryToolIsOneStepToUndoAndRedo) {
    ScenarioDocument d = ScenarioDocument::createNew(kGame.string(), 0, "Steps");
    std::vector<ScenarioContent> seen{d.content()};
    auto stepped = [&] { seen.push_back(d.content()); };
    d.rectangle(10, 10, 20, 18, 1, true), stepped();
    d.fill(15, 14, 120), stepped();
    d.beginStroke();
    for (int x = 11; x < 20; ++x) d.paint(x, 12, 48);
    d.endStroke(), stepped();
    d.forceField(30, 5, 36, 5), stepped();
    d.addSoldier(d.soldiers().empty() ? PieceRecord{"Ada", 1} : d.soldiers()[0]), stepped();
    d.placeSoldier(0, 12, 15), stepped();
    d.setScheduledEvents({{4, "Storm"}}), stepped();
    d.setBriefing({"Hold the hall."}), stepped();

    // The outline's corners joined; the fill stopped at the walls.
    EXPECT_EQ(seen[1].map[10][10].Glyph, 1 + 2 + 4);
    EXPECT_EQ(seen[2].map[15][14].Glyph, 120);
    EXPECT_EQ(seen[2].map[25][14].Glyph, kFloorGlyph);
    EXPECT_EQ(seen[4].map[30][5].Glyph, kHorizontalGenerator);
    EXPECT_EQ(seen[4].map[36][5].Glyph, kHorizontalField);
    for (size_t i = seen.size() - 1; i > 0; --i) {
        ASSERT_TRUE(d.content() == seen[i]) << "before undo " << i;
        d.undo();
    }
    EXPECT_TRUE(d.content() == seen[0]);
    EXPECT_FALSE(d.canUndo());
    for (size_t i = 1; i < seen.size(); ++i) d.redo();
    EXPECT_TRUE(d.content() == seen.back());
    EXPECT_EQ(d.soldiers().at(0).X, 12);
}

TEST(Check, NamesEachProblemWhereItIs) {
    using Spoil = void (*)(ScenarioDocument&);
    const struct {
        const char* what;
        Spoil spoil;
        const char* told;
    } cases[] = {
        {"no start star",
         [](ScenarioDocument& d) {
             for (int x = 5; x <= 6; ++x)
                 for (int y = 5; y <= 6; ++y) d.paint(x, y, kFloorGlyph);
         },
         "No start star"},
        {"more Raiders than stars", [](ScenarioDocument& d) { d.paint(6, 6, kFloorGlyph); },
         "4 Raiders are to be placed on 3 start stars"},
        {"a soldier on a wall", [](ScenarioDocument& d) { d.placeSoldier(4, 14, 5); },
         "Operative Warden Ulm stands on a wall at 14, 5"},
        {"an unreachable objective", [](ScenarioDocument& d) { d.paint(14, 7, 1); },
         "cannot be reached"},
        {"an event tile without its file", [](ScenarioDocument& d) { d.removeEvent("eventRelay"); },
         "The event tile at 25, 4 (Comms relay) has no event file threeroomseventRelay.txt"},
        {"an event that never comes",
         [](ScenarioDocument& d) {
             d.setScheduledEvents({{1, "Alarm"}});
         },
         "never comes"},
        {"an event that leads out of the folder",
         [](ScenarioDocument& d) {
             d.setScheduledEvents({{3, "/../../Alarm"}});
         },
         "leads outside the scenario's folder"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ScenarioDocument d = test::threeRooms(kGame.string());
        c.spoil(d);
        d.saveTo((dir.path / "threerooms").string());
        const CheckReport r = checkScenario(kGame.string(), (dir.path / "threerooms").string());
        EXPECT_TRUE(mentions(r, c.told)) << c.what << ":\n" << r.text();
    }
}

// A save stopped after any one of its file operations, as by a crash or a
// kill, leaves temporaries and perhaps some files renamed: the next open of
// the folder finishes or drops that save, so the folder holds the scenario as
// it was or as it was to be, never a mix, and the player's own files in it
// are left as they were.
TEST(Saving, CutShortAnywhereTheNextOpenFindsTheOldScenarioOrTheNew) {
    TempDir dir;
    const std::string folder = (dir.path / "threerooms").string();
    ScenarioDocument d = test::threeRooms(kGame.string());
    d.saveTo(folder);
    test::layOutFolder(folder, [&] {
        test::FolderListing own = test::listFolder(folder);
        own["notes.txt"] = "the player's own\n";
        own[".korvath-notes.saving"] = "not a scenario's file\n";
        return own;
    }());
    const test::FolderListing before = test::listFolder(folder);
    const ScenarioContent old = ScenarioDocument::openFolder(kGame.string(), folder).content();
    d.paint(30, 30, 1);
    d.setBriefing({"New orders."});
    d.saveTo(folder);
    const test::FolderListing after = test::listFolder(folder);
    const ScenarioContent made = ScenarioDocument::openFolder(kGame.string(), folder).content();
    ASSERT_NE(before, after);

    bool finished = false;
    for (int crashAt = 0; !finished; ++crashAt) {
        SCOPED_TRACE("crash at operation " + std::to_string(crashAt));
        test::layOutFolder(folder, before);
        test::CrashingFiles files;
        files.crashAt = crashAt;
        try {
            d.saveTo(folder, files);
            finished = true;
        } catch (const test::CrashingFiles::Crash&) {
        }
        try {
            const ScenarioContent opened =
                ScenarioDocument::openFolder(kGame.string(), folder).content();
            const test::FolderListing now = test::listFolder(folder);
            EXPECT_TRUE(now == before || now == after);
            EXPECT_TRUE(opened == (now == after ? made : old));
        } catch (const DataError& e) {
            ADD_FAILURE() << e.what();
        }
    }
}
