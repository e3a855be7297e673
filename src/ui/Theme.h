#pragma once
#include <QPalette>
#include <QString>

class QApplication;

namespace korvath {

// The game's dark dress for its windows and controls, in the colours of the
// front screen (deep violet, dark teal) and of the tile sets (stone, steel,
// amber and cyan lights). Only colours and the look of the controls change:
// every control keeps its place, size, caption and text.
QPalette darkPalette();
QString themeStyleSheet();

// Dresses the whole application: the Fusion style (unless the player named a
// style of his own on the command line), the palette and the style sheet.
void applyTheme(QApplication& app, bool keepStyle);

} // namespace korvath
