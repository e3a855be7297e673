#include "MapCanvas.h"

#include "EditorSession.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace korvath {

namespace {

const QColor kRaider(70, 220, 120), kOperative(240, 70, 60), kObjective(255, 170, 60);
const QColor kEvent(70, 220, 255);

} // namespace

MapCanvas::MapCanvas(EditorSession& session, QWidget* parent) : QWidget(parent), session_(session) {
    setObjectName("EditorMap");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setZoom(16); // most of the map in sight; View, Zoom in for the tiles at full size
    connect(&session_, &EditorSession::changed, this, qOverload<>(&QWidget::update));
}

void MapCanvas::setTool(EditorTool t) {
    tool_ = t;
    dragging_ = false;
    setCursor(t == EditorTool::Soldier || t == EditorTool::Objective ||
                      t == EditorTool::Reinforcement
                  ? Qt::PointingHandCursor
                  : Qt::CrossCursor);
    update();
}

void MapCanvas::setZoom(int pixelsPerSquare) {
    zoom_ = std::clamp(pixelsPerSquare, 8, 32);
    setFixedSize(kMapWidth * zoom_, kMapHeight * zoom_);
    update();
}

QRect MapCanvas::squareRect(int x, int y) const {
    return {(x - 1) * zoom_, (y - 1) * zoom_, zoom_, zoom_};
}

QPoint MapCanvas::squareAt(QPoint pixel) const {
    return {std::clamp(pixel.x() / zoom_ + 1, 1, kMapWidth),
            std::clamp(pixel.y() / zoom_ + 1, 1, kMapHeight)};
}

void MapCanvas::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(e->rect(), Qt::black);
    if (!session_.isOpen()) return;
    const MapSquares& map = session_.doc().content().map;
    const QPoint a = squareAt(e->rect().topLeft()), b = squareAt(e->rect().bottomRight());
    p.setRenderHint(QPainter::SmoothPixmapTransform, zoom_ < 32);
    for (int y = a.y(); y <= b.y(); ++y)
        for (int x = a.x(); x <= b.x(); ++x)
            p.drawImage(squareRect(x, y), session_.tile(map[x][y].Glyph));
    paintOverlays(p);
}

