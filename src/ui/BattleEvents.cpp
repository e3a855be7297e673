// Every user event of the battle window arrives here, one handler per event,
// and is handed to the game's rules. The same rules serve the headless driver,
// so the window itself decides nothing: it translates Qt's events into the
// rules' terms and mirrors the controls model afterwards.

#include "TNodeForm.h"
#include "TPlayingScreen.h"
#include "game/CloseCombat.h"
#include "game/Commands.h"
#include "game/Deployment.h"
#include "game/DeveloperAids.h"
#include "game/Display.h"
#include "game/Inventory.h"
#include "game/Overwatch.h"
#include "game/SavedGame.h"
#include "game/Scenario.h"
#include "game/Shooting.h"
#include "game/TurnSequence.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

#include <exception>

namespace korvath {

template <class F> void TPlayingScreen::handle(F&& f) {
    if (closed_) return;
    ++busy_;
    try {
        f();
    } catch (const std::exception& e) {
        // A rule stopped by bad data: the player is told why and the battle goes on.
        b_.information(e.what());
    }
    --busy_;
    // The rules close the battle on Quit and at the end of a decided game.
    if (!b_.windowOpen) closeWanted_ = true;
    if (busy_ == 0 && closeWanted_) {
        closeWanted_ = false;
        close();
        return;
    }
    sync();
}

void TPlayingScreen::connectEvents() {
    mapImage_->onMouseDown = [this](const MapMouse& m) { MapImageMouseDown(m); };
    mapImage_->onMouseMove = [this](const MapMouse& m) { MapImageMouseMove(m); };
    overHeadMap_->onMouseDown = [this](int x, int y) { OverHeadMapMouseDown(x, y); };

    auto scroll = [this](const char* name) { return qobject_cast<QScrollBar*>(control(name)); };
    connect(scroll("ScrollTop"), &QScrollBar::valueChanged, this, &TPlayingScreen::ScrollTopChange);
    connect(scroll("ScrollSide"), &QScrollBar::valueChanged, this,
            &TPlayingScreen::ScrollSideChange);

    auto button = [this](const char* name, void (TPlayingScreen::*handler)()) {
        connect(qobject_cast<QAbstractButton*>(control(name)), &QAbstractButton::clicked, this,
                handler);
    };
    button("EndTurnButton", &TPlayingScreen::EndTurnButtonClick);
    button("HandFightIcon", &TPlayingScreen::HandFightIconClick);
    button("AimedFireIcon", &TPlayingScreen::AimedFireIconClick);
    button("SnapFireIcon", &TPlayingScreen::SnapFireIconClick);
    button("Cancelbutton", &TPlayingScreen::CancelButtonClick);
    button("OverwatchIcon", &TPlayingScreen::OverwatchIconClick);
    button("NextButton", &TPlayingScreen::NextButtonClick);
    button("DropItem", &TPlayingScreen::DropItemClick);
    button("PickUpButton", &TPlayingScreen::PickUpButtonClick);
    button("MapRadio", &TPlayingScreen::EquipRadioClick);
    button("EquipRadio", &TPlayingScreen::EquipRadioClick);

    auto grid = [this](const char* name) { return qobject_cast<QTableWidget*>(control(name)); };
    connect(grid("PlaceMenGrid"), &QTableWidget::cellClicked, this,
            [this](int row, int) { PlaceMenGridClick(row); });
    connect(grid("EquipGrid"), &QTableWidget::cellClicked, this,
            [this](int row, int) { EquipGridClick(row); });
    connect(qobject_cast<QComboBox*>(control("PickItems")), &QComboBox::activated, this,
            &TPlayingScreen::PickItemsChange);

    auto menu = [this](const char* name, void (TPlayingScreen::*handler)()) {
        connect(menuEntry(name), &QAction::triggered, this, handler);
    };
    menu("Loadgame1", &TPlayingScreen::Loadgame1Click);
    menu("Savegame1", &TPlayingScreen::Savegame1Click);
    menu("Quit1", &TPlayingScreen::Quit1Click);
    menu("ShowWounds", &TPlayingScreen::ShowWoundsClick);
    menu("ShowOverwatch", &TPlayingScreen::ShowOverwatchClick);
    menu("ShowMediKit", &TPlayingScreen::ShowMediKitClick);
    menu("IwannaC1", &TPlayingScreen::IwannaC1Click);
    menu("Nodes1", &TPlayingScreen::Nodes1Click);
    menu("Setp1tocoords1", &TPlayingScreen::Setp1tocoords1Click);
    menu("About1", &TPlayingScreen::AboutClick);

    connect(&idleTimer_, &QTimer::timeout, this, &TPlayingScreen::IdleTick);
}

// ---- the map ----

// The buttons held and the keys down, as the rules see them; the pressed
// button itself counts as held.
static ShiftState shiftOf(const MapMouse& m) {
    ShiftState s;
    s.shift = m.modifiers & Qt::ShiftModifier;
    s.ctrl = m.modifiers & Qt::ControlModifier;
    s.alt = m.modifiers & Qt::AltModifier;
    const Qt::MouseButtons held = m.buttons | m.button;
    s.left = held & Qt::LeftButton;
    s.right = held & Qt::RightButton;
    s.middle = held & Qt::MiddleButton;
    return s;
}

void TPlayingScreen::MapImageMouseDown(const MapMouse& m) {
    MouseButton button = MouseButton::Left;
    if (m.button == Qt::RightButton)
        button = MouseButton::Right;
    else if (m.button == Qt::MiddleButton)
        button = MouseButton::Middle;
    else if (m.button != Qt::LeftButton)
        return;
    handle([&] { korvath::MapImageMouseDown(b_, button, shiftOf(m), m.x, m.y); });
}

void TPlayingScreen::MapImageMouseMove(const MapMouse& m) {
    handle([&] { korvath::MapImageMouseMove(b_, m.x, m.y); });
}

void TPlayingScreen::GridMouseMove(int x, int y) {
    // Over the two grids only the cursor follows the map's rules.
    handle([&] { korvath::MapImageMouseMove(b_, x, y, false); });
}

void TPlayingScreen::FormMouseMove() {
    handle([&] { korvath::FormMouseMove(b_); });
}

void TPlayingScreen::OverHeadMapMouseDown(int x, int y) {
    handle([&] { korvath::OverHeadMapMouseDown(b_, x, y); });
}

void TPlayingScreen::ScrollTopChange(int position) {
    handle([&] { b_.controls.ScrollTop.setPosition(position); });
}

void TPlayingScreen::ScrollSideChange(int position) {
    handle([&] { b_.controls.ScrollSide.setPosition(position); });
}

void TPlayingScreen::IdleTick() {
    // Edge scrolling while the battle window has the focus. The rule waits a
    // little each time; a tick that arrives during another handler is skipped.
    if (closed_) return;
    if (!inIdle_ && busy_ == 0 && edgeScrolling_ && isActiveWindow()) {
        inIdle_ = true;
        handle([&] {
            const QPoint mouse = QCursor::pos();
            const QRect frame = frameGeometry();
            myidlehandler(b_, mouse.x(), mouse.y(), frame.left(), frame.top(), frame.width(),
                          frame.height());
        });
        inIdle_ = false;
    }
    // A breather between two steps, so clicks and keys flow freely.
    if (!closed_) idleTimer_.start(kIdleGap);
}

// ---- buttons of the information panel ----

void TPlayingScreen::EndTurnButtonClick() {
    handle([&] { korvath::EndTurnButtonClick(b_); });
}

void TPlayingScreen::HandFightIconClick() {
    handle([&] { korvath::HandFightIconClick(b_); });
}

void TPlayingScreen::AimedFireIconClick() {
    handle([&] { FireButtonClick(b_, FireButton::Aimed); });
}

void TPlayingScreen::SnapFireIconClick() {
    handle([&] { FireButtonClick(b_, FireButton::Quick); });
}

void TPlayingScreen::CancelButtonClick() {
    handle([&] { korvath::CancelButtonClick(b_); });
}

void TPlayingScreen::OverwatchIconClick() {
    handle([&] { OverwatchButtonClick(b_); });
}

void TPlayingScreen::NextButtonClick() {
    handle([&] { korvath::NextButtonClick(b_); });
}

void TPlayingScreen::DropItemClick() {
    handle([&] { korvath::DropItemClick(b_); });
}

void TPlayingScreen::PickUpButtonClick() {
    handle([&] { korvath::PickUpButtonClick(b_); });
}

void TPlayingScreen::EquipRadioClick() {
    // The lower half of the panel shows either the equipment or the overhead map.
    const bool equipment = qobject_cast<QRadioButton*>(control("EquipRadio"))->isChecked();
    handle([&] { korvath::EquipRadioClick(b_, equipment); });
}

// ---- lists ----

void TPlayingScreen::PlaceMenGridClick(int row) {
    handle([&] { korvath::PlaceMenGridClick(b_, row); });
}

void TPlayingScreen::EquipGridClick(int row) {
    handle([&] { korvath::EquipGridClick(b_, row); });
}

void TPlayingScreen::PickItemsChange(int row) {
    handle([&] { korvath::PickItemsChange(b_, row); });
}

// ---- keys ----

void TPlayingScreen::FormKeyPress(char key) {
    handle([&] { korvath::FormKeyPress(b_, key); });
}

void TPlayingScreen::FormKeyDown(int key) {
    handle([&] { korvath::FormKeyDown(b_, key); });
}

bool TPlayingScreen::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove && !closed_) {
        const QPoint pos = static_cast<QMouseEvent*>(e)->position().toPoint();
        if (watched == central_ || watched == control("BackPanel")) FormMouseMove();
        for (const char* grid : {"PlaceMenGrid", "EquipGrid"})
            if (watched == qobject_cast<QTableWidget*>(control(grid))->viewport())
                GridMouseMove(pos.x(), pos.y());
        return false;
    }
    // The window sees character keys before any of its controls does, and
    // none of them reaches a grid or the log.
    if (e->type() != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this || closed_) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    // Key codes as the rules know them: letters in capitals, digits, Esc 27.
    int code = key->key();
    if (code == Qt::Key_Escape)
        code = kEscapeKey;
    else if (code == Qt::Key_Return || code == Qt::Key_Enter)
        code = 13;
    else if (code == Qt::Key_Backspace)
        code = 8;
    else if (code == Qt::Key_Tab)
        code = 9;
    else if (code >= 0x80)
        code = 0;
    if (code) FormKeyDown(code);
    if (closed_) return true;
    const QString t = key->text();
    if (t.isEmpty() || t[0].unicode() >= 0x80) return code == kEscapeKey;
    FormKeyPress(static_cast<char>(t[0].unicode()));
    return true;
}

