#include "CrashingFiles.h"
#include "FolderFiles.h"
#include "TestData.h"
#include "engine/DataError.h"
#include "game/combat/Events.h"
#include "game/commands/SaveLoad.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"
#include "game/files/RecordBytes.h"
#include "game/state/HeadlessPorts.h"
#include "game/turns/TurnSequence.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace korvath;
using namespace korvath::test;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> fileBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SavedGames : public ::testing::Test {
  protected:
    SavedGames() : b(std::make_unique<Battle>()) {
        b->AppDir = dir.path.string();
        ports.attach(*b);
        TestScenario s;
        s.units = {TestScenario::unit("Placed", 1, 10, 10), TestScenario::unit("Guard", 2, 30, 30),
                   TestScenario::unit("Waiting", 1, 0, 0)};
        s.write(dir.path);
        chooseScenario(*b, ScenarioId::Korvath, 3);
        createBattle(*b);
        showBattle(*b);
    }
    void save(const std::string& name) {
        ports.fileAnswers.push_back(name);
        saveClick(*b);
    }
    void loadSet(const std::string& name) {
        ports.fileAnswers.push_back(name);
        LoadClick(*b);
    }
    std::string base() const { return (dir.path / "savedgames" / "first").string(); }
    TempDir dir;
    std::unique_ptr<Battle> b;
    HeadlessPorts ports;
};

} // namespace

TEST_F(SavedGames, RoundTripGivesBackSoldiersMapAndTurn) {
    b->TurnNumber = 4;
    b->Pieces[1].AP = 7;
    b->Pieces[1].Overwatch = true;
    b->Pieces[2].Wounds = 0; // a body
    b->cell(20, 20).Glyph = 90;
    b->cell(20, 20).Solidity = 2;
    placePieces(*b);
    save(base() + ".map");
    EXPECT_EQ(ports.messages.back(), "Game has been saved");
    EXPECT_EQ(ports.lastQuestion.filter, "Saved Games|*korvath.map");
    EXPECT_EQ(ports.lastQuestion.defaultExt, "*.map");
    EXPECT_EQ(fs::file_size(base() + "_korvath.dat"), 160u * 140u);
    EXPECT_EQ(fs::file_size(base() + "_korvath.map"), 32000u);

    const auto pieces = b->Pieces;
    const auto map = b->MapGrid;
    b->TurnNumber = 9;
    b->Pieces[1].AP = 0;
    b->cell(20, 20).Glyph = kFloorGlyph;
    b->Pieces[5].Name = "Stranger";

    loadSet(base() + "_korvath.map");
    EXPECT_EQ(ports.messages.back(), "Game has been loaded");
    EXPECT_EQ(b->TurnNumber, 4);
    for (int i = 1; i <= kMaxPieces; ++i) {
        EXPECT_EQ(b->Pieces[i].Name, pieces[i].Name) << i;
        if (!pieces[i].Name.empty()) {
            EXPECT_EQ(b->Pieces[i], pieces[i]) << i;
        }
    }
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            // Deployment ends with the load: its start stars become floor.
            const int glyph = map[x][y].Glyph == kStartStarGlyph ? kFloorGlyph : map[x][y].Glyph;
            EXPECT_EQ(b->cell(x, y).Glyph, glyph);
            EXPECT_EQ(b->cell(x, y).Solidity, map[x][y].Solidity);
        }
    // Deployment is over after a load; the waiting Raider stays off the map.
    EXPECT_FALSE(b->deploying);
    EXPECT_EQ(b->Pieces[3].X, 0);
    EXPECT_EQ(b->TerrainBitmap.pixel(19 * 32 + 16, 19 * 32 + 16), tileColour(90));
}

TEST_F(SavedGames, NothingOfTheAbandonedBattleStaysShownOrArmed) {
    save(base() + ".map");
    ShowPieceStats(*b, 1);
    FillPickList(*b, 1);
    b->PickList.push_back({1, 0, 0});
    b->FireMode = true;
    b->armedShot = ArmedShot::Aimed;
    b->SelectedItemSlot = 2;
    b->actionButtons = ActionButtons::all(true);
    loadSet(base() + "_korvath.map");
    EXPECT_EQ(b->panel.piece, 0);
    EXPECT_EQ(b->panel.name, "");
    EXPECT_EQ(b->panel.kit[0], "");
    EXPECT_TRUE(b->PickList.empty());
    EXPECT_FALSE(b->FireMode || b->HandFightMode || b->PieceSelected);
    EXPECT_EQ(b->armedShot, ArmedShot::None);
    EXPECT_EQ(b->SelectedItemSlot, 0);
    EXPECT_FALSE(b->actionButtons.aimedShot);
}

