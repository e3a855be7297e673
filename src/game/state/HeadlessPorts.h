#pragma once
#include "game/state/Battle.h"
#include "game/state/Ports.h"

#include <deque>
#include <string>
#include <vector>

namespace korvath {

// Ports for playing without a window: beats pass at once while the tick
// count still advances by them, sounds and message boxes are recorded, file
// dialogs answer from a queue.
class HeadlessPorts : public Clock, public Sound, public Dialogs, public Presenter {
  public:
    uint32_t ticks() override { return ticks_; }
    // The times given in order, one per question; the last stays.
    int msSinceMidnight() override {
        if (!times_.empty()) {
            timeOfDay_ = times_.front();
            times_.pop_front();
        }
        return timeOfDay_;
    }
    void beat(Beat beat) override { ticks_ += static_cast<uint32_t>(timingOf(beat).ms); }
    void repaint() override {}
    void letMessagesRun() override {}
    void play(const std::string& name) override { sounds.push_back(name); }
    void information(const std::string& text) override { messages.push_back(text); }
    std::string openFile(const FileQuestion& q) override { return answer(q); }
    std::string saveFile(const FileQuestion& q) override { return answer(q); }
    void answerNextFile(const std::string& path) override {
        fileAnswers.clear();
        if (!path.empty()) fileAnswers.push_back(path);
    }

    // Wires every port of the battle to this object.
    void attach(Battle& b) { b.ports = {this, this, this, this}; }

    void setTimeOfDay(int ms) {
        times_.clear();
        timeOfDay_ = ms;
    }
    // The next questions for the time of day get these answers in turn.
    void setTimesOfDay(const std::vector<int>& ms) { times_.assign(ms.begin(), ms.end()); }
    void advance(uint32_t ms) { ticks_ += ms; }

    std::vector<std::string> sounds;
    std::vector<std::string> messages;
    std::deque<std::string> fileAnswers;
    FileQuestion lastQuestion;

  private:
    std::string answer(const FileQuestion& q) {
        lastQuestion = q;
        if (fileAnswers.empty()) return {};
        std::string a = fileAnswers.front();
        fileAnswers.pop_front();
        return a;
    }
    uint32_t ticks_ = 0;
    int timeOfDay_ = 0;
    std::deque<int> times_;
};

} // namespace korvath
