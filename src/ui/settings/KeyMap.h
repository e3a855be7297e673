#pragma once
#include <QKeyCombination>
#include <QString>

#include <vector>

namespace korvath {

class Settings;

// Every key of the battle window and what it does. The rules' own keys (End
// turn, Cancel) are sent to the rules as the key they know, so that replays
// and the headless driver never learn of a rebinding; the window's shortcuts
// go to their menu entries; the keyboard-play keys move the map cursor and
// the focus through the panel.
struct KeyAction {
    enum class Kind { Rule, Window, Play };
    const char* id;         // its name in the settings file
    const char* title;      // as the Keys page shows it
    const char* defaultKey; // in QKeySequence's portable text
    Kind kind;
    // Rule: the key the rules know ("0", "k", "Esc"); Window: the menu
    // entry's objectName; Play: unused.
    const char* target;
};

class KeyMap {
  public:
    static const std::vector<KeyAction>& actions();
    // The index of the action of that id, -1 when there is none.
    static int find(const char* id);
    // A pressed key as the map compares it: Shift is dropped from a plain
    // character (k and K are one key), Enter is Return, Backtab is Shift+Tab.
    static QKeyCombination normalised(QKeyCombination pressed);
    static QString shown(QKeyCombination key);

    KeyMap() { reset(); }
    void reset();
    QKeyCombination keyOf(int action) const { return keys_[size_t(action)]; }
    static QKeyCombination defaultOf(int action);
    // The action bound to the pressed key, -1 none.
    int actionOf(QKeyCombination pressed) const;
    // Binds the key to the action; the reason when refused (a key another
    // action has, or no key at all), and then nothing changes.
    QString rebind(int action, QKeyCombination key);

    // The bindings kept in the settings file; a damaged or doubled key gives
    // the defaults back, writes them in its place and is told once: the
    // warning, or "" when all was well.
    QString load(Settings& settings);
    void save(Settings& settings) const;

  private:
    std::vector<QKeyCombination> keys_;
};

} // namespace korvath
