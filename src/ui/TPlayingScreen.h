#pragma once
#include "MapView.h"
#include "game/commands/Recording.h"
#include "game/state/Battle.h"

#include <QCursor>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <string>
#include <vector>

class QAction;
class QComboBox;
class QWheelEvent;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QTableWidget;
class QToolButton;

namespace korvath {

class BattleAids;
class KeyboardPlay;
class WindowLook;
class KitHints;
class SettingsDialog;
class FeedPanel;
class ReplayPlayer;
class SoundPlayer;
class TNodeForm;
class UndoMenu;
struct ReplayScript;

// The client area of the battle window: its size as designed, and the
// smallest it may be, which leaves room on a 1366 x 768 screen for the
// window's title bar and a desktop panel.
class ClientArea : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    static constexpr QSize kDesignSize{1018, 734};
    static constexpr QSize kSmallestSize{818, 654};
    QSize sizeHint() const override { return kDesignSize; }
    QSize minimumSizeHint() const override { return kSmallestSize; }
};

// The battle window. Every control of the window design is a real widget (or
// menu action) whose objectName is the control's name; sync() mirrors the
// battle's controls model onto them. User events go to the handlers in
// BattleEvents.cpp, which hand them to the game's rules and sync afterwards.
class TPlayingScreen : public QMainWindow {
    Q_OBJECT
  public:
    TPlayingScreen(Battle& battle, SoundPlayer* sound, TNodeForm* nodes, QWidget* parent = nullptr);
    ~TPlayingScreen() override;

    // Creation of the battle: loads the waves and cursors and reads the chosen
    // scenario. Throws DataError (the battle is then left as it was).
    void FormCreate();

    // Brings every widget up to date with the controls model and repaints the
    // visible part of the map that changed: at once when now is set (the rules'
    // animations), else with the next paint.
    void sync(bool now = false);

    Battle& battle() { return b_; }
    // Edge scrolling follows the real mouse; tests that need a still view turn it off.
    void setEdgeScrolling(bool on) { edgeScrolling_ = on; }
    QWidget* control(const QString& name) const { return widgets_.value(name); }
    QAction* menuEntry(const QString& name) const { return actions_.value(name); }
    MapImageWidget* mapImage() const { return mapImage_; }
    // The aids beyond the game's own rules: overlays, settings, autosave, summary.
    BattleAids* aids() const { return aids_; }
    WindowLook* look() const { return look_; }
    // The Edit menu's Undo and Redo.
    UndoMenu* undoMenu() const { return undoMenu_; }
    // The keys, the map cursor and Options > Settings...
    KeyboardPlay* keyboard() const { return keyboard_; }
    SettingsDialog* settingsDialog() const { return settingsDialog_; }
    // The strip along the bottom of the window; a passing message hides its
    // standing text ("StatusBar") for a while.
    QStatusBar* statusArea() const;

    // Classic black floors or the scenario's floor art, as the Options entry
    // "Classic black floors" switches them; the choice outlives the battle.
    void setClassicFloors(bool classic);
    bool classicFloors() const { return b_.classicFloors; }

    // Full screen on and off (F11 and the Options menu).
    void toggleFullScreen();

    // ---- recording and replaying (BattleReplay.cpp) ----
    // The battle as played so far, in the script language.
    Recording& recording() { return recording_; }
    // Writes the recording to path (a ".kvs"); throws DataError naming it.
    void saveReplay(const std::string& path) const;
    // Plays a recorded battle that FormCreate has just created.
    ReplayPlayer* playReplay(ReplayScript script, const std::string& fileName);
    ReplayPlayer* replayPlayer() const { return replay_; }
    // While a replay plays, the window leaves the view, the activation and
    // the edge of the screen alone: the replay says what happened.
    void setReplaying(bool on);
    // Runs one command of a script as a handler; its error, or "".
    std::string runScripted(const std::vector<std::string>& words);
    // How long the animation's waits last: 1 as the game paces them, 0 none.
    void setAnimationScale(double scale) { animationScale_ = scale; }

  protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    // ---- layout (TPlayingScreen.cpp) ----
    void buildWindow();
    void buildMapView();
    void buildDeploymentList();
    void buildActionsBar();
    void buildMenus();
    void buildInformationPanel(QWidget* central);
    template <class W> W* add(W* w, const char* name, int left, int top, int width, int height);
    QLabel* caption(QWidget* parent, const QString& text, int left, int top, int width = 90);
    QToolButton* speedButton(QWidget* parent, const char* name, const QString& hint, int left,
                             int top, int width = 40);
    // ---- the layout at any size (BattleLayout.cpp) ----
    void rememberDesign();
    void placeControls(QSize client);
    void placePanel(int shrink);

