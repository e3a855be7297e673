#include "Fonts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include <cmath>

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

namespace {

bool fitsIn(const QFont& font, const QRect& room, int flags, const QString& text) {
    const QRect need =
        QFontMetrics(font).boundingRect(QRect(0, 0, room.width(), 100000), flags, text);
    return need.width() <= room.width() && need.height() <= room.height();
}

// The label's own font, or the largest smaller one in which the text fits;
// the smallest tried when none does.
QFont fittingFont(const QFont& own, const QRect& room, int flags, const QString& text) {
    if (fitsIn(own, room, flags, text)) return own;
    QFont f = own;
    if (own.pixelSize() > 0) {
        const int smallest = std::max(9, own.pixelSize() * 3 / 4);
        for (int px = own.pixelSize() - 1; px >= smallest; --px) {
            f.setPixelSize(px);
            if (fitsIn(f, room, flags, text)) return f;
        }
        return f;
    }
    const double smallest = std::max(7.0, std::floor(own.pointSizeF() * 3 / 4));
    for (double pt = own.pointSizeF() - 0.5; pt >= smallest; pt -= 0.5) {
        f.setPointSizeF(pt);
        if (fitsIn(f, room, flags, text)) return f;
    }
    return f;
}

} // namespace

void fitText(QLabel* label, const QString& text) {
    const QRect room = label->contentsRect();
    if (label->property("fullText").toString() == text &&
        label->property("fittedTo") == room.size())
        return;
    if (!label->property("ownFont").isValid()) label->setProperty("ownFont", label->font());
    const QFont own = label->property("ownFont").value<QFont>();
    const int flags = (label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine) |
                      (label->alignment() & Qt::AlignHorizontal_Mask);
    const QFont font = fittingFont(own, room, flags, text);
    QString shown = text;
    if (!fitsIn(font, room, flags, text))
        shown = QFontMetrics(font).elidedText(QString(text).replace('\n', ' '), Qt::ElideRight,
                                              room.width());
    if (label->font() != font) label->setFont(font);
    if (label->text() != shown) label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
    label->setProperty("fullText", text);
    label->setProperty("fittedTo", room.size());
}

} // namespace korvath
