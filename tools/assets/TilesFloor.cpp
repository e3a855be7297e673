// Open floor: plain black ground, items lying about, the start star and the
// hit flash. Floor stays pure black so that shots and target discs see it as
// open; only the item drawings, the star and the flash put colour on it.
#include "assets/Tiles.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace korvath::assets {

namespace {

const QColor kGun(70, 74, 80);
const QColor kGunLight(150, 156, 166);
const QColor kGrip(96, 64, 40);

void rifle(QPainter& p) {
    p.fillRect(6, 14, 20, 3, kGun);
    p.fillRect(24, 15, 4, 1, kGunLight);
    p.fillRect(3, 14, 5, 5, kGrip);
    p.fillRect(13, 17, 3, 4, kGun);
    p.fillRect(17, 17, 2, 5, kGunLight);
    p.fillRect(8, 13, 8, 1, kGunLight);
}

void pistol(QPainter& p) {
    p.fillRect(10, 13, 12, 3, kGun);
    p.fillRect(10, 16, 4, 5, kGrip);
    p.fillRect(11, 12, 10, 1, kGunLight);
}

void carbine(QPainter& p) {
    p.fillRect(7, 14, 17, 3, QColor(90, 70, 130));
    p.fillRect(22, 13, 4, 5, QColor(200, 140, 255));
    p.fillRect(5, 15, 4, 4, kGun);
    p.fillRect(12, 17, 3, 4, kGun);
}

void heavy(QPainter& p) {
    p.fillRect(4, 12, 24, 6, kGun);
    p.fillRect(4, 13, 24, 1, kGunLight);
    p.fillRect(26, 11, 3, 8, QColor(40, 40, 44));
    p.fillRect(10, 18, 6, 4, kGrip);
}

void flamer(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 60, 30));
    p.drawRoundedRect(QRectF(5, 11, 9, 10), 3, 3);
    p.fillRect(14, 14, 12, 3, kGun);
    p.fillRect(25, 13, 3, 5, QColor(255, 160, 40));
}

void knife(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(210, 215, 225), 2));
    p.drawLine(QPointF(12, 20), QPointF(23, 10));
    p.setPen(QPen(kGrip, 3));
    p.drawLine(QPointF(8, 24), QPointF(11, 21));
}

void axe(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kGrip, 2));
    p.drawLine(QPointF(7, 25), QPointF(22, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 255));
    QPolygonF blade;
    blade << QPointF(18, 6) << QPointF(27, 8) << QPointF(26, 16) << QPointF(21, 12);
    p.drawPolygon(blade);
}

void shotgun(QPainter& p) {
    p.fillRect(7, 13, 18, 2, kGun);
    p.fillRect(7, 15, 18, 2, kGunLight);
    p.fillRect(3, 14, 6, 5, kGrip);
    p.fillRect(15, 17, 5, 2, kGrip);
}

void shells(QPainter& p) {
    p.fillRect(10, 12, 12, 10, QColor(120, 90, 50));
    for (int x = 11; x < 21; x += 3) {
        p.fillRect(x, 9, 2, 4, QColor(200, 40, 30));
        p.fillRect(x, 12, 2, 1, QColor(220, 180, 80));
    }
    p.fillRect(10, 16, 12, 2, QColor(70, 50, 24));
}

void magazine(QPainter& p, QColor band) {
    p.fillRect(12, 10, 8, 12, kGun);
    p.fillRect(12, 14, 8, 3, band);
    p.fillRect(13, 9, 6, 1, QColor(220, 180, 80));
}

void canister(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(90, 20, 10), 1));
    p.setBrush(QColor(210, 70, 30));
    p.drawRoundedRect(QRectF(10, 10, 12, 14), 3, 3);
    p.fillRect(14, 7, 4, 3, kGunLight);
    p.fillRect(11, 15, 10, 2, QColor(250, 210, 60));
}

void cell(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(80, 40, 110), 1));
    p.setBrush(QColor(60, 50, 80));
    p.drawRoundedRect(QRectF(10, 11, 12, 10), 2, 2);
    draw::glow(p, QPointF(16, 16), 4, QColor(200, 120, 255));
}

void medikit(QPainter& p) {
    p.fillRect(9, 10, 14, 12, QColor(235, 235, 235));
    p.fillRect(14, 12, 4, 8, QColor(210, 30, 30));
    p.fillRect(12, 14, 8, 4, QColor(210, 30, 30));
    p.fillRect(13, 8, 6, 2, QColor(160, 160, 160));
}

void slugs(QPainter& p) {
    p.fillRect(10, 11, 12, 10, QColor(90, 96, 70));
    for (int x = 11; x < 22; x += 3) p.fillRect(x, 9, 2, 3, QColor(220, 180, 80));
    p.fillRect(10, 15, 12, 2, QColor(40, 40, 30));
}

// The start star: red with a yellow heart and rim.
void star(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF s;
    for (int i = 0; i < 10; ++i) {
        const double a = (-90 + i * 36) * M_PI / 180;
        const double r = i % 2 ? 5.5 : 14;
        s << QPointF(16 + r * std::cos(a), 17 + r * std::sin(a));
    }
    p.setPen(QPen(QColor(255, 220, 40), 1.5));
    p.setBrush(QColor(220, 20, 20));
    p.drawPolygon(s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 60));
    p.drawEllipse(QPointF(16, 17), 3.5, 3.5);
}

// The hit flash shown over a soldier that is hit.
void flash(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    QPolygonF burst;
    for (int i = 0; i < 16; ++i) {
        const double a = (i * 22.5) * M_PI / 180;
        const double r = i % 2 ? 7 : 15.5;
        burst << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 120, 20));
    p.drawPolygon(burst);
    draw::glow(p, QPointF(16, 16), 10, QColor(255, 230, 80));
}

} // namespace

bool paintFloorTile(QPainter& p, const Theme&, const std::string& n, int) {
    if (n == "floor") { /* black */
    } else if (n == "star")
        star(p);
    else if (n == "flash")
        flash(p);
    else if (n == "item-rifle")
        rifle(p);
    else if (n == "item-pistol")
        pistol(p);
    else if (n == "item-carbine")
        carbine(p);
    else if (n == "item-heavy")
        heavy(p);
    else if (n == "item-flamer")
        flamer(p);
    else if (n == "item-knife")
        knife(p);
    else if (n == "item-axe")
        axe(p);
    else if (n == "item-shotgun")
        shotgun(p);
    else if (n == "item-shells")
        shells(p);
    else if (n == "item-clip")
        magazine(p, QColor(60, 200, 255));
    else if (n == "item-needles")
        magazine(p, QColor(250, 220, 60));
    else if (n == "item-slugs")
        slugs(p);
    else if (n == "item-fuel")
        canister(p);
    else if (n == "item-cell")
        cell(p);
    else if (n == "item-medikit")
        medikit(p);
    else
        return false;
    return true;
}

bool paintTile(QPainter& p, const Theme& t, const std::string& name, int arg) {
    return paintWallTile(p, t, name, arg) || paintObjectTile(p, t, name, arg) ||
           paintFloorTile(p, t, name, arg);
}

} // namespace korvath::assets
