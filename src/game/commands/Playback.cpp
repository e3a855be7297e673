#include "game/commands/Playback.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"
#include "game/commands/Recording.h"
#include "game/commands/Registry.h"

#include <cstdlib>
#include <filesystem>
#include <istream>
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

namespace {

// Reads a replay line by line; each mistake names its line.
class ReplayReader {
  public:
    ReplayReader(const std::string& file) : file_(file) {}

    void line(int number, const std::string& text) {
        number_ = number;
        std::vector<std::string> w;
        try {
            w = scriptWords(text);
        } catch (const std::invalid_argument& e) {
            fail(e.what());
        }
        if (w.empty()) return;
        const std::string& verb = w[0];
        const std::vector<std::string> args(w.begin() + 1, w.end());
        if (verb == "replay") {
            if (args.size() != 1 || args[0] != "1")
                fail("this replay was written by another version of the game");
        } else if (verb == "seed") {
            seed(args);
        } else if (verb == "time") {
            times(args);
        } else if (verb == "start") {
            start(args);
        } else if (verb == "meanwhile") {
            meanwhile(args);
        } else if (findCommand(verb)) {
            command(w);
        } else if (verb == "dump" || verb == "set" || verb == "repeat" || verb == "end") {
            fail("\"" + verb + "\" is for korvath-headless; a replay holds the player's commands");
        } else {
            fail("unknown command \"" + verb + "\"");
        }
    }

    ReplayScript done() {
        number_ = 0;
        if (!started_)
            fail("the replay never starts a battle (\"start korvath\" or \"start vexlar\")");
        return std::move(script_);
    }

  private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw DataError(file_, number_, reason);
    }

    int whole(const std::string& text, const char* what) const {
        int v = 0;
        if (!parseInt(text, v))
            fail(std::string(what) + " is not a whole number: \"" + text + "\"");
        return v;
    }

    void seed(const std::vector<std::string>& args) {
        long long v = -1;
        if (args.size() == 1) {
            try {
                size_t used = 0;
                v = std::stoll(args[0], &used);
                if (used != args[0].size()) v = -1;
            } catch (const std::exception&) {
                v = -1;
            }
        }
        if (v < 0 || v > 0xffffffffLL) fail("the seed must be a number 0..4294967295");
        if (started_)
            seed_ = static_cast<uint32_t>(v);
        else
            script_.seed = static_cast<uint32_t>(v);
    }

    void times(const std::vector<std::string>& args) {
        if (args.empty()) fail("usage: time HH:MM:SS.mmm [HH:MM:SS.mmm ...]");
        std::vector<int> ms;
        for (const std::string& t : args) {
            ms.push_back(parseTimeOfDay(t));
            if (ms.back() < 0) fail("time must be HH:MM:SS.mmm, not \"" + t + "\"");
        }
        (started_ ? times_ : script_.times) = ms;
    }

    void start(const std::vector<std::string>& args) {
        if (started_) fail("a replay starts one battle");
        if (args.empty()) fail("usage: start korvath|vexlar|FOLDER [DIFFICULTY]");
        script_.scenario = args[0] == "vexlar" ? ScenarioId::Vexlar : ScenarioId::Korvath;
        // Any other word is the folder of a player's scenario.
        if (args[0] != "korvath" && args[0] != "vexlar") script_.folder = args[0];
        script_.difficulty = args.size() > 1 ? whole(args[1], "the difficulty") : 3;
        if (script_.difficulty < 1 || script_.difficulty > 8) fail("the difficulty must be 1..8");
        started_ = true;
    }

    void command(const std::vector<std::string>& w) {
        if (!started_) fail("\"" + w[0] + "\" before the battle's \"start\"");
        try {
            checkCommand(w);
        } catch (const CommandError& e) {
            fail(e.what());
        }
        script_.steps.push_back({number_, w, seed_, std::move(times_), {}});
        seed_.reset();
        times_.clear();
    }

    void meanwhile(const std::vector<std::string>& args) {
        if (script_.steps.empty()) fail("\"meanwhile\" follows a command of the battle");
        if (args.size() < 2) fail("usage: meanwhile N COMMAND ...");
        const int moment = whole(args[0], "the moment");
        if (moment < 1) fail("the moment must be 1 or more");
        std::vector<LaterInput>& later = script_.steps.back().meanwhile;
        if (!later.empty() && moment < later.back().moment)
            fail("the moments of \"meanwhile\" lines must not go back");
        const std::vector<std::string> words(args.begin() + 1, args.end());
        try {
            checkCommand(words);
        } catch (const CommandError& e) {
            fail(e.what());
        }
        later.push_back({number_, moment, words});
    }

    std::string file_;
    int number_ = 0;
    bool started_ = false;
    std::optional<uint32_t> seed_;
    std::vector<int> times_;
    ReplayScript script_;
};

} // namespace

ReplayScript readReplay(std::istream& in, const std::string& fileName) {
    ReplayReader reader(fileName);
    int number = 0;
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        reader.line(++number, text);
    }
    return reader.done();
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
