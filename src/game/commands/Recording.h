#pragma once
#include "game/state/Battle.h"

#include <string>
#include <vector>

// A battle written down as it is played, in the words of the script language:
// given the scenario, the difficulty, the generator's seed, the times of day
// it was reseeded from and every command, the battle plays again exactly.
//
//   replay 1                    a recorded battle (saves go aside, see ReplayFiles)
//   seed 1234                   the generator as the battle began
//   start korvath 3
//   square 10 12                a command
//   time 10:11:12.345 10:11:13.000
//                               the times of day the next command asks for
//   button AimedShot
//   meanwhile 3 button Next     input taken while the command above let the
//                               window handle messages for the third time
namespace korvath {

// The first line of every recorded battle.
inline constexpr const char* kReplayMarker = "replay 1";

// "HH:MM:SS.mmm" for a time of day in milliseconds, and back (-1 when the
// text is no such time).
std::string formatTimeOfDay(int ms);
int parseTimeOfDay(const std::string& text);

// A line's words, without its comment ("# ..."). A word in double quotes may
// hold spaces and #, with \" and \\ for a quote and a backslash; a quote left
// open throws std::invalid_argument.
std::vector<std::string> scriptWords(const std::string& line);
// The word as scriptWords reads it back: quoted when it needs to be.
std::string quotedWord(const std::string& word);

class Recording : public CommandWatcher {
  public:
    // Starts over with a new battle: the one just chosen and created in b.
    void battleBegins(const Battle& b, uint32_t seedBeforeCreating);
    bool empty() const { return header_.empty(); }
    // The whole recording so far, ready to be written to a ".kvs" file.
    std::string script() const;

    void commandBegins(const std::vector<std::string>& words) override;
    void commandEnds(bool changedState) override;
    void timeAsked(int msSinceMidnight) override;
    void fileChosen(const std::string& path) override;
    void messagesMayRun() override;

  private:
    struct Meanwhile {
        int moment;
        std::vector<std::string> words;
    };
    struct Entry {
        std::vector<std::string> words;
        std::vector<int> times; // of the command and of those meanwhile, in order
        std::vector<Meanwhile> meanwhile;
    };
    std::vector<std::string>& wordsNow();

    std::vector<std::string> header_;
    std::vector<Entry> entries_;
    std::vector<int> timesBetween_; // asked outside any command: they go with the next
    std::string appDir_;
    int depth_ = 0;
    int moments_ = 0;        // the waits of the command running now
    bool activated_ = false; // the window's first activation is part of "start"
};

// Writes a recording to path as a whole: a temporary file first, renamed into
// place, so an older replay of that name survives a failed write. Throws
// DataError naming path.
void saveRecording(const std::string& path, const std::string& script);

} // namespace korvath
