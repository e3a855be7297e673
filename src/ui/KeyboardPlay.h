#pragma once
#include "MapView.h"
#include "game/state/Battle.h"
#include "settings/KeyMap.h"

#include <QHash>
#include <QObject>
#include <QPoint>

#include <functional>
#include <string>
#include <vector>

class QKeyEvent;
class QMainWindow;
class QTableWidget;

namespace korvath {

class Settings;

// The battle without the mouse. Every key the window sees is looked up in
// the key map: a rule's key is handed on as the key the rules know, a
// window shortcut goes to its menu entry, and the keyboard-play keys move a
// square cursor over the map (drawn on the window only, never into the
// rules' pictures) whose Enter and Shift+Enter are the mouse's left and
// right clicks on that square, move the focus through the panel's buttons
// with Tab, and pick a row of the list on show by its number. Whatever
// reaches the rules is an ordinary command: a click, a hover, a row, a key.
class KeyboardPlay : public QObject {
    Q_OBJECT
  public:
    using Run = std::function<void(const std::vector<std::string>&)>;
    using Control = std::function<QWidget*(const char*)>;
    KeyboardPlay(QMainWindow& window, Battle& b, MapImageWidget* map, Settings& settings, Run run,
                 Control control);

    KeyMap& keys() { return keys_; }
    // The key map's keys onto the menu entries and the controls' tooltips;
    // kept in the settings file.
    void keysChanged();
    // The same without writing the file (at the start).
    void applyKeys();
    // A window action that is no menu entry (the enemy fire lanes).
    void setHandler(const char* id, std::function<void()> f) { handlers_[id] = std::move(f); }

    // A key pressed in the battle window: true when it was the game's.
    bool keyPressed(QKeyEvent* e);

    bool cursorOn() const { return cursorShown_; }
    void setCursorOn(bool on);
    // The map square under the cursor (1-based).
    QPoint cursorSquare() const { return square_; }
    void moveCursorTo(QPoint square);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void play(const char* id, bool busy);
    void step(int dx, int dy, bool busy);
    void pressAt(Qt::MouseButton button);
    void pressFocused();
    void moveFocus(int by);
    void chooseRow(int row);
    void tellRows(QTableWidget* grid);
    std::vector<QWidget*> focusRing() const;
    QWidget* focused() const;
    void placeCursor();
    QPoint viewCentre() const;

    QMainWindow& window_;
    Battle& b_;
    MapImageWidget* map_;
    Settings& settings_;
    Run run_;
    Control control_;
    KeyMap keys_;
    QHash<QByteArray, std::function<void()>> handlers_;
    QWidget* cursor_ = nullptr; // the square drawn over the map
    QPoint square_;
    bool cursorShown_ = false;
    bool tabbed_ = false; // the focus was moved by Tab
};

} // namespace korvath
