#include "SoldierTable.h"

#include "EditorSession.h"
#include "game/state/Fields.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSpinBox>
#include <QStyledItemDelegate>

namespace korvath {

namespace {

// The fields of a unit line, in its column order (MaxWounds follows Wounds).
std::vector<const PieceField*> columns() {
    std::vector<const PieceField*> out;
    for (int c = 0; c <= lastColumn(pieceFields()); ++c)
        if (const auto f = fieldsOfColumn(pieceFields(), c); !f.empty()) out.push_back(f[0]);
    return out;
}

QString heading(const PieceField& f) {
    const std::string n = f.name;
    if (n == "MinDifficulty") return "From difficulty";
    if (n == "TargetSize") return "Target size";
    if (n == "BaseAP") return "Base AP";
    if (itemSlotOf(f)) return QString("Item %1").arg(itemSlotOf(f));
    return QString::fromStdString(n);
}

// Combo boxes for the side, the picture and the items; spin boxes in the
// field's range for the numbers.
class FieldDelegate : public QStyledItemDelegate {
  public:
    FieldDelegate(EditorSession& s, QObject* parent) : QStyledItemDelegate(parent), session_(s) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o,
                          const QModelIndex& index) const override {
        const PieceField& f = *columns()[index.column()];
        const std::string n = f.name;
        if (n == "Side" || n == "Picture" || itemSlotOf(f)) {
            auto* box = new QComboBox(parent);
            if (n == "Side") {
                box->addItem("Raiders", 1);
                box->addItem("Operatives", 2);
            } else if (n == "Picture") {
                box->setIconSize(QSize(24, 24));
                for (int r = 1; r <= kPictureRows; ++r)
                    box->addItem(QIcon(QPixmap::fromImage(session_.soldier(r))), QString::number(r),
                                 r);
            } else {
                box->addItem("(nothing)", 0);
                const auto items = session_.doc().equipment();
                for (size_t i = 0; i < items.size(); ++i)
                    box->addItem(QString("%1 %2").arg(i + 1).arg(items[i].Name.c_str()),
                                 static_cast<int>(i + 1));
            }
            return box;
        }
        if (f.kind != FieldKind::Text) {
            auto* spin = new QSpinBox(parent);
            spin->setRange(std::max(f.min, -9999), std::min(f.max, 9999));
            return spin;
        }
        return QStyledItemDelegate::createEditor(parent, o, index);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const int v = index.data(Qt::UserRole).toInt();
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentIndex(box->findData(v));
        else if (auto* spin = qobject_cast<QSpinBox*>(editor))
            spin->setValue(v);
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            model->setData(index, box->currentData(), Qt::UserRole);
        else if (auto* spin = qobject_cast<QSpinBox*>(editor))
            model->setData(index, spin->value(), Qt::UserRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

  private:
    EditorSession& session_;
};

} // namespace

SoldierTable::SoldierTable(EditorSession& session, QWidget* parent)
    : QTableWidget(parent), session_(session) {
    const auto cols = columns();
    setColumnCount(static_cast<int>(cols.size()));
    QStringList headings;
    for (const PieceField* f : cols) headings << heading(*f);
    setHorizontalHeaderLabels(headings);
    setItemDelegate(new FieldDelegate(session_, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(24, 24));
    verticalHeader()->setDefaultSectionSize(28);
    horizontalHeader()->setDefaultSectionSize(64);
    for (int c = 0; c < columnCount(); ++c) {
        const std::string n = cols[c]->name;
        setColumnWidth(c, n == "Name"                           ? 150
                          : n == "Side" || itemSlotOf(*cols[c]) ? 100
                          : n == "MinDifficulty"                ? 110
                                                                : 64);
    }
    connect(this, &QTableWidget::cellChanged, this, &SoldierTable::cellEdited);
}

void SoldierTable::show(const std::vector<PieceRecord>& soldiers) {
    const int row = chosenRow();
    filling_ = true;
    shown_ = soldiers;
    setRowCount(static_cast<int>(soldiers.size()));
    const auto cols = columns();
    const auto items = session_.doc().equipment();
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            const PieceField& f = *cols[c];
            auto* cell = new QTableWidgetItem;
            if (f.kind == FieldKind::Text) {
                cell->setText(QString::fromStdString(f.text(soldiers[r])));
            } else {
                const int v = f.get(soldiers[r]);
                cell->setData(Qt::UserRole, v);
                QString shown = QString::number(v);
                if (std::string(f.name) == "Side")
                    shown = v == Side::Raiders ? "Raiders" : "Operatives";
                if (std::string(f.name) == "Picture")
                    cell->setIcon(QIcon(QPixmap::fromImage(session_.soldier(v))));
                if (itemSlotOf(f))
                    shown = v == 0 ? "-"
                            : v <= static_cast<int>(items.size())
                                ? QString::fromStdString(items[v - 1].Name)
                                : QString("%1 (none such)").arg(v);
                // A Raider off the map is placed on a start star by the player.
                if ((std::string(f.name) == "X" || std::string(f.name) == "Y") &&
                    soldiers[r].X == 0 && soldiers[r].Y == 0 && soldiers[r].Side == Side::Raiders)
                    shown = "star";
                cell->setText(shown);
            }
            setItem(r, c, cell);
        }
    filling_ = false;
    if (row >= 0 && row < rowCount()) selectRow(row);
}

int SoldierTable::chosenRow() const {
    const auto rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void SoldierTable::cellEdited(int row, int column) {
    if (filling_ || row < 0 || row >= static_cast<int>(shown_.size()) || !onEdited) return;
    const PieceField& f = *columns()[column];
    PieceRecord p = shown_[row];
    if (f.kind == FieldKind::Text)
        f.setText(p, item(row, column)->text().toStdString().substr(0, f.maxLength));
    else
        for (const PieceField* same : fieldsOfColumn(pieceFields(), f.column))
            same->set(p, item(row, column)->data(Qt::UserRole).toInt());
    if (p == shown_[row]) return;
    onEdited(row, p);
}

} // namespace korvath
