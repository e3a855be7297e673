#pragma once
#include "game/editor/LinedText.h"

#include <QWidget>

namespace korvath {

class EditorSession;
class SoldierTable;

// The scenario's own soldier table: add, copy and remove soldiers, edit their
// fields, and choose one to put on the map.
class SoldiersPanel : public QWidget {
    Q_OBJECT
  public:
    SoldiersPanel(EditorSession& session, QWidget* parent = nullptr);
    void choose(int index);

  signals:
    // A soldier was chosen to be put on the map (-1: none).
    void chosen(int index);

  private:
    void refresh();
    EditorSession& session_;
    SoldierTable* table_;
    LinedText shown_;
};

} // namespace korvath
