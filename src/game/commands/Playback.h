#pragma once
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"
#include "game/state/Ports.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Playing a recorded battle again: the input that came while a command let
// the window handle messages is given back at the same moment, and the saves
// of the battle go to a folder of their own instead of over the player's.
namespace korvath {

// A "meanwhile N COMMAND" line of a replay.
struct LaterInput {
    int line;   // in the replay file, for messages
    int moment; // the how-manyth time the command let messages run
    std::vector<std::string> words;
};

class MeanwhilePlayer : public CommandWatcher {
  public:
    using Run = std::function<void(const LaterInput&)>;
    // run gives one command to the battle; next (may be null) is told
    // everything too, as a recording that goes on during the replay.
    MeanwhilePlayer(Run run, CommandWatcher* next) : run_(std::move(run)), next_(next) {}

    // The input that comes during the next command.
    void expect(std::vector<LaterInput> input) { pending_ = std::move(input); }
    // What the command ended without reaching; empty when all came.
    const std::vector<LaterInput>& left() const { return pending_; }

    void commandBegins(const std::vector<std::string>& words) override;
    void commandEnds(bool changedState) override;
    void timeAsked(int msSinceMidnight) override;
    void fileChosen(const std::string& path) override;
    void messagesMayRun() override;

  private:
    Run run_;
    CommandWatcher* next_;
    std::vector<LaterInput> pending_;
    int depth_ = 0;
    int moments_ = 0;
};

// The file dialogs of a replay: each answer comes from the replay's own line
// ("menu Savegame PATH"), never from the player. A set the replay saves is
// written to `scratch` and read from there when the replay loads it again;
// any other set must exist where the replay names it.
class ReplayDialogs : public Dialogs {
  public:
    ReplayDialogs(Dialogs& inner, std::string scratch)
        : inner_(inner), scratch_(std::move(scratch)) {}
    void information(const std::string& text) override { inner_.information(text); }
    std::string openFile(const FileQuestion& q) override;
    std::string saveFile(const FileQuestion& q) override;
    void answerNextFile(const std::string& path) override { answer_ = path; }

  private:
    std::string inScratch(const std::string& path) const;
    Dialogs& inner_;
    std::string scratch_;
    std::string answer_;
    std::set<std::string> saved_;
};

// The clock of a replay: real ticks for the animation, but the times of day
// the recorded battle was reseeded from.
class ReplayClock : public Clock {
  public:
    explicit ReplayClock(Clock* real) : real_(real) {}
    uint32_t ticks() override { return real_ ? real_->ticks() : 0; }
    int msSinceMidnight() override { return times.next(); }
    TimesOfDay times;

  private:
    Clock* real_;
};

// One command of a replay, with what comes before it and during it.
struct ReplayStep {
    int line;
    std::vector<std::string> words;
    std::optional<uint32_t> seed; // "seed N" before it
    std::vector<int> times;       // "time ..." before it (empty: none)
    std::vector<LaterInput> meanwhile;
};

// A replay read whole, as the window plays it.
struct ReplayScript {
    ScenarioId scenario = ScenarioId::Korvath;
    std::string folder; // a player's scenario: its folder (then `scenario` is not used)
    int difficulty = 3;
    uint32_t seed = 0;      // the generator as the battle is created
    std::vector<int> times; // given before the battle is created
    std::vector<ReplayStep> steps;
};

// Reads a replay: one "start", the battle's commands, "seed", "time" and
// "meanwhile" lines. Anything else, a command the battle does not know, bad
// numbers or a click outside the map throw DataError naming the file and line.
ReplayScript readReplay(std::istream& in, const std::string& fileName);

// A new empty folder for a replay's saves, below the system's temporary folder.
std::string makeScratchFolder();

} // namespace korvath
