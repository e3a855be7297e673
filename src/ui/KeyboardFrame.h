#pragma once
// The amber square that marks where the keyboard is, drawn alike over the map
// (the keyboard cursor) and over the front screen's controls: a bright line
// with a dark edge, seen on stone, steel, the black floors and the dark dress.
#include <QColor>
#include <QPainter>
#include <QRect>

namespace korvath {

inline QColor keyboardAmber() {
    return QColor(255, 214, 64);
}

inline void drawKeyboardFrame(QPainter& p, const QRect& r) {
    p.setPen(QPen(QColor(20, 16, 10), 1));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(keyboardAmber(), 3));
    p.drawRect(r.adjusted(2, 2, -2, -2));
}

} // namespace korvath
