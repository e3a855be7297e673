#pragma once
#include "game/combat/ShotPath.h"
#include "game/state/Battle.h"
#include "game/turns/Movement.h"
#include "game/turns/WalkForecast.h"
#include "look/Palette.h"

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace korvath {

// The tactical aids drawn over the battlefield. A transparent child of the map
// picture, as large as it, that paints on top of the screen copy and never
// into it; it only reads the battle, and draws nothing from its generator.
// The mouse is followed through the map picture's own events.
class MapOverlays : public QWidget {
    Q_OBJECT
  public:
    struct Switches {
        bool pathPreview = true, lineOfFire = true, shotOutcome = true, seenEnemies = false;
    };
    // The line of fire of the armed shot: from the shooter's middle to where
    // the shot would stop, and the pixel the mouse is on.
    struct FireLine {
        QPointF from, to, aim;
        ShotStop stop;
        bool friendly = false; // one of the player's own soldiers is in the way
        QString caption;       // what stops it
        bool operator==(const FireLine& o) const {
            return from == o.from && to == o.to && aim == o.aim && stop.end == o.stop.end &&
                   stop.x == o.stop.x && stop.y == o.stop.y && friendly == o.friendly &&
                   caption == o.caption;
        }
    };

    MapOverlays(const Battle& b, QWidget* map);
    void setSwitches(const Switches& s);
    const Switches& switches() const { return switches_; }
    // The colours and the size of the marks.
    void setLook(const Look& look);

    // The battle may have changed (a command ran, an animation moved on): the
    // aids follow it. Cheap when nothing they show has changed.
    void refresh();
    // A shot stopped on square (x, y): its marker shows for a moment.
    void markShot(int x, int y);

    // What is drawn now.
    const std::optional<WalkPreview>& pathShown() const { return path_; }
    const std::optional<WalkForecast>& forecastShown() const { return forecast_; }
    // Told the forecast's line whenever it changes (empty: no walk hovered).
    std::function<void(const QString&)> onForecast;
    const std::optional<FireLine>& fireLineShown() const { return fire_; }
    const std::vector<int>& seenShown() const { return seen_; }
    std::optional<QPoint> shotMarkShown() const { return mark_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    std::optional<WalkPreview> pathNow();
    std::optional<FireLine> fireLineNow() const;
    std::vector<int> seenNow();
    QRect pathArea() const;
    QRect fireArea() const;
    QRect seenArea() const;
    QRect markArea(QPoint square) const;
    void paintPath(class QPainter& p) const;
    void paintForecast(QPainter& p) const;
    void paintFireLine(QPainter& p) const;
    void paintSeen(QPainter& p) const;
    void paintMark(QPainter& p) const;

    const Battle& b_;
    Switches switches_;
    Look look_;
    std::optional<QPoint> hover_; // the map pixel under the mouse
    std::optional<WalkPreview> path_;
    QString pathCaption_;
    std::optional<WalkForecast> forecast_;
    QString forecastLine_;
    std::optional<FireLine> fire_;
    std::vector<int> seen_;
    std::optional<QPoint> mark_;
    QTimer markTimer_;
    // What the path and the seen markers were last worked out from.
    struct PathKey {
        int x = 0, y = 0, piece = 0, fromX = 0, fromY = 0, ap = 0;
        uint64_t map = 0;
        bool operator==(const PathKey&) const = default;
    } pathKey_;
    uint64_t seenKey_ = 0;
    // The walking costs the preview traced in this refresh, and its goal.
    PathCostGrid pathCosts_;
    std::optional<Square> costsFor_;
};

} // namespace korvath
