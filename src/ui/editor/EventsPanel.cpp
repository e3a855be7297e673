#include "EventsPanel.h"

#include "EditorSession.h"
#include "SoldierTable.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace korvath {

namespace {

// The tile whose destruction runs the event, 0 for one that comes on a turn.
int tileOf(const ScenarioDocument& d, const std::string& event) {
    const auto texts = d.glyphTexts();
    for (int g = 1; g <= kLastTileGlyph; ++g)
        if (texts[g].Action == event) return g;
    return 0;
}

int turnOf(const ScenarioDocument& d, const std::string& event) {
    for (const TurnEvents& e : d.scheduledEvents())
        if (e.EventName == event) return e.Turn;
    return 0;
}

} // namespace

EventsPanel::EventsPanel(EditorSession& session, QWidget* parent)
    : QWidget(parent), session_(session), list_(new QListWidget(this)), trigger_(new QLabel(this)),
      turn_(new QSpinBox(this)), changes_(new QLabel(this)),
      arrivals_(new SoldierTable(session, this)) {
    setObjectName("EventsPanel");
    list_->setObjectName("EventList");
    arrivals_->setObjectName("Reinforcements");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    auto button = [&](QBoxLayout* into, const char* name, const QString& text, auto action,
                      bool needsEvent) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        into->addWidget(b);
        connect(b, &QPushButton::clicked, this, action);
        if (needsEvent) needEvent_.push_back(b);
    };
    button(
        row, "NewTurnEvent", "On a turn...", [this] { newOnTurn(); }, false);
    button(
        row, "NewTileEvent", "When a tile is destroyed...", [this] { newForTile(); }, false);
    button(
        row, "RemoveEvent", "Remove", [this] { removeChosen(); }, true);
    layout->addLayout(row);

    auto* form = new QFormLayout;
    trigger_->setWordWrap(true);
    form->addRow("Comes", trigger_);
    turn_->setObjectName("EventTurn");
    turn_->setRange(2, 999);
    form->addRow("On turn", turn_);
    changes_->setWordWrap(true);
    form->addRow("Map changes", changes_);
    layout->addLayout(form);
    auto* changeRow = new QHBoxLayout;
    button(
        changeRow, "ChangeSquares", "Change squares on the map",
        [this] { emit toolWanted(EditorTool::EventChange); }, true);
    layout->addLayout(changeRow);

    layout->addWidget(new QLabel("Reinforcements: soldiers who arrive", this));
    layout->addWidget(arrivals_, 1);
    auto* arrivalRow = new QHBoxLayout;
    auto addArrival = [this](int side) {
        const std::string name = chosenEvent().toStdString();
        session_.edit([&](ScenarioDocument& d) {
            EventContents e = d.event(name);
            PieceRecord p = d.newSoldier(side);
            p.Name =
                (std::string("Arriving ") + (side == Side::Raiders ? "Raider " : "Operative ") +
                 std::to_string(e.reinforcements.size() + 1));
            p.X = d.content().manifest.ObjectiveX;
            p.Y = d.content().manifest.ObjectiveY;
            e.reinforcements.push_back(p);
            d.setEvent(name, e);
        });
        arrivals_->selectRow(arrivals_->rowCount() - 1);
        emit toolWanted(EditorTool::Reinforcement);
    };
    button(
        arrivalRow, "AddArrivingOperative", "Add an Operative",
        [addArrival] { addArrival(Side::Operatives); }, true);
    button(
        arrivalRow, "AddArrivingRaider", "Add a Raider",
        [addArrival] { addArrival(Side::Raiders); }, true);
    button(
        arrivalRow, "RemoveArrival", "Remove",
        [this] {
            const int r = arrivals_->chosenRow();
            const std::string name = chosenEvent().toStdString();
            if (r < 0) return;
            session_.edit([&](ScenarioDocument& d) {
                EventContents e = d.event(name);
                e.reinforcements.erase(e.reinforcements.begin() + r);
                d.setEvent(name, e);
            });
        },
        true);
    button(
        arrivalRow, "PlaceArrival", "Place on the map",
        [this] { emit toolWanted(EditorTool::Reinforcement); }, true);
    layout->addLayout(arrivalRow);

    arrivals_->onEdited = [this](int r, const PieceRecord& p) {
        const std::string name = chosenEvent().toStdString();
        session_.edit([&](ScenarioDocument& d) {
            EventContents e = d.event(name);
            e.reinforcements.at(r) = p;
            d.setEvent(name, e);
        });
    };
    connect(list_, &QListWidget::currentRowChanged, this, [this] { showChosen(); });
    connect(arrivals_, &QTableWidget::itemSelectionChanged, this,
            [this] { emit chosen(chosenEvent(), arrivals_->chosenRow()); });
    connect(turn_, &QSpinBox::editingFinished, this, [this] {
        const std::string name = chosenEvent().toStdString();
        const int turn = turn_->value();
        session_.edit([&](ScenarioDocument& d) {
            auto events = d.scheduledEvents();
            for (TurnEvents& e : events)
                if (e.EventName == name) e.Turn = turn;
            d.setScheduledEvents(events);
        });
    });
    connect(&session_, &EditorSession::changed, this, &EventsPanel::refresh);
}

void EventsPanel::choose(const QString& name) {
    for (int r = 0; r < list_->count(); ++r)
        if (list_->item(r)->data(Qt::UserRole).toString() == name) list_->setCurrentRow(r);
}

