#pragma once
#include "Settings.h"
#include "game/state/Battle.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMainWindow;
class QMenu;
class QStatusBar;

namespace korvath {

// The battle window's Edit menu: Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z),
// named after what they would take back or do again, greyed with the reason
// when nothing can be undone; and the Options entry "Allow undo" that takes
// the Edit menu away for a player who wants no second thoughts. The status
// bar says what was undone.
class UndoMenu : public QObject {
  public:
    using Run = std::function<void(const std::vector<std::string>&)>;
    // `run` gives a command to the battle as the window's handlers do.
    UndoMenu(QMainWindow& window, Battle& b, QStatusBar* status, Settings& settings, Run run);

    // Brings the entries up to date with the battle's history; none while a
    // replay plays the battle.
    void sync(bool replaying);
    QAction* undoEntry() const { return undo_; }
    QAction* redoEntry() const { return redo_; }

  private:
    void step(const char* command, const char* told);

    Battle& b_;
    QStatusBar* status_;
    Settings& settings_;
    Run run_;
    QMenu* edit_;
    QAction* undo_;
    QAction* redo_;
    QAction* allow_;
};

} // namespace korvath
