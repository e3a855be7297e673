#pragma once
#include "game/commands/ArmedOdds.h"
#include "game/state/Battle.h"
#include "look/Palette.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace korvath {

// The exact odds of the armed shot or blow, at the mouse: a line of text by
// the pointer ("Hit 62% · kill 31%" and the next two outcomes), every square
// where the shot can stop marked as strongly as it is likely (in the normal
// palette friends red, the target green, objects orange; the colour-blind one
// adds shapes), and the whole list as the map's tooltip.
// A transparent child of the map picture, like the other aids; it asks the
// rules' own question (armedOdds), which only reads the battle.
class OddsOverlay : public QWidget {
    Q_OBJECT
  public:
    OddsOverlay(const Battle& b, QWidget* map);
    void setOn(bool on);
    // The colours and the size of the marks.
    void setLook(const Look& look);
    bool on() const { return on_; }
    // The battle may have changed: the odds follow it.
    void refresh();

    // What is shown now: the lines by the pointer, the whole list.
    const QStringList& linesShown() const { return lines_; }
    const QString& listShown() const { return list_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    struct Mark {
        QRect square;
        double p;
        QColor colour;
        enum Kind { Stop, Friend, Target, Enemy } kind;
    };
    void paintShape(class QPainter& p, const Mark& m, const QRectF& sq) const;
    uint64_t keyNow() const;
    void work();
    QRect area() const;

    const Battle& b_;
    bool on_ = true;
    Look look_;
    std::optional<QPoint> hover_;
    uint64_t key_ = 0;
    ArmedOdds odds_;
    QStringList lines_;
    QString list_;
    std::vector<Mark> marks_;
    QRect textBox_;
};

} // namespace korvath
