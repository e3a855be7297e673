// The autosave at the start of each of the player's turns: three sets that
// move one place back each turn, load like any saved game, and change as one
// however a save is cut short.
#include "game/files/Autosave.h"
#include "TestData.h"
#include "engine/DataError.h"
#include "game/commands/SaveLoad.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace korvath;
using namespace korvath::test;
namespace fs = std::filesystem;

namespace {

class Autosaves : public ::testing::Test {
  protected:
    Autosaves() : b(std::make_unique<Battle>()) {
        b->AppDir = dir.path.string();
        ports.attach(*b);
        TestScenario s;
        s.units = {TestScenario::unit("Placed", 1, 10, 10), TestScenario::unit("Guard", 2, 30, 30)};
        s.write(dir.path);
        chooseScenario(*b, ScenarioId::Korvath, 3);
        createBattle(*b);
        showBattle(*b);
    }
    // The battle at the start of turn n: the soldier's points tell the turn.
    void turn(int n) {
        b->TurnNumber = n;
        b->Pieces[1].AP = n;
    }
    std::string map(int n) const { return autosaveBase(folder(), n) + "_korvath.map"; }
    std::string folder() const { return (dir.path / "savedgames").string(); }
    // The turn set n holds, checked to be one turn throughout; 0 when it does
    // not load (a part is missing).
    int turnIn(int n) const {
        const auto names = savedGameFiles(autosaveBase(folder(), n), "korvath");
        try {
            const SavedGame g = readSavedGame(names[0], names[1], names[2]);
            EXPECT_EQ(g.pieces[1].AP, g.turnNumber) << "autosave" << n << " mixes two turns";
            return g.turnNumber;
        } catch (const DataError&) {
            return 0;
        }
    }
    TempDir dir;
    std::unique_ptr<Battle> b;
    HeadlessPorts ports;
};

// Stops for good at file operation number `crashAt`, as a crash would.
struct CrashingFiles : SaveFiles {
    struct Crash {};
    int crashAt = 0;
    mutable int done = 0;
    void step() const {
        if (done++ >= crashAt) throw Crash{};
    }
    void write(const std::string& p, const std::vector<uint8_t>& bytes,
               const std::string& s) const override {
        step();
        SaveFiles::write(p, bytes, s);
    }
    void rename(const std::string& f, const std::string& t, const std::string& s) const override {
        step();
        SaveFiles::rename(f, t, s);
    }
    void remove(const std::string& p) const override {
        step();
        SaveFiles::remove(p);
    }
};

} // namespace

TEST_F(Autosaves, KeepTheLastThreeTurnsNewestFirstAndLoadLikeAnySavedGame) {
    for (int n = 1; n <= 4; ++n) {
        turn(n);
        const auto pieces = b->Pieces;
        const auto squares = b->MapGrid;
        const uint64_t draws = b->rng.draws();
        autosave(*b, folder());
        EXPECT_EQ(b->Pieces, pieces);
        EXPECT_TRUE(b->MapGrid == squares);
        EXPECT_EQ(b->rng.draws(), draws);
    }
    EXPECT_EQ(turnIn(1), 4);
    EXPECT_EQ(turnIn(2), 3);
    EXPECT_EQ(turnIn(3), 2);
    EXPECT_FALSE(fs::exists(autosaveBase(folder(), 4) + "_korvath.map"));
    EXPECT_TRUE(ports.sounds.empty()); // silently
    EXPECT_TRUE(ports.messages.empty());

    ports.fileAnswers.push_back(map(2));
    LoadClick(*b);
    EXPECT_EQ(ports.messages.back(), "Game has been loaded");
    EXPECT_EQ(b->TurnNumber, 3);
}

TEST_F(Autosaves, CutShortAnywhereTheThreeSetsChangeAsOne) {
    bool finished = false;
    for (int crashAt = 0; !finished; ++crashAt) {
        SCOPED_TRACE("crash at operation " + std::to_string(crashAt));
        fs::remove_all(folder());
        for (int n = 1; n <= 3; ++n) {
            turn(n);
            autosave(*b, folder());
        }
        turn(4);
        CrashingFiles files;
        files.crashAt = crashAt;
        try {
            autosave(*b, folder(), files);
            finished = true;
        } catch (const CrashingFiles::Crash&) {
        }
        // The next look at the folder (the load dialog's) finds the three
        // turns before or the three after, never a set lost or mixed.
        finishInterruptedSaves(folder());
        const std::vector<int> turns = {turnIn(1), turnIn(2), turnIn(3)};
        if (finished)
            EXPECT_EQ(turns, std::vector<int>({4, 3, 2}));
        else
            EXPECT_TRUE(turns == std::vector<int>({3, 2, 1}) ||
                        turns == std::vector<int>({4, 3, 2}));
    }
}
