#pragma once
#include "game/display/BattleFeed.h"
#include "game/state/Battle.h"

#include <QDockWidget>

#include <functional>

class QListWidget;

namespace korvath {

// The battle feed beside the map: one line per thing that happened, newest
// last, coloured by the side that acted. A click on a line asks the window to
// look at the square where it happened.
class FeedPanel : public QDockWidget {
  public:
    FeedPanel(const Battle& b, QWidget* parent, std::function<void(Point square)> lookAt);
    void happened(const BattleEvent& e);
    // The lines added since the panel was last shown go in.
    void shown();
    const BattleFeed& feed() const { return feed_; }

  private:
    const Battle& b_;
    BattleFeed feed_;
    QListWidget* list_;
    std::function<void(Point)> lookAt_;
};

} // namespace korvath
