#include "MapOverlays.h"
#include "HoverTracking.h"
#include "MapLayer.h"

#include "game/combat/Sight.h"
#include "game/commands/WalkQuestions.h"
#include "game/state/Pieces.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace korvath {

namespace {

constexpr int kMarkMs = 1500; // how long a shot's marker stays

QPointF centreOf(const Square& s) {
    return {double(squareCentre(s.x)), double(squareCentre(s.y))};
}

QRect squareRect(int x, int y) {
    return {(x - 1) * kSquare, (y - 1) * kSquare, kSquare, kSquare};
}

// The caption beside a marker: a dark box with the text, inside the map.
QRect captionRect(const QFontMetrics& fm, const QString& text, QPointF at) {
    QRect r = fm.boundingRect(text).adjusted(-4, -2, 4, 2);
    r.moveTopLeft(QPoint(int(at.x()) + 20, int(at.y()) - 28));
    if (r.right() >= kMapPixelsX) r.moveRight(int(at.x()) - 20);
    if (r.top() < 0) r.moveTop(int(at.y()) + 20);
    return r;
}

// With shapes, the text is white beside a bar of the colour: a dark colour
// stays readable on the dark box.
void drawCaption(QPainter& p, const QRect& r, const QString& text, const QColor& colour,
                 bool shapes = false) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 190));
    p.drawRoundedRect(r, 3, 3);
    if (shapes) {
        p.setBrush(colour);
        p.drawRect(QRect(r.left(), r.top() + 2, 3, r.height() - 4));
    }
    p.setPen(shapes ? QColor(Qt::white) : colour);
    p.drawText(r, Qt::AlignCenter, text);
}

// A square's diamond, inset by `inset` pixels.
QPolygonF diamond(const QRectF& sq, double inset) {
    const QPointF c = sq.center();
    const double r = sq.width() / 2 - inset;
    return QPolygonF({c - QPointF(0, r), c + QPointF(r, 0), c + QPointF(0, r), c - QPointF(r, 0)});
}

QString pathCaption(const WalkPreview& w, int ap) {
    return w.affordable ? QStringLiteral("%1 AP").arg(w.cost)
                        : QStringLiteral("%1 AP, has %2").arg(w.cost).arg(ap);
}

QString fireCaption(const BattleState& b, const ShotStop& s) {
    if (s.end == ShotEnd::Soldier) return QString::fromStdString(b.Pieces[s.soldier].Name);
    if (s.end == ShotEnd::Obstacle)
        return QString::fromStdString(b.glyph(b.cellAt(s.x, s.y).Glyph).Description);
    return {};
}

} // namespace

MapOverlays::MapOverlays(const Battle& b, QWidget* map) : QWidget(map), b_(b) {
    makeMapLayer(*this, "MapOverlays", true);
    map->installEventFilter(this);
    markTimer_.setSingleShot(true);
    connect(&markTimer_, &QTimer::timeout, this, [this] {
        if (mark_) update(markArea(*mark_));
        mark_.reset();
    });
    show();
}

void MapOverlays::setLook(const Look& look) {
    if (look == look_) return;
    look_ = look;
    update();
}

void MapOverlays::setSwitches(const Switches& s) {
    switches_ = s;
    pathKey_ = {};
    seenKey_ = 0;
    if (!s.shotOutcome && mark_) {
        update(markArea(*mark_));
        mark_.reset();
    }
    refresh();
}

bool MapOverlays::eventFilter(QObject* watched, QEvent* e) {
    if (followHover(watched, parent(), e, hover_)) refresh();
    return false;
}

void MapOverlays::refresh() {
    costsFor_.reset();
    std::optional<WalkPreview> path = pathNow();
    std::optional<FireLine> fire = fireLineNow();
    std::vector<int> seen = seenNow();
    const QString caption = path ? pathCaption(*path, b_.Pieces[b_.SelectedPiece].AP) : QString();
    const bool pathChanged = path.has_value() != path_.has_value() || caption != pathCaption_ ||
                             (path && (path->path != path_->path || path->cost != path_->cost ||
                                       path->affordable != path_->affordable));
    if (pathChanged) {
        update(pathArea());
        path_ = std::move(path);
        pathCaption_ = caption;
        // What the walk would meet, worked out by the walk's own dry mode.
        forecast_.reset();
        if (path_ && path_->affordable) {
            // The preview just traced this very order: its costs serve again.
            const Square goal = path_->path.front();
            WalkForecast f = costsFor_ == goal ? forecastAt(b_, goal.x, goal.y, pathCosts_)
                                               : forecastAt(b_, goal.x, goal.y);
            if (f.walks) forecast_ = std::move(f);
        }
        const QString line =
            forecast_ ? QString::fromStdString(forecastLine(b_, *forecast_)) : QString();
        if (line != forecastLine_) {
            forecastLine_ = line;
            if (onForecast) onForecast(line);
        }
        update(pathArea());
    }
    if (fire != fire_) {
        update(fireArea());
        fire_ = std::move(fire);
        update(fireArea());
    }
    if (seen != seen_) {
        update(seenArea());
        seen_ = std::move(seen);
        update(seenArea());
    }
}

