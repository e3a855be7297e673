#pragma once
#include "game/state/Battle.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <optional>

class QStatusBar;

namespace korvath {

// With a row of the equipment grid armed, the pointer over the map says in
// the status bar what a click there would do: "Heal Kira Sol: +4 wounds, 5 AP
// (his turn and yours end)", or why it would not ("Kira Sol is not wounded"),
// or that with this kit the click does nothing or only puts it back. It asks
// the click's own plan (armedKitAt), which only reads the battle.
class HealHover : public QObject {
    Q_OBJECT
  public:
    HealHover(const Battle& b, QWidget* map, QStatusBar* status);
    // The battle may have changed: the words follow it.
    void refresh();
    // What it says now, empty when nothing.
    const QString& told() const { return told_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    const Battle& b_;
    QStatusBar* status_;
    std::optional<QPoint> hover_;
    QString told_;
};

} // namespace korvath
