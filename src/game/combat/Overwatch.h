#pragma once
#include "game/state/Battle.h"

namespace korvath {

class FlightGround;

// Watchers of the side of watcherSideSoldier react to `mover`'s step; true
// when at least one of them tried a shot.
bool CheckOverWatch(Battle& b, int watcherSideSoldier, int mover);
void EndOfMoveReaction(Battle& b, int mover);

// What soldier i does when `mover` has stepped, as CheckOverWatch judges it
// for the watching side: the real reaction and a walk worked out ahead both
// ask here, over the ground they stand on.
enum class WatchReply { Nothing, Fires, TooFewPoints, NoClearLine };
struct WatchJudgement {
    WatchReply reply = WatchReply::Nothing;
    double angle = 0;       // his bearing on the mover
    int hitX = 0, hitY = 0; // the square his line meets first
};
WatchJudgement judgeWatcher(const FlightGround& g, int watchSide, int i, int mover);

// The end of a walk: does the nearest Operative `spotter` see the mover, so
// that anybody reacts; and would watcher k then fire at him? The real
// reaction hands in the screen its sight traces are painted on; a walk
// worked out ahead, the points the watcher has spent on its way.
bool endOfMoveSpotted(const FlightGround& g, int spotter, int mover);
bool endOfMoveFires(const FlightGround& g, int k, int mover, Screen* traces = nullptr,
                    int spent = 0);

} // namespace korvath