// ---- menus ----

void TPlayingScreen::Loadgame1Click() {
    handle([&] { LoadClick(b_); });
}

void TPlayingScreen::Savegame1Click() {
    handle([&] { saveClick(b_); });
}

void TPlayingScreen::Quit1Click() {
    // Only in the human turn; otherwise the log says why not.
    handle([&] { quitBattle(b_); });
}

void TPlayingScreen::ShowWoundsClick() {
    handle([&] { korvath::ShowWoundsClick(b_); });
}

void TPlayingScreen::ShowOverwatchClick() {
    handle([&] { korvath::ShowOverwatchClick(b_); });
}

void TPlayingScreen::ShowMediKitClick() {
    handle([&] { korvath::ShowMediKitClick(b_); });
}

void TPlayingScreen::IwannaC1Click() {
    handle([&] { korvath::IwannaC1Click(b_); });
}

void TPlayingScreen::Nodes1Click() {
    handle([&] { korvath::Nodes1Click(b_); });
}

void TPlayingScreen::Setp1tocoords1Click() {
    handle([&] { korvath::Setp1tocoords1Click(b_); });
}

void TPlayingScreen::AboutClick() {
    handle([&] {
        b_.information("Project Korvath v 0.84\n\n"
                       "A turn-based tactical squad game for one player.\n"
                       "Lead your Raiders against the Operatives in the halls of "
                       "Korvath Tamberhold and aboard the starship Vexlar F-242.\n\n"
                       "Programming, pictures and sounds: the Korvath team.");
    });
}

