#pragma once
#include <QColor>
#include <QFont>
#include <QStringList>

class QLabel;
class QWidget;

namespace korvath {

// The window designs name fonts that a Linux desktop rarely has; each face
// comes with look-alikes that are tried in order.
QFont xenotronFont(int pixelSize, bool bold = false);
QFont msSerifFont(int pixelSize);
QFont msSansSerifFont(int pixelSize);
QFont verdanaFont(int pointSize);

// Colours of the window designs are written 0x00BBGGRR.
QColor designColour(unsigned bgr);

// A plain panel or label background in one colour.
void setBackground(QWidget* w, const QColor& c);
void setForeground(QWidget* w, const QColor& c);

// Shows text whole in the label's room: in the label's own font when it fits
// (on one line, or on as many lines as the room holds for a word-wrapped
// label), else in a font up to a quarter smaller, and cut with "..." only
// when even that is too big; the whole text is then the label's tool tip.
// Called again when the label changes size.
void fitText(QLabel* label, const QString& text);

} // namespace korvath
