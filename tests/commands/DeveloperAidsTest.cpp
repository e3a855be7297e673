#include "game/commands/DeveloperAids.h"
#include "TestData.h"
#include "game/commands/SaveLoad.h"
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"
#include "game/turns/Opponent.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace korvath;
using namespace korvath::test;
namespace fs = std::filesystem;

TEST(DeveloperAids, HiddenUnlessAskedForAndTheirEffects) {
    TempDir dir;
    TestScenario s;
    s.units = {TestScenario::unit("First", 1, 10, 10), TestScenario::unit("Guard", 2, 30, 30)};
    s.write(dir.path);
    auto b = std::make_unique<Battle>();
    HeadlessPorts ports;
    ports.attach(*b);
    b->AppDir = dir.path.string();
    chooseScenario(*b, ScenarioId::Korvath, 3);
    createBattle(*b);
    const Controls shown = controlsOf(*b);
    for (const Control* c : {&shown.N1, &shown.IwannaC1, &shown.Nodes1, &shown.Setp1tocoords1})
        EXPECT_FALSE(c->visible);

    b->developerMode = true;
    IwannaC1Click(*b);
    createBattle(*b); // the next battle keeps the check mark and shows the entries
    EXPECT_TRUE(b->sightTraces);
    EXPECT_TRUE(controlsOf(*b).Nodes1.visible);
    EXPECT_TRUE(controlsOf(*b).N1.visible);
    IwannaC1Click(*b);
    EXPECT_FALSE(b->sightTraces);

    // The node grid is written only while it is shown, and keeps its last values.
    b->cell(5, 6).PathCost = 9;
    dumpNodeGrid(*b);
    EXPECT_EQ(b->NodeGrid[5][6], 0);
    Nodes1Click(*b);
    dumpNodeGrid(*b);
    EXPECT_EQ(b->NodeGrid[5][6], 9);
    Nodes1Click(*b);
    b->cell(5, 6).PathCost = 4;
    dumpNodeGrid(*b);
    EXPECT_EQ(b->NodeGrid[5][6], 9);

    // Soldier 1 jumps; the square he left keeps its marking.
    Setp1tocoords1Click(*b);
    EXPECT_EQ(b->Pieces[1].X, 42);
    EXPECT_EQ(b->Pieces[1].Y, 30);
    EXPECT_EQ(b->cell(42, 30).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b->cell(10, 10).Glyph, kOccupiedGlyph);
}

TEST(SavedGameFolder, FallsBackToTheUsersDataFolderWhenTheGameFolderCannotTakeSaves) {
    TempDir dir, home;
    setenv("XDG_DATA_HOME", home.path.c_str(), 1);
    Battle b;
    b.AppDir = dir.path.string();
    EXPECT_EQ(savedGamesFolder(b), (dir.path / "savedgames").string()); // created on the first save
    // A file where the folder should be (or a read-only game folder) sends saves home.
    std::ofstream(dir.path / "savedgames") << "not a folder";
    EXPECT_EQ(savedGamesFolder(b), (home.path / "korvath" / "savedgames").string());
    HeadlessPorts ports;
    ports.attach(b);
    b.ScenarioName = "korvath";
    ports.fileAnswers.push_back("");
    saveClick(b);
    EXPECT_EQ(ports.lastQuestion.initialDir, (home.path / "korvath" / "savedgames").string());
    EXPECT_EQ(ports.lastQuestion.otherFolders,
              std::vector<std::string>{(dir.path / "savedgames").string()});
}
