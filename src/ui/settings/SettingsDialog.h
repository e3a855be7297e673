#pragma once
#include <QDialog>

class QMainWindow;
class QTabWidget;

namespace korvath {

class KeyboardPlay;
class KeysPage;

// Options > Settings...: every choice of the Options menu on one page, and
// the keys on another. A change applies at once, through the menu entry
// itself, so the menu and the dialog never disagree; Close only closes.
class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    SettingsDialog(QMainWindow& window, KeyboardPlay& keyboard);
    // Another page, after the others (Ctrl+Tab goes from page to page).
    void addPage(const QString& title, QWidget* page);
    void showPage(const QString& title);
    KeysPage* keysPage() const { return keys_; }

    // Options > Settings... in the battle window, with its dialog (hidden
    // until asked for; more pages may be added to it).
    static SettingsDialog* addMenuEntry(QMainWindow& window, KeyboardPlay& keyboard);

  private:
    QWidget* choicesPage(QMainWindow& window);

    QTabWidget* pages_;
    KeysPage* keys_;
};

} // namespace korvath
