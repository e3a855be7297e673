#include "HealHover.h"
#include "HoverTracking.h"

#include "game/commands/ArmedKit.h"

#include <QStatusBar>
#include <QWidget>

namespace korvath {

HealHover::HealHover(const Battle& b, QWidget* map, QStatusBar* status)
    : QObject(map), b_(b), status_(status) {
    setObjectName("HealHover");
    map->installEventFilter(this);
}

bool HealHover::eventFilter(QObject* watched, QEvent* e) {
    if (followHover(watched, parent(), e, hover_)) refresh();
    return false;
}

void HealHover::refresh() {
    QString line;
    if (hover_ && b_.windowOpen)
        line =
            QString::fromStdString(describeArmedKit(b_, armedKitAt(b_, hover_->x(), hover_->y())));
    if (line == told_) return;
    // Only its own words are taken down: the bar may say something else by now.
    if (line.isEmpty() && status_ && status_->currentMessage() == told_) status_->clearMessage();
    told_ = line;
    if (!line.isEmpty() && status_) status_->showMessage(line);
}

} // namespace korvath
