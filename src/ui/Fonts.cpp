#include "Fonts.h"

#include <QPalette>
#include <QWidget>

namespace korvath {

namespace {

QFont withFamilies(const QStringList& families) {
    QFont f;
    f.setFamilies(families);
    return f;
}

} // namespace

QFont xenotronFont(int pixelSize, bool bold) {
    QFont f = withFamilies({"Xenotron", "URW Gothic", "DejaVu Sans"});
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QFont msSerifFont(int pixelSize) {
    QFont f = withFamilies({"MS Serif", "Liberation Serif", "Nimbus Roman", "DejaVu Serif"});
    f.setPixelSize(pixelSize);
    return f;
}

QFont msSansSerifFont(int pixelSize) {
    QFont f =
        withFamilies({"MS Sans Serif", "Liberation Sans", "Nimbus Sans", "Arial", "DejaVu Sans"});
    f.setPixelSize(pixelSize);
    return f;
}

QFont verdanaFont(int pointSize) {
    QFont f = withFamilies({"Verdana", "DejaVu Sans"});
    f.setPointSize(pointSize);
    return f;
}

QColor designColour(unsigned bgr) {
    return QColor(bgr & 255, (bgr >> 8) & 255, (bgr >> 16) & 255);
}

void setBackground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setForeground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

} // namespace korvath