TEST_F(SavedGames, LoadingReadsTheEventFilesAgain) {
    save(base() + ".map");
    std::ofstream(dir.path / "scenarios" / "korvathReinforce.txt", std::ios::binary)
        << ":Mapchanges\r\nh\r\n5\t6\t10\r\n:EndMapChanges\r\n";
    loadSet(base() + "_korvath.map");
    RunEventFile(*b, "Reinforce");
    EXPECT_EQ(b->cell(5, 6).Glyph, 10);
    EXPECT_EQ(ports.messages.back(), "Game has been loaded");
}

TEST_F(SavedGames, ChoosingAnExistingSetOverwritesIt) {
    save(base() + ".map");
    b->TurnNumber = 2;
    save(base() + "_korvath.map"); // picked in the dialog
    EXPECT_FALSE(fs::exists(base() + "_korvath_korvath.Txt"));
    std::ifstream txt(base() + "_korvath.Txt");
    std::string line;
    std::getline(txt, line);
    EXPECT_EQ(line, "2\r");
}

TEST_F(SavedGames, SoldierRecordHasTheStoredByteLayout) {
    PieceRecord p;
    p.Name = "Vance";
    p.Side = 1;
    p.X = 0x0102;
    p.Y = -2;
    p.BaseAP = 77;
    p.Items = {0, 3, 0, 0, 0, 0, 12};
    p.Frame = 5;
    p.UnderGlyph = 131;
    p.Overwatch = true;
    p.TargetSize = 18;
    p.Ammo = 200;
    const auto r = encodePiece(p);
    ASSERT_EQ(r.size(), 140u);
    EXPECT_EQ(r[0], 5);
    EXPECT_EQ(std::string(r.begin() + 1, r.begin() + 6), "Vance");
    EXPECT_EQ(r[32], 1);
    EXPECT_EQ(r[36], 0x02);
    EXPECT_EQ(r[37], 0x01);
    EXPECT_EQ(r[40], 0xfe);
    EXPECT_EQ(r[43], 0xff);
    EXPECT_EQ(r[92], 77);
    EXPECT_EQ(r[96], 3);
    EXPECT_EQ(r[116], 12);
    EXPECT_EQ(r[120], 5);
    EXPECT_EQ(r[124], 131);
    EXPECT_EQ(r[128], 1);
    EXPECT_EQ(r[132], 18);
    EXPECT_EQ(r[136], 200);
    EXPECT_EQ(decodePiece(r.data()), p);
}

TEST_F(SavedGames, FailedSaveKeepsThePreviousSet) {
    save(base() + ".map");
    const auto before = fileBytes(base() + "_korvath.dat");
    // A folder where the last file's temporary copy should go makes the save fail after the first
    // two.
    fs::create_directories(temporaryName(base() + "_korvath.map"));
    b->Pieces[1].AP = 1;
    b->TurnNumber = 3;
    save(base() + ".map");
    EXPECT_NE(ports.messages.back().find("could not be saved"), std::string::npos);
    // The box names the files the player knows, never a temporary one.
    EXPECT_NE(ports.messages.back().find(base() + ".map"), std::string::npos);
    EXPECT_NE(ports.messages.back().find(base() + "_korvath.map:"), std::string::npos);
    EXPECT_EQ(ports.messages.back().find(".saving"), std::string::npos);
    EXPECT_EQ(fileBytes(base() + "_korvath.dat"), before);
    std::ifstream txt(base() + "_korvath.Txt");
    std::string line;
    std::getline(txt, line);
    EXPECT_EQ(line, "1\r");
    EXPECT_FALSE(fs::exists(temporaryName(base() + "_korvath.Txt")));
}

TEST_F(SavedGames, SaveCreatesAMissingFolder) {
    fs::remove_all(dir.path / "savedgames");
    save(base() + ".map");
    EXPECT_TRUE(fs::exists(base() + "_korvath.map"));
}

