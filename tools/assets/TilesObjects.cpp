// Objects a shot can break easily: crates, furniture and consoles, plus the
// burning floor a flamer leaves. The strong ones are in TilesStrongObjects.cpp.
#include "assets/Tiles.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace korvath::assets {

namespace {

void crate(QPainter& p, const Theme& t, int size) {
    const int m = size == 0 ? 2 : 5;
    QRect r(m, m, 32 - 2 * m, 32 - 2 * m);
    p.fillRect(r, t.crate);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (!t.starship) {
        for (int y = r.top() + 5; y < r.bottom(); y += 6)
            p.fillRect(r.left(), y, r.width(), 1, t.crateDark);
        p.setPen(QPen(t.crateDark, 2));
        p.drawRect(r.adjusted(1, 1, -1, -1));
        p.drawLine(r.topLeft() + QPoint(2, 2), r.bottomRight() - QPoint(2, 2));
    } else {
        p.fillRect(r.left() + 3, r.top(), 2, r.height(), t.crateDark);
        p.fillRect(r.right() - 4, r.top(), 2, r.height(), t.crateDark);
        p.fillRect(r.left() + 7, r.top() + 4, r.width() - 14, 5, t.warning);
    }
    draw::bevel(p, r, t.crate.lighter(140), t.crateDark.darker(130), 15, 1);
}

void crateStack(QPainter& p, const Theme& t) {
    const QRect boxes[] = {{1, 1, 17, 17}, {14, 12, 17, 18}, {2, 19, 12, 12}};
    for (const QRect& r : boxes) {
        p.fillRect(r, t.crate);
        p.fillRect(r.left() + 2, r.center().y(), r.width() - 4, 2, t.crateDark);
        draw::bevel(p, r, t.crate.lighter(140), t.crateDark.darker(130), 15, 1);
    }
}

void barrel(QPainter& p, const Theme& t, int count) {
    p.setRenderHint(QPainter::Antialiasing, true);
    auto one = [&](QPointF c, double r, QColor col) {
        QRadialGradient g(c - QPointF(r / 3, r / 3), r * 1.4);
        g.setColorAt(0, col.lighter(150));
        g.setColorAt(1, col.darker(160));
        p.setPen(QPen(col.darker(200), 1));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r * 0.6, r * 0.6);
    };
    const QColor c = t.starship ? QColor(60, 110, 170) : QColor(150, 50, 30);
    if (count == 1)
        one(QPointF(16, 16), 11, c);
    else {
        one(QPointF(10, 10), 8, c);
        one(QPointF(22, 12), 8, t.warning.darker(120));
        one(QPointF(14, 23), 8, c);
    }
}

void table(QPainter& p, const Theme& t) {
    QColor top = t.starship ? QColor(150, 156, 166) : QColor(128, 86, 50);
    p.fillRect(3, 7, 26, 18, top);
    draw::bevel(p, QRect(3, 7, 26, 18), top.lighter(130), top.darker(170), 15, 2);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 230, 220));
    p.drawEllipse(QPointF(10, 14), 3, 3);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(18, 12, 7, 6));
}

void chair(QPainter& p, const Theme& t) {
    QColor c = t.starship ? QColor(70, 80, 120) : QColor(110, 70, 40);
    p.fillRect(9, 9, 14, 14, c);
    p.fillRect(9, 5, 14, 4, c.darker(140));
    draw::bevel(p, QRect(9, 9, 14, 14), c.lighter(140), c.darker(170), 15, 1);
}

void bunk(QPainter& p, const Theme& t) {
    p.fillRect(2, 4, 28, 24, t.metalDark);
    QColor sheet = t.starship ? QColor(170, 180, 200) : QColor(120, 110, 80);
    p.fillRect(4, 6, 24, 20, sheet);
    p.fillRect(4, 6, 7, 20, QColor(220, 220, 210));
    p.fillRect(14, 6, 14, 20, sheet.darker(125));
    draw::bevel(p, QRect(2, 4, 28, 24), t.metalLight, QColor(10, 10, 10), 15, 1);
}

void desk(QPainter& p, const Theme& t) {
    p.fillRect(2, 10, 28, 19, t.metal);
    draw::bevel(p, QRect(2, 10, 28, 19), t.metalLight, t.metalDark, 15, 2);
    p.fillRect(5, 3, 22, 10, QColor(16, 22, 28));
    p.fillRect(6, 4, 20, 8, t.starship ? t.accent.darker(200) : QColor(30, 110, 60));
    p.fillRect(7, 6, 10, 1, QColor(220, 255, 230));
    p.fillRect(7, 9, 14, 1, QColor(220, 255, 230));
    const QColor keys[] = {QColor(255, 70, 70), QColor(80, 255, 120), QColor(255, 210, 60)};
    for (int i = 0; i < 6; ++i) p.fillRect(6 + i * 4, 18 + (i % 2) * 4, 3, 2, keys[i % 3]);
}

