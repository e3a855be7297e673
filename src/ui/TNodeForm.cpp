#include "TNodeForm.h"

#include "Fonts.h"
#include "game/state/Records.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QTableWidget>

namespace korvath {

TNodeForm::TNodeForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("NodeForm");
    setWindowTitle(QStringLiteral("NodeForm"));
    setGeometry(14, 312, 339, 359);
    grid_ = new QTableWidget(kMapHeight, kMapWidth, this);
    grid_->setObjectName("NodeGrid");
    grid_->setGeometry(0, 0, 339, 359);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setMinimumSectionSize(15);
    grid_->verticalHeader()->setMinimumSectionSize(15);
    grid_->horizontalHeader()->setDefaultSectionSize(15);
    grid_->verticalHeader()->setDefaultSectionSize(15);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setFont(msSerifFont(9));
    setForeground(grid_, QColor(0, 0, 128));
}

void TNodeForm::mirror(bool visible, const Cells& cells) {
    if (isVisible() != visible) setVisible(visible);
    if (!visible) return;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            if (filled_ && shown_[x][y] == cells[x][y]) continue;
            auto* item = grid_->item(y - 1, x - 1);
            if (!item) grid_->setItem(y - 1, x - 1, item = new QTableWidgetItem);
            item->setText(QString::number(cells[x][y]));
        }
    shown_ = cells;
    filled_ = true;
}

void TNodeForm::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (onClosed) onClosed();
}

} // namespace korvath
