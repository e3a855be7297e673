#pragma once
#include "game/state/Ports.h"

#include <QElapsedTimer>

class QFileDialog;

namespace korvath {

// The game's clock: milliseconds since the start and the time of day.
class QtClock : public Clock {
  public:
    QtClock();
    uint32_t ticks() override;
    int msSinceMidnight() override;

  private:
    QElapsedTimer started_;
};

// Waits on the Qt event loop: the window keeps being painted, and user input
// is held back unless letMessagesRun.
void waitOnEventLoop(int ms, bool letMessagesRun);

// Information boxes and file questions as Qt dialogs over the active window.
class QtDialogs : public Dialogs {
  public:
    void information(const std::string& text) override;
    void warning(const std::string& text) override;
    std::string openFile(const FileQuestion& q) override;
    std::string saveFile(const FileQuestion& q) override;
    void answerNextFile(const std::string& path) override { preset_ = path; }
    bool confirm(const std::string& question) override;

    // "Saved Games|*korvath.map|All|*" -> "Saved Games (*korvath.map);;All (*)"
    static QString qtFilter(const std::string& filter);
    // Adds the default extension ("*.map") to a name chosen without one.
    static std::string withDefaultExtension(const std::string& file, const std::string& ext);

  private:
    std::string preset_; // the answer to the next question, without asking
};

// Sets up the save or load dialog: Qt's own dialog opening in the question's
// folder with its filter and default suffix, the other saved-games folders in
// the side bar.
void configureFileDialog(QFileDialog& dialog, const FileQuestion& q, bool save);

} // namespace korvath
