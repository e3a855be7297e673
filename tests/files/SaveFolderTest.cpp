// The saved-games folder is shared with whatever else the player keeps there:
// the game touches only the files it can prove its own.
#include "FolderFiles.h"
#include "TestData.h"
#include "game/commands/SaveLoad.h"
#include "game/commands/Scenario.h"
#include "game/files/Autosave.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using namespace korvath;
using namespace korvath::test;
namespace fs = std::filesystem;

namespace {

class SaveFolder : public ::testing::Test {
  protected:
    SaveFolder() : b(std::make_unique<Battle>()) {
        b->AppDir = dir.path.string();
        ports.attach(*b);
        TestScenario().write(dir.path);
        chooseScenario(*b, ScenarioId::Korvath, 3);
        createBattle(*b);
        showBattle(*b);
    }
    fs::path folder() const { return dir.path / "savedgames"; }
    std::string set(const std::string& name) const { return (folder() / name).string(); }
    // Saved games and autosaves of this battle, which the steps may change.
    FolderListing othersIn(const fs::path& where) const {
        FolderListing all = listFolder(where);
        std::erase_if(all, [](const auto& e) {
            return e.first.starts_with("first_korvath.") || e.first.starts_with("autosave");
        });
        return all;
    }
    TempDir dir;
    std::unique_ptr<Battle> b;
    HeadlessPorts ports;
};

} // namespace

// Files of other programs that look like the game's temporaries and commit
// records, and records that do not hold what the game writes, among them a
// pipe that would block whoever reads it: every save, load, autosave and
// file dialog leaves them as they were.
TEST_F(SaveFolder, OtherProgramsFilesAreNeverTouched) {
    const FolderListing foreign = {
        {"notes.commit", "my notes\n"},
        {"draft.saving", "half a letter"},
        {"other.commit", "line1\nend\n"},
        {"line1", "the original"},
        {"line1.saving", "a replacement"},
        {"first_korvath.commit", "line1\nend\n"},       // the old form, naming another file
        {"first_korvath.Txt.saving", "9\r\n"},          // the old form's temporary, no record
        {".korvath-notes.saving", "not a saved set's"}, // the prefix, but no set's file
        {"korvath-first_korvath.commit", "korvath commit 1\nput line1\nend\n"},
        {".korvath-first_korvath.rotation", "korvath commit 1\nput first_korvath.Txt\nend\n"},
        {".korvath-x_korvath.commit", "korvath commit 1\nput line1\nend\n"},
        {".korvath-x_korvath.rotation", "garbage\n"},
    };
    layOutFolder(folder(), foreign);
    fs::create_directory(folder() / "box.commit");
    ASSERT_EQ(mkfifo((folder() / "pipe.commit").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo((folder() / ".korvath-pipe_korvath.commit").c_str(), 0600), 0);
    const FolderListing before = othersIn(folder());

    // A dialog's answer ("" cancels it), then the menu entry.
    const struct {
        void (*click)(Battle&);
        const char* answer;
    } steps[] = {{saveClick, "first.map"},
                 {saveClick, "first_korvath.map"},
                 {LoadClick, "first_korvath.map"},
                 {LoadClick, ""},
                 {saveClick, ""},
                 {nullptr, "four autosaves"}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.answer);
        if (!s.click) {
            for (int turn = 1; turn <= 4; ++turn) autosave(*b, folder().string());
        } else {
            ports.fileAnswers.push_back(*s.answer ? set(s.answer) : "");
            s.click(*b);
        }
        EXPECT_EQ(othersIn(folder()), before);
    }
    EXPECT_EQ(ports.messages,
              std::vector<std::string>(
                  {"Game has been saved", "Game has been saved", "Game has been loaded"}));
}

// A save of the previous version cut short after its commit record (two of
// its three renames still to do) is finished by the next look, as that
// version would have, and the set loads whole.
TEST_F(SaveFolder, APreviousVersionsSaveCutShortIsFinished) {
    ports.fileAnswers.push_back(set("first.map"));
    b->TurnNumber = 2;
    saveClick(*b);
    const FolderListing old = listFolder(folder());
    b->TurnNumber = 5;
    b->Pieces[1].AP = 3;
    ports.fileAnswers.push_back(set("first.map"));
    saveClick(*b);
    FolderListing cutShort = listFolder(folder());
    for (const char* ext : {".Txt", ".dat"}) {
        const std::string name = std::string("first_korvath") + ext;
        cutShort[name + ".saving"] = cutShort[name];
        cutShort[name] = old.at(name);
    }
    cutShort["first_korvath.commit"] =
        "first_korvath.Txt\nfirst_korvath.dat\nfirst_korvath.map\nend\n";
    layOutFolder(folder(), cutShort);

    b->TurnNumber = 9;
    ports.fileAnswers.push_back(set("first_korvath.map"));
    LoadClick(*b);
    EXPECT_EQ(ports.messages.back(), "Game has been loaded");
    EXPECT_EQ(b->TurnNumber, 5);
    EXPECT_EQ(b->Pieces[1].AP, 3);
    EXPECT_EQ(listFolder(folder()).size(), 3u);
}
