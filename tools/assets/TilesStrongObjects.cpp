// Objects a shot breaks only with heavy damage: doors, airlocks, machinery and
// the Operatives' core.
#include "assets/Tiles.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace korvath::assets {

namespace {

// Door-like tiles are drawn for a wall running north-south and turned for an
// east-west wall.
void turnFor(QPainter& p, bool horizontalWall) {
    if (horizontalWall) {
        p.translate(32, 0);
        p.rotate(90);
    }
}

void airlock(QPainter& p, const Theme& t, bool horizontalWall) {
    p.save();
    turnFor(p, horizontalWall);
    p.fillRect(0, 0, 32, 32, t.metalDark);
    draw::stripes(p, QRectF(0, 0, 32, 5), t.warning, QColor(24, 24, 24), 3);
    draw::stripes(p, QRectF(0, 27, 32, 5), t.warning, QColor(24, 24, 24), 3);
    // Two leaves meeting in the middle.
    QLinearGradient g(9, 0, 23, 0);
    g.setColorAt(0, t.metalLight);
    g.setColorAt(0.5, t.metal);
    g.setColorAt(1, t.metalDark.lighter(130));
    p.fillRect(9, 5, 14, 22, g);
    p.fillRect(9, 15, 14, 2, QColor(16, 16, 20));
    draw::bevel(p, QRect(9, 5, 14, 22), t.metalLight, QColor(14, 14, 18), 15, 1);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 230, 90));
    p.drawEllipse(QPointF(5, 16), 2, 2);
    p.drawEllipse(QPointF(27, 16), 2, 2);
    p.restore();
}

void blastDoor(QPainter& p, const Theme& t, bool horizontalWall) {
    p.save();
    turnFor(p, horizontalWall);
    p.fillRect(0, 0, 32, 32, t.metalDark);
    draw::stripes(p, QRectF(7, 0, 18, 32), t.warning, QColor(20, 20, 20), 4);
    p.fillRect(4, 0, 3, 32, t.metal);
    p.fillRect(25, 0, 3, 32, t.metal);
    p.fillRect(7, 15, 18, 2, QColor(16, 16, 16));
    draw::bevel(p, QRect(7, 0, 18, 32), QColor(255, 240, 160), QColor(40, 30, 0), 10, 1);
    p.restore();
}

void sealedDoor(QPainter& p, const Theme& t, bool horizontalWall) {
    p.save();
    turnFor(p, horizontalWall);
    p.fillRect(0, 0, 32, 32, t.metalDark);
    p.fillRect(7, 0, 18, 32, t.metal.darker(120));
    for (int y = 3; y < 32; y += 7) p.fillRect(5, y, 22, 3, t.metalLight.darker(130));
    p.setRenderHint(QPainter::Antialiasing, true);
    draw::glow(p, QPointF(16, 16), 4, QColor(255, 40, 40));
    p.restore();
}

void machine(QPainter& p, const Theme& t) {
    p.fillRect(1, 1, 30, 30, t.metal);
    draw::bevel(p, QRect(1, 1, 30, 30), t.metalLight, t.metalDark, 15, 2);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(t.metalDark, 1));
    p.setBrush(t.metalDark.lighter(120));
    p.drawEllipse(QPointF(11, 11), 6, 6);
    p.setBrush(QColor(230, 230, 220));
    p.drawEllipse(QPointF(11, 11), 3.5, 3.5);
    p.setPen(QPen(QColor(200, 30, 30), 1));
    p.drawLine(QPointF(11, 11), QPointF(13, 9));
    p.fillRect(19, 5, 8, 22, t.metalDark);
    for (int y = 7; y < 26; y += 4) p.fillRect(20, y, 6, 2, t.metalLight);
    p.fillRect(5, 20, 12, 7, t.warning);
    p.fillRect(7, 22, 8, 3, QColor(24, 24, 24));
}

void powerUnit(QPainter& p, const Theme& t) {
    p.fillRect(2, 2, 28, 28, t.metalDark);
    draw::bevel(p, QRect(2, 2, 28, 28), t.metalLight, QColor(10, 10, 12), 15, 2);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(QPointF(16, 16), 11);
    g.setColorAt(0, QColor(255, 250, 200));
    g.setColorAt(0.5, QColor(255, 160, 40));
    g.setColorAt(1, QColor(120, 40, 10));
    p.setPen(QPen(t.metalLight, 1.5));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setPen(QPen(QColor(60, 30, 10), 1));
    for (int a = 0; a < 360; a += 45)
        p.drawLine(QPointF(16, 16),
                   QPointF(16 + 10 * std::cos(a * M_PI / 180), 16 + 10 * std::sin(a * M_PI / 180)));
}

