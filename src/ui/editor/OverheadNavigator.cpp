#include "OverheadNavigator.h"

#include "EditorSession.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace korvath {

namespace {
constexpr int kDot = 3;
}

OverheadNavigator::OverheadNavigator(EditorSession& session, QScrollArea& view, QWidget* parent)
    : QWidget(parent), session_(session), view_(view) {
    setObjectName("EditorOverhead");
    setFixedSize(kMapWidth * kDot, kMapHeight * kDot);
    setCursor(Qt::PointingHandCursor);
    connect(&session_, &EditorSession::changed, this, qOverload<>(&QWidget::update));
    for (QScrollBar* bar : {view_.horizontalScrollBar(), view_.verticalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
        connect(bar, &QScrollBar::rangeChanged, this, qOverload<>(&QWidget::update));
    }
}

void OverheadNavigator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (!session_.isOpen()) return;
    const MapSquares& map = session_.doc().content().map;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y)
            p.fillRect((x - 1) * kDot, (y - 1) * kDot, kDot, kDot,
                       QColor(session_.tileColour(map[x][y].Glyph)));
    for (const PieceRecord& s : session_.doc().soldiers())
        if (s.X > 0 && s.Y > 0)
            p.fillRect((s.X - 1) * kDot, (s.Y - 1) * kDot, kDot, kDot,
                       s.Side == Side::Raiders ? QColor(70, 220, 120) : QColor(240, 70, 60));
    const QWidget* big = view_.widget();
    if (!big || big->width() == 0) return;
    const double scale = double(width()) / big->width();
    const QRect seen(view_.horizontalScrollBar()->value(), view_.verticalScrollBar()->value(),
                     view_.viewport()->width(), view_.viewport()->height());
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.drawRect(QRectF(seen.x() * scale, seen.y() * scale, seen.width() * scale - 1,
                      seen.height() * scale - 1));
}

void OverheadNavigator::centreOn(QPoint pixel) {
    const QWidget* map = view_.widget();
    if (!map) return;
    const double scale = double(map->width()) / width();
    view_.horizontalScrollBar()->setValue(int(pixel.x() * scale) - view_.viewport()->width() / 2);
    view_.verticalScrollBar()->setValue(int(pixel.y() * scale) - view_.viewport()->height() / 2);
}

void OverheadNavigator::mousePressEvent(QMouseEvent* e) {
    centreOn(e->position().toPoint());
}

void OverheadNavigator::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) centreOn(e->position().toPoint());
}

} // namespace korvath