QString EventsPanel::chosenEvent() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void EventsPanel::refresh() {
    if (!session_.isOpen()) return;
    const ScenarioDocument& d = session_.doc();
    const ScenarioContent& c = d.content();
    // Painting the map changes nothing here.
    if (c.desc == desc_ && c.glyphDesc == glyphs_ && c.events == events_) return;
    desc_ = c.desc, glyphs_ = c.glyphDesc, events_ = c.events;
    const QString was = chosenEvent();
    filling_ = true;
    list_->clear();
    std::vector<std::string> names = eventNames(d.content());
    for (const auto& [name, text] : d.content().events)
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    const auto texts = d.glyphTexts();
    for (const std::string& name : names) {
        QString label = QString::fromStdString(name);
        if (const int turn = turnOf(d, name)) label += QString("  (turn %1)").arg(turn);
        if (const int g = tileOf(d, name))
            label += QString("  (when the last %1 falls)").arg(texts[g].Description.c_str());
        if (!d.content().events.count(name)) label += "  - no event file yet";
        auto* item = new QListWidgetItem(label, list_);
        item->setData(Qt::UserRole, QString::fromStdString(name));
        if (const int g = tileOf(d, name))
            item->setIcon(QIcon(QPixmap::fromImage(session_.tile(g))));
    }
    filling_ = false;
    choose(was);
    showChosen();
}

void EventsPanel::showChosen() {
    if (filling_ || !session_.isOpen()) return;
    const ScenarioDocument& d = session_.doc();
    const std::string name = chosenEvent().toStdString();
    for (QPushButton* b : needEvent_) b->setEnabled(!name.empty());
    const int turn = name.empty() ? 0 : turnOf(d, name);
    const int tile = name.empty() ? 0 : tileOf(d, name);
    turn_->setEnabled(turn > 0);
    turn_->setValue(std::max(turn, 2));
    const auto texts = d.glyphTexts();
    trigger_->setText(name.empty() ? "Choose an event, or make one."
                      : turn       ? QString("as turn %1 begins").arg(turn)
                      : tile       ? QString("when the last %1 (glyph %2) on the map is destroyed")
                                   .arg(texts[tile].Description.c_str())
                                   .arg(tile)
                             : "never: nothing names it");
    EventContents e;
    QString told;
    try {
        e = d.event(name);
    } catch (const std::exception& err) {
        told = QString("The file cannot be read: %1").arg(err.what());
    }
    changes_->setText(!told.isEmpty() ? told
                      : e.changes.empty()
                          ? "none. Choose a tile, press the button below and click squares."
                          : QString("%1 squares (shown dashed on the map; right-click one "
                                    "with the tool to take it back)")
                                .arg(e.changes.size()));
    arrivals_->show(e.reinforcements);
    emit chosen(chosenEvent(), arrivals_->chosenRow());
}

void EventsPanel::newOnTurn() {
    bool ok = false;
    const QString name = QInputDialog::getText(
        this, "A new event", "Its name (a word):", QLineEdit::Normal, "Reinforcements", &ok);
    if (!ok || name.trimmed().isEmpty()) return;
    const int turn = QInputDialog::getInt(this, "A new event", "It comes as this turn begins:", 3,
                                          2, 999, 1, &ok);
    if (!ok) return;
    const std::string n = name.trimmed().toStdString();
    session_.edit([&](ScenarioDocument& d) {
        auto events = d.scheduledEvents();
        events.push_back({turn, n});
        d.setEvent(n, d.event(n));
        d.setScheduledEvents(events);
    });
    refresh();
    choose(QString::fromStdString(n));
}

void EventsPanel::newForTile() {
    if (!session_.isOpen()) return;
    const ScenarioDocument& d = session_.doc();
    const auto texts = d.glyphTexts();
    if (glyph_ < 1 || solidityOfGlyph(glyph_) < 2 || texts[glyph_].Action == "Victory!") {
        QMessageBox::information(this, "A new event",
                                 "First choose the tile to paint with: an object or a wall that "
                                 "shots can destroy (not the \"Victory!\" tile).");
        return;
    }
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, "A new event",
                              QString("When the last %1 on the map is destroyed, the event "
                                      "comes. Its name (a word):")
                                  .arg(texts[glyph_].Description.c_str()),
                              QLineEdit::Normal, "Alarm", &ok);
    if (!ok || name.trimmed().isEmpty()) return;
    // The game runs the event named by the tile's whole action, which begins "event".
    const std::string n = "event" + name.trimmed().toStdString();
    const int g = glyph_;
    session_.edit([&](ScenarioDocument& doc) {
        doc.setEvent(n, doc.event(n));
        doc.setGlyphTexts(g, texts[g].Description, n);
    });
    refresh();
    choose(QString::fromStdString(n));
}

void EventsPanel::removeChosen() {
    const std::string name = chosenEvent().toStdString();
    if (name.empty()) return;
    session_.edit([&](ScenarioDocument& d) {
        auto events = d.scheduledEvents();
        events.erase(std::remove_if(events.begin(), events.end(),
                                    [&](const TurnEvents& e) { return e.EventName == name; }),
                     events.end());
        d.setScheduledEvents(events);
        if (const int g = tileOf(d, name)) d.setGlyphTexts(g, d.glyphTexts()[g].Description, "");
        d.removeEvent(name);
    });
}

} // namespace korvath