    void syncControl(const std::string& name, const Control& c);
    void syncLog(QPlainTextEdit* memo, const Control& c);
    static void showNewestLine(QPlainTextEdit* memo);
    void syncPortrait();
    void syncStanding();
    QCursor cursorFor(CursorShape shape) const;

    // ---- user events (BattleEvents.cpp) ----
    void connectEvents();
    void MapImageMouseDown(const MapMouse& m);
    void MapImageMouseMove(const MapMouse& m);
    void GridMouseMove(int x, int y);
    void FormMouseMove();
    void OverHeadMapMouseDown(int x, int y);
    void ScrollTopChange(int position);
    void ScrollSideChange(int position);
    void MapImageWheel(QWheelEvent* e);
    // Moves the view by pixels, as the scroll bars would.
    void scrollBy(int right, int down);
    // The map panel has a new size: the rules' view follows it.
    void viewResized();
    void EndTurnButtonClick();
    void HandFightIconClick();
    void AimedFireIconClick();
    void SnapFireIconClick();
    void CancelButtonClick();
    void OverwatchIconClick();
    void NextButtonClick();
    void DropItemClick();
    void PickUpButtonClick();
    void EquipRadioClick();
    void PlaceMenGridClick(int row);
    void EquipGridClick(int row);
    void PickItemsChange(int row);
    void Loadgame1Click();
    void Savegame1Click();
    void Quit1Click();
    void nameTheControls();
    void buildFeed();
    void placeFeed();
    void syncShotCosts();
    bool leavingConfirmed();
    void ShowWoundsClick();
    void ShowOverwatchClick();
    void ShowMediKitClick();
    void ClassicFloorsClick();
    void IwannaC1Click();
    void Nodes1Click();
    void Setp1tocoords1Click();
    void AboutClick();
    // Help > Controls (F1) and Help > How to play, each in one window of its own.
    void showHelp(int page);
    void SaveReplayClick();
    // After an unexpected error the battle so far is kept as a replay; where
    // it went, or "" when it could not be written.
    std::string keepReplayAfterError();
    // The battle so far as "autosave_<scenario>.kvs" beside the autosaves.
    void keepReplayBesideAutosave();
    void IdleTick();
    void FormShow();
    void FormActivate();
    void FormClose();
    // Runs one handler; afterwards the widgets are synced, and a close asked
    // for while the handler ran (a wait lets messages through) happens now.
    template <class F> void handle(F&& f);
    // Runs one command of the game's registry ("button EndTurn") as a handler.
    void run(std::vector<std::string> words);

    // The battle shown as it goes: the beats wait on the event loop, a repaint
    // brings the widgets up to date at once.
    class WindowPresenter : public Presenter {
      public:
        explicit WindowPresenter(TPlayingScreen* w) : w_(w) {}
        void beat(Beat beat) override;
        void repaint() override;
        void letMessagesRun() override;
        void playerTurnBegins() override;

      private:
        TPlayingScreen* w_;
    };

    Battle& b_;
    SoundPlayer* sound_;
    TNodeForm* nodes_;
    WindowPresenter presenter_{this};
    BattleAids* aids_ = nullptr;
    WindowLook* look_ = nullptr;
    KitHints* kitHints_ = nullptr;
    FeedPanel* feed_ = nullptr;
    UndoMenu* undoMenu_ = nullptr;
    KeyboardPlay* keyboard_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;
    QHash<QString, QWidget*> widgets_;
    QHash<QString, QAction*> actions_;
    MapImageWidget* mapImage_ = nullptr;
    RasterLabel* overHeadMap_ = nullptr;
    QLabel* whatMan_ = nullptr;
    QLabel* standing_ = nullptr;
    QWidget* central_ = nullptr;
    QHash<QWidget*, QRect> design_;     // every placed widget where the design puts it
    QPoint wheelRest_;                  // wheel turns too small for a step yet
    static constexpr int kIdleGap = 15; // ms between two edge-scrolling steps
    QTimer idleTimer_;
    QCursor swordCursor_;
    QCursor aimCursor_;
    QPointer<QDialog> helpWindows_[2]; // Controls, How to play
    CursorShape windowCursor_ = CursorShape::Default;
    CursorShape mapCursor_ = CursorShape::Default;
    int portraitShown_ = -1;
    int portraitFrame_ = -1;
    size_t memoLines_ = 0;
    std::string memoLast_;
    bool closed_ = false;
    bool inIdle_ = false;
    bool placed_ = false;
    bool edgeScrolling_ = true;
    bool activated_ = false;
    bool replaying_ = false;
    double animationScale_ = 1.0;
    Recording recording_;
    ReplayPlayer* replay_ = nullptr; // a child of the window while a replay plays
};

} // namespace korvath
