#include "ShotLines.h"
#include "MapLayer.h"

#include "game/state/Pieces.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace korvath {

namespace {

const QColor kShotColour(255, 120, 90);
constexpr double kEdgeGap = 18; // the arrow's tip stays this far inside the view

QRectF viewRect(const BattleState& b) {
    return QRectF(b.view.right - b.view.width, b.view.bottom - b.view.height, b.view.width,
                  b.view.height);
}

} // namespace

ShotLines::ShotLines(const Battle& b, QWidget* map) : QWidget(map), b_(b) {
    makeMapLayer(*this, "ShotLines", true);
    show();
}

void ShotLines::happened(const BattleEvent& e) {
    if (const auto* f = std::get_if<ShotFired>(&e)) {
        clear();
        // Only the computer's own turn: reaction fire is told by the walk.
        if (!b_.HumanTurn && isPiece(b_, f->shooter)) fired_ = *f;
    } else if (const auto* s = std::get_if<ShotStopped>(&e)) {
        if (!fired_ || fired_->shooter != s->shooter) return;
        Line l;
        l.shooter = s->shooter;
        l.from = QPoint(fired_->start.x, fired_->start.y);
        l.to = QPoint(s->pixel.x, s->pixel.y);
        l.name = QString::fromStdString(b_.Pieces[s->shooter].Name);
        place(l);
        line_ = l;
        update(area());
    } else if (std::holds_alternative<TurnBegins>(e)) {
        clear();
    }
}

void ShotLines::beatPassed(Beat beat) {
    if (beat == Beat::ComputerShot) clear();
}

void ShotLines::clear() {
    fired_.reset();
    if (!line_) return;
    update(area());
    line_.reset();
}

void ShotLines::refresh() {
    if (!line_) return;
    Line l = *line_;
    place(l);
    if (l.arrow == line_->arrow && l.arrowAt == line_->arrowAt) return;
    update(area());
    line_ = l;
    update(area());
}

// Where the line leaves the view, walking from the target out to the shooter.
void ShotLines::place(Line& l) const {
    l.arrow = false;
    if (!fired_) return;
    const QRectF view = viewRect(b_);
    const int t = fired_->target;
    if (!isPiece(b_, t) || b_.Pieces[t].Side != b_.HumanSide) return;
    const QPointF target(squareCentre(b_.Pieces[t].X), squareCentre(b_.Pieces[t].Y));
    const QPointF shooter(l.from);
    if (view.contains(shooter) || !view.contains(target)) return;
    const QRectF inner = view.adjusted(kEdgeGap, kEdgeGap, -kEdgeGap, -kEdgeGap);
    if (inner.isEmpty() || !inner.contains(target)) return;
    const QPointF d = shooter - target;
    double s = 1;
    if (d.x() > 0) s = std::min(s, (inner.right() - target.x()) / d.x());
    if (d.x() < 0) s = std::min(s, (inner.left() - target.x()) / d.x());
    if (d.y() > 0) s = std::min(s, (inner.bottom() - target.y()) / d.y());
    if (d.y() < 0) s = std::min(s, (inner.top() - target.y()) / d.y());
    l.arrow = true;
    l.arrowAt = target + d * s;
    l.angle = std::atan2(d.y(), d.x());
}

QRect ShotLines::area() const {
    if (!line_) return {};
    QRect r = QRect(line_->from, line_->to).normalized().adjusted(-8, -8, 8, 8);
    if (line_->arrow) {
        const QPoint a = line_->arrowAt.toPoint();
        r |= QRect(a, a).adjusted(-260, -48, 260, 48);
    }
    return r;
}

void ShotLines::paintEvent(QPaintEvent*) {
    if (!line_) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Line& l = *line_;
    p.setPen(QPen(QColor(0, 0, 0, 160), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(l.from, l.to);
    p.setPen(QPen(kShotColour, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(l.from, l.to);
    p.setBrush(kShotColour);
    p.drawEllipse(QPointF(l.to), 4, 4);
    if (!l.arrow) return;
    // A dart pointing to the shooter, his name beside it on the view's side.
    QPainterPath dart;
    dart.moveTo(14, 0);
    dart.lineTo(-10, -9);
    dart.lineTo(-4, 0);
    dart.lineTo(-10, 9);
    dart.closeSubpath();
    p.save();
    p.translate(l.arrowAt);
    p.rotate(l.angle * 180 / M_PI);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(kShotColour);
    p.drawPath(dart);
    p.restore();
    const QFontMetrics fm(font());
    QRectF box = QRectF(fm.boundingRect(l.name)).adjusted(-4, -2, 4, 2);
    const QPointF back(-std::cos(l.angle) * 22, -std::sin(l.angle) * 22);
    box.moveCenter(l.arrowAt + back);
    const QRectF view = viewRect(b_);
    box.moveLeft(std::clamp(box.left(), view.left() + 2,
                            std::max(view.left() + 2, view.right() - box.width() - 2)));
    box.moveTop(std::clamp(box.top(), view.top() + 2,
                           std::max(view.top() + 2, view.bottom() - box.height() - 2)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 190));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(kShotColour);
    p.drawText(box, Qt::AlignCenter, l.name);
}

} // namespace korvath