void MapOverlays::markShot(int x, int y) {
    if (!switches_.shotOutcome || !BattleState::onMap(x, y)) return;
    if (mark_) update(markArea(*mark_));
    mark_ = QPoint(x, y);
    update(markArea(*mark_));
    markTimer_.start(kMarkMs);
}

// ---- what the aids show ----

std::optional<WalkPreview> MapOverlays::pathNow() {
    const BattleState& b = b_;
    // Only where a click would give the walk order; a click on one of his
    // own soldiers selects that one instead.
    const int tx = hover_ ? hover_->x() / kSquare + 1 : 0;
    const int ty = hover_ ? hover_->y() / kSquare + 1 : 0;
    if (!switches_.pathPreview || !hover_ || !b.windowOpen || !b.HumanTurn || !b.MapClicksEnabled ||
        b.deploying || !b.PieceSelected || b.FireMode || b.HandFightMode || b.GameOver ||
        b.SelectedItemSlot != 0 || b.armedShot != ArmedShot::None || !isPiece(b, b.SelectedPiece) ||
        !BattleState::onMap(tx, ty) || livingOfSideOn(b, b.HumanSide, tx, ty)) {
        pathKey_ = {};
        return std::nullopt;
    }
    const PieceRecord& p = b.Pieces[b.SelectedPiece];
    const PathKey key{tx, ty, b.SelectedPiece, p.X, p.Y, p.AP, mixSquares(kKeyStart, b)};
    if (key == pathKey_ && path_) return path_;
    if (key == pathKey_) return std::nullopt;
    pathKey_ = key;
    WalkPreview w = previewWalk(b, b.SelectedPiece, tx, ty, &pathCosts_);
    costsFor_ = Square{tx, ty};
    // "Too far or unreacheable." where the walk finds no way: nothing to show.
    if (!w.reachable) return std::nullopt;
    return w;
}

std::optional<MapOverlays::FireLine> MapOverlays::fireLineNow() const {
    const BattleState& b = b_;
    if (!switches_.lineOfFire || !hover_ || !b.windowOpen || b.armedShot == ArmedShot::None ||
        !b.FireMode || b.HandFightMode || !b.HumanTurn || b.deploying || !b.MapClicksEnabled ||
        !isPiece(b, b.SelectedPiece))
        return std::nullopt;
    const PieceRecord& s = b.Pieces[b.SelectedPiece];
    if (s.Wounds < 1 || !BattleState::onMap(s.X, s.Y)) return std::nullopt;
    const QPoint aim = *hover_;
    FireLine f;
    f.from = {shotStartX(s), shotStartY(s)};
    f.aim = aim;
    f.stop = predictShot(b, b.SelectedPiece, unscatteredDegree(s, aim.x(), aim.y()), f.from.x(),
                         f.from.y());
    f.to = {f.stop.px, f.stop.py};
    f.friendly = f.stop.end == ShotEnd::Soldier && b.Pieces[f.stop.soldier].Side == b.HumanSide;
    f.caption = fireCaption(b, f.stop);
    return f;
}

std::vector<int> MapOverlays::seenNow() {
    const BattleState& b = b_;
    if (!switches_.seenEnemies || !b.windowOpen) {
        seenKey_ = 0;
        return {};
    }
    uint64_t key = mixSquares(kKeyStart, b);
    for (const PieceRecord& p : b.Pieces)
        key = (key ^ (uint64_t(p.X) << 24 | uint64_t(p.Y) << 16 | uint64_t(p.Side) << 8 |
                      uint64_t(p.Wounds > 0))) *
              1099511628211u;
    if (key == seenKey_) return seen_;
    seenKey_ = key;
    std::vector<int> raiders, seen;
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (!p.Name.empty() && p.Side == b.HumanSide && p.Wounds > 0 &&
            BattleState::onMap(p.X, p.Y))
            raiders.push_back(i);
    }
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& o = b.Pieces[i];
        if (o.Name.empty() || o.Side == b.HumanSide || o.Wounds < 1 ||
            !BattleState::onMap(o.X, o.Y))
            continue;
        for (const int r : raiders)
            if (SightReachesSquare(b, r, o.X, o.Y)) {
                seen.push_back(i);
                break;
            }
    }
    return seen;
}

