#include "KeyboardPlay.h"
#include "KeyboardFrame.h"

#include "Settings.h"
#include "game/state/Pieces.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace korvath {

namespace {

// The panel's controls in the order Tab visits them; those hidden or greyed
// are passed over.
const char* const kRing[] = {"PlaceMenGrid",  "AimedFireIcon", "SnapFireIcon", "HandFightIcon",
                             "OverwatchIcon", "Cancelbutton",  "NextButton",   "EquipRadio",
                             "EquipGrid",     "DropItem",      "PickItems",    "PickUpButton",
                             "MapRadio",      "EndTurnButton"};

// The keyboard cursor on the map.
class CursorSquare : public QWidget {
  public:
    explicit CursorSquare(QWidget* map) : QWidget(map) {
        setObjectName("KeyboardCursor");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(kSquare, kSquare);
        hide();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        // A dark edge inside as well: the square stands on any floor.
        p.setPen(QPen(QColor(20, 16, 10), 1));
        p.drawRect(rect().adjusted(4, 4, -5, -5));
        drawKeyboardFrame(p, rect());
    }
};

} // namespace

KeyboardPlay::KeyboardPlay(QMainWindow& window, Battle& b, MapImageWidget* map, Settings& settings,
                           Run run, Control control)
    : QObject(&window), window_(window), b_(b), map_(map), settings_(settings),
      run_(std::move(run)), control_(std::move(control)), cursor_(new CursorSquare(map)) {
    setObjectName("KeyboardPlay");
    // The control Tab reached stands out in amber, as the map cursor does.
    for (const char* name : kRing)
        if (QWidget* w = control_(name)) {
            w->setFocusPolicy(Qt::TabFocus);
            w->setStyleSheet(QStringLiteral(
                "QToolButton:focus, QTableWidget:focus, QComboBox:focus, QRadioButton:focus "
                "{ border: 2px solid rgb(255, 214, 64); }"));
        }
    if (QMenu* options = window.findChild<QMenu*>("Options1")) {
        auto* entry = new QAction(QStringLiteral("Keyboard cursor"), options);
        entry->setObjectName("KeyboardCursor1");
        entry->setCheckable(true);
        entry->setChecked(settings_.keyboardCursor());
        entry->setToolTip(QStringLiteral("A square on the map moved by the arrow keys; Enter "
                                         "clicks there, Shift+Enter right-clicks"));
        options->insertAction(window.findChild<QAction*>("N1"), entry);
        connect(entry, &QAction::toggled, this, [this](bool on) {
            settings_.setKeyboardCursor(on);
            setCursorOn(on);
        });
    }
    keys_.load(settings_);
    setCursorOn(settings_.keyboardCursor());
    window.installEventFilter(this);
}

bool KeyboardPlay::eventFilter(QObject* watched, QEvent* e) {
    // The cursor starts in the middle of the view the battle opens with, not
    // where the view stood before (the last battle's, when the window was
    // made).
    if (watched == &window_ && e->type() == QEvent::Show && !e->spontaneous())
        QTimer::singleShot(0, this, [this] {
            square_ = {};
            placeCursor();
        });
    return false;
}

void KeyboardPlay::keysChanged() {
    applyKeys();
    keys_.save(settings_);
}

