// The autosave at the start of each of the player's turns: three sets that
// move one place back each turn and change as one however a rotation is cut
// short, from every state the folder may be in.
#include "game/files/Autosave.h"
#include "CrashingFiles.h"
#include "FolderFiles.h"
#include "TestData.h"
#include "engine/DataError.h"
#include "game/commands/Scenario.h"
#include "game/files/SavedGame.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

using namespace korvath;
using namespace korvath::test;
namespace fs = std::filesystem;

namespace {

constexpr int kTorn = -1; // a set whose .map is missing

struct Rotation {
    const char* what;
    std::array<int, 3> before; // the turn of autosave1..3; 0: none, kTorn
    std::array<int, 3> after;  // once turn 4 is autosaved; 0: none
};

class Autosaves : public ::testing::TestWithParam<Rotation> {
  protected:
    Autosaves() {
        TestScenario().write(dir.path);
        b.AppDir = dir.path.string();
        chooseScenario(b, ScenarioId::Korvath, 3);
        createBattle(b);
    }
    // The turn set n holds, checked to be one turn throughout (the soldier's
    // points tell the turn it was saved in); 0 when it does not load.
    int turnIn(int n) {
        const auto names = savedGameFiles(autosaveBase(folder, n), "korvath");
        try {
            const auto g = readSavedGame(names[0], names[1], names[2]);
            EXPECT_EQ(g->pieces[1].AP, g->turnNumber) << "autosave" << n << " mixes two turns";
            return g->turnNumber;
        } catch (const DataError&) {
            return 0;
        }
    }
    void saveTurn(int turn, const std::string& base, const SaveFiles& files = diskFiles()) {
        b.TurnNumber = b.Pieces[1].AP = turn;
        if (base.empty())
            autosave(b, folder, files);
        else
            writeSavedGame(b, base, files);
    }
    TempDir dir;
    Battle b;
    const std::string folder = (dir.path / "savedgames").string();
};

} // namespace

// Stopped after each file operation of one rotation, as by a crash or a kill,
// the next look at the folder (the load dialog's) finds the whole folder as
// it was before the rotation or as it is after it: no set lost, mixed or left
// from before, and every other file as it was.
TEST_P(Autosaves, CutShortAnywhereTheRotationIsWholeBeforeOrAfter) {
    const Rotation& r = GetParam();
    for (int n = 1; n <= 3; ++n) {
        if (r.before[n - 1] == 0) continue;
        const bool torn = r.before[n - 1] == kTorn;
        saveTurn(torn ? 7 : r.before[n - 1], autosaveBase(folder, n));
        if (torn) fs::remove(savedGameFiles(autosaveBase(folder, n), "korvath")[2]);
    }
    std::ofstream(fs::path(folder) / "notes.commit") << "another program's\n";
    const FolderListing before = listFolder(folder);
    saveTurn(4, "");
    EXPECT_EQ((std::array<int, 3>{turnIn(1), turnIn(2), turnIn(3)}), r.after);
    const FolderListing after = listFolder(folder);

    bool finished = false;
    for (int crashAt = 0; !finished; ++crashAt) {
        SCOPED_TRACE("crash at operation " + std::to_string(crashAt));
        layOutFolder(folder, before);
        CrashingFiles files;
        files.crashAt = crashAt;
        try {
            saveTurn(4, "", files);
            finished = true;
        } catch (const CrashingFiles::Crash&) {
        }
        finishInterruptedSaves(folder);
        const FolderListing now = listFolder(folder);
        EXPECT_TRUE(now == before || now == after);
        if (finished) {
            EXPECT_TRUE(now == after);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(FromEveryStart, Autosaves,
                         ::testing::Values(Rotation{"none", {0, 0, 0}, {4, 0, 0}},
                                           Rotation{"one", {3, 0, 0}, {4, 3, 0}},
                                           Rotation{"two", {3, 2, 0}, {4, 3, 2}},
                                           Rotation{"three", {3, 2, 1}, {4, 3, 2}},
                                           Rotation{"staleThirdBehindAGap", {3, 0, 9}, {4, 3, 0}},
                                           Rotation{"tornFirst", {kTorn, 2, 1}, {4, 0, 2}},
                                           Rotation{"tornSecond", {3, kTorn, 1}, {4, 3, 0}},
                                           Rotation{"tornThird", {3, 2, kTorn}, {4, 3, 2}}),
                         [](const auto& info) { return std::string(info.param.what); });
