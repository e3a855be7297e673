#include "OddsOverlay.h"
#include "HoverTracking.h"
#include "MapLayer.h"

#include "game/state/Pieces.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QToolTip>

namespace korvath {

namespace {

const QColor kText(255, 255, 255);
const QColor kFaint(210, 210, 210);
constexpr int kCursorLines = 3; // the headline and the next two

QRect squareRect(int x, int y) {
    return {(x - 1) * kSquare, (y - 1) * kSquare, kSquare, kSquare};
}

} // namespace

OddsOverlay::OddsOverlay(const Battle& b, QWidget* map) : QWidget(map), b_(b) {
    makeMapLayer(*this, "OddsOverlay", true);
    map->installEventFilter(this);
    show();
}

void OddsOverlay::setLook(const Look& look) {
    if (look == look_) return;
    look_ = look;
    key_ = 0;
    refresh();
    update();
}

void OddsOverlay::setOn(bool on) {
    on_ = on;
    key_ = 0;
    refresh();
}

bool OddsOverlay::eventFilter(QObject* watched, QEvent* e) {
    if (followHover(watched, parent(), e, hover_)) refresh();
    return false;
}

// Everything the odds read, folded into one number: the pointer, the armed
// mode, the soldiers and the squares.
uint64_t OddsOverlay::keyNow() const {
    const BattleState& b = b_;
    if (!on_ || !hover_ || !b.windowOpen || (!b.FireMode && !b.HandFightMode)) return 0;
    uint64_t h = kKeyStart;
    h = mixKey(h, uint64_t(hover_->x()) << 32 | uint32_t(hover_->y()));
    h = mixKey(h, uint64_t(b.SelectedPiece) << 8 | uint64_t(b.FireMode) << 1 | b.HandFightMode);
    h = mixKey(h, uint64_t(b.armedShot) << 3 | uint64_t(b.HumanTurn) << 1 | b.MapClicksEnabled);
    h = mixKey(h, uint64_t(b.deploying) << 1 | b.GameOver);
    for (const PieceRecord& p : b.Pieces)
        h = mixKey(h, uint64_t(p.X) << 40 | uint64_t(p.Y) << 32 |
                          uint64_t(uint16_t(p.Wounds)) << 16 | uint64_t(uint8_t(p.AP)) << 8 |
                          p.Ammo);
    return mixSquares(h, b) | 1;
}

void OddsOverlay::refresh() {
    const uint64_t key = keyNow();
    if (key == key_) return;
    key_ = key;
    update(area());
    odds_ = key ? armedOdds(b_, hover_->x(), hover_->y()) : ArmedOdds{};
    work();
    update(area());
    QWidget* map = parentWidget();
    if (!map) return;
    // A list already shown belongs to the pixel before: it goes, and the
    // new one comes after the usual pause.
    if (QToolTip::isVisible() && QToolTip::text() != list_) QToolTip::hideText();
    map->setToolTip(list_);
}

// The words and the marks of the odds just asked.
void OddsOverlay::work() {
    lines_.clear();
    marks_.clear();
    for (const std::string& l : oddsLines(b_, odds_)) lines_ << QString::fromStdString(l);
    list_ = lines_.join('\n');
    textBox_ = {};
    if (odds_.kind == ArmedOdds::None || !hover_) return;
    const Palette& pal = look_.palette();
    if (odds_.kind == ArmedOdds::Shot) {
        const ShotOdds& o = odds_.shot;
        for (const StopOdds& s : o.obstacles)
            marks_.push_back({squareRect(s.square.x, s.square.y), s.p, pal.oddsObject, Mark::Stop});
        for (const SoldierOdds& s : o.soldiers) {
            if (s.hit <= 0) continue;
            const PieceRecord& p = b_.Pieces[s.soldier];
            if (s.friendly)
                marks_.push_back({squareRect(p.X, p.Y), s.hit, pal.oddsFriend, Mark::Friend});
            else if (s.soldier == o.target)
                marks_.push_back({squareRect(p.X, p.Y), s.hit, pal.oddsTarget, Mark::Target});
            else
                marks_.push_back({squareRect(p.X, p.Y), s.hit, pal.oddsEnemy, Mark::Enemy});
        }
    } else {
        const PieceRecord& p = b_.Pieces[odds_.blow.target];
        marks_.push_back({squareRect(p.X, p.Y), odds_.blow.lands, pal.oddsTarget, Mark::Target});
    }
    // The text sits below and right of the pointer, inside the part of the
    // map the view shows (the whole map when it is not shown at all).
    QRect seen = parentWidget() ? parentWidget()->visibleRegion().boundingRect() : QRect();
    if (seen.isEmpty()) seen = QRect(0, 0, kMapPixelsX, kMapPixelsY);
    const QFontMetrics fm(font());
    int width = 0;
    const int shown = std::min<int>(kCursorLines, lines_.size());
    for (int k = 0; k < shown; ++k) width = std::max(width, fm.horizontalAdvance(lines_[k]));
    textBox_ = QRect(hover_->x() + 18, hover_->y() + 18, width + 10, shown * fm.height() + 6);
    if (textBox_.right() > seen.right()) textBox_.moveRight(hover_->x() - 8);
    if (textBox_.bottom() > seen.bottom()) textBox_.moveBottom(hover_->y() - 8);
}

// The colour-blind marks: a stop square is a diamond, a friend's square is
// crossed, the target's ringed, another enemy's a plain square.
void OddsOverlay::paintShape(QPainter& p, const Mark& m, const QRectF& sq) const {
    const QPointF c = sq.center();
    const double r = sq.width() / 2;
    if (m.kind == Mark::Stop) {
        p.drawPolygon(QPolygonF(
            {c - QPointF(0, r), c + QPointF(r, 0), c + QPointF(0, r), c - QPointF(r, 0)}));
        return;
    }
    p.drawRect(sq);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(m.colour.lighter(130), 2 * look_.markerScale));
    if (m.kind == Mark::Friend) {
        p.drawLine(sq.topLeft() + QPointF(5, 5), sq.bottomRight() - QPointF(5, 5));
        p.drawLine(sq.topRight() + QPointF(-5, 5), sq.bottomLeft() + QPointF(5, -5));
    } else if (m.kind == Mark::Target) {
        p.drawEllipse(c, r - 4, r - 4);
    }
}

