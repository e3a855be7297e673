#pragma once
#include <QWidget>

class QTableWidget;

namespace korvath {

// The developer's window of path costs: one cell per map square, 80 columns by
// 50 rows. Created hidden at start and kept for the whole run.
class TNodeForm : public QWidget {
    Q_OBJECT
  public:
    explicit TNodeForm(QWidget* parent = nullptr);
    QTableWidget* grid() const { return grid_; }
    // Writes one cell: column x-1, row y-1 for square (x, y).
    void setCell(int x, int y, int value);

  private:
    QTableWidget* grid_;
};

} // namespace korvath
