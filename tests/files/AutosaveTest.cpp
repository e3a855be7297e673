// The autosave at the start of each of the player's turns: three sets that
// move one place back each turn and change as one however a save is cut short.
#include "game/files/Autosave.h"
#include "CrashingFiles.h"
#include "TestData.h"
#include "engine/DataError.h"
#include "game/commands/Scenario.h"
#include "game/files/SavedGame.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace korvath;
using namespace korvath::test;

TEST(Autosaves, CutShortAnywhereTheThreeSetsChangeAsOne) {
    TempDir dir;
    TestScenario s;
    s.write(dir.path);
    Battle b;
    b.AppDir = dir.path.string();
    chooseScenario(b, ScenarioId::Korvath, 3);
    createBattle(b);
    const std::string folder = (dir.path / "savedgames").string();
    // The turn set n holds, checked to be one turn throughout (the soldier's
    // points tell the turn it was saved in); 0 when it does not load.
    auto turnIn = [&](int n) {
        const auto names = savedGameFiles(autosaveBase(folder, n), "korvath");
        try {
            const SavedGame g = readSavedGame(names[0], names[1], names[2]);
            EXPECT_EQ(g.pieces[1].AP, g.turnNumber) << "autosave" << n << " mixes two turns";
            return g.turnNumber;
        } catch (const DataError&) {
            return 0;
        }
    };
    auto autosaveTurn = [&](int n, const SaveFiles& files = diskFiles()) {
        b.TurnNumber = b.Pieces[1].AP = n;
        autosave(b, folder, files);
    };
    bool finished = false;
    for (int crashAt = 0; !finished; ++crashAt) {
        SCOPED_TRACE("crash at operation " + std::to_string(crashAt));
        std::filesystem::remove_all(folder);
        for (int n = 1; n <= 3; ++n) autosaveTurn(n);
        CrashingFiles files;
        files.crashAt = crashAt;
        try {
            autosaveTurn(4, files);
            finished = true;
        } catch (const CrashingFiles::Crash&) {
        }
        // The next look at the folder (the load dialog's) finds the three
        // turns before or the three after, never a set lost or mixed.
        finishInterruptedSaves(folder);
        const std::vector<int> turns = {turnIn(1), turnIn(2), turnIn(3)};
        if (finished || turns[0] == 4)
            EXPECT_EQ(turns, std::vector<int>({4, 3, 2}));
        else
            EXPECT_EQ(turns, std::vector<int>({3, 2, 1}));
    }
}
