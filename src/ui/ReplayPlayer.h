#pragma once
#include "game/commands/Playback.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QToolBar;

namespace korvath {

class TPlayingScreen;

// Plays a recorded battle in its window, one command at a time, with a small
// bar to pause, step and choose the speed. Meanwhile the window takes no input
// from the player but that bar; the generator's reseeds come from the replay's
// times of day and its file dialogs from its own lines. At the end (or at a
// line that cannot be played) the battle is the player's.
class ReplayPlayer : public QObject {
    Q_OBJECT
  public:
    enum class Speed { Normal, Fast, Instant };

    ReplayPlayer(TPlayingScreen* window, ReplayScript script, std::string fileName);
    ~ReplayPlayer() override;

    void setSpeed(Speed speed);
    void setPaused(bool paused);
    // Plays the next command now, paused or not.
    void step();
    bool finished() const { return finished_; }
    // What stopped the replay early ("FILE, line N: ..."), empty if nothing did.
    const std::string& failure() const { return failure_; }
    QToolBar* bar() const { return bar_; }

  signals:
    void ended();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // Shows a box's text on the bar instead of waiting for the player to close it.
    class BarDialogs : public Dialogs {
      public:
        explicit BarDialogs(ReplayPlayer& player) : player_(player) {}
        void information(const std::string& text) override;
        std::string openFile(const FileQuestion&) override { return {}; }
        std::string saveFile(const FileQuestion&) override { return {}; }

      private:
        ReplayPlayer& player_;
    };

    void buildBar();
    void tick();
    void scheduleNext();
    void runLater(const LaterInput& input);
    void fail(int line, const std::string& reason);
    void finish(const QString& note);
    void show(const QString& text);
    int pause() const;

    QPointer<TPlayingScreen> window_;
    Battle& b_;
    ReplayScript script_;
    std::string fileName_;
    size_t next_ = 0;
    int line_ = 0;
    bool paused_ = false;
    bool finished_ = false;
    Speed speed_ = Speed::Normal;
    std::string failure_;

    Clock* realClock_;
    Dialogs* realDialogs_;
    CommandWatcher* realWatcher_;
    ReplayClock clock_;
    BarDialogs barDialogs_{*this};
    std::string scratch_;
    std::unique_ptr<ReplayDialogs> dialogs_;
    MeanwhilePlayer meanwhile_;

    QTimer timer_;
    QToolBar* bar_ = nullptr;
    QAction* pause_ = nullptr;
    QAction* step_ = nullptr;
    QComboBox* speedBox_ = nullptr;
    QLabel* lineLabel_ = nullptr;
};

} // namespace korvath
