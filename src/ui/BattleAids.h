#pragma once
#include "FireLanes.h"
#include "HealHover.h"
#include "MapOverlays.h"
#include "OddsOverlay.h"
#include "Settings.h"
#include "ShotLines.h"
#include "game/state/Battle.h"
#include "look/MarkerOverlay.h"

#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QMainWindow;
class QMenu;
class QStatusBar;

namespace korvath {

class SoundPlayer;

// What the battle window offers beyond the game's own rules: the tactical
// aids drawn over the map and their Options menu entries, what each shot did
// in the status bar, the animation speed and the sound's volume, all of them
// remembered in the player's settings, and the autosave at the start of each
// of the player's turns. None of it changes the battle: it reads it, draws on
// the window and writes files. It hears the battle's events from the event
// port: what each shot did is told from them.
class BattleAids : public QObject, public BattleEventSink {
    Q_OBJECT
  public:
    // Adds its entries to the window's Options menu ("Options1") before the
    // developer's hidden ones, and its overlay to the map picture; what a
    // shot did shows in the status bar for a while.
    BattleAids(QMainWindow& window, Battle& b, QWidget* mapImage, QStatusBar* status,
               SoundPlayer* sound);

    // The window has mirrored the battle, after a command or during an animation.
    void battleShown();
    // How long the window holds a beat at the chosen animation speed.
    int beatLength(Beat beat) const;
    // The player's turn has begun: the battle is saved as autosave1.
    void playerTurnBegins();
    // Whether this battle has been autosaved at the start of a turn of the player's.
    bool autosaved() const { return autosaved_; }
    void happened(const BattleEvent& e) override;
    // Where the last shot told in the status bar stopped.
    const std::optional<ShotStopped>& lastShotTold() const { return told_; }

    Settings& settings() { return settings_; }
    // Told of every battle event after the aids have heard it (the battle feed).
    std::function<void(const BattleEvent&)> onEvent;
    MapOverlays* overlays() const { return overlays_; }
    ShotLines* shotLines() const { return shotLines_; }
    FireLanes* fireLanes() const { return lanes_; }
    // The window has held a beat of the animation.
    void beatPassed(Beat beat) { shotLines_->beatPassed(beat); }
    OddsOverlay* odds() const { return odds_; }
    HealHover* healHover() const { return heal_; }
    // The menu entry of that name ("PathPreview1", "SpeedFast1", "Volume50" …).
    QAction* entry(const QString& name) const;
    MarkerOverlay* markers() const { return markers_; }
    // The settings changed: the overlays and the sound follow them.
    void applySettings();

  private:
    void buildMenu();
    QAction* checkEntry(QMenu* menu, const char* name, const QString& text, bool on);
    QActionGroup* choiceEntries(QMenu* menu,
                                const std::vector<std::pair<const char*, QString>>& entries,
                                int chosen);
    void tellShot();

    QMainWindow& window_;
    Battle& b_;
    QStatusBar* status_;
    SoundPlayer* sound_;
    Settings settings_;
    MarkerOverlay* markers_; // under the aids
    FireLanes* lanes_;       // under the other aids
    MapOverlays* overlays_;
    ShotLines* shotLines_;            // the computer's shots
    OddsOverlay* odds_;               // over the other aids
    HealHover* heal_;                 // what a treatment click would do, in the status bar
    std::optional<ShotStopped> stop_; // a shot's stop, to be told when the window shows it
    std::optional<ShotStopped> told_;
    // A status-bar line of the forecast's or the fire lanes' own, shown or
    // taken back (only while it is still the one shown).
    void sayOwn(QString& said, const QString& line);
    QString forecastSaid_, lanesSaid_;
    bool autosaved_ = false;      // this battle has an autosave
    bool autosaveFailed_ = false; // told once, then the battle goes on quietly
};

} // namespace korvath
