// Players' scenarios in the game: found where a copied-in folder lies, their
// saves kept apart, and a bad one refused with its file and line while
// nothing else changes.
#include "ScratchBattle.h"
#include "TestData.h"
#include "game/commands/Scenario.h"
#include "game/files/SavedGame.h"
#include "game/files/ScenarioFolders.h"

#include "engine/DataError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;
using namespace korvath;
using korvath::test::readFile;
using korvath::test::TempDir;

namespace {

const fs::path kGame = KORVATH_GAME_DIR;

// A game folder of its own (the built one's pictures and sounds, its own
// scenarios/ and savedgames/) and a player's data folder.
struct Folders {
    TempDir game, home;
    Folders() {
        for (const char* part : {"graphics", "sound"})
            fs::create_directory_symlink(kGame / part, game.path / part);
        fs::create_directories(game.path / "scenarios");
        for (const auto& e : fs::directory_iterator(kGame / "scenarios"))
            fs::create_symlink(e.path(), game.path / "scenarios" / e.path().filename());
        fs::create_directories(game.path / "savedgames");
        setenv("XDG_DATA_HOME", home.path.c_str(), 1);
    }
    fs::path players() const { return home.path / "korvath" / "scenarios"; }
};

void replaceInFile(const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = readFile(file);
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::binary) << text;
}

} // namespace

TEST(UserScenarios, AreFoundWhereTheirFolderWasCopiedAndKeepTheirSavesApart) {
    Folders f;
    test::threeRooms(kGame.string()).saveTo((f.players() / "threerooms").string());
    fs::copy(f.players() / "threerooms", f.game.path / "scenarios" / "threerooms");
    fs::copy(f.players() / "threerooms", f.game.path / "scenarios" / "gameroom");
    replaceInFile(f.game.path / "scenarios" / "gameroom" / kManifestFile, "Three Rooms",
                  "Game Room");
    fs::create_directories(f.players() / "broken");
    std::ofstream(f.players() / "broken" / kManifestFile) << "Korvath scenario\nTitle\tBroken\n";

    const auto found = findScenarios(f.game.path.string());
    ASSERT_EQ(found.size(), 3u);
    // By title; the player's copy hides the game folder's of the same name.
    EXPECT_EQ(found[0].key, "broken");
    EXPECT_NE(found[0].problem.find("does not give"), std::string::npos) << found[0].problem;
    EXPECT_EQ(found[1].manifest.Title, "Game Room");
    EXPECT_FALSE(found[1].playersOwn);
    EXPECT_EQ(found[2].manifest.Title, "Three Rooms");
    EXPECT_TRUE(found[2].playersOwn);

    Battle b;
    b.AppDir = f.game.path.string();
    chooseScenario(b, ScenarioId::Korvath, 3);
    const std::string shippedSaves = savedGamesFolder(b);
    chooseScenario(b, found[2].manifest, found[2].folder, 3);
    const std::string ownSaves = savedGamesFolder(b);
    chooseScenario(b, found[1].manifest, found[1].folder, 3);
    EXPECT_EQ(ownSaves, shippedSaves + "/scenarios/threerooms");
    EXPECT_EQ(savedGamesFolder(b), shippedSaves + "/scenarios/gameroom");
}

TEST(UserScenarios, ABadOneIsRefusedWithItsFileAndLineAndNothingElseChanges) {
    using Spoil = void (*)(const fs::path&);
    const struct {
        const char* what;
        Spoil spoil;
        const char* told;
    } cases[] = {
        {"a name with ..",
         [](const fs::path& d) {
             replaceInFile(d / kManifestFile, "ScenarioName\tthreerooms",
                           "ScenarioName\t../korvath");
         },
         "scenario.txt, line 3: ScenarioName \"../korvath\""},
        {"a picture outside",
         [](const fs::path& d) {
             replaceInFile(d / kManifestFile, "BlocksFile\tblocks.bmp",
                           "BlocksFile\t../blocks.bmp");
         },
         "scenario.txt, line 4: BlocksFile \"../blocks.bmp\" is not a file of the scenario's"},
        {"a link out",
         [](const fs::path& d) {
             fs::remove(d / "threerooms.map");
             fs::create_symlink(kGame / "scenarios" / "korvath.map", d / "threerooms.map");
         },
         "threerooms.map: the file is a link that leads outside the scenario's folder"},
        {"a missing file", [](const fs::path& d) { fs::remove(d / "threeroomsGlyphDesc.txt"); },
         "threeroomsGlyphDesc.txt: cannot open the file"},
        {"a bad number",
         [](const fs::path& d) { replaceInFile(d / "threeroomsDesc.txt", "\t65\t", "\t6x5\t"); },
         "threeroomsDesc.txt, line 10: Shoot is not a whole number: \"6x5\""},
    };
    for (const auto& c : cases) {
        Folders f;
        const fs::path folder = f.players() / "threerooms";
        test::threeRooms(kGame.string()).saveTo(folder.string());
        c.spoil(folder);
        const std::string before = readFile(folder / "threeroomsDesc.txt");

        // Between battles, as on the front screen after a battle of Korvath.
        Battle b;
        b.AppDir = f.game.path.string();
        chooseScenario(b, ScenarioId::Korvath, 3);
        createBattle(b);
        closeBattle(b);
        const auto pieces = b.Pieces;
        const auto map = b.MapGrid;
        const auto events = b.TurnEventList;
        std::string told;
        try {
            const FoundScenario s = readScenarioFolder(folder.string());
            chooseScenario(b, s.manifest, s.folder, 3);
            createBattle(b);
        } catch (const DataError& e) {
            told = e.what();
        }
        EXPECT_NE(told.find(c.told), std::string::npos) << c.what << ": " << told;
        EXPECT_EQ(b.Pieces, pieces) << c.what;
        EXPECT_EQ(b.MapGrid, map) << c.what;
        EXPECT_EQ(b.TurnEventList[0].Turn, events[0].Turn) << c.what;
        EXPECT_FALSE(b.windowOpen) << c.what;
        EXPECT_EQ(readFile(folder / "threeroomsDesc.txt"), before) << c.what;
        EXPECT_FALSE(fs::exists(f.home.path / "korvath" / "savedgames")) << c.what;
    }
}
