#pragma once
#include <QColor>
#include <QFont>
#include <QStringList>

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

} // namespace korvath
