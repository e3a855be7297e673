#include "SoldiersPanel.h"

#include "EditorSession.h"
#include "SoldierTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace korvath {

SoldiersPanel::SoldiersPanel(EditorSession& session, QWidget* parent)
    : QWidget(parent), session_(session), table_(new SoldierTable(session, this)) {
    setObjectName("SoldiersPanel");
    table_->setObjectName("SoldierTable");
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(
        "Choose a soldier, then click the map to put him there. A Raider taken off the map "
        "is placed by the player on a start star. Right-click a soldier on the map to choose him.",
        this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addWidget(table_, 1);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const QString& text, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, action);
    };
    auto add = [this](int side) {
        session_.edit([side](ScenarioDocument& d) { d.addSoldier(d.newSoldier(side)); });
        choose(table_->rowCount() - 1);
    };
    button("AddRaider", "Add a Raider", [add] { add(Side::Raiders); });
    button("AddOperative", "Add an Operative", [add] { add(Side::Operatives); });
    button("CopySoldier", "Copy", [this] {
        const int row = table_->chosenRow();
        if (row < 0) return;
        session_.edit([row](ScenarioDocument& d) {
            PieceRecord p = d.soldiers().at(row);
            p.X = p.Y = 0;
            p.Name = (p.Name + " 2").substr(0, 30);
            d.addSoldier(p);
        });
        choose(table_->rowCount() - 1);
    });
    button("OffTheMap", "Off the map", [this] {
        const int row = table_->chosenRow();
        if (row >= 0) session_.edit([row](ScenarioDocument& d) { d.placeSoldier(row, 0, 0); });
    });
    button("RemoveSoldier", "Remove", [this] {
        const int row = table_->chosenRow();
        if (row >= 0) session_.edit([row](ScenarioDocument& d) { d.removeSoldier(row); });
        emit chosen(-1);
    });
    layout->addLayout(buttons);

    table_->onEdited = [this](int row, const PieceRecord& p) {
        session_.edit([&](ScenarioDocument& d) { d.setSoldier(row, p); });
    };
    connect(table_, &QTableWidget::itemSelectionChanged, this,
            [this] { emit chosen(table_->chosenRow()); });
    connect(&session_, &EditorSession::changed, this, &SoldiersPanel::refresh);
    // Another scenario's soldier of the same row is not the one chosen.
    connect(&session_, &EditorSession::opened, this, [this] {
        table_->clearSelection();
        emit chosen(-1);
    });
}

void SoldiersPanel::refresh() {
    // Painting the map changes nothing here: the table is made again only
    // when the description changed.
    if (!session_.isOpen() || session_.doc().content().desc == shown_) return;
    shown_ = session_.doc().content().desc;
    table_->show(session_.doc().soldiers());
}

void SoldiersPanel::choose(int index) {
    if (index < 0 || index >= table_->rowCount()) return;
    table_->selectRow(index);
    table_->scrollToItem(table_->item(index, 0));
    emit chosen(index);
}

} // namespace korvath
