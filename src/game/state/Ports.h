#pragma once
#include "game/state/BattleEvent.h"

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
    // A box telling of something that went wrong (a file that could not be
    // read or written); shown like any other where no warning sign exists.
    virtual void warning(const std::string& text) { information(text); }
    // The chosen full file name, or "" when cancelled.
    virtual std::string openFile(const FileQuestion& q) = 0;
    virtual std::string saveFile(const FileQuestion& q) = 0;
    // The next file question is answered with path instead of asking the
    // player (a script or a replay gives it); an empty path forgets it.
    virtual void answerNextFile(const std::string& path) { (void)path; }
    // A yes-or-no question put to the player; where nobody can be asked, yes.
    virtual bool confirm(const std::string& question) {
        (void)question;
        return true;
    }
};

// The moments of the game's animation, each held for its own time. A walk
// step, the flight of a shot and the pauses after hits are the game's pacing:
// their lengths are part of how it plays and never change.
enum class Beat {
    WalkStep,         // a soldier's step, either side; input may arrive meanwhile
    PortraitBlink,    // the deployment portrait goes dark for a moment
    EdgeScroll,       // between two scroll steps at the window's edge
    ShotSegment,      // one segment of a shot's trace shows
    HitShown,         // the shot has struck a soldier
    ToughnessShown,   // the shield that halved or stopped the damage shows
    HitFlash,         // one flash of the wounded soldier
    Death,            // a soldier falls; input may arrive meanwhile
    ShieldsShown,     // the shields stay up before they are hidden
    VictoryPause,     // before the fanfare of a won battle
    Fanfare,          // the fanfare plays before the box
    LeavingBattle,    // the last sound before the battle window closes
    WatcherAnnounced, // a watcher has called his reaction shot; input may arrive
    ComputerShot,     // after each shot of a computer soldier
    ComputerStepBack, // after a computer soldier stepped back into cover
};

struct BeatTiming {
    int ms;
    bool letMessagesRun; // clicks and keys are handled while it lasts
};

constexpr BeatTiming timingOf(Beat beat) {
    switch (beat) {
    case Beat::WalkStep:
        return {20, true};
    case Beat::PortraitBlink:
        return {50, true};
    case Beat::EdgeScroll:
        return {30, false};
    case Beat::ShotSegment:
        return {5, false};
    case Beat::HitShown:
        return {300, false};
    case Beat::ToughnessShown:
        return {500, false};
    case Beat::HitFlash:
        return {50, false};
    case Beat::Death:
        return {600, true};
    case Beat::ShieldsShown:
        return {900, false};
    case Beat::VictoryPause:
        return {200, false};
    case Beat::Fanfare:
        return {1000, false};
    case Beat::LeavingBattle:
        return {1200, false};
    case Beat::WatcherAnnounced:
        return {800, true};
    case Beat::ComputerShot:
        return {150, false};
    case Beat::ComputerStepBack:
        return {350, false};
    }
    return {0, false};
}

// Shows the battle as it goes: holds each beat for its time, repaints the
// window now, and lets the window handle what arrived meanwhile.
class Presenter {
  public:
    virtual ~Presenter() = default;
    virtual void beat(Beat beat) = 0;
    virtual void repaint() = 0;
    virtual void letMessagesRun() = 0;
    // The player's turn has begun: after the last soldier is placed, and after
    // each computer turn of a battle that goes on. The window saves the battle
    // then; the rules do nothing with it.
    virtual void playerTurnBegins() {}
};

// Told of everything from outside that steers a battle: the commands, the
// times of day the generator was reseeded from, the files chosen in dialogs,
// and each moment the rules let other input through. A recording writes them
// down; a replay uses the moments to give back input that came meanwhile.
class CommandWatcher {
  public:
    virtual ~CommandWatcher() = default;
    virtual void commandBegins(const std::vector<std::string>& words) = 0;
    // changedState is false for a hover or a scroll that left everything as it was.
    virtual void commandEnds(bool changedState) = 0;
    virtual void timeAsked(int msSinceMidnight) = 0;
    virtual void fileChosen(const std::string& path) = 0;
    virtual void messagesMayRun() = 0;
};

// The stage the rules tell what happened to: the battle's undo history, the
// listeners of the event port and the screen that shows the event hear it
// there, in that order. A rule handed only the state and the ports says what
// happened through it and draws nothing itself.
class EventStage {
  public:
    virtual ~EventStage() = default;
    virtual void tell(const BattleEvent& e) = 0;
};

struct Ports {
    Clock* clock = nullptr;
    Sound* sound = nullptr;
    Dialogs* dialogs = nullptr;
    Presenter* presenter = nullptr;
    CommandWatcher* watcher = nullptr;
    // Told of every battle event as it happens, just before the screen shows
    // it (the window's status bar, the headless driver's list); none: nobody
    // listens.
    BattleEventSink* events = nullptr;
    // Set for a rule that tells its events through the ports (BattleStage).
    EventStage* stage = nullptr;

    void tell(const BattleEvent& e) const {
        if (stage) stage->tell(e);
    }
    void play(const std::string& name) const {
        if (sound) sound->play(name);
    }

    // A warning box over the battle as it stands: the window is brought up
    // to date first, so the player sees what the warning is about.
    void warning(const std::string& text) const {
        if (presenter) presenter->repaint();
        if (dialogs) dialogs->warning(text);
    }
};

} // namespace korvath
