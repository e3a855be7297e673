#pragma once
#include <QIcon>
#include <QString>

namespace korvath {

// The picture on a speed button of the battle window (or on the front
// screen's Quit button), by the button's name.
QIcon buttonIcon(const QString& name);

} // namespace korvath
