#include "FireLanes.h"
#include "HoverTracking.h"
#include "MapLayer.h"

#include "game/commands/WalkQuestions.h"
#include "game/state/Pieces.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace korvath {

namespace {

int cellIndex(int x, int y) {
    return y * (kMapWidth + 1) + x;
}

// A key no battle gives (keyNow gives odd keys, or 0 when nothing is shown):
// the lanes are worked out, or put away, at the next refresh.
constexpr uint64_t kStale = 2;

} // namespace

FireLanes::FireLanes(const Battle& b, QWidget* map)
    : QWidget(map), b_(b), count_((kMapWidth + 1) * (kMapHeight + 1), 0) {
    makeMapLayer(*this, "FireLanes", false);
    map->installEventFilter(this);
    show();
}

void FireLanes::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    key_ = kStale;
    refresh();
}

bool FireLanes::eventFilter(QObject* watched, QEvent* e) {
    if (followHover(watched, parent(), e, hover_)) nameWatchers();
    return false;
}

// Everything the lanes depend on: the soldiers, the squares, who is asking.
uint64_t FireLanes::keyNow() const {
    const BattleState& b = b_;
    if (!on_ || !b.windowOpen || b.GameOver || !b.HumanTurn) return 0;
    uint64_t h = kKeyStart;
    h = mixKey(h, uint64_t(fireLanesSoldier(b)));
    for (const PieceRecord& p : b.Pieces)
        h = mixKey(h, uint64_t(p.X) << 40 | uint64_t(p.Y) << 32 |
                          uint64_t(uint16_t(p.Wounds)) << 16 | uint64_t(uint8_t(p.AP)) << 8 |
                          uint64_t(p.Overwatch) << 1 | (p.Side & 1));
    return mixSquares(h, b) | 1;
}

void FireLanes::refresh() {
    // A walk or a shot under way: the lanes are worked out when it is over.
    if (ruleRunning(b_, Rule::Command)) return;
    const uint64_t key = keyNow();
    if (key == key_) return;
    key_ = key;
    std::vector<ThreatSquare> lanes = key ? fireLanes(b_) : std::vector<ThreatSquare>{};
    auto squareRect = [](Point s) {
        return QRect((s.x - 1) * kSquare, (s.y - 1) * kSquare, kSquare, kSquare);
    };
    QRegion changed;
    for (const ThreatSquare& t : lanes_) changed += squareRect(t.square);
    for (const ThreatSquare& t : lanes) changed += squareRect(t.square);
    std::fill(count_.begin(), count_.end(), 0);
    for (const ThreatSquare& t : lanes)
        count_[cellIndex(t.square.x, t.square.y)] =
            static_cast<uint8_t>(std::min<size_t>(t.watchers.size(), 255));
    lanes_ = std::move(lanes);
    update(changed);
    nameWatchers();
}

void FireLanes::nameWatchers() {
    QString text;
    if (on_ && hover_) {
        const int x = hover_->x() / kSquare + 1, y = hover_->y() / kSquare + 1;
        for (const ThreatSquare& t : lanes_) {
            if (t.square.x != x || t.square.y != y) continue;
            QStringList names;
            for (const int w : t.watchers) names << QString::fromStdString(b_.Pieces[w].Name);
            text = QStringLiteral("Reaction fire here from ") + names.join(QStringLiteral(", "));
        }
    }
    if (text == hoverText_) return;
    hoverText_ = text;
    if (onHoverText) onHoverText(text);
}

void FireLanes::paintEvent(QPaintEvent* e) {
    if (lanes_.empty()) return;
    QPainter p(this);
    const QRect area = e->rect();
    for (const ThreatSquare& t : lanes_) {
        const QRect r((t.square.x - 1) * kSquare, (t.square.y - 1) * kSquare, kSquare, kSquare);
        if (!area.intersects(r)) continue;
        // One watcher a light wash, each more a shade darker.
        const int n = count_[cellIndex(t.square.x, t.square.y)];
        const int alpha = std::min(60 + 40 * (n - 1), 190);
        p.fillRect(r, QColor(235, 40, 30, alpha));
    }
}

} // namespace korvath
