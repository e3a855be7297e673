#pragma once
#include "game/commands/Playback.h"
#include "game/commands/Scenario.h"
#include "game/state/Battle.h"

#include <QPointer>
#include <QWidget>

#include <string>

class QKeyEvent;
class QLabel;
class QListWidget;
class QSlider;

namespace korvath {

class SoundPlayer;
class TIntroForm;
class TNodeForm;
class TPlayingScreen;
class EditorWindow;
class ScenarioListDialog;

// The front screen: the two scenario maps to click, the difficulty bar and a
// text box with the read-me or the text of the scenario under the mouse.
// Every control is in reach of Tab (the maps take Enter), framed in amber.
// Hidden while a battle runs; closing it ends the program.
class TIntroScreen : public QWidget {
    Q_OBJECT
  public:
    TIntroScreen(Battle& battle, SoundPlayer* sound, QWidget* parent = nullptr);
    void setBriefing(TIntroForm* briefing) { briefing_ = briefing; }
    void setNodeForm(TNodeForm* nodes) { nodes_ = nodes; }

    // Starts the scenario of the clicked picture.
    void BeginButtonClick(ScenarioId which);
    // Starts a player's scenario as the two are started: the difficulty of
    // the bar, the briefing, the battle. False (the player told why) when it
    // cannot start; the front screen stays.
    bool startScenarioFolder(const std::string& folder);
    // "More battles...": the list of the players' scenarios, one to start.
    void otherBattlesClick();
    // "Editor...": the scenario editor's window (one at a time).
    EditorWindow* openEditor();
    EditorWindow* editorWindow() const;
    // Plays a recorded battle in the battle window (no briefing); false when
    // its battle cannot start (the player has been told why).
    bool playReplay(ReplayScript script, const std::string& fileName);

    // Which text the box shows: 0 read-me, 1 first scenario, 2 second scenario.
    int textState() const;
    // How many times a text file has been read into the box.
    int textLoads() const { return textLoads_; }
    TPlayingScreen* battleWindow() const;

  signals:
    void closed();
    // The list of other battles is up (tests answer it).
    void listShown(ScenarioListDialog* list);

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void FormCreate();
    // A key on one of the front screen's controls: true when it was used.
    bool keyPressed(QObject* watched, QKeyEvent* k);
    void showText(int state, const char* file);
    void KorvathMouseMove() { showText(1, "\\scenarios\\Korvath.txt"); }
    void VexlarMouseMove() { showText(2, "\\scenarios\\vexlar.txt"); }
    void Image1MouseMove() { showText(0, "\\readme.txt"); }
    void QuitButtonClick() { close(); }
    void FormDestroyOfBattle();
    // Creates the battle window for the scenario chosen in b_; null (the
    // player told why) when the battle cannot start.
    TPlayingScreen* openBattle();
    void presentBattle(bool withBriefing);
    QLabel* picture(QWidget* parent, const char* name, int left, int top, const char* file);

    Battle& b_;
    SoundPlayer* sound_;
    TIntroForm* briefing_ = nullptr;
    TNodeForm* nodes_ = nullptr;
    QPointer<TPlayingScreen> battle_;
    QPointer<EditorWindow> editor_;
    QListWidget* listBox_ = nullptr;
    QSlider* difficulty_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* korvath_ = nullptr;
    QLabel* vexlar_ = nullptr;
    int textLoads_ = 0;
};

} // namespace korvath