TEST_F(SavedGames, DamagedSetLeavesTheBattleUnchanged) {
    save(base() + ".map");
    b->TurnNumber = 6;
    b->Pieces[1].AP = 3;
    const auto pieces = b->Pieces;
    const auto map = b->MapGrid;

    const std::string names[] = {"_korvath.Txt", "_korvath.dat", "_korvath.map"};
    for (const auto& n : names) {
        TempDir spare;
        fs::copy(dir.path / "savedgames", spare.path, fs::copy_options::recursive);
        auto bytes = fileBytes(base() + n);
        bytes.resize(n == "_korvath.Txt" ? 0 : bytes.size() - 1);
        if (n == "_korvath.Txt") bytes = {'x', '\r', '\n'};
        std::ofstream(base() + n, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

        loadSet(base() + "_korvath.map");
        EXPECT_NE(ports.messages.back().find(n), std::string::npos) << ports.messages.back();
        EXPECT_EQ(b->TurnNumber, 6);
        EXPECT_EQ(b->Pieces, pieces);
        EXPECT_EQ(b->MapGrid, map);
        fs::remove_all(dir.path / "savedgames");
        fs::copy(spare.path, dir.path / "savedgames", fs::copy_options::recursive);
    }
    // A missing part is reported the same way.
    fs::remove(base() + "_korvath.dat");
    loadSet(base() + "_korvath.map");
    EXPECT_NE(ports.messages.back().find("_korvath.dat"), std::string::npos);
    EXPECT_EQ(b->Pieces, pieces);
}

// The companion files are found whatever the case of their names, and files
// longer than a set needs are read for their first records; the set is
// loaded in each case.
TEST_F(SavedGames, CompanionNamesIgnoreCaseAndLongFilesAreReadForTheirRecords) {
    b->TurnNumber = 5;
    save(base() + ".map");
    const auto pieces = b->Pieces;
    const struct {
        const char* what;
        std::function<void()> change;
    } cases[] = {
        {"text file in lower case",
         [&] { fs::rename(base() + "_korvath.Txt", base() + "_korvath.txt"); }},
        {"records file in upper case",
         [&] { fs::rename(base() + "_korvath.dat", base() + "_korvath.DAT"); }},
        {"longer records and map files",
         [&] {
             for (const char* n : {"_korvath.dat", "_korvath.map"})
                 std::ofstream(base() + n, std::ios::binary | std::ios::app) << "spare bytes";
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir.path / "savedgames");
        save(base() + ".map");
        c.change();
        b->TurnNumber = 9;
        b->Pieces[1].AP = 0;
        loadSet(base() + "_korvath.map");
        EXPECT_EQ(ports.messages.back(), "Game has been loaded");
        EXPECT_EQ(b->TurnNumber, 5);
        EXPECT_EQ(b->Pieces[1], pieces[1]);
    }
}

// A set holds no tiles or equipment of its own: one saved in the other
// scenario is refused by name and the battle goes on untouched.
TEST_F(SavedGames, ASetOfTheOtherScenarioIsRefused) {
    save(base() + ".map");
    const std::string other = base() + "_vexlar.map";
    for (const char* n : {".Txt", ".dat", ".map"})
        fs::copy_file(base() + "_korvath" + n, base() + "_vexlar" + n);
    b->TurnNumber = 7;
    const auto pieces = b->Pieces;
    const auto map = b->MapGrid;
    ports.sounds.clear();
    loadSet(other);
    EXPECT_NE(ports.messages.back().find(other), std::string::npos) << ports.messages.back();
    EXPECT_NE(ports.messages.back().find("_korvath.map"), std::string::npos);
    EXPECT_EQ(b->TurnNumber, 7);
    EXPECT_EQ(b->Pieces, pieces);
    EXPECT_EQ(b->MapGrid, map);
    EXPECT_TRUE(ports.sounds.empty());
    // Any case of the scenario's own suffix is its own.
    fs::rename(base() + "_korvath.map", base() + "_KORVATH.MAP");
    loadSet(base() + "_KORVATH.MAP");
    EXPECT_EQ(ports.messages.back(), "Game has been loaded");
}

// A save made after a turn change keeps its turn, and after loading it only
// the events of later turns fire.
TEST(SavedGameTurns, LoadedGamesFireOnlyLaterEvents) {
    TempDir dir;
    TestScenario s;
    s.units = {TestScenario::unit("Placed", 1, 10, 10), TestScenario::unit("Guard", 2, 70, 40)};
    s.events = {"2\tEarly", "3\tLate"};
    auto change = [](int x) {
        return std::vector<std::string>{":Mapchanges", "X\tY\tGlyph", std::to_string(x) + "\t5\t90",
                                        ":EndMapChanges", "none"};
    };
    s.extraFiles["scenarios/korvathEarly.txt"] = change(20);
    s.extraFiles["scenarios/korvathLate.txt"] = change(21);
    s.write(dir.path);
    auto b = std::make_unique<Battle>();
    HeadlessPorts ports;
    ports.attach(*b);
    b->AppDir = dir.path.string();
    chooseScenario(*b, ScenarioId::Korvath, 3);
    createBattle(*b);
    showBattle(*b);

    EndTurnButtonClick(*b);
    ASSERT_EQ(b->TurnNumber, 2);
    EXPECT_EQ(b->cell(20, 5).Glyph, 90); // the turn-2 event fired
    const std::string base = (dir.path / "savedgames" / "turn2").string();
    ports.fileAnswers.push_back(base + ".map");
    saveClick(*b);
    EXPECT_EQ(readFile(base + "_korvath.Txt"), "2\r\n");

    // Undo the early event's change by hand, then load: the save brings it back.
    b->cell(20, 5).Glyph = kFloorGlyph;
    ports.fileAnswers.push_back(base + "_korvath.map");
    LoadClick(*b);
    EXPECT_EQ(b->cell(20, 5).Glyph, 90);
    b->cell(20, 5).Glyph = kFloorGlyph; // if the early event ran again it would show here
    EndTurnButtonClick(*b);
    EXPECT_EQ(b->TurnNumber, 3);
    EXPECT_EQ(b->cell(21, 5).Glyph, 90);
    EXPECT_EQ(b->cell(20, 5).Glyph, kFloorGlyph);
}

// Saves go to the game folder's savedgames when it can be written, but never
// into an installed game's folder, which belongs to the system's packages
// even when root plays.
TEST(SavedGamesFolder, AnInstalledGameFolderIsNeverWrittenInto) {
    TempDir tmp;
    const fs::path player = tmp.path / "data";
    setenv("XDG_DATA_HOME", player.c_str(), 1);
    const struct {
        const char* folder;
        bool own;
    } cases[] = {{"build/game", true}, {"usr/share/korvath", false}, {"opt/share/korvath", false}};
    for (const auto& c : cases) {
        Battle b;
        b.AppDir = (tmp.path / c.folder).string();
        fs::create_directories(tmp.path / c.folder / "savedgames");
        const fs::path expected =
            c.own ? tmp.path / c.folder / "savedgames" : player / "korvath" / "savedgames";
        EXPECT_EQ(fs::path(savedGamesFolder(b)), expected) << c.folder;
    }
    unsetenv("XDG_DATA_HOME");
}

// A save stopped after any single file operation, as by a crash or a kill:
// the next load finds the old set or the new one whole, never a mix, and no
// temporary file is left behind.
TEST_F(SavedGames, ASaveCutShortAnywhereLeavesTheOldSetOrTheNew) {
    b->TurnNumber = 3;
    b->Pieces[1].AP = 11;
    save(base() + ".map");
    const auto oldPieces = b->Pieces;
    const auto oldMap = b->MapGrid;
    b->TurnNumber = 4;
    b->Pieces[1].AP = 5;
    b->cell(20, 21).Glyph = 90;
    placePieces(*b);
    const auto newPieces = b->Pieces;
    const auto newMap = b->MapGrid;
    const std::string saved = (dir.path / "savedgames").string();
    int newSets = 0;
    for (int crashAt = 0;; ++crashAt) {
        SCOPED_TRACE("crash at operation " + std::to_string(crashAt));
        fs::remove_all(saved);
        Battle old = *b; // the old set again, then the new one cut short
        old.TurnNumber = 3;
        old.Pieces = oldPieces;
        old.MapGrid = oldMap;
        writeSavedGame(old, base());
        CrashingFiles files;
        files.crashAt = crashAt;
        bool finished = true;
        try {
            writeSavedGame(*b, base(), files);
        } catch (const CrashingFiles::Crash&) {
            finished = false;
        }
        b->TurnNumber = 9;
        loadSet(base() + "_korvath.map");
        ASSERT_EQ(ports.messages.back(), "Game has been loaded");
        if (b->TurnNumber == 4) {
            ++newSets;
            EXPECT_EQ(b->Pieces, newPieces);
            EXPECT_EQ(b->cell(20, 21).Glyph, 90);
        } else {
            EXPECT_EQ(b->TurnNumber, 3);
            EXPECT_EQ(b->Pieces[1].AP, 11);
            EXPECT_NE(b->cell(20, 21).Glyph, 90);
        }
        for (const auto& e : fs::directory_iterator(saved))
            EXPECT_EQ(e.path().filename().string().find(".saving"), std::string::npos) << e.path();
        b->MapGrid = newMap;
        b->Pieces = newPieces;
        b->TurnNumber = 4;
        if (finished) break;
    }
    EXPECT_GE(newSets, 1);
}

// Numbers a saved set holds that the rules cannot use are refused, naming the
// file, the record and the field; the battle goes on as it was.
TEST_F(SavedGames, BadNumbersInASetAreRefusedNamingFileRecordAndField) {
    save(base() + ".map");
    b->TurnNumber = 2;
    const auto pieces = b->Pieces;
    const struct {
        const char* file;
        size_t offset; // into the file; for the text file, its whole line
        int32_t value;
        const char* says;
    } cases[] = {
        {"_korvath.dat", 2 * 140 + 36, 100000000, "soldier record 3: X is 100000000"},
        {"_korvath.dat", 0 * 140 + 132, 2000000000, "soldier record 1: TargetSize"},
        {"_korvath.dat", 1 * 140 + 52, 2147483000, "soldier record 2: AP"},
        {"_korvath.Txt", 0, 0, "the turn number is 0"},
        {"_korvath.Txt", 0, -7, "the turn number is -7"},
        {"_korvath.Txt", 0, 2147483647, "the turn number is 2147483647"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        fs::remove_all(dir.path / "savedgames");
        save(base() + ".map");
        const std::string path = base() + c.file;
        auto bytes = fileBytes(path);
        if (std::string(c.file) == "_korvath.Txt") {
            const std::string line = std::to_string(c.value) + "\r\n";
            bytes.assign(line.begin(), line.end());
        } else {
            put32(&bytes[c.offset], c.value);
        }
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        loadSet(base() + "_korvath.map");
        EXPECT_NE(ports.messages.back().find(c.file), std::string::npos) << ports.messages.back();
        EXPECT_NE(ports.messages.back().find(c.says), std::string::npos) << ports.messages.back();
        EXPECT_EQ(b->TurnNumber, 2);
        EXPECT_EQ(b->Pieces, pieces);
    }
}

// Only the file's own name loses "_korvath" and ".map"; folders keep theirs.
TEST_F(SavedGames, FoldersKeepTheirNamesWhenSaving) {
    for (const char* folder : {"my_korvath_saves", "old.maps"}) {
        const fs::path where = dir.path / folder;
        fs::create_directories(where);
        save((where / "g.map").string());
        EXPECT_EQ(ports.messages.back(), "Game has been saved");
        EXPECT_TRUE(fs::exists(where / "g_korvath.map")) << folder;
        EXPECT_TRUE(fs::exists(where / "g_korvath.dat")) << folder;
    }
    EXPECT_FALSE(fs::exists(dir.path / "my_saves"));
    EXPECT_FALSE(fs::exists(dir.path / "olds"));
}

// A set is read without large records on the stack: a thread with a stack of
// 64 KB (half the 128 KB promised) reads one.
TEST_F(SavedGames, ASetIsReadOnASmallStack) {
    b->TurnNumber = 6;
    save(base() + ".map");
    const auto names = savedGameFiles(base(), "korvath");
    int turn = 0;
    onSmallStack(64 << 10, [&] { turn = readSavedGame(names[0], names[1], names[2])->turnNumber; });
    EXPECT_EQ(turn, 6);
}
