#pragma once
#include <QDialog>
#include <QString>

namespace korvath {

// Help > Controls: every action of the battle window with its mouse gesture
// and key, grouped as a player thinks of them.
QString controlsPage();
// Help > How to play: the turn, what actions cost, the shot without a hit
// roll, overwatch, close combat, healing, reloading and swapping, winning.
QString howToPlayPage();

enum class HelpPage { Controls, HowToPlay };

// A help page in a window of its own, beside the battle (not modal).
class HelpWindow : public QDialog {
  public:
    HelpWindow(HelpPage page, QWidget* parent);
};

} // namespace korvath
