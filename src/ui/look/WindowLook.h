#pragma once
#include "Palette.h"

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QWidget;

namespace korvath {

class Settings;

// The look the player chose, as the settings file keeps it.
Look lookOf(const Settings& s);

// The battle window's look: the Options menu's "Colours", "Marker size" and
// "Text size", kept in the settings, and the text size of the information
// panel, the actions bar, the message log, the status bar and the battle
// feed. The palette and the marker size go to the map's overlays through
// `onLook`.
class WindowLook : public QObject {
    Q_OBJECT
  public:
    WindowLook(QMainWindow& window, Settings& settings, std::function<void()> onLook);
    // The settings changed elsewhere (the Settings dialog's page): the menu
    // follows, and the look is applied.
    void settingsChanged();
    Look look() const;

  private:
    QActionGroup* choice(QMenu* options, QAction* before, const char* name, const QString& title,
                         const std::vector<std::pair<const char*, QString>>& entries);
    void applyText();
    void syncMenu();

    QMainWindow& window_;
    Settings& settings_;
    std::function<void()> onLook_;
    QActionGroup *colours_ = nullptr, *markers_ = nullptr, *text_ = nullptr;
};

// The Settings dialog's page of the same three choices; each change is kept
// in the settings at once, then `apply` is called.
QWidget* makeLookPage(Settings& settings, std::function<void()> apply, QWidget* parent);

} // namespace korvath
