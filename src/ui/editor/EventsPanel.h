#pragma once
#include "MapCanvas.h"
#include "game/editor/ScenarioContent.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace korvath {

class EditorSession;
class SoldierTable;

// The scenario's events: those that come on a turn and those that come when
// the last tile of a kind is destroyed, each with its map changes (squares
// that turn into other tiles) and its reinforcements (soldiers who arrive).
class EventsPanel : public QWidget {
    Q_OBJECT
  public:
    EventsPanel(EditorSession& session, QWidget* parent = nullptr);
    // The tile a new event tile is made from: the one chosen to paint with.
    void setGlyph(int g) { glyph_ = g; }
    QString chosenEvent() const;
    void choose(const QString& name);

  signals:
    // The event (and its reinforcement) the map shows and its tools change.
    void chosen(const QString& event, int reinforcement);
    void toolWanted(EditorTool tool);

  private:
    void refresh();
    void showChosen();
    void newOnTurn();
    void newForTile();
    void removeChosen();

    EditorSession& session_;
    QListWidget* list_;
    QLabel* trigger_;
    QSpinBox* turn_;
    QLabel* changes_;
    SoldierTable* arrivals_;
    std::vector<QPushButton*> needEvent_;
    int glyph_ = 0;
    bool filling_ = false;
    // What the list was made from.
    LinedText desc_, glyphs_;
    std::map<std::string, LinedText> events_;
};

} // namespace korvath
