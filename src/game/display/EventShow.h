#pragma once
#include "game/state/Battle.h"

// The rules tell what happened; the screen shows it. Every battle event
// passes through tell(): the listeners of the event port hear of it first,
// then the screen shows what it means, with the animation's beats held for
// the game's own times: the trace of a shot segment by segment on the screen
// copy and the view following the projectile, the area where it stopped,
// the pause after a hit, the toughness shields, the flashes of the wounded,
// the pause of a death, the watcher's announcement. The view and the shields
// are what the window shows of the rule state, so they move here exactly as
// they always did, in both front ends; the summary's shot counts are kept
// here too. Nothing here changes a square, a soldier or the terrain picture.
namespace korvath {

void tell(Battle& b, const BattleEvent& e);

// The battle's own stage for a rule that takes only the state and the ports:
// what the rule tells through ports() goes to tell() above.
class BattleStage final : public EventStage {
  public:
    explicit BattleStage(Battle& b) : b_(b) {}
    void tell(const BattleEvent& e) override { korvath::tell(b_, e); }
    // The battle's ports, with this stage to tell to.
    Ports ports() {
        Ports p = b_.ports;
        p.stage = this;
        return p;
    }

  private:
    Battle& b_;
};

// Shows the terrain picture's area around a trace segment that began at
// pixel `segment` on the screen copy, where the two differ.
void showShotArea(Battle& b, Point segment);

} // namespace korvath