// ---- where they are drawn ----

QRect MapOverlays::pathArea() const {
    if (!path_) return {};
    QRect r;
    for (const Square& s : path_->path) r |= squareRect(s.x, s.y);
    r |= captionRect(fontMetrics(), pathCaption_, centreOf(path_->path.front()));
    if (forecast_)
        for (const auto* shots : {&forecast_->reactions, &forecast_->endOfWalk})
            for (const ForecastShot& s : *shots) {
                const Point w = {b_.Pieces[s.watcher].X, b_.Pieces[s.watcher].Y};
                r |= squareRect(w.x, w.y);
                r |= QRectF(centreOf(Square{w.x, w.y}), centreOf(forecast_->stop))
                         .normalized()
                         .toAlignedRect();
                r |= captionRect(fontMetrics(), QString::fromStdString(b_.Pieces[s.watcher].Name),
                                 centreOf(Square{w.x, w.y}));
            }
    const int m = 4 * look_.markerScale;
    return r.adjusted(-m, -m, m, m);
}

QRect MapOverlays::fireArea() const {
    if (!fire_) return {};
    QRect r = QRectF(fire_->from, fire_->to).normalized().toAlignedRect();
    r |= QRect(fire_->aim.toPoint(), QSize(1, 1));
    r |= squareRect(fire_->stop.x, fire_->stop.y);
    r |= captionRect(fontMetrics(), fire_->caption, fire_->to);
    const int m = 10 * look_.markerScale;
    return r.adjusted(-m, -m, m, m);
}

QRect MapOverlays::seenArea() const {
    QRect r;
    for (const int i : seen_) r |= squareRect(b_.Pieces[i].X, b_.Pieces[i].Y);
    const int m = 2 * look_.markerScale;
    return r.adjusted(-m, -m, m, m);
}

QRect MapOverlays::markArea(QPoint square) const {
    const int m = 12 + 22 * (look_.markerScale - 1);
    return squareRect(square.x(), square.y()).adjusted(-m, -m, m, m);
}

// ---- painting ----

void MapOverlays::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.setClipRect(e->rect());
    p.setRenderHint(QPainter::Antialiasing);
    if (!seen_.empty() && e->rect().intersects(seenArea())) paintSeen(p);
    if (path_ && e->rect().intersects(pathArea())) paintPath(p);
    if (fire_ && e->rect().intersects(fireArea())) paintFireLine(p);
    if (mark_) paintMark(p);
}

void MapOverlays::paintPath(QPainter& p) const {
    const Palette& c = look_.palette();
    const double m = look_.markerScale;
    const WalkPreview& w = *path_;
    const QColor colour = w.affordable ? c.walkAffordable : c.walkTooDear;
    QPainterPath line;
    line.moveTo(centreOf(w.path.back()));
    for (auto s = w.path.rbegin() + 1; s != w.path.rend(); ++s) line.lineTo(centreOf(*s));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 160), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    // A walk too dear is also dashed where shapes speak.
    const Qt::PenStyle style = c.shapes && !w.affordable ? Qt::DashLine : Qt::SolidLine;
    p.setPen(QPen(colour, 3, style, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);
    p.setBrush(colour);
    p.setPen(QPen(Qt::black, 1));
    for (size_t k = 1; k + 1 < w.path.size(); ++k)
        p.drawEllipse(centreOf(w.path[k]), 3.5 * m, 3.5 * m);
    const Square& goal = w.path.front();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2 * m));
    p.drawRect(squareRect(goal.x, goal.y).adjusted(2, 2, -2, -2));
    drawCaption(p, captionRect(p.fontMetrics(), pathCaption_, centreOf(goal)), pathCaption_, colour,
                c.shapes);
    if (forecast_) paintForecast(p);
}

