#pragma once
#include <QHash>
#include <QSettings>
#include <QString>

#include <memory>

namespace korvath {

// The player's settings, kept in the user's configuration folder
// (korvath/korvath.ini below $XDG_CONFIG_HOME, by default ~/.config), never in
// the game folder. Read once when made; a setter writes at once. A damaged
// file, or values the game does not know, give the defaults and one warning
// on standard error.
//
// Only a regular file is opened (a pipe there would hold the game). A file
// that cannot be used and cannot be mended (not a regular file, or damaged
// and not to be put aside) is left as it is: the defaults serve, changes last
// for this run, and the warning is given once for that file as it is (the
// note file remembers it) instead of at every start.
//
// A new setting is one key with its default (the table in Settings.cpp) and
// a typed getter and setter here.
class Settings {
  public:
    enum class AnimationSpeed { Normal, Fast, Instant };

    static QString defaultFile();
    // korvath/settings-warned below $XDG_STATE_HOME (by default ~/.local/state).
    static QString defaultNoteFile();
    explicit Settings(const QString& file = defaultFile(),
                      const QString& noteFile = defaultNoteFile());

    // The tactical aids of the Options menu.
    bool pathPreview() const { return flag(Key::PathPreview); }
    void setPathPreview(bool on) { setFlag(Key::PathPreview, on); }
    bool lineOfFire() const { return flag(Key::LineOfFire); }
    void setLineOfFire(bool on) { setFlag(Key::LineOfFire, on); }
    bool shotOutcome() const { return flag(Key::ShotOutcome); }
    void setShotOutcome(bool on) { setFlag(Key::ShotOutcome, on); }
    bool seenEnemies() const { return flag(Key::SeenEnemies); }
    void setSeenEnemies(bool on) { setFlag(Key::SeenEnemies, on); }
    bool shotOdds() const { return flag(Key::ShotOdds); }
    void setShotOdds(bool on) { setFlag(Key::ShotOdds, on); }

    AnimationSpeed animationSpeed() const {
        return static_cast<AnimationSpeed>(values_[index(Key::AnimationSpeed)]);
    }
    void setAnimationSpeed(AnimationSpeed s) { set(Key::AnimationSpeed, static_cast<int>(s)); }

    // Sound: volume in per cent, and mute.
    int volume() const { return values_[index(Key::Volume)]; }
    void setVolume(int percent) { set(Key::Volume, percent); }
    bool muted() const { return flag(Key::Muted); }
    void setMuted(bool on) { setFlag(Key::Muted, on); }
    bool classicFloors() const { return flag(Key::ClassicFloors); }
    void setClassicFloors(bool on) { setFlag(Key::ClassicFloors, on); }
    // The battle feed beside the map (View > Battle feed).
    bool battleFeed() const { return flag(Key::BattleFeed); }
    void setBattleFeed(bool on) { setFlag(Key::BattleFeed, on); }
    // The enemy's fire lanes shaded on the map (Options, key L).
    bool fireLanes() const { return flag(Key::FireLanes); }
    void setFireLanes(bool on) { setFlag(Key::FireLanes, on); }
    // The battle feed as a page of the information panel instead of beside the map.
    bool feedInPanel() const { return flag(Key::FeedInPanel); }
    void setFeedInPanel(bool on) { setFlag(Key::FeedInPanel, on); }
    // The Edit menu's Undo and Redo.
    bool allowUndo() const { return flag(Key::AllowUndo); }
    void setAllowUndo(bool on) { setFlag(Key::AllowUndo, on); }
    // The square cursor on the map, moved by the arrow keys.
    bool keyboardCursor() const { return flag(Key::KeyboardCursor); }
    void setKeyboardCursor(bool on) { setFlag(Key::KeyboardCursor, on); }
    // A value of free form beside the table's (the key bindings), "" when
    // the file has none; the caller checks it.
    QString text(const QString& name) const;
    void setText(const QString& name, const QString& value);

    // How the battle window looks: the palette (0 normal, 1 colour-blind
    // safe), the markers' size (0 as designed, 1 twice) and the text size
    // (0 small, 1 normal, 2 large).
    int colours() const { return values_[index(Key::Colours)]; }
    void setColours(int choice) { set(Key::Colours, choice); }
    int markerSize() const { return values_[index(Key::MarkerSize)]; }
    void setMarkerSize(int choice) { set(Key::MarkerSize, choice); }
    int textSize() const { return values_[index(Key::TextSize)]; }
    void setTextSize(int choice) { set(Key::TextSize, choice); }

    QString fileName() const { return file_; }
    // The warning given when the file was read; empty when all was well or
    // when it was given before for the same file.
    const QString& warning() const { return warning_; }
    // Whether a change is written to the file (false when it cannot be used).
    bool keepsChanges() const { return store_ != nullptr; }

    enum class Key {
        PathPreview,
        LineOfFire,
        ShotOutcome,
        SeenEnemies,
        AnimationSpeed,
        Volume,
        Muted,
        ClassicFloors,
        BattleFeed,
        AllowUndo,
        ShotOdds,
        KeyboardCursor,
        Colours,
        MarkerSize,
        TextSize,
        FireLanes,
        FeedInPanel
    };
    static constexpr int kKeys = static_cast<int>(Key::FeedInPanel) + 1;

  private:
    static int index(Key k) { return static_cast<int>(k); }
    bool flag(Key k) const { return values_[index(k)] != 0; }
    void setFlag(Key k, bool on) { set(k, on ? 1 : 0); }
    void set(Key k, int value);
    void load();
    bool openDamaged();
    void tellOnce(const QString& fingerprint);

    QString file_;
    QString noteFile_;
    std::unique_ptr<QSettings> store_;
    int values_[kKeys] = {};
    QString warning_;
    QHash<QString, QString> texts_; // for this run when the file cannot be used
};

} // namespace korvath
