#pragma once
#include "game/combat/Threats.h"
#include "game/state/Battle.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace korvath {

// The enemy's fire lanes: every open square where the chosen Raider, had he
// stepped there, would draw reaction fire from the Operatives on overwatch
// now, shaded the darker the more of them would fire. Hovering a shaded
// square names the watchers. Worked out again only when the battle has
// changed, and never while a rule is running (a walk under way keeps the
// lanes it started with). A transparent child of the map picture.
class FireLanes : public QWidget {
    Q_OBJECT
  public:
    FireLanes(const Battle& b, QWidget* map);
    void setOn(bool on);
    bool on() const { return on_; }
    void refresh();

    // The watchers of the square under the pointer, in words ("" when none).
    const QString& hoverText() const { return hoverText_; }
    std::function<void(const QString&)> onHoverText;
    const std::vector<ThreatSquare>& lanesShown() const { return lanes_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    uint64_t keyNow() const;
    void nameWatchers();

    const Battle& b_;
    bool on_ = false;
    uint64_t key_ = 0;
    std::optional<QPoint> hover_;
    std::vector<ThreatSquare> lanes_;
    std::vector<uint8_t> count_; // watchers per square, row by row
    QString hoverText_;
};

} // namespace korvath