void MapCanvas::paintOverlays(QPainter& p) {
    const ScenarioDocument& d = session_.doc();
    const auto soldiers = d.soldiers();
    for (size_t i = 0; i < soldiers.size(); ++i) {
        const PieceRecord& s = soldiers[i];
        if (s.X < 1 || s.Y < 1) continue;
        const QRect r = squareRect(s.X, s.Y);
        p.drawImage(r, session_.soldier(s.Picture));
        p.setPen(QPen(s.Side == Side::Raiders ? kRaider : kOperative,
                      static_cast<int>(i) == soldier_ ? 3 : 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r.adjusted(1, 1, -2, -2));
        if (s.MinDifficulty > 1 && zoom_ >= 16) {
            p.setPen(Qt::white);
            p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignBottom,
                       QString::number(s.MinDifficulty));
        }
    }
    const ScenarioManifest& m = d.content().manifest;
    const QRect obj = squareRect(m.ObjectiveX, m.ObjectiveY);
    p.setPen(QPen(kObjective, 2));
    p.drawRect(obj.adjusted(1, 1, -2, -2));
    p.drawLine(obj.center() - QPoint(zoom_ / 4, 0), obj.center() + QPoint(zoom_ / 4, 0));
    p.drawLine(obj.center() - QPoint(0, zoom_ / 4), obj.center() + QPoint(0, zoom_ / 4));

    if (!event_.isEmpty()) {
        EventContents ev;
        try {
            ev = d.event(event_.toStdString());
        } catch (const std::exception&) {
        }
        p.setPen(QPen(kEvent, 2, Qt::DashLine));
        for (const MapChange& c : ev.changes) {
            const QRect r = squareRect(c.x, c.y);
            p.setOpacity(0.75);
            p.drawImage(r, session_.tile(c.glyph));
            p.setOpacity(1);
            p.drawRect(r.adjusted(1, 1, -2, -2));
        }
        for (size_t i = 0; i < ev.reinforcements.size(); ++i) {
            const PieceRecord& s = ev.reinforcements[i];
            if (s.X < 1 || s.Y < 1 || s.X > kMapWidth || s.Y > kMapHeight) continue;
            const QRect r = squareRect(s.X, s.Y);
            p.setOpacity(0.7);
            p.drawImage(r, session_.soldier(s.Picture));
            p.setOpacity(1);
            p.setPen(QPen(kEvent, static_cast<int>(i) == reinforcement_ ? 3 : 1, Qt::DashLine));
            p.drawEllipse(r.adjusted(1, 1, -2, -2));
        }
    }

    // What a drag would lay, and the square under the mouse.
    p.setPen(QPen(Qt::white, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    if (dragging_ && (tool_ == EditorTool::Rectangle || tool_ == EditorTool::Outline))
        p.drawRect(squareRect(from_.x(), from_.y()).united(squareRect(last_.x(), last_.y())));
    if (dragging_ && tool_ == EditorTool::ForceField) {
        const QPoint to = std::abs(last_.x() - from_.x()) >= std::abs(last_.y() - from_.y())
                              ? QPoint(last_.x(), from_.y())
                              : QPoint(from_.x(), last_.y());
        p.drawRect(squareRect(from_.x(), from_.y()).united(squareRect(to.x(), to.y())));
    }
    if (hover_.x() > 0) {
        p.setPen(QPen(QColor(255, 255, 255, 200), 1));
        p.drawRect(squareRect(hover_.x(), hover_.y()).adjusted(0, 0, -1, -1));
    }
}

void MapCanvas::mousePressEvent(QMouseEvent* e) {
    if (!session_.isOpen()) return;
    const QPoint sq = squareAt(e->position().toPoint());
    if (e->button() == Qt::RightButton) {
        if (tool_ == EditorTool::EventChange) return changeEventSquare(sq, true);
        const int at = session_.doc().soldierAt(sq.x(), sq.y());
        if (tool_ == EditorTool::Soldier && at >= 0) return emit soldierPicked(at);
        glyph_ = session_.doc().content().map[sq.x()][sq.y()].Glyph;
        emit picked(glyph_);
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    from_ = last_ = sq;
    if (tool_ == EditorTool::Paint) session_.beginStroke();
    act(sq, true);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* e) {
    const QPoint sq = squareAt(e->position().toPoint());
    if (sq != hover_) {
        const QPoint was = hover_;
        hover_ = sq;
        if (was.x() > 0) update(squareRect(was.x(), was.y()));
        update(squareRect(sq.x(), sq.y()));
        emit hovered(sq.x(), sq.y());
    }
    if (!dragging_ || sq == last_) return;
    if (tool_ == EditorTool::Paint) {
        // Every square on the way, however fast the mouse went.
        const int steps = std::max(std::abs(sq.x() - last_.x()), std::abs(sq.y() - last_.y()));
        for (int k = 1; k <= steps; ++k)
            act({last_.x() + (sq.x() - last_.x()) * k / steps,
                 last_.y() + (sq.y() - last_.y()) * k / steps},
                false);
    }
    last_ = sq;
    if (tool_ != EditorTool::Paint) update();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    finishDrag(squareAt(e->position().toPoint()));
}

void MapCanvas::leaveEvent(QEvent*) {
    if (hover_.x() > 0) update(squareRect(hover_.x(), hover_.y()));
    hover_ = {-1, -1};
}

void MapCanvas::act(QPoint sq, bool first) {
    const int x = sq.x(), y = sq.y();
    switch (tool_) {
    case EditorTool::Paint:
        session_.edit([&](ScenarioDocument& d) { d.paint(x, y, glyph_); });
        return;
    case EditorTool::Fill:
        if (first) session_.edit([&](ScenarioDocument& d) { d.fill(x, y, glyph_); });
        return;
    case EditorTool::Soldier:
        if (first && soldier_ >= 0)
            session_.edit([&](ScenarioDocument& d) { d.placeSoldier(soldier_, x, y); });
        return;
    case EditorTool::Objective:
        if (first) session_.edit([&](ScenarioDocument& d) { d.setObjective(x, y); });
        return;
    case EditorTool::EventChange:
        if (first) changeEventSquare(sq, false);
        return;
    case EditorTool::Reinforcement:
        if (!first || event_.isEmpty() || reinforcement_ < 0) return;
        session_.edit([&](ScenarioDocument& d) {
            EventContents ev = d.event(event_.toStdString());
            if (reinforcement_ >= static_cast<int>(ev.reinforcements.size())) return;
            ev.reinforcements[reinforcement_].X = x;
            ev.reinforcements[reinforcement_].Y = y;
            d.setEvent(event_.toStdString(), ev);
        });
        return;
    default:
        return; // the rectangles and the field are laid on release
    }
}

void MapCanvas::finishDrag(QPoint to) {
    const QPoint f = from_;
    switch (tool_) {
    case EditorTool::Paint:
        session_.endStroke();
        return;
    case EditorTool::Rectangle:
    case EditorTool::Outline: {
        const bool outline = tool_ == EditorTool::Outline;
        session_.edit([&](ScenarioDocument& d) {
            d.rectangle(f.x(), f.y(), to.x(), to.y(), glyph_, outline);
        });
        return;
    }
    case EditorTool::ForceField: {
        const QPoint end = std::abs(to.x() - f.x()) >= std::abs(to.y() - f.y())
                               ? QPoint(to.x(), f.y())
                               : QPoint(f.x(), to.y());
        session_.edit([&](ScenarioDocument& d) { d.forceField(f.x(), f.y(), end.x(), end.y()); });
        return;
    }
    default:
        update();
        return;
    }
}

void MapCanvas::changeEventSquare(QPoint sq, bool remove) {
    if (event_.isEmpty()) return;
    session_.edit([&](ScenarioDocument& d) {
        EventContents ev = d.event(event_.toStdString());
        auto& c = ev.changes;
        c.erase(std::remove_if(c.begin(), c.end(),
                               [&](const MapChange& m) { return m.x == sq.x() && m.y == sq.y(); }),
                c.end());
        if (!remove) c.push_back({sq.x(), sq.y(), glyph_});
        d.setEvent(event_.toStdString(), ev);
    });
}

} // namespace korvath
