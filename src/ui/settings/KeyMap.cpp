#include "KeyMap.h"

#include "ui/Settings.h"

#include <QKeySequence>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace korvath {

namespace {

using Kind = KeyAction::Kind;

QKeyCombination parsed(const char* text) {
    const QKeySequence s = QKeySequence::fromString(QString::fromLatin1(text));
    return s.isEmpty() ? QKeyCombination() : KeyMap::normalised(s[0]);
}

bool isKey(QKeyCombination k) {
    const int key = k.key();
    return key != 0 && key != Qt::Key_unknown && key != Qt::Key_Shift && key != Qt::Key_Control &&
           key != Qt::Key_Alt && key != Qt::Key_Meta && key != Qt::Key_AltGr;
}

QString settingName(const KeyAction& a) {
    return QStringLiteral("keys/") + QString::fromLatin1(a.id);
}

} // namespace

const std::vector<KeyAction>& KeyMap::actions() {
    // The rules know only 0, k and Esc: the other letters and digits are free
    // for the window.
    static const std::vector<KeyAction> table = {
        {"endTurn", "End turn", "0", Kind::Rule, "0"},
        {"cancel", "Cancel", "K", Kind::Rule, "k"},
        {"stop", "Stop the walk and cancel", "Esc", Kind::Rule, "Esc"},
        {"load", "Load game", "Ctrl+O", Kind::Window, "Loadgame1"},
        {"save", "Save game", "Ctrl+S", Kind::Window, "Savegame1"},
        {"quit", "Quit", "Ctrl+Q", Kind::Window, "Quit1"},
        {"undo", "Undo", "Ctrl+Z", Kind::Window, "Undo1"},
        {"redo", "Redo", "Ctrl+Shift+Z", Kind::Window, "Redo1"},
        {"help", "Help: controls", "F1", Kind::Window, "HelpControls1"},
        {"fullScreen", "Full screen", "F11", Kind::Window, "FullScreen1"},
        {"settings", "Settings", "Ctrl+,", Kind::Window, "Settings1"},
        {"fireLanes", "Enemy fire lanes", "L", Kind::Window, "FireLanes1"},
        {"left", "Cursor or view left", "Left", Kind::Play, ""},
        {"right", "Cursor or view right", "Right", Kind::Play, ""},
        {"up", "Cursor or view up", "Up", Kind::Play, ""},
        {"down", "Cursor or view down", "Down", Kind::Play, ""},
        {"press", "Left click at the cursor, or press the button", "Return", Kind::Play, ""},
        {"pressRight", "Right click at the cursor", "Shift+Return", Kind::Play, ""},
        {"nextControl", "Next button of the panel", "Tab", Kind::Play, ""},
        {"previousControl", "Previous button of the panel", "Shift+Tab", Kind::Play, ""},
        {"row1", "Row 1 of the list", "1", Kind::Play, ""},
        {"row2", "Row 2 of the list", "2", Kind::Play, ""},
        {"row3", "Row 3 of the list", "3", Kind::Play, ""},
        {"row4", "Row 4 of the list", "4", Kind::Play, ""},
        {"row5", "Row 5 of the list", "5", Kind::Play, ""},
        {"row6", "Row 6 of the list", "6", Kind::Play, ""},
        {"row7", "Row 7 of the list", "7", Kind::Play, ""},
        {"row8", "Row 8 of the list", "8", Kind::Play, ""},
        {"row9", "Row 9 of the list", "9", Kind::Play, ""},
    };
    return table;
}

int KeyMap::find(const char* id) {
    const auto& all = actions();
    for (size_t i = 0; i < all.size(); ++i)
        if (std::strcmp(all[i].id, id) == 0) return int(i);
    return -1;
}

QKeyCombination KeyMap::normalised(QKeyCombination pressed) {
    Qt::KeyboardModifiers mods =
        pressed.keyboardModifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    int key = pressed.key();
    if (key == Qt::Key_Enter) key = Qt::Key_Return;
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        mods |= Qt::ShiftModifier;
    }
    // A character typed with Shift is still that character's key.
    const bool character = key > Qt::Key_Space && key <= Qt::Key_AsciiTilde;
    if (character && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        mods &= ~Qt::ShiftModifier;
    return QKeyCombination(mods, Qt::Key(key));
}

QString KeyMap::shown(QKeyCombination key) {
    return QKeySequence(key).toString(QKeySequence::NativeText);
}

void KeyMap::reset() {
    keys_.clear();
    for (const KeyAction& a : actions()) keys_.push_back(parsed(a.defaultKey));
}

QKeyCombination KeyMap::defaultOf(int action) {
    return parsed(actions()[size_t(action)].defaultKey);
}

int KeyMap::actionOf(QKeyCombination pressed) const {
    const QKeyCombination k = normalised(pressed);
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == k) return int(i);
    return -1;
}

QString KeyMap::rebind(int action, QKeyCombination key) {
    const QKeyCombination k = normalised(key);
    if (!isKey(k)) return QStringLiteral("That is not a key");
    const int other = actionOf(k);
    if (other >= 0 && other != action)
        return QStringLiteral("%1 is already the key of %2")
            .arg(shown(k), QString::fromLatin1(actions()[size_t(other)].title));
    keys_[size_t(action)] = k;
    return {};
}

QString KeyMap::load(Settings& settings) {
    reset();
    // Every key read first, then checked together: a swap of two keys is
    // kept as a whole.
    std::vector<QKeyCombination> read = keys_;
    QStringList damaged;
    for (size_t i = 0; i < actions().size(); ++i) {
        const QString text = settings.text(settingName(actions()[i])).trimmed();
        if (text.isEmpty()) continue;
        const QKeySequence s = QKeySequence::fromString(text, QKeySequence::PortableText);
        if (s.count() == 1 && isKey(normalised(s[0])))
            read[i] = normalised(s[0]);
        else
            damaged << QString::fromLatin1(actions()[i].id);
    }
    for (size_t i = 0; i < read.size(); ++i)
        for (size_t j = i + 1; j < read.size(); ++j)
            if (read[i] == read[j]) damaged << QString::fromLatin1(actions()[j].id);
    if (damaged.isEmpty()) {
        keys_ = read;
        return {};
    }
    // Told once: the file gets every default back.
    save(settings);
    const QString warning = QStringLiteral("the settings file %1 holds keys the game cannot use "
                                           "(%2); every key is as it was first")
                                .arg(settings.fileName(), damaged.join(QStringLiteral(", ")));
    std::fprintf(stderr, "korvath: %s\n", qPrintable(warning));
    return warning;
}

void KeyMap::save(Settings& settings) const {
    for (size_t i = 0; i < actions().size(); ++i)
        settings.setText(settingName(actions()[i]),
                         QKeySequence(keys_[i]).toString(QKeySequence::PortableText));
}

} // namespace korvath
