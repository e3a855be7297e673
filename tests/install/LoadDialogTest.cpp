// The save and load dialogs of an installed game, whose own folder cannot be
// written: saves go to the player's folder, the quick-start games stay reachable.
#include "TestData.h"
#include "ui/QtPorts.h"

#include <QApplication>
#include <QFileDialog>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace korvath;

TEST(SavedGameDialogs, OpenInThePlayersFolderOrWhereTheQuickStartGamesLie) {
    struct Case {
        const char* what;
        bool save;
        bool playerHasSaved; // the player's own folder exists already
        const char* opensIn;
    };
    const Case cases[] = {
        {"a first load: the player's folder is not there yet", false, false, "game"},
        {"a load after saving", false, true, "player"},
        {"a first save makes the player's folder", true, false, "player"},
    };
    for (const Case& c : cases) {
        test::TempDir tmp;
        const fs::path game = tmp.path / "usr/share/korvath/savedgames";
        const fs::path player = tmp.path / "home/.local/share/korvath/savedgames";
        fs::create_directories(game);
        if (c.playerHasSaved) fs::create_directories(player);
        const FileQuestion q{player.string(), "Saved Games|*korvath.map", "*.map", {game.string()}};
        QFileDialog dialog;
        configureFileDialog(dialog, q, c.save);
        const fs::path expected = std::string(c.opensIn) == "game" ? game : player;
        EXPECT_EQ(fs::path(dialog.directory().absolutePath().toStdString()), expected) << c.what;
        EXPECT_EQ(dialog.sidebarUrls().value(1).toLocalFile().toStdString(), game.string())
            << c.what << ": the quick-start games are a click away";
    }
}

int main(int argc, char** argv) {
    // Also when the build lists the tests: no display is needed.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
