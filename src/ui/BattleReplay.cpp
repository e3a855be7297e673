// The battle window's side of replays: the recording kept while the player
// plays, saved on request or after an unexpected error, and a recorded
// battle played again in the window.
#include "QtPorts.h"
#include "ReplayPlayer.h"
#include "TPlayingScreen.h"
#include "engine/DataError.h"
#include "game/files/SavedGame.h"

#include <QDateTime>
#include <QFileDialog>
#include <QStatusBar>

#include <filesystem>

namespace korvath {

void TPlayingScreen::saveReplay(const std::string& path) const {
    saveRecording(path, recording_.script());
}

void TPlayingScreen::SaveReplayClick() {
    if (recording_.empty()) return;
    const std::string folder = savedGamesFolder(b_);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const QString suggested =
        QString::fromStdString(folder + "/replay_" + b_.ScenarioName + ".kvs");
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save replay"), suggested,
                                                QStringLiteral("Replays (*.kvs)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QStringLiteral(".kvs"), Qt::CaseInsensitive)) path += QStringLiteral(".kvs");
    try {
        saveReplay(path.toStdString());
        statusArea()->showMessage(QStringLiteral("Replay saved as %1").arg(path), 8000);
    } catch (const DataError& e) {
        b_.warning("The replay could not be saved as " + path.toStdString() + ".\n\n" + e.what());
    }
}

std::string TPlayingScreen::keepReplayAfterError() {
    if (recording_.empty()) return {};
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const std::string path =
        savedGamesFolder(b_) + "/error_" + b_.ScenarioName + "_" + stamp.toStdString() + ".kvs";
    try {
        std::error_code error;
        std::filesystem::create_directories(savedGamesFolder(b_), error);
        saveReplay(path);
    } catch (const DataError&) {
        return {};
    }
    return path;
}

void TPlayingScreen::keepReplayBesideAutosave() {
    if (recording_.empty()) return;
    try {
        saveReplay(savedGamesFolder(b_) + "/autosave_" + b_.ScenarioName + ".kvs");
    } catch (const DataError&) {
        // The autosave beside it has said what is wrong with the folder.
    }
}

ReplayPlayer* TPlayingScreen::playReplay(ReplayScript script, const std::string& fileName) {
    replay_ = new ReplayPlayer(this, std::move(script), fileName);
    return replay_;
}

void TPlayingScreen::setReplaying(bool on) {
    replaying_ = on;
    if (on) return;
    setAnimationScale(1.0);
    // The player takes over: the view becomes the window's own again.
    viewResized();
}

} // namespace korvath
