// Where the battle feed lives, as the player last chose: beside the map, or
// as a page of the information panel (View > Feed in the information panel).
#include "BattleAids.h"
#include "FeedPanel.h"
#include "TPlayingScreen.h"

#include <QAction>

namespace korvath {

void TPlayingScreen::placeFeed() {
    Settings& settings = aids_->settings();
    feed_->placeIn(control("PiecesInfoPanel"), settings.feedInPanel());
    feed_->setOpen(settings.battleFeed());
    QAction* shown = menuEntry("BattleFeed1");
    QAction* inPanel = menuEntry("FeedInPanel1");
    shown->setChecked(settings.battleFeed());
    inPanel->setChecked(settings.feedInPanel());
    connect(shown, &QAction::triggered, this, [this](bool on) {
        feed_->setOpen(on);
        aids_->settings().setBattleFeed(on);
    });
    connect(inPanel, &QAction::triggered, this, [this](bool on) {
        aids_->settings().setFeedInPanel(on);
        feed_->placeIn(control("PiecesInfoPanel"), on);
    });
    // The page's own button turns back to the soldier: the feed is closed.
    feed_->onPageClosed = [this] {
        menuEntry("BattleFeed1")->setChecked(false);
        aids_->settings().setBattleFeed(false);
    };
}

} // namespace korvath