// Past the stop the path is dimmed; the stop square is marked, and a line
// runs from each watcher who fires to the walker.
void MapOverlays::paintForecast(QPainter& p) const {
    const Palette& c = look_.palette();
    const double m = look_.markerScale;
    const WalkForecast& f = *forecast_;
    const size_t taken = static_cast<size_t>(f.steps);
    if (taken < f.path.size()) {
        QPainterPath rest;
        rest.moveTo(centreOf(taken == 0 ? path_->path.back() : f.path[taken - 1]));
        for (size_t k = taken; k < f.path.size(); ++k) rest.lineTo(centreOf(f.path[k]));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c.walkDimmed, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(rest);
    }
    const bool underFire = !f.reactions.empty() || !f.endOfWalk.empty();
    const QColor mark = underFire ? c.walkUnderFire : c.walkAffordable;
    const QPointF stop = centreOf(f.stop);
    p.setBrush(Qt::NoBrush);
    // Where shapes speak, a stop under fire is a diamond, a safe one a ring.
    const auto drawStop = [&] {
        if (c.shapes && underFire)
            p.drawPolygon(diamond(squareRect(f.stop.x, f.stop.y), 1));
        else
            p.drawEllipse(stop, 11, 11);
    };
    p.setPen(QPen(Qt::black, 2 + 3 * m));
    drawStop();
    p.setPen(QPen(mark, 3 * m));
    drawStop();
    for (const auto* shots : {&f.reactions, &f.endOfWalk})
        for (const ForecastShot& s : *shots) {
            const PieceRecord& w = b_.Pieces[s.watcher];
            const QPointF from = centreOf(Square{w.X, w.Y});
            p.setPen(QPen(QColor(0, 0, 0, 170), 4, Qt::DashLine));
            p.drawLine(from, stop);
            p.setPen(QPen(c.walkUnderFire, 2, Qt::DashLine));
            p.drawLine(from, stop);
            QString caption = QString::fromStdString(w.Name);
            if (s.odds.known && s.loaded)
                caption += QStringLiteral(" %1%").arg(qRound(s.odds.hit * 100));
            drawCaption(p, captionRect(p.fontMetrics(), caption, from), caption, c.walkUnderFire,
                        c.shapes);
        }
}

void MapOverlays::paintFireLine(QPainter& p) const {
    const Palette& c = look_.palette();
    const double m = look_.markerScale;
    const FireLine& f = *fire_;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 150), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(f.from, f.to);
    p.setPen(QPen(c.fireLine, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(f.from, f.to);
    // Where the mouse points beyond the stop: the rest of the line, faint.
    const double toAim = QLineF(f.from, f.aim).length(), toStop = QLineF(f.from, f.to).length();
    if (toAim > toStop + 4) {
        QColor faint = c.fireLine;
        faint.setAlpha(110);
        p.setPen(QPen(faint, 1, Qt::DashLine));
        p.drawLine(f.to, f.aim);
    }
    if (f.stop.end != ShotEnd::Soldier && f.stop.end != ShotEnd::Obstacle) {
        p.setPen(QPen(c.fireLine, 2 * m));
        p.drawEllipse(f.to, 5 * m, 5 * m);
        return;
    }
    const QColor colour = f.friendly                       ? c.friendInTheWay
                          : f.stop.end == ShotEnd::Soldier ? c.enemyInTheWay
                                                           : c.obstacle;
    const QRect sq = squareRect(f.stop.x, f.stop.y).adjusted(1, 1, -1, -1);
    p.setPen(QPen(colour, 3 * m));
    if (c.shapes && !f.friendly) {
        // An enemy is ringed, an obstacle a diamond; only a friend is crossed.
        if (f.stop.end == ShotEnd::Soldier)
            p.drawEllipse(QRectF(sq).adjusted(1, 1, -1, -1));
        else
            p.drawPolygon(diamond(sq, 0));
    } else {
        p.drawRect(sq);
        p.drawLine(sq.topLeft() + QPoint(6, 6), sq.bottomRight() - QPoint(6, 6));
        p.drawLine(sq.topRight() + QPoint(-6, 6), sq.bottomLeft() + QPoint(6, -6));
    }
    if (!f.caption.isEmpty())
        drawCaption(p, captionRect(p.fontMetrics(), f.caption, f.to), f.caption, colour, c.shapes);
}

void MapOverlays::paintSeen(QPainter& p) const {
    const double m = look_.markerScale;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look_.palette().seenEnemy, m));
    for (const int i : seen_)
        p.drawRect(QRectF(squareRect(b_.Pieces[i].X, b_.Pieces[i].Y))
                       .adjusted(m / 2, m / 2, -m / 2, -m / 2));
}

void MapOverlays::paintMark(QPainter& p) const {
    const double m = look_.markerScale;
    const QRectF sq = squareRect(mark_->x(), mark_->y());
    const double ring = 17 * m, in = 10 * m, out = 22 * m;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 170), 3 + 2 * m));
    p.drawEllipse(sq.center(), ring, ring);
    p.setPen(QPen(look_.palette().shotMark, 2 * m));
    p.drawEllipse(sq.center(), ring, ring);
    p.drawLine(sq.center() - QPointF(out, 0), sq.center() - QPointF(in, 0));
    p.drawLine(sq.center() + QPointF(in, 0), sq.center() + QPointF(out, 0));
    p.drawLine(sq.center() - QPointF(0, out), sq.center() - QPointF(0, in));
    p.drawLine(sq.center() + QPointF(0, in), sq.center() + QPointF(0, out));
}

} // namespace korvath
