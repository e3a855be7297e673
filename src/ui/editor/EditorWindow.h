#pragma once
#include "MapCanvas.h"
#include "game/editor/Check.h"

#include <QMainWindow>

#include <string>

class QAction;
class QActionGroup;
class QListWidget;
class QScrollArea;
class QTabWidget;

namespace korvath {

class EditorSession;
class EventsPanel;
class SoldiersPanel;
class TextsPanel;
class TilePalette;

// The scenario editor: its own window in the game's dress. The map in the
// middle with the tools above it, the tiles on the left, on the right the
// overhead map to find one's way, the soldiers, the events, the texts, and
// what Check found. All it changes goes through the editor's model
// (ScenarioDocument); this window only shows it and turns clicks into edits.
class EditorWindow : public QMainWindow {
    Q_OBJECT
  public:
    EditorWindow(const std::string& appDir, QWidget* parent = nullptr);

    EditorSession& session() { return *session_; }
    MapCanvas& canvas() { return *canvas_; }
    // A new scenario on the fortress (0) or starship (1) tiles.
    void newScenario(int tileSet, const QString& title);
    // Opens a player's scenario, or a copy of a shipped one (0, 1).
    bool openFolder(const QString& folder);
    void openShipped(int index);
    // Saves into the scenario's folder, or asks for a name first; false when
    // it was not saved.
    bool save();
    bool saveAs(const QString& title);
    CheckReport check();
    void setTool(EditorTool t);

  signals:
    // Play the scenario in that folder, as the front screen would start it.
    void playRequested(const QString& folder);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void makeActions();
    void makeDocks();
    void refreshTitle();
    bool askToSave();
    void openChosen();
    void showFinding(const QString& text);
    void hovered(int x, int y);

    std::string appDir_;
    EditorSession* session_;
    MapCanvas* canvas_;
    QScrollArea* view_;
    TilePalette* palette_ = nullptr;
    SoldiersPanel* soldiers_ = nullptr;
    EventsPanel* events_ = nullptr;
    TextsPanel* texts_ = nullptr;
    QPoint hover_{1, 1};
    QTabWidget* tabs_ = nullptr;
    QListWidget* findings_ = nullptr;
    QActionGroup* tools_ = nullptr;
    QAction *undo_ = nullptr, *redo_ = nullptr;
};

} // namespace korvath
