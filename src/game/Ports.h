#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korvath {

// Everything the rules need from the outside world. The window supplies Qt
// versions; the headless driver and the tests supply instant, recording ones.

class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t ticks() = 0;      // milliseconds since some start
    virtual int msSinceMidnight() = 0; // time of day, for reseeding the generator
    virtual void wait(int ms, bool letMessagesRun) = 0;
    virtual void processMessages() = 0;
};

class Sound {
  public:
    virtual ~Sound() = default;
    virtual void play(const std::string& name) = 0; // never waits
};

struct FileQuestion {
    std::string initialDir;
    std::string filter;                    // "Saved Games|*korvath.map"
    std::string defaultExt;                // "*.map"
    std::vector<std::string> otherFolders; // offered beside the initial folder
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void information(const std::string& text) = 0;
    // The chosen full file name, or "" when cancelled.
    virtual std::string openFile(const FileQuestion& q) = 0;
    virtual std::string saveFile(const FileQuestion& q) = 0;
};

class Refresh {
  public:
    virtual ~Refresh() = default;
    virtual void repaint() = 0; // bring the window up to date with the model now
};

struct Ports {
    Clock* clock = nullptr;
    Sound* sound = nullptr;
    Dialogs* dialogs = nullptr;
    Refresh* refresh = nullptr;
};

} // namespace korvath
