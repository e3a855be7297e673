#pragma once
#include "Battle.h"
#include "Ports.h"

#include <deque>
#include <string>
#include <vector>

namespace korvath {

// Ports for playing without a window: waits pass at once while the tick
// count still advances by them, sounds and message boxes are recorded, file
// dialogs answer from a queue.
class HeadlessPorts : public Clock, public Sound, public Dialogs, public Refresh {
  public:
    uint32_t ticks() override { return ticks_; }
    int msSinceMidnight() override { return timeOfDay_; }
    void wait(int ms, bool) override { ticks_ += static_cast<uint32_t>(ms > 0 ? ms : 0); }
    void processMessages() override {}
    void play(const std::string& name) override { sounds.push_back(name); }
    void information(const std::string& text) override { messages.push_back(text); }
    std::string openFile(const FileQuestion& q) override { return answer(q); }
    std::string saveFile(const FileQuestion& q) override { return answer(q); }
    void repaint() override {}

    // Wires every port of the battle to this object.
    void attach(Battle& b) { b.ports = {this, this, this, this}; }

    void setTimeOfDay(int ms) { timeOfDay_ = ms; }
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
};

} // namespace korvath
