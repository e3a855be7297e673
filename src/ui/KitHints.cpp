#include "KitHints.h"

#include "engine/ShownText.h"
#include "game/commands/GridPlan.h"
#include "game/state/Pieces.h"

#include <QMenu>
#include <QStatusBar>
#include <QTableWidget>

namespace korvath {

namespace {

constexpr int kRows = 6;
constexpr int kHintMs = 6000;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// How a row is used when none is armed yet.
std::string howToUse(const EquipmentType& e, int slot) {
    const std::string name = shownText(e.Name);
    if (e.Kind == "Ammo") return name + ": click it, then click the weapon it fits to reload";
    if (e.Effect == "wounds")
        return name + ": click it, then click a wounded soldier on the map to treat him (" +
               std::to_string(e.Weight + 3) + " AP; his turn and yours end)";
    if (e.Kind == "Misc" || e.Kind == "Weapon" || e.Kind == "Firearm")
        return name + (slot == 1 ? " (in hand)" : "") +
               ": click it, then click another row to swap the two";
    return name;
}

} // namespace

KitHints::KitHints(QTableWidget* grid, QStatusBar* status, const Battle& b,
                   std::function<void(int row)> clickRow)
    : QObject(grid), grid_(grid), status_(status), b_(b), clickRow_(std::move(clickRow)) {
    connect(grid_, &QTableWidget::cellEntered, this, [this](int row, int) {
        if (const QString h = hint(row); !h.isEmpty()) status_->showMessage(h, kHintMs);
    });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, &KitHints::offerActions);
}

QString KitHints::hint(int row) const {
    if (!isPiece(b_, b_.SelectedPiece) || row < 0 || row >= kRows) return {};
    const PieceRecord& p = b_.Pieces[b_.SelectedPiece];
    const int slot = row + 1, armed = b_.SelectedItemSlot;
    if (armed >= 1 && armed <= kRows) {
        if (armed == slot && planSecondClick(b_, p, armed, slot).kind == GridPlan::Kind::Nothing)
            return QStringLiteral("Click again to put it back");
        return text(describePlan(b_, p, slot, planSecondClick(b_, p, armed, slot)));
    }
    if (p.Items[slot] == 0) return QStringLiteral("Empty");
    return text(howToUse(b_.item(p.Items[slot]), slot));
}

void KitHints::shown() {
    // Handling kit ends the soldier's move mode: once the second click is
    // made, the map and the buttons wait for him to be chosen again, which
    // nothing else would tell.
    const int armed = b_.SelectedItemSlot;
    if (armedBefore_ != 0 && armed == 0 && b_.equipmentShown && !b_.PieceSelected &&
        isPiece(b_, b_.SelectedPiece) && b_.Pieces[b_.SelectedPiece].AP > 0)
        status_->showMessage(
            QStringLiteral("Choose %1 on the map again to walk, shoot or go on overwatch")
                .arg(text(shownText(b_.Pieces[b_.SelectedPiece].Name))),
            kHintMs * 2);
    armedBefore_ = armed;
    const QSignalBlocker block(grid_);
    for (int r = 0; r < grid_->rowCount() && r < kRows; ++r)
        if (QTableWidgetItem* item = grid_->item(r, 0)) {
            const QString h = hint(r);
            if (item->toolTip() != h) item->setToolTip(h);
        }
}

// The actions of the row right-clicked: with a row armed, what a click on
// it does; else each thing its item can do with another row.
void KitHints::offerActions(const QPoint& at) {
    const int row = grid_->rowAt(at.y());
    if (!grid_->isEnabled() || !isPiece(b_, b_.SelectedPiece) || row < 0 || row >= kRows) return;
    const PieceRecord& p = b_.Pieces[b_.SelectedPiece];
    const int slot = row + 1, armed = b_.SelectedItemSlot;
    QMenu menu(grid_);
    if (armed >= 1 && armed <= kRows) {
        menu.addAction(hint(row), [this, row] { clickRow_(row); });
    } else {
        for (int other = 1; other <= kRows; ++other) {
            const GridPlan plan = planSecondClick(b_, p, slot, other);
            if (other == slot || plan.kind == GridPlan::Kind::Nothing) continue;
            const std::string with = p.Items[other] == 0 ? "empty row " + std::to_string(other)
                                                         : shownText(b_.item(p.Items[other]).Name);
            menu.addAction(text("With " + with + ": " + describePlan(b_, p, other, plan)),
                           [this, row, other] {
                               clickRow_(row);
                               clickRow_(other - 1);
                           });
        }
        if (menu.isEmpty()) menu.addAction(hint(row))->setEnabled(false);
    }
    menu.exec(grid_->viewport()->mapToGlobal(at));
}

} // namespace korvath
