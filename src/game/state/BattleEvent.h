#pragma once
#include "engine/Raster.h"

#include <string>
#include <variant>
#include <vector>

// What happened in the battle, as the rules tell it: each rule says what it
// did, at the moment it did it, and the presenter, the status bar, the
// summary and the headless driver make of it what they show. Soldiers are
// table indices (0: none), squares are 1-based, pixels are map pixels.
// Nothing here is saved or written to a replay.
namespace korvath {

// Who pulled the trigger, and why.
enum class ShotKind { Aimed, Quick, Computer, Reaction };

// How a shot's flight ended.
enum class ShotEnd { None, Obstacle, Soldier, Spent, OffMap };

// What a toughness roll did to a hit; a flame's burn has none.
enum class Toughness { None, Whole, Halved, Cancelled };

// What took the wounds.
enum class Harm { Shot, Flames, Blow };

struct ShotFired {
    int shooter = 0;
    ShotKind kind = ShotKind::Aimed;
    Point start;    // the pixel it leaves from
    int degree = 0; // the whole degree it flies in
    bool strayed = false;
    int stray = 0;  // degrees turned off the aim when it strayed, -9..9
    int target = 0; // the soldier aimed at, where there is one
};

// A segment of the shot's trace has been drawn on the terrain picture;
// `shown` when it is to be shown on the screen copy.
// The animation's own moment: the headless list leaves it out.
struct ShotSegment {
    int shooter = 0;
    Point from;          // where the segment began (its truncated pixel)
    double x = 0, y = 0; // the projectile's point now, where it ends
    bool shown = true;
};

struct ShotStopped {
    int shooter = 0;
    ShotEnd end = ShotEnd::None;
    Point pixel;      // where the flight stood when it stopped
    Point square;     // and its square
    int soldier = 0;  // the soldier struck
    std::string what; // the object's description, or the soldier's name
    Point segment;    // where the trace segment under way began
};

// The shot is over and its last trace segment erased; `shown` when that
// segment's area is to be shown again on the screen copy. The animation's
// own moment, left out of the headless list.
struct ShotEnded {
    int shooter = 0;
    Point segment;
    bool shown = true;
};

struct DamageDone {
    int by = 0; // the shooter or attacker
    int target = 0;
    Harm harm = Harm::Shot;
    int rolled = 0;
    Toughness toughness = Toughness::None;
    int done = 0;       // what the wounds lose
    int woundsLeft = 0; // after it
};

struct SoldierDied {
    int soldier = 0;
    int by = 0;
    Harm harm = Harm::Shot;
    Point square;
};

struct ObjectDestroyed {
    Point square;
    int glyphBefore = 0, glyphAfter = 0;
};

struct ForceFieldDown {
    Point generator; // the square that was hit
    int squares = 0; // field squares switched off
};

struct ScenarioEventRun {
    std::string name;
    int mapChanges = 0;     // squares whose glyph changed
    int reinforcements = 0; // soldiers who arrived
};

// A watcher on overwatch reacts to a walker: during the walk (announced) or
// at its end (silently).
struct ReactionShot {
    int watcher = 0;
    int walker = 0;
    bool endOfWalk = false;
};

struct Blow {
    int attacker = 0;
    int target = 0;
    bool landed = false;
    bool parried = false;
    int damage = 0;
};

struct Heal {
    int healer = 0;
    int patient = 0;
    int restored = 0; // wounds
    int ap = 0;       // the healer's action points it took
};

struct WalkStep {
    int soldier = 0;
    Point from, to; // squares
    int ap = 0;
};

struct TurnBegins {
    int turn = 0;
    int side = 0;
};

using BattleEvent = std::variant<ShotFired, ShotSegment, ShotStopped, ShotEnded, DamageDone,
                                 SoldierDied, ObjectDestroyed, ForceFieldDown, ScenarioEventRun,
                                 ReactionShot, Blow, Heal, WalkStep, TurnBegins>;

// Moments of the animation rather than of the battle.
inline bool animationOnly(const BattleEvent& e) {
    return std::holds_alternative<ShotSegment>(e) || std::holds_alternative<ShotEnded>(e);
}

// Where the events go: the one port the rules tell them through.
class BattleEventSink {
  public:
    virtual ~BattleEventSink() = default;
    virtual void happened(const BattleEvent& e) = 0;
};

// Keeps every event told, for the headless driver and the tests.
class EventLog : public BattleEventSink {
  public:
    void happened(const BattleEvent& e) override { seen.push_back(e); }
    template <typename E> std::vector<E> all() const {
        std::vector<E> out;
        for (const BattleEvent& e : seen)
            if (const E* x = std::get_if<E>(&e)) out.push_back(*x);
        return out;
    }
    std::vector<BattleEvent> seen;
};

} // namespace korvath
