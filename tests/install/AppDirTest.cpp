// Which game folder korvath and korvath-headless settle on: the build's, the
// working directory's, or the installed one beside bin/.
#include "TestData.h"
#include "engine/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace korvath;

namespace {

struct Layout {
    const char* what;
    std::vector<const char*> folders; // created below the temporary root
    const char* cwd;
    const char* exe;      // the path the program was started by
    const char* expected; // the game folder found
};

// Restores the working directory however the test ends.
struct KeepCwd {
    fs::path saved = fs::current_path();
    ~KeepCwd() { fs::current_path(saved); }
};

} // namespace

TEST(AppDir, WorkingDirectoryThenOwnFolderThenInstalledShare) {
    const Layout layouts[] = {
        {"the working directory holding scenarios wins",
         {"play/scenarios", "usr/bin", "usr/share/korvath/scenarios"},
         "play",
         "usr/bin/korvath",
         "play"},
        {"the build folder: scenarios beside the program, spelled in any case",
         {"play", "build/game/Scenarios", "build/share/korvath/scenarios"},
         "play",
         "build/game/korvath",
         "build/game"},
        {"installed: bin/ beside share/korvath",
         {"play", "usr/bin", "usr/share/korvath/scenarios"},
         "play",
         "usr/bin/korvath",
         "usr/share/korvath"},
        {"installed, started through a link in another folder",
         {"play", "usr/bin", "usr/games", "usr/share/korvath/scenarios"},
         "play",
         "usr/games/korvath",
         "usr/share/korvath"},
        {"nothing anywhere: the program's own folder",
         {"play", "usr/bin", "usr/share/korvath"},
         "play",
         "usr/bin/korvath",
         "usr/bin"},
    };
    KeepCwd keep;
    for (const Layout& l : layouts) {
        test::TempDir tmp;
        const fs::path root = fs::canonical(tmp.path);
        for (const char* f : l.folders) fs::create_directories(root / f);
        for (const char* exe : {"usr/bin/korvath", "build/game/korvath"}) {
            fs::create_directories((root / exe).parent_path());
            std::ofstream(root / exe).put('\n');
        }
        if (fs::exists(root / "usr/games"))
            fs::create_symlink("../bin/korvath", root / "usr/games/korvath");
        fs::current_path(root / l.cwd);
        EXPECT_EQ(fs::path(findAppDir((root / l.exe).string())), root / l.expected) << l.what;
    }
}

TEST(AppDir, OwnExecutableIsFoundWithoutAFolderInArgv0) {
    const fs::path self = executablePath("install_tests");
    EXPECT_TRUE(self.is_absolute()) << self;
    EXPECT_EQ(self.filename(), "install_tests");
    EXPECT_TRUE(fs::is_regular_file(self));
}
