#pragma once
#include "game/commands/Playback.h"
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

  private:
    struct Line {
        int number;
        std::string text;
    };
    void runLines(const std::vector<Line>& lines, size_t from, size_t to);
    size_t blockEnd(const std::vector<Line>& lines, size_t repeatLine) const;
    bool decided() const;
    size_t expectMeanwhile(const std::vector<Line>& lines, size_t i, size_t to);
    void checkMeanwhileCame();
    void later(const LaterInput& input);
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
    EventLog events_;     // heard since the last dump, after "events on"
    std::string scratch_; // a replay's saves
    std::unique_ptr<ReplayDialogs> replayDialogs_;
    int current_ = 0; // the line being run, for error messages
};

} // namespace korvath
