#pragma once
#include "game/state/Battle.h"

#include <QObject>

#include <functional>

class QStatusBar;
class QTableWidget;

namespace korvath {

// The equipment grid says what a click will do before it is made: each row's
// tooltip (and the status bar, on hover) tells how the row is used, and once
// a row is armed, what a click on each other row would do, with the rules'
// own numbers. A right-click on a row offers the same actions by name and
// performs them as the grid's own clicks.
class KitHints : public QObject {
  public:
    KitHints(QTableWidget* grid, QStatusBar* status, const Battle& b,
             std::function<void(int row)> clickRow);
    // After every command: the rows' tooltips follow the battle.
    void shown();

  private:
    QString hint(int row) const;
    void offerActions(const QPoint& at);

    QTableWidget* grid_;
    QStatusBar* status_;
    const Battle& b_;
    std::function<void(int)> clickRow_;
    int armedBefore_ = 0; // the row armed when last shown
};

} // namespace korvath
