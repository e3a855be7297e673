#pragma once
#include "game/state/Battle.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

namespace korvath {

// The computer's shots made plain: while the computer plays, each shot shows
// a line from the shooter to where it stopped, until the pause after the
// shot is over. When the shooter stands outside the view and his target, a
// Raider, inside it, an arrow at the view's edge points the way to him, with
// his name. Drawn over the screen copy, never into it, from the battle's
// events; the view itself moves only as the rules move it.
class ShotLines : public QWidget {
    Q_OBJECT
  public:
    struct Line {
        int shooter = 0;
        QPoint from, to; // map pixels
        bool arrow = false;
        QPointF arrowAt;  // on the view's edge
        double angle = 0; // from the arrow towards the shooter, radians
        QString name;
    };

    ShotLines(const Battle& b, QWidget* map);
    void happened(const BattleEvent& e);
    // The window held a beat: the line goes after the pause of a computer shot.
    void beatPassed(Beat beat);
    // The view may have moved: the arrow follows its edge.
    void refresh();
    const std::optional<Line>& lineShown() const { return line_; }

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    void place(Line& l) const;
    QRect area() const;
    void clear();

    const Battle& b_;
    std::optional<ShotFired> fired_; // the computer's shot under way
    std::optional<Line> line_;
};

} // namespace korvath
