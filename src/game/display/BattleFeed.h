#pragma once
#include "game/state/BattleEvent.h"
#include "game/state/BattleState.h"

#include <string>
#include <vector>

namespace korvath {

// One line of the battle feed: who did what to whom, in the player's words
// ("Trooper Hask fires at Dax Moreno — hits Trooper Molt, 7 damage"), the
// side that acted (0: the battle itself) and the square where it happened.
struct FeedLine {
    std::string text; // UTF-8
    int side = 0;
    Point square;
};

// The battle feed: the events of the battle turned into lines, newest last.
// A shot is one line from its trigger to its last wound; the game's own
// message log keeps its texts as they are.
class BattleFeed {
  public:
    void happened(const BattleState& b, const BattleEvent& e);
    const std::vector<FeedLine>& lines() const { return lines_; }
    void clear();

  private:
    void add(std::string text, int side, Point square);
    std::string name(const BattleState& b, int soldier) const;

    std::vector<FeedLine> lines_;
    int reactingWatcher_ = 0, reactingTo_ = 0; // a reaction about to fire
    int shotLine_ = -1;                        // the line of the shot under way
    int shooter_ = 0;
};

} // namespace korvath
