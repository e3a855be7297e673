#pragma once
#include "game/commands/Playback.h"
#include "game/display/BattleFeed.h"
#include "game/state/Battle.h"
#include "game/state/HeadlessPorts.h"

#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvath {

// A mistake in a script: names the script and the line.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Plays a battle from a script of commands, one a line, without any window.
class ScriptRunner {
  public:
    // How deep "repeat" blocks may nest.
    static constexpr size_t kDeepestRepeat = 64;

    ScriptRunner(std::string dataDir, std::ostream& out, std::ostream& err);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // Runs every line; returns the process status: 0, or 2 after an error
    // (printed to err, naming the script and line).
    int run(std::istream& in, const std::string& scriptName);
    // One command; throws ScriptError or DataError.
    void command(const std::string& line);

    Battle& battle() { return *battle_; }
    HeadlessPorts& ports() { return ports_; }
    // Plays on from a copy of b, with fresh ports and no replay begun (the
    // fuzz targets start each input from one battle made once).
    void adopt(const Battle& b);

  private:
    // A line of the script, its words and, for a "repeat", where its block
    // ends; all found once, before the script runs.
    struct Line {
        int number;
        std::string text;
        std::vector<std::string> words;
        std::string badWords; // why the line has no words (bad quotes)
        size_t end = 0;       // a "repeat": the line of its "end" (0: none)
        bool tooDeep = false; // a "repeat" inside kDeepestRepeat others
    };
    static std::vector<Line> readLines(std::istream& in);
    const std::vector<std::string>& wordsOf(const Line& line) const;
    void runLines(const std::vector<Line>& lines, size_t from, size_t to);
    bool decided() const;
    size_t expectMeanwhile(const std::vector<Line>& lines, size_t i, size_t to);
    void checkMeanwhileCame();
    void later(const LaterInput& input);
    void question(const std::string& verb, const std::vector<std::string>& args);
    void replay(const std::vector<std::string>& args);

    void start(const std::vector<std::string>& args);
    void set(const std::vector<std::string>& args);
    void dump(const std::vector<std::string>& args);
    void events(const std::vector<std::string>& args);

    std::string dataDir_;
    std::ostream& out_;
    std::ostream& err_;
    std::unique_ptr<Battle> battle_;
    HeadlessPorts ports_;
    MeanwhilePlayer meanwhile_;
    // Heard since the last dump, after "events on"; the feed keeps its lines
    // from "events on" on.
    struct HeardEvents : EventLog {
        const BattleState* battle = nullptr;
        BattleFeed feed;
        void happened(const BattleEvent& e) override {
            EventLog::happened(e);
            if (battle) feed.happened(*battle, e);
        }
    } events_;
    std::string scratch_; // a replay's saves
    std::unique_ptr<ReplayDialogs> replayDialogs_;
    int current_ = 0; // the line being run, for error messages
};

} // namespace korvath
