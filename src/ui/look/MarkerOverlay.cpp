#include "MarkerOverlay.h"
#include "../MapLayer.h"

#include "game/display/Display.h"

#include <QPaintEvent>
#include <QPainter>

namespace korvath {

namespace {

bool markedOnMap(const PieceRecord& p) {
    return !p.Name.empty() && p.X != 0 && p.Side > 0 && p.Wounds > 0 &&
           BattleState::onMap(p.X, p.Y);
}

// The badges in a square, its corner at (0, 0). At twice the size each
// covers the game's own marker under it; a wound's badge moves down when
// an overwatch badge takes the corner.
struct Badges {
    QRectF overwatch, wound, healer;
};
Badges badgesAt(int scale, bool overwatch) {
    if (scale == 1) return {QRectF(1, 1, 4, 4), QRectF(1, 6, 4, 4), QRectF(23, 3, 6, 6)};
    return {QRectF(0.5, 0.5, 11, 11), QRectF(0.5, overwatch ? 12.5 : 4.5, 11, 11),
            QRectF(18, 2, 11, 11)};
}

void paintHealer(QPainter& p, const Palette& c, const QRectF& r, int scale) {
    p.setPen(scale > 1 ? QPen(Qt::black, 1) : Qt::NoPen);
    p.setBrush(c.healerBack);
    p.drawRect(r);
    // The colour-blind cross is a little bolder; at twice the size its arms
    // stop short of the badge's edge, so that it reads as a cross.
    const double w = c.shapes ? 1.5 * scale + 0.5 : scale;
    const double inset = scale > 1 ? 2 : 0;
    const QPointF mid = r.center();
    p.setPen(Qt::NoPen);
    p.setBrush(c.healerCross);
    p.drawRect(QRectF(mid.x() - w / 2, r.top() + inset, w, r.height() - 2 * inset));
    p.drawRect(QRectF(r.left() + inset, mid.y() - w / 2, r.width() - 2 * inset, w));
}

} // namespace

MarkerOverlay::MarkerOverlay(const Battle& b, QWidget* map) : QWidget(map), b_(b) {
    makeMapLayer(*this, "MarkerOverlay", false);
    show();
}

bool MarkerOverlay::drawing() const {
    return look_.colours != PaletteChoice::Normal || look_.markerScale > 1;
}

void MarkerOverlay::setLook(const Look& look) {
    if (look == look_) return;
    look_ = look;
    key_ = 0;
    update();
    refresh();
}

// Where the soldiers stand and which markers they carry, in one number.
uint64_t MarkerOverlay::keyNow() const {
    const BattleState& b = b_;
    if (!drawing() || !b.windowOpen) return 0;
    uint64_t h = kKeyStart;
    h = mixKey(h, uint64_t(b.PieceSelected) << 16 | uint64_t(b.SelectedPiece));
    for (const PieceRecord& p : b.Pieces) {
        if (!markedOnMap(p)) continue;
        const SoldierMarkers m = markersShown(b, p);
        h = mixKey(h, uint64_t(p.X) << 24 | uint64_t(p.Y) << 16 | uint64_t(m.overwatch) << 2 |
                          uint64_t(m.wounded) << 1 | m.healer);
    }
    return h | 1;
}

void MarkerOverlay::refresh() {
    const uint64_t key = keyNow();
    if (key == key_) return;
    key_ = key;
    update();
}

void MarkerOverlay::paintEvent(QPaintEvent* e) {
    if (!drawing() || !b_.windowOpen) return;
    const BattleState& b = b_;
    const Palette& c = look_.palette();
    const int scale = look_.markerScale;
    QPainter p(this);
    p.setClipRect(e->rect());
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& s = b.Pieces[i];
        if (!markedOnMap(s)) continue;
        const QPointF corner((s.X - 1) * kSquare, (s.Y - 1) * kSquare);
        if (!e->rect().intersects(QRect(corner.toPoint(), QSize(kSquare, kSquare)))) continue;
        const SoldierMarkers m = markersShown(b, s);
        if (!m.overwatch && !m.wounded && !m.healer) continue;
        const Badges at = badgesAt(scale, m.overwatch);
        p.setRenderHint(QPainter::Antialiasing, scale > 1);
        // The overwatch marker is white in both palettes: at its own size
        // the game's one stays.
        if (m.overwatch && scale > 1) {
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(c.overwatchMarker);
            p.drawEllipse(at.overwatch.translated(corner));
            if (c.shapes) {
                p.setBrush(Qt::black);
                p.drawEllipse(at.overwatch.translated(corner).center(), 1.5, 1.5);
            }
        }
        if (m.wounded) {
            // Round in the game's colours, square where shapes speak (the
            // square also hides the game's round one under it).
            p.setPen(scale > 1 ? QPen(Qt::black, 1) : Qt::NoPen);
            p.setBrush(c.woundMarker);
            const QRectF r = at.wound.translated(corner);
            if (c.shapes)
                p.drawRect(r);
            else
                p.drawEllipse(r);
        }
        if (m.healer) paintHealer(p, c, at.healer.translated(corner), scale);
    }
}

} // namespace korvath