// ---- the window's life ----

void TPlayingScreen::FormShow() {
    handle([&] { showBattle(b_); });
}

void TPlayingScreen::FormActivate() {
    handle([&] { activateBattle(b_); });
}

void TPlayingScreen::FormClose() {
    idleTimer_.stop();
    if (b_.windowOpen) closeBattle(b_);
    if (b_.ports.refresh == &refresh_) b_.ports.refresh = nullptr;
    if (nodes_) nodes_->onClosed = nullptr;
    closed_ = true;
}

void TPlayingScreen::showEvent(QShowEvent* e) {
    if (!e->spontaneous() && !placed_) {
        // Centred on the screen when it first appears.
        placed_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect s = screen->availableGeometry();
            const QSize size = sizeHint().expandedTo(minimumSizeHint());
            move(s.left() + std::max(0, (s.width() - size.width()) / 2),
                 s.top() + std::max(0, (s.height() - size.height()) / 2));
        }
    }
    QMainWindow::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

bool TPlayingScreen::event(QEvent* e) {
    // Coming back from a message box that a rule opened is not a fresh
    // activation: the rule is still running and keeps its modes.
    if (e->type() == QEvent::WindowActivate && !closed_ && busy_ == 0) FormActivate();
    return QMainWindow::event(e);
}

void TPlayingScreen::closeEvent(QCloseEvent* e) {
    // A rule that is waiting lets messages run; the window goes only when it is done.
    if (busy_ > 0) {
        closeWanted_ = true;
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

} // namespace korvath
