#pragma once
#include "game/state/Records.h"

#include <QTableWidget>

#include <functional>
#include <vector>

namespace korvath {

class EditorSession;

// Soldiers as the scenario's lines hold them, one row each and a column for
// each field of a unit line (name, side, square, the difficulty from which he
// comes, picture, points, skills, items, target size). A cell edited is the
// soldier changed; items are chosen by name from the scenario's equipment.
class SoldierTable : public QTableWidget {
    Q_OBJECT
  public:
    SoldierTable(EditorSession& session, QWidget* parent = nullptr);
    void show(const std::vector<PieceRecord>& soldiers);
    int chosenRow() const;
    // Called with the row and the soldier as edited.
    std::function<void(int row, const PieceRecord& p)> onEdited;

  private:
    void cellEdited(int row, int column);
    EditorSession& session_;
    std::vector<PieceRecord> shown_;
    bool filling_ = false;
};

} // namespace korvath
