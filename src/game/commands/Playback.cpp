#include "game/commands/Playback.h"

#include "game/commands/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace korvath {

void MeanwhilePlayer::commandBegins(const std::vector<std::string>& words) {
    if (depth_++ == 0) moments_ = 0;
    if (next_) next_->commandBegins(words);
}

void MeanwhilePlayer::commandEnds(bool changedState) {
    if (depth_ > 0) --depth_;
    if (next_) next_->commandEnds(changedState);
}

void MeanwhilePlayer::timeAsked(int msSinceMidnight) {
    if (next_) next_->timeAsked(msSinceMidnight);
}

void MeanwhilePlayer::fileChosen(const std::string& path) {
    if (next_) next_->fileChosen(path);
}

void MeanwhilePlayer::messagesMayRun() {
    if (next_) next_->messagesMayRun();
    if (depth_ == 0) return;
    ++moments_;
    while (!pending_.empty() && pending_.front().moment <= moments_) {
        const LaterInput input = pending_.front();
        pending_.erase(pending_.begin());
        run_(input);
    }
}

namespace {

// "folder/game_korvath.map" and "folder/game" name the same set.
std::string setName(std::string path) {
    auto cut = [&](const std::string& end) {
        if (path.size() >= end.size() &&
            path.compare(path.size() - end.size(), end.size(), end) == 0)
            path.erase(path.size() - end.size());
    };
    cut(".map");
    cut("_korvath");
    cut("_vexlar");
    return path;
}

} // namespace

std::string ReplayDialogs::inScratch(const std::string& path) const {
    return scratch_ + "/" + std::filesystem::path(path).filename().string();
}

std::string ReplayDialogs::saveFile(const FileQuestion&) {
    const std::string path = std::exchange(answer_, {});
    if (path.empty()) return {};
    saved_.insert(setName(path));
    return inScratch(path);
}

std::string ReplayDialogs::openFile(const FileQuestion&) {
    const std::string path = std::exchange(answer_, {});
    if (path.empty()) return {};
    if (saved_.count(setName(path))) return inScratch(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw CommandError("the saved set " + path + " is missing");
    return path;
}

std::string makeScratchFolder() {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "korvath-replay-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw CommandError("no folder for the replay's saves in " + base.string());
    return pattern;
}

} // namespace korvath
