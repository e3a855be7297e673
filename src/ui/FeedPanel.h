#pragma once
#include "game/display/BattleFeed.h"
#include "game/state/Battle.h"

#include <QDockWidget>
#include <QPointer>

#include <functional>

class QListWidget;
class QWidget;

namespace korvath {

// The battle feed beside the map: one line per thing that happened, newest
// last, coloured by the side that acted. A click on a line asks the window to
// look at the square where it happened. The player may have it as a page of
// the information panel instead, laid over the soldier's figures, with a
// button that turns back to them.
class FeedPanel : public QDockWidget {
  public:
    ~FeedPanel() override;
    FeedPanel(const Battle& b, QWidget* parent, std::function<void(Point square)> lookAt);
    // Where the feed lives: beside the map, or as a page of `panel`.
    void placeIn(QWidget* panel, bool asPage);
    bool asPage() const { return !page_.isNull(); }
    // Shown or not, wherever it lives; `open` tells which.
    void setOpen(bool open);
    bool open() const;
    // Told when the page's own button closes it.
    std::function<void()> onPageClosed;
    void happened(const BattleEvent& e);
    // The lines added since the panel was last shown go in.
    void shown();
    const BattleFeed& feed() const { return feed_; }

  private:
    const Battle& b_;
    BattleFeed feed_;
    QListWidget* list_;
    QPointer<QWidget> page_; // the information panel's page, when it lives there
    bool open_ = false;
    std::function<void(Point)> lookAt_;
};

} // namespace korvath
