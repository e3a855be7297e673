#pragma once
#include <QKeyCombination>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace korvath {

class KeyboardPlay;
class KeyCatcher;

// The Keys page: every action and its key. "Change key" waits for the next
// key pressed (Esc keeps the old one, so "Default key" is how Esc, or any
// first key, comes back to one action); a key that another action has is
// refused, naming it.
class KeysPage : public QWidget {
    Q_OBJECT
  public:
    KeysPage(KeyboardPlay& keyboard, QWidget* parent);
    // Gives the action the key, as pressing it after "Change key" does: the
    // reason when refused, else "".
    QString rebind(int action, QKeyCombination key);
    // The action's first key back, refused like any other when it is taken.
    QString useDefault(int action);
    void resetToDefaults();
    QString lastMessage() const;

  private:
    void fill();
    void startCatching();

    KeyboardPlay& keyboard_;
    QTableWidget* table_;
    QPushButton* change_;
    QLabel* message_;
    KeyCatcher* catcher_;
};

} // namespace korvath