void locker(QPainter& p, const Theme& t) {
    QColor c = t.starship ? QColor(120, 130, 150) : QColor(90, 100, 80);
    p.fillRect(4, 2, 24, 28, c);
    p.fillRect(15, 2, 2, 28, c.darker(170));
    for (int y = 5; y < 12; y += 2) {
        p.fillRect(7, y, 6, 1, c.darker(160));
        p.fillRect(19, y, 6, 1, c.darker(160));
    }
    p.fillRect(12, 16, 2, 4, QColor(230, 230, 230));
    p.fillRect(18, 16, 2, 4, QColor(230, 230, 230));
    draw::bevel(p, QRect(4, 2, 24, 28), c.lighter(140), c.darker(180), 15, 1);
}

void sandbags(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor c = t.starship ? QColor(110, 120, 130) : QColor(160, 140, 96);
    p.setPen(QPen(c.darker(170), 1));
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 3; ++i) {
            const double x = 1 + i * 10 + (row % 2) * 5 - (row % 2 ? 2 : 0);
            p.setBrush(row % 2 ? c.darker(110) : c);
            p.drawRoundedRect(QRectF(x, 4 + row * 8, 10, 8), 3.5, 3.5);
        }
}

void shrub(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    if (t.starship) { // potted plant
        p.setBrush(QColor(150, 90, 60));
        p.drawEllipse(QPointF(16, 16), 9, 9);
    }
    const QPointF leaves[] = {{10, 11}, {21, 10}, {16, 17}, {9, 21}, {23, 21}, {16, 8}};
    int i = 0;
    for (QPointF c : leaves) {
        p.setBrush(i % 2 ? QColor(46, 110, 40) : QColor(70, 150, 60));
        p.drawEllipse(c, 7 - (i % 3), 6 - (i % 2));
        ++i;
    }
    p.setBrush(QColor(150, 200, 110));
    p.drawEllipse(QPointF(13, 13), 2, 2);
    p.drawEllipse(QPointF(20, 18), 1.5, 1.5);
}

void rubble(QPainter& p, const Theme& t, bool wreck) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor a = wreck ? t.metal : t.wall;
    const QColor b = wreck ? t.metalDark : t.wallDark;
    p.setPen(QPen(b.darker(140), 1));
    const QPolygonF pieces[] = {
        QPolygonF() << QPointF(3, 20) << QPointF(9, 12) << QPointF(17, 15) << QPointF(14, 27),
        QPolygonF() << QPointF(15, 8) << QPointF(24, 4) << QPointF(29, 13) << QPointF(20, 16),
        QPolygonF() << QPointF(18, 20) << QPointF(28, 19) << QPointF(26, 29) << QPointF(17, 28),
        QPolygonF() << QPointF(4, 4) << QPointF(11, 5) << QPointF(8, 10)};
    int i = 0;
    for (const QPolygonF& s : pieces) {
        p.setBrush(i++ % 2 ? a : draw::mix(a, b, 0.5));
        p.drawPolygon(s);
    }
    if (wreck) {
        p.setPen(QPen(QColor(255, 150, 40), 1));
        p.drawLine(QPointF(20, 16), QPointF(24, 19));
    }
}

// Burning floor: fire from a roaring blaze (3) down to glowing embers (1).
void fire(QPainter& p, const Theme&, int strength) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    if (strength <= 1) {
        const QPointF embers[] = {{8, 10}, {20, 8},  {15, 18}, {25, 22},
                                  {7, 24}, {18, 27}, {26, 13}};
        int i = 0;
        for (QPointF c : embers) {
            p.setBrush(QColor(60, 20, 10));
            p.drawEllipse(c, 4, 3);
            p.setBrush(i++ % 2 ? QColor(255, 120, 20) : QColor(220, 60, 10));
            p.drawEllipse(c, 2, 1.5);
        }
        return;
    }
    const int tongues = strength == 3 ? 5 : 3;
    for (int i = 0; i < tongues; ++i) {
        const double cx = 32.0 * (i + 0.5) / tongues;
        const double h = (strength == 3 ? 26 : 17) - (i % 2) * 6;
        QPainterPath f;
        f.moveTo(cx - 6, 30);
        f.cubicTo(cx - 8, 30 - h * 0.5, cx - 1, 30 - h * 0.7, cx + (i % 2 ? 2 : -2), 30 - h);
        f.cubicTo(cx + 3, 30 - h * 0.6, cx + 8, 30 - h * 0.4, cx + 6, 30);
        f.closeSubpath();
        QLinearGradient g(0, 30, 0, 30 - h);
        g.setColorAt(0, QColor(255, 240, 140));
        g.setColorAt(0.45, QColor(255, 140, 20));
        g.setColorAt(1, QColor(180, 30, 10));
        p.setBrush(g);
        p.drawPath(f);
    }
    p.setBrush(QColor(255, 250, 210));
    p.drawEllipse(QPointF(16, 28), strength == 3 ? 9 : 6, 2.5);
}

void terminal(QPainter& p, const Theme& t) {
    p.fillRect(8, 4, 16, 24, t.metalDark);
    p.fillRect(10, 6, 12, 9, t.starship ? t.accent.darker(160) : QColor(40, 140, 70));
    p.fillRect(11, 8, 7, 1, QColor(230, 255, 240));
    p.fillRect(11, 11, 9, 1, QColor(230, 255, 240));
    for (int i = 0; i < 3; ++i) p.fillRect(11 + i * 4, 19, 2, 2, QColor(255, 200, 60));
    draw::bevel(p, QRect(8, 4, 16, 24), t.metalLight, QColor(8, 8, 10), 15, 1);
}