void tank(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(QPointF(11, 11), 20);
    g.setColorAt(0, QColor(220, 220, 210));
    g.setColorAt(1, QColor(110, 110, 100));
    p.setPen(QPen(t.metalDark, 1.5));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 14, 14);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 9, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 30));
    p.drawRect(QRectF(10, 14, 12, 4));
    p.setBrush(t.metalDark);
    p.drawEllipse(QPointF(16, 16), 2, 2);
}

void armouredCrate(QPainter& p, const Theme& t) {
    p.fillRect(2, 2, 28, 28, t.metalDark.lighter(140));
    draw::bevel(p, QRect(2, 2, 28, 28), t.metalLight, QColor(12, 12, 14), 15, 2);
    p.fillRect(4, 13, 24, 6, t.warning);
    p.fillRect(14, 4, 4, 24, t.metalDark);
    for (int x : {5, 25})
        for (int y : {5, 25}) draw::rivet(p, x, y, t.metal);
}

void loader(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(3, 3, 6, 26, QColor(40, 40, 40));
    p.fillRect(23, 3, 6, 26, QColor(40, 40, 40));
    for (int y = 4; y < 29; y += 3) {
        p.fillRect(3, y, 6, 1, QColor(90, 90, 90));
        p.fillRect(23, y, 6, 1, QColor(90, 90, 90));
    }
    p.setPen(QPen(QColor(60, 40, 0), 1));
    p.setBrush(t.warning);
    p.drawRoundedRect(QRectF(8, 6, 16, 20), 3, 3);
    p.setBrush(QColor(40, 60, 80));
    p.drawRect(QRectF(11, 9, 10, 7));
    p.fillRect(12, 26, 2, 5, t.metalLight);
    p.fillRect(18, 26, 2, 5, t.metalLight);
}

// The comms relay: a dish on a mast with a red beacon.
void relay(QPainter& p, const Theme& t) {
    p.fillRect(3, 3, 26, 26, t.metalDark);
    draw::bevel(p, QRect(3, 3, 26, 26), t.metalLight, QColor(12, 12, 14), 15, 1);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(QPointF(13, 13), 14);
    g.setColorAt(0, QColor(250, 250, 250));
    g.setColorAt(1, QColor(140, 150, 160));
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 11, 11);
    p.setPen(QPen(QColor(70, 70, 80), 1.2));
    p.drawLine(QPointF(8, 8), QPointF(16, 16));
    p.drawLine(QPointF(24, 8), QPointF(16, 16));
    p.drawLine(QPointF(16, 27), QPointF(16, 16));
    draw::glow(p, QPointF(16, 16), 4.5, QColor(255, 40, 40));
}

// Mardok, the Operatives' core: a violet eye in an armoured housing.
void core(QPainter& p, const Theme& t) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF oct;
    for (int i = 0; i < 8; ++i) {
        const double a = (22.5 + i * 45) * M_PI / 180;
        oct << QPointF(16 + 15.5 * std::cos(a), 16 + 15.5 * std::sin(a));
    }
    p.setPen(QPen(t.metalLight, 1.5));
    p.setBrush(t.metalDark);
    p.drawPolygon(oct);
    QRadialGradient g(QPointF(16, 16), 11);
    g.setColorAt(0, QColor(255, 230, 255));
    g.setColorAt(0.3, QColor(230, 60, 255));
    g.setColorAt(0.8, QColor(110, 0, 150));
    g.setColorAt(1, QColor(40, 0, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setBrush(QColor(20, 0, 30));
    p.drawEllipse(QPointF(16, 16), 2.5, 6);
    p.setPen(QPen(QColor(255, 200, 255), 1));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 9, 14, 14), 30 * 16, 60 * 16);
}

} // namespace

bool paintStrongObjectTile(QPainter& p, const Theme& t, const std::string& n, int arg) {
    if (n == "airlock")
        airlock(p, t, arg != 0);
    else if (n == "blastdoor")
        blastDoor(p, t, arg != 0);
    else if (n == "sealed-door")
        sealedDoor(p, t, arg != 0);
    else if (n == "machine")
        machine(p, t);
    else if (n == "power-unit")
        powerUnit(p, t);
    else if (n == "tank")
        tank(p, t);
    else if (n == "armoured-crate")
        armouredCrate(p, t);
    else if (n == "loader")
        loader(p, t);
    else if (n == "relay")
        relay(p, t);
    else if (n == "core")
        core(p, t);
    else
        return false;
    return true;
}

} // namespace korvath::assets
