// Every user event of the battle window arrives here, one handler per event,
// and is handed to the game's rules. The same rules serve the headless driver,
// so the window itself decides nothing. Handlers whose rule is not written yet
// are marked "not connected yet": they leave the battle as it is.

#include "TNodeForm.h"
#include "TPlayingScreen.h"
#include "game/Display.h"
#include "game/InfoPanel.h"
#include "game/Scenario.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QToolButton>

namespace korvath {

template <class F> void TPlayingScreen::handle(F&& f) {
    if (closed_) return;
    ++busy_;
    f();
    --busy_;
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

void TPlayingScreen::MapImageMouseDown(const MapMouse& m) {
    handle([&] {
        // Not connected yet: the click dispatch (selection, walks, shots,
        // close combat, healing, placing soldiers) takes (button, shift, x, y).
        (void)m;
    });
}

void TPlayingScreen::MapImageMouseMove(const MapMouse& m) {
    handle([&] {
        // Not connected yet: the hover line and the mode cursors.
        (void)m;
    });
}

void TPlayingScreen::FormMouseMove() {
    handle([&] {
        // Over the window's background the pointer is the plain arrow.
        b_.controls.cursor = CursorShape::Default;
    });
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
    // little each time; a tick that arrives during that wait is skipped.
    if (inIdle_ || busy_ > 0 || !isActiveWindow()) return;
    inIdle_ = true;
    handle([&] {
        const QPoint mouse = QCursor::pos();
        const QRect frame = frameGeometry();
        myidlehandler(b_, mouse.x(), mouse.y(), frame.left(), frame.top(), frame.width(),
                      frame.height());
    });
    inIdle_ = false;
}

// ---- buttons of the information panel ----

void TPlayingScreen::EndTurnButtonClick() {
    handle([&] { /* Not connected yet: the end of the human turn. */ });
}

void TPlayingScreen::HandFightIconClick() {
    handle([&] { /* Not connected yet: arming close combat. */ });
}

void TPlayingScreen::AimedFireIconClick() {
    handle([&] { /* Not connected yet: arming an aimed shot. */ });
}

void TPlayingScreen::SnapFireIconClick() {
    handle([&] { /* Not connected yet: arming a quick shot. */ });
}

void TPlayingScreen::CancelButtonClick() {
    handle([&] { /* Not connected yet: leaving a mode or dropping the selection. */ });
}

void TPlayingScreen::OverwatchIconClick() {
    handle([&] { /* Not connected yet: putting the soldier on overwatch. */ });
}

void TPlayingScreen::NextButtonClick() {
    handle([&] { /* Not connected yet: selecting the next soldier. */ });
}

void TPlayingScreen::DropItemClick() {
    handle([&] { /* Not connected yet: dropping the chosen item. */ });
}

void TPlayingScreen::PickUpButtonClick() {
    handle([&] { /* Not connected yet: picking up the chosen item. */ });
}

void TPlayingScreen::EquipRadioClick() {
    handle([&] {
        // The lower half of the panel shows either the equipment or the overhead map.
        const bool equipment = qobject_cast<QRadioButton*>(control("EquipRadio"))->isChecked();
        b_.controls.EquipRadio.down = equipment;
        b_.controls.MapRadio.down = !equipment;
        b_.controls.EquipGrid.visible = equipment;
        b_.controls.OverHeadMap.visible = !equipment;
    });
}

// ---- lists ----

void TPlayingScreen::PlaceMenGridClick(int row) {
    handle([&] {
        // Not connected yet: picking a soldier to place.
        (void)row;
    });
}

void TPlayingScreen::EquipGridClick(int row) {
    handle([&] {
        // Not connected yet: choosing an item slot.
        (void)row;
    });
}

void TPlayingScreen::PickItemsChange(int row) {
    handle([&] { b_.controls.PickItems.row = row; });
}

// ---- keys ----

void TPlayingScreen::FormKeyPress(char key) {
    handle([&] {
        // Not connected yet: "k" cancels, "0" ends the turn.
        (void)key;
    });
}

void TPlayingScreen::FormKeyDown(int key) {
    handle([&] {
        // Not connected yet: Esc stops a walk and cancels.
        (void)key;
    });
}

bool TPlayingScreen::eventFilter(QObject* watched, QEvent* e) {
    // The window sees character keys before any of its controls does, and
    // none of them reaches a grid or the log.
    if (e->type() != QEvent::KeyPress) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Escape) {
        FormKeyDown(27);
        return true;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const QString t = key->text();
    if (t.isEmpty() || !t[0].isPrint()) return false;
    FormKeyPress(t[0].toLatin1());
    return true;
}

// ---- menus ----

void TPlayingScreen::Loadgame1Click() {
    handle([&] { /* Not connected yet: loading a saved game. */ });
}

void TPlayingScreen::Savegame1Click() {
    handle([&] { /* Not connected yet: saving the game. */ });
}

void TPlayingScreen::Quit1Click() {
    handle([&] {
        // Only in the human turn; otherwise the log says why not.
        if (quitBattle(b_)) closeWanted_ = true;
    });
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
    handle([&] { b_.controls.IwannaC1.down = !b_.controls.IwannaC1.down; });
}

void TPlayingScreen::Nodes1Click() {
    handle([&] {
        if (nodes_) nodes_->setVisible(!nodes_->isVisible());
    });
}

void TPlayingScreen::Setp1tocoords1Click() {
    handle([&] { /* Not connected yet: moving soldier 1 by hand. */ });
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
    if (nodes_) nodes_->hide();
    closed_ = true;
}

void TPlayingScreen::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

bool TPlayingScreen::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && !closed_) FormActivate();
    if (e->type() == QEvent::MouseMove) FormMouseMove();
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