void shelves(QPainter& p, const Theme& t) {
    p.fillRect(2, 6, 28, 20, t.metalDark);
    const QColor goods[] = {t.crate, QColor(180, 60, 50), t.warning, QColor(70, 120, 170)};
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 5; ++i) p.fillRect(4 + i * 5, 8 + row * 9, 4, 7, goods[(i + row) % 4]);
    draw::bevel(p, QRect(2, 6, 28, 20), t.metalLight, QColor(8, 8, 10), 15, 1);
}

void bench(QPainter& p, const Theme& t) {
    QColor c = t.starship ? QColor(200, 200, 210) : QColor(140, 120, 90);
    p.fillRect(2, 8, 28, 16, c);
    draw::bevel(p, QRect(2, 8, 28, 16), c.lighter(120), c.darker(160), 15, 2);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(120, 220, 200, 200));
    p.drawRect(QRectF(6, 11, 4, 9));
    p.setBrush(QColor(230, 90, 90, 200));
    p.drawEllipse(QPointF(17, 16), 3.5, 3.5);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(22, 12, 5, 8));
}

void medbed(QPainter& p, const Theme& t) {
    p.fillRect(4, 2, 24, 28, t.metalLight);
    p.fillRect(6, 4, 20, 24, QColor(220, 230, 235));
    p.fillRect(8, 5, 16, 6, QColor(250, 250, 250));
    p.fillRect(14, 16, 4, 10, QColor(210, 40, 40));
    p.fillRect(11, 19, 10, 4, QColor(210, 40, 40));
    draw::bevel(p, QRect(4, 2, 24, 28), t.metalLight.lighter(120), t.metalDark, 15, 1);
}

void railing(QPainter& p, const Theme& t, bool horizontal) {
    p.save();
    if (horizontal) {
        p.translate(32, 0);
        p.rotate(90);
    }
    p.fillRect(13, 0, 6, 32, t.metal);
    p.fillRect(14, 0, 1, 32, t.metalLight);
    for (int y = 2; y < 32; y += 10) p.fillRect(11, y, 10, 4, t.metalDark);
    p.restore();
}

void pallet(QPainter& p, const Theme& t) {
    QColor wood = t.starship ? QColor(120, 110, 90) : QColor(140, 110, 70);
    for (int x = 3; x < 29; x += 7) p.fillRect(x, 3, 5, 26, wood);
    p.fillRect(3, 6, 26, 3, wood.darker(150));
    p.fillRect(3, 23, 26, 3, wood.darker(150));
    p.fillRect(8, 10, 16, 12, t.crate.darker(110));
    draw::bevel(p, QRect(8, 10, 16, 12), t.crate.lighter(130), t.crateDark, 15, 1);
}

void stoneSmall(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(t.rockDark, 1));
    p.setBrush(t.rock);
    p.drawEllipse(QPointF(12, 18), 9, 7);
    p.setBrush(t.rockLight);
    p.drawEllipse(QPointF(22, 12), 6, 5);
}

void pod(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(t.metalLight, 1.5));
    p.setBrush(t.metalDark);
    p.drawRoundedRect(QRectF(6, 2, 20, 28), 9, 9);
    QLinearGradient g(0, 6, 0, 26);
    g.setColorAt(0, QColor(180, 240, 255));
    g.setColorAt(1, QColor(40, 110, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(9, 6, 14, 20), 6, 6);
    p.setBrush(QColor(30, 60, 80));
    p.drawEllipse(QPointF(16, 12), 3, 3);
}

} // namespace

bool paintObjectTile(QPainter& p, const Theme& t, const std::string& n, int arg) {
    if (paintStrongObjectTile(p, t, n, arg)) return true;
    if (n == "crate")
        crate(p, t, arg);
    else if (n == "crate-stack")
        crateStack(p, t);
    else if (n == "barrel")
        barrel(p, t, arg);
    else if (n == "table")
        table(p, t);
    else if (n == "chair")
        chair(p, t);
    else if (n == "bunk")
        bunk(p, t);
    else if (n == "desk")
        desk(p, t);
    else if (n == "locker")
        locker(p, t);
    else if (n == "sandbags")
        sandbags(p, t);
    else if (n == "shrub")
        shrub(p, t);
    else if (n == "rubble")
        rubble(p, t, arg != 0);
    else if (n == "fire")
        fire(p, t, arg);
    else if (n == "terminal")
        terminal(p, t);
    else if (n == "shelves")
        shelves(p, t);
    else if (n == "bench")
        bench(p, t);
    else if (n == "medbed")
        medbed(p, t);
    else if (n == "railing")
        railing(p, t, arg != 0);
    else if (n == "pallet")
        pallet(p, t);
    else if (n == "stone")
        stoneSmall(p, t);
    else if (n == "pod")
        pod(p, t);
    else
        return false;
    return true;
}

} // namespace korvath::assets
