// The two scenarios' colours and the drawing helpers every tile painter uses.
#include "assets/Tiles.h"

#include <QRadialGradient>

#include <cmath>

namespace korvath::assets {

Theme fortressTheme() {
    Theme t;
    t.starship = false;
    t.wall = QColor(112, 106, 98);
    t.wallLight = QColor(176, 168, 152);
    t.wallDark = QColor(52, 48, 44);
    t.seam = QColor(70, 66, 60);
    t.rock = QColor(104, 84, 62);
    t.rockLight = QColor(156, 130, 98);
    t.rockDark = QColor(58, 44, 32);
    t.metal = QColor(92, 100, 108);
    t.metalLight = QColor(150, 160, 170);
    t.metalDark = QColor(44, 48, 54);
    t.accent = QColor(255, 170, 60);
    t.warning = QColor(224, 176, 32);
    t.crate = QColor(150, 104, 58);
    t.crateDark = QColor(88, 58, 30);
    return t;
}

Theme starshipTheme() {
    Theme t;
    t.starship = true;
    t.wall = QColor(86, 100, 124);
    t.wallLight = QColor(156, 176, 206);
    t.wallDark = QColor(32, 38, 52);
    t.seam = QColor(52, 62, 80);
    t.rock = QColor(64, 70, 82);
    t.rockLight = QColor(118, 126, 140);
    t.rockDark = QColor(30, 32, 38);
    t.metal = QColor(100, 108, 120);
    t.metalLight = QColor(170, 180, 196);
    t.metalDark = QColor(40, 44, 54);
    t.accent = QColor(70, 220, 255);
    t.warning = QColor(236, 196, 36);
    t.crate = QColor(96, 120, 84);
    t.crateDark = QColor(50, 66, 42);
    return t;
}

namespace draw {

QColor mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                            a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

void bevel(QPainter& p, QRect r, QColor light, QColor dark, int openSides, int width) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < width; ++i) {
        const QColor l = mix(light, dark, i * 0.25);
        const QColor d = mix(dark, light, i * 0.15);
        if (openSides & 1) p.fillRect(r.left(), r.top() + i, r.width(), 1, l);
        if (openSides & 8) p.fillRect(r.left() + i, r.top(), 1, r.height(), l);
        if (openSides & 4) p.fillRect(r.left(), r.bottom() - i, r.width(), 1, d);
        if (openSides & 2) p.fillRect(r.right() - i, r.top(), 1, r.height(), d);
    }
    p.restore();
}

void rivet(QPainter& p, int x, int y, QColor c) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(x, y, 2, 2, c.lighter(150));
    p.fillRect(x + 1, y + 1, 1, 1, c.darker(180));
    p.restore();
}

void stripes(QPainter& p, QRectF r, QColor a, QColor b, double step) {
    p.save();
    p.setClipRect(r);
    p.fillRect(r, a);
    p.setPen(Qt::NoPen);
    p.setBrush(b);
    for (double x = r.left() - r.height(); x < r.right(); x += 2 * step) {
        QPolygonF band;
        band << QPointF(x, r.bottom() + 1) << QPointF(x + step, r.bottom() + 1)
             << QPointF(x + step + r.height() + 1, r.top()) << QPointF(x + r.height() + 1, r.top());
        p.drawPolygon(band);
    }
    p.restore();
}

void glow(QPainter& p, QPointF centre, double radius, QColor c) {
    p.save();
    QRadialGradient g(centre, radius);
    g.setColorAt(0.0, QColor(255, 255, 255));
    g.setColorAt(0.25, c.lighter(130));
    g.setColorAt(0.6, c);
    QColor edge = c;
    edge.setAlpha(0);
    g.setColorAt(1.0, edge);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    p.restore();
}

} // namespace draw

} // namespace korvath::assets
