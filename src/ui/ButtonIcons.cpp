#include "ButtonIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvath {

// The pictures on the speed buttons, drawn rather than loaded so the window
// needs no extra files: light outlines on the dark buttons, in the colours of
// the tile sets (lantern amber, steel, the starship's cyan lights).
QIcon buttonIcon(const QString& name) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(214, 208, 196), red(235, 70, 55), green(80, 200, 100), blue(70, 220, 255);
    p.setPen(QPen(ink, 2));
    if (name == "EndTurnButton") {
        p.setBrush(QColor(255, 170, 60));
        p.drawPolygon(QPolygon({{8, 4}, {24, 4}, {16, 16}}));
        p.drawPolygon(QPolygon({{8, 28}, {24, 28}, {16, 16}}));
    } else if (name == "HandFightIcon") {
        p.setPen(QPen(QColor(190, 200, 214), 3));
        p.drawLine(6, 26, 24, 8);
        p.setPen(QPen(QColor(170, 112, 56), 3));
        p.drawLine(6, 26, 10, 22);
        p.drawLine(6, 18, 14, 26);
    } else if (name == "AimedFireIcon") {
        p.setPen(QPen(red, 2));
        p.drawEllipse(QPoint(16, 16), 10, 10);
        p.drawLine(16, 2, 16, 30);
        p.drawLine(2, 16, 30, 16);
    } else if (name == "SnapFireIcon") {
        p.setPen(QPen(red, 2));
        p.drawEllipse(QPoint(16, 16), 6, 6);
        p.drawLine(4, 10, 10, 10);
        p.drawLine(2, 16, 10, 16);
        p.drawLine(4, 22, 10, 22);
    } else if (name == "Quit_Button") {
        p.setPen(QPen(ink, 4));
        p.drawLine(8, 8, 24, 24);
        p.drawLine(24, 8, 8, 24);
    } else if (name == "Cancelbutton") {
        p.setPen(QPen(red, 4));
        p.drawLine(8, 8, 24, 24);
        p.drawLine(24, 8, 8, 24);
    } else if (name == "OverwatchIcon") {
        QPainterPath eye;
        eye.moveTo(3, 16);
        eye.quadTo(16, 3, 29, 16);
        eye.quadTo(16, 29, 3, 16);
        p.setBrush(QColor(30, 34, 42));
        p.drawPath(eye);
        p.setBrush(blue);
        p.drawEllipse(QPoint(16, 16), 4, 4);
    } else if (name == "NextButton") {
        p.setBrush(green);
        p.drawPolygon(QPolygon({{6, 8}, {18, 8}, {18, 3}, {29, 16}, {18, 29}, {18, 24}, {6, 24}}));
    } else if (name == "DropItem" || name == "PickUpButton") {
        p.setBrush(QColor(150, 104, 58));
        p.drawRect(5, 20, 22, 8);
        p.setBrush(name == "DropItem" ? red : green);
        if (name == "DropItem")
            p.drawPolygon(
                QPolygon({{12, 2}, {20, 2}, {20, 10}, {25, 10}, {16, 18}, {7, 10}, {12, 10}}));
        else
            p.drawPolygon(
                QPolygon({{16, 2}, {25, 10}, {20, 10}, {20, 18}, {12, 18}, {12, 10}, {7, 10}}));
    }
    return QIcon(pm);
}

} // namespace korvath