namespace {

// One key without Ctrl or Alt that types a character.
bool plainKey(QKeyCombination k) {
    return !(k.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
           k.key() >= Qt::Key_Space && k.key() < Qt::Key_Escape;
}

} // namespace

void KeyboardPlay::applyKeys() {
    for (size_t i = 0; i < KeyMap::actions().size(); ++i) {
        const KeyAction& a = KeyMap::actions()[i];
        if (a.kind != KeyAction::Kind::Window) continue;
        auto* entry = window_.findChild<QAction*>(QString::fromLatin1(a.target));
        if (!entry) continue;
        const QKeyCombination key = keys_.keyOf(int(i));
        if (plainKey(key)) {
            // A plain character is no menu shortcut (those are served before
            // the window sees a key, and characters are the battle's): the
            // entry names it, and keyPressed works it.
            entry->setShortcut({});
            entry->setText(entry->text().section(QLatin1Char('\t'), 0, 0) + QLatin1Char('\t') +
                           KeyMap::shown(key));
        } else {
            entry->setShortcut(key);
            entry->setShortcutContext(Qt::WindowShortcut);
        }
    }
    // The two buttons whose tooltips name their keys.
    auto key = [this](const char* id) { return KeyMap::shown(keys_.keyOf(KeyMap::find(id))); };
    if (QWidget* end = control_("EndTurnButton"))
        end->setToolTip(
            QStringLiteral("End turn (key %1): the Operatives move, then every soldier gets "
                           "his action points back")
                .arg(key("endTurn")));
    if (QWidget* cancel = control_("Cancelbutton"))
        cancel->setToolTip(QStringLiteral("Cancel (%1 or %2): leave fire mode; pressed again, "
                                          "drop the selection")
                               .arg(key("cancel"), key("stop")));
}

bool KeyboardPlay::keyPressed(QKeyEvent* e) {
    const bool busy = ruleRunning(b_, Rule::Command);
    const int found = keys_.actionOf(e->keyCombination());
    if (found >= 0) {
        const KeyAction& a = KeyMap::actions()[size_t(found)];
        switch (a.kind) {
        case KeyAction::Kind::Rule:
            run_({"key", a.target});
            return true;
        case KeyAction::Kind::Window:
            // A menu entry's key is its shortcut, served before the window
            // sees the key; a greyed entry's key does nothing.
            if (auto h = handlers_.value(a.id)) {
                h();
            } else if (auto* entry = window_.findChild<QAction*>(QString::fromLatin1(a.target));
                       entry && entry->shortcut().isEmpty() && entry->isEnabled()) {
                entry->trigger();
            }
            return true;
        case KeyAction::Kind::Play:
            play(a.id, busy);
            return true;
        }
    }
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    if (e->key() == Qt::Key_Escape) return true; // Esc was given another action's place
    const QString t = e->text();
    if (t.isEmpty() || t[0].unicode() >= 0x80) return false;
    const char c = static_cast<char>(t[0].toLower().unicode());
    // A key of the rules that the player moved elsewhere means nothing now.
    for (const KeyAction& a : KeyMap::actions())
        if (a.kind == KeyAction::Kind::Rule && a.target[0] == c && a.target[1] == 0) return true;
    // Every character key is the window's; a printable one goes to the rules.
    const char typed = static_cast<char>(t[0].unicode());
    if (typed > ' ' && typed < 0x7f) run_({"key", std::string(1, typed)});
    return true;
}

void KeyboardPlay::play(const char* id, bool busy) {
    const std::string a = id;
    if (a == "left") step(-1, 0, busy);
    if (a == "right") step(1, 0, busy);
    if (a == "up") step(0, -1, busy);
    if (a == "down") step(0, 1, busy);
    if (a == "press") {
        if (focused())
            pressFocused();
        else if (cursorShown_)
            pressAt(Qt::LeftButton);
    }
    if (a == "pressRight" && cursorShown_) pressAt(Qt::RightButton);
    if (a == "nextControl") moveFocus(1);
    if (a == "previousControl") moveFocus(-1);
    if (a.rfind("row", 0) == 0) chooseRow(std::stoi(a.substr(3)) - 1);
}

void KeyboardPlay::step(int dx, int dy, bool busy) {
    // In a list, up and down move through its rows.
    QWidget* f = focused();
    if (f && dx == 0) {
        if (auto* list = qobject_cast<QTableWidget*>(f)) {
            const int row = std::clamp(list->currentRow() + dy, 0, list->rowCount() - 1);
            list->setCurrentCell(row, 0);
            return;
        }
        if (auto* combo = qobject_cast<QComboBox*>(f)) {
            combo->setCurrentIndex(std::clamp(combo->currentIndex() + dy, 0, combo->count() - 1));
            return;
        }
    }
    if (!cursorShown_) {
        // The arrow keys move the view by a square, unless a walk or a shot is shown.
        if (!busy && b_.windowOpen)
            run_({"scroll", std::to_string(b_.view.right + dx * kSquare),
                  std::to_string(b_.view.bottom + dy * kSquare)});
        return;
    }
    if (f) f->clearFocus();
    tabbed_ = false;
    if (square_.isNull()) square_ = viewCentre();
    moveCursorTo(square_ + QPoint(dx, dy));
    if (busy) return;
    // The view follows the cursor.
    const View& v = b_.view;
    int right = v.right, bottom = v.bottom;
    const int left = (square_.x() - 1) * kSquare, top = (square_.y() - 1) * kSquare;
    if (left < v.right - v.width) right = left + v.width;
    if (left + kSquare > v.right) right = left + kSquare;
    if (top < v.bottom - v.height) bottom = top + v.height;
    if (top + kSquare > v.bottom) bottom = top + kSquare;
    if (right != v.right || bottom != v.bottom)
        run_({"scroll", std::to_string(right), std::to_string(bottom)});
    // The pointer's move over its square, as the mouse would make it: the
    // rules hear a hover and the aids above the map follow it.
    const QPointF at(squareCentre(square_.x()), squareCentre(square_.y()));
    QMouseEvent move(QEvent::MouseMove, at, map_->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(map_, &move);
}

void KeyboardPlay::pressAt(Qt::MouseButton button) {
    if (square_.isNull()) square_ = viewCentre();
    MapMouse m;
    m.button = button;
    m.x = squareCentre(square_.x());
    m.y = squareCentre(square_.y());
    if (map_->onMouseDown) map_->onMouseDown(m);
}

void KeyboardPlay::pressFocused() {
    QWidget* f = focused();
    if (auto* button = qobject_cast<QAbstractButton*>(f)) {
        button->click();
    } else if (auto* list = qobject_cast<QTableWidget*>(f)) {
        if (list->currentRow() >= 0) emit list->cellClicked(list->currentRow(), 0);
    } else if (auto* combo = qobject_cast<QComboBox*>(f)) {
        if (combo->currentIndex() >= 0) emit combo->activated(combo->currentIndex());
    }
}

std::vector<QWidget*> KeyboardPlay::focusRing() const {
    std::vector<QWidget*> ring;
    for (const char* name : kRing)
        if (QWidget* w = control_(name); w && w->isVisible() && w->isEnabled()) ring.push_back(w);
    return ring;
}

QWidget* KeyboardPlay::focused() const {
    // Only a control reached by Tab: one that has the focus at the start
    // leaves the arrows to the cursor.
    if (!tabbed_) return nullptr;
    QWidget* f = QApplication::focusWidget();
    const auto ring = focusRing();
    return f && std::find(ring.begin(), ring.end(), f) != ring.end() ? f : nullptr;
}

void KeyboardPlay::moveFocus(int by) {
    const auto ring = focusRing();
    if (ring.empty()) return;
    const auto at = std::find(ring.begin(), ring.end(), focused());
    const int n = int(ring.size());
    const int next =
        at == ring.end() ? (by > 0 ? 0 : n - 1) : (int(at - ring.begin()) + by + n) % n;
    QWidget* w = ring[size_t(next)];
    w->setFocus(Qt::TabFocusReason);
    tabbed_ = true;
    if (auto* list = qobject_cast<QTableWidget*>(w); list && list->currentRow() < 0)
        if (list->rowCount() > 0) list->setCurrentCell(0, 0);
}

// The digits pick a row of the deployment list while soldiers are placed,
// afterwards a slot of the equipment grid when it is shown.
void KeyboardPlay::chooseRow(int row) {
    for (const char* name : {"PlaceMenGrid", "EquipGrid"}) {
        auto* list = qobject_cast<QTableWidget*>(control_(name));
        if (!list || !list->isVisible()) continue;
        if (row < list->rowCount()) emit list->cellClicked(row, 0);
        if (list->objectName() == QLatin1String("EquipGrid")) tellRows(list);
        return;
    }
}

// With no pointer resting on the rows, the status bar tells, once a row is
// armed by its number, what each other number would now do, in the words of
// the rows' own tooltips.
void KeyboardPlay::tellRows(QTableWidget* grid) {
    auto* status = qobject_cast<QStatusBar*>(control_("StatusArea"));
    const int armed = b_.SelectedItemSlot;
    if (!status) return;
    // After the second click the grid's own hint (ui/KitHints.cpp) says
    // that the soldier must be chosen again.
    if (armed < 1 || armed > grid->rowCount()) return;
    const QTableWidgetItem* chosen = grid->item(armed - 1, 0);
    QStringList told;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const QTableWidgetItem* item = grid->item(r, 0);
        if (!item || r + 1 == armed || item->toolTip().isEmpty() ||
            item->toolTip() == QLatin1String("Nothing happens"))
            continue;
        told << QStringLiteral("%1: %2").arg(r + 1).arg(item->toolTip());
    }
    if (!chosen || told.isEmpty()) return;
    status->showMessage(
        chosen->text() + QStringLiteral(" armed.  ") + told.join(QStringLiteral("  |  ")), 15000);
}

void KeyboardPlay::setCursorOn(bool on) {
    cursorShown_ = on;
    placeCursor();
}

void KeyboardPlay::moveCursorTo(QPoint square) {
    square_ = QPoint(std::clamp(square.x(), 1, kMapWidth), std::clamp(square.y(), 1, kMapHeight));
    placeCursor();
}

QPoint KeyboardPlay::viewCentre() const {
    if (b_.view.width <= 0) return {1, 1};
    return {(b_.view.right - b_.view.width / 2) / kSquare + 1,
            (b_.view.bottom - b_.view.height / 2) / kSquare + 1};
}

void KeyboardPlay::placeCursor() {
    cursor_->setVisible(cursorShown_);
    if (!cursorShown_) return;
    // First shown in the middle of the view.
    if (square_.isNull() && cursorShown_ && b_.view.width > 0) square_ = viewCentre();
    const QPoint at = square_.isNull() ? viewCentre() : square_;
    cursor_->move((at.x() - 1) * kSquare, (at.y() - 1) * kSquare);
    cursor_->raise();
}

} // namespace korvath
