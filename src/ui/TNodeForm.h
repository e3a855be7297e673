#pragma once
#include "game/state/Records.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QTableWidget;

namespace korvath {

// The developer's window of path costs: one cell per map square, 80 columns by
// 50 rows. Created hidden at start and kept for the whole run.
class TNodeForm : public QWidget {
    Q_OBJECT
  public:
    using Cells = std::array<std::array<int32_t, kMapHeight + 1>, kMapWidth + 1>; // [X][Y]

    explicit TNodeForm(QWidget* parent = nullptr);
    QTableWidget* grid() const { return grid_; }
    // Shows or hides the window and, while shown, the cells: column x-1, row
    // y-1 holds square (x, y).
    void mirror(bool visible, const Cells& cells);
    // Called when the developer closes the window by its frame.
    std::function<void()> onClosed;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    QTableWidget* grid_;
    Cells shown_{};
    bool filled_ = false;
};

} // namespace korvath