QRect OddsOverlay::area() const {
    QRect r = textBox_;
    for (const Mark& m : marks_) r |= m.square;
    return r.adjusted(-3, -3, 3, 3);
}

void OddsOverlay::paintEvent(QPaintEvent* e) {
    if (marks_.empty() && textBox_.isEmpty()) return;
    QPainter p(this);
    p.setClipRect(e->rect());
    p.setRenderHint(QPainter::Antialiasing);
    const bool shapes = look_.palette().shapes;
    const double scale = look_.markerScale;
    for (const Mark& m : marks_) {
        // The fill grows with the chance; a faint one still shows the square.
        QColor fill = m.colour;
        fill.setAlphaF(0.12 + 0.55 * m.p);
        p.setPen(QPen(m.colour, (m.p >= 0.25 ? 2 : 1) * scale));
        p.setBrush(fill);
        const QRectF sq = QRectF(m.square).adjusted(1.5, 1.5, -1.5, -1.5);
        if (!shapes) {
            p.drawRect(sq);
            continue;
        }
        paintShape(p, m, sq);
    }
    if (textBox_.isEmpty()) return;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 200));
    p.drawRoundedRect(textBox_, 4, 4);
    const QFontMetrics fm(font());
    const int shown = std::min<int>(kCursorLines, lines_.size());
    for (int k = 0; k < shown; ++k) {
        p.setPen(k == 0 ? kText : kFaint);
        p.drawText(QRect(textBox_.left() + 5, textBox_.top() + 3 + k * fm.height(),
                         textBox_.width() - 10, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, lines_[k]);
    }
}

} // namespace korvath
