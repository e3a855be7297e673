#pragma once
#include "game/state/Battle.h"
#include "game/state/Ports.h"

#include <deque>
#include <string>
#include <vector>

namespace korvath {

// Times of day given beforehand, as a script or a replay gives them: one time
// answers every question; several answer the next questions in turn, and the
// last of them stays.
class TimesOfDay {
  public:
    void set(const std::vector<int>& ms) {
        queue_.assign(ms.begin(), ms.end());
        if (queue_.size() == 1) now_ = next();
    }
    int next() {
        if (!queue_.empty()) {
            now_ = queue_.front();
            queue_.pop_front();
        }
        return now_;
    }

  private:
    std::deque<int> queue_;
    int now_ = 0;
};

// Ports for playing without a window: beats pass at once while the tick
// count still advances by them, sounds and message boxes are recorded, file
// dialogs answer from a queue.
class HeadlessPorts : public Clock, public Sound, public Dialogs, public Presenter {
  public:
    uint32_t ticks() override { return ticks_; }
    int msSinceMidnight() override { return times.next(); }
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

    void advance(uint32_t ms) { ticks_ += ms; }

    TimesOfDay times;
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
};

} // namespace korvath
