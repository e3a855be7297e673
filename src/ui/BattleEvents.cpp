// Every user event of the battle window arrives here, one handler per event,
// and is handed to the game's rules. The same rules serve the headless driver,
// so the window itself decides nothing: it translates Qt's events into the
// rules' terms and mirrors the controls model afterwards.

#include "BattleAids.h"
#include "Settings.h"
#include "TNodeForm.h"
#include "TPlayingScreen.h"
#include "game/commands/Commands.h"
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"

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
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QWheelEvent>

#include <exception>

namespace korvath {

template <class F> void TPlayingScreen::handle(F&& f) {
    if (closed_) return;
    {
        RuleGuard running(b_, Rule::Command);
        try {
            f();
        } catch (const std::exception& e) {
            // A rule stopped by bad data: the player is told why and the battle
            // goes on. The battle so far is kept as a replay for a bug report.
            const std::string kept = keepReplayAfterError();
            b_.warning(std::string(e.what()) +
                       (kept.empty() ? ""
                                     : "\n\nThe battle so far was saved as a replay in " + kept +
                                           "; attach it to a bug report."));
        }
    }
    // The rules close the battle on Quit and at the end of a decided game; a
    // close asked for while a rule ran (a wait lets messages through) comes now.
    if (!b_.windowOpen) b_.closeRequested = true;
    if (!ruleRunning(b_, Rule::Command) && b_.closeRequested) {
        close();
        return;
    }
    sync();
}

void TPlayingScreen::run(std::vector<std::string> words) {
    handle([&] { runCommand(b_, words); });
}

std::string TPlayingScreen::runScripted(const std::vector<std::string>& words) {
    std::string error;
    handle([&] {
        try {
            runCommand(b_, words);
        } catch (const CommandError& e) {
            error = e.what();
        }
    });
    return error;
}

void TPlayingScreen::connectEvents() {
    mapImage_->onMouseDown = [this](const MapMouse& m) { MapImageMouseDown(m); };
    mapImage_->onMouseMove = [this](const MapMouse& m) { MapImageMouseMove(m); };
    overHeadMap_->onMouseDown = [this](int x, int y) { OverHeadMapMouseDown(x, y); };
    mapImage_->onWheel = [this](QWheelEvent* e) { MapImageWheel(e); };

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
    menu("SaveReplay1", &TPlayingScreen::SaveReplayClick);
    menu("Quit1", &TPlayingScreen::Quit1Click);
    menu("ShowWounds", &TPlayingScreen::ShowWoundsClick);
    menu("ShowOverwatch", &TPlayingScreen::ShowOverwatchClick);
    menu("ShowMediKit", &TPlayingScreen::ShowMediKitClick);
    menu("ClassicFloors", &TPlayingScreen::ClassicFloorsClick);
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
    // The command as a script would give it: the button and the keys held.
    const ShiftState s = shiftOf(m);
    std::vector<std::string> words{"click", std::to_string(m.x), std::to_string(m.y)};
    if (button == MouseButton::Right) words.push_back("right");
    if (button == MouseButton::Middle) words.push_back("middle");
    if (s.shift) words.push_back("shift");
    if (s.ctrl) words.push_back("ctrl");
    if (s.alt) words.push_back("alt");
    // A start star clicked before a soldier is picked does nothing; say why.
    const int sx = m.x / kSquare + 1, sy = m.y / kSquare + 1;
    const bool star = Battle::onMap(sx, sy) && b_.cell(sx, sy).Glyph == kStartStarGlyph;
    const bool nobodyPicked = b_.deploying && !b_.PieceSelected;
    run(words);
    if (star && nobodyPicked && button == MouseButton::Left && b_.windowOpen &&
        b_.cell(sx, sy).Glyph == kStartStarGlyph)
        statusArea()->showMessage(QStringLiteral("Pick a soldier in the list first"), 4000);
}

void TPlayingScreen::MapImageMouseMove(const MapMouse& m) {
    run({"hover", std::to_string(m.x), std::to_string(m.y)});
}

void TPlayingScreen::GridMouseMove(int x, int y) {
    // Over the two grids only the cursor follows the map's rules.
    handle([&] { korvath::MapImageMouseMove(b_, x, y, false); });
}

void TPlayingScreen::FormMouseMove() {
    handle([&] { korvath::FormMouseMove(b_); });
}

void TPlayingScreen::OverHeadMapMouseDown(int x, int y) {
    run({"overhead", std::to_string(x), std::to_string(y)});
}

void TPlayingScreen::ScrollTopChange(int position) {
    run({"scroll", std::to_string(position), std::to_string(b_.view.bottom)});
}

void TPlayingScreen::ScrollSideChange(int position) {
    run({"scroll", std::to_string(b_.view.right), std::to_string(position)});
}

// The view moves by whole scroll steps of the wheel, as the scroll bars do;
// with Shift the wheel moves it sideways. Not while a walk or a shot is shown.
void TPlayingScreen::MapImageWheel(QWheelEvent* e) {
    if (ruleRunning(b_, Rule::Command)) return;
    QPoint turn = e->angleDelta();
    if ((e->modifiers() & Qt::ShiftModifier) && turn.x() == 0) turn = QPoint(turn.y(), 0);
    // Small turns (a touch pad's) add up; 120 is one notch of the wheel.
    const int step = qobject_cast<QScrollBar*>(control("ScrollTop"))->singleStep() *
                     QApplication::wheelScrollLines();
    wheelRest_ -= turn * step;
    const QPoint move(wheelRest_.x() / 120, wheelRest_.y() / 120);
    wheelRest_ -= move * 120;
    if (!move.isNull()) scrollBy(move.x(), move.y());
}

void TPlayingScreen::scrollBy(int right, int down) {
    if (closed_ || !b_.windowOpen) return;
    run({"scroll", std::to_string(b_.view.right + right), std::to_string(b_.view.bottom + down)});
}

void TPlayingScreen::IdleTick() {
    // Edge scrolling while the battle window is the active one and the mouse
    // rests on its edge (in full screen, the screen's edge); never while it
    // is over the desktop or another window. The rule waits a little each
    // time; a tick that arrives during another handler is skipped.
    if (closed_) return;
    if (!inIdle_ && !replaying_ && !ruleRunning(b_, Rule::Command) && edgeScrolling_ &&
        isActiveWindow()) {
        const QPoint mouse = QCursor::pos();
        const QRect area = isFullScreen() && screen() ? screen()->geometry() : geometry();
        if (area.contains(mouse)) {
            inIdle_ = true;
            handle([&] {
                myidlehandler(b_, mouse.x(), mouse.y(), area.left(), area.top(), area.width(),
                              area.height());
            });
            inIdle_ = false;
        }
    }
    // A breather between two steps, so clicks and keys flow freely.
    if (!closed_) idleTimer_.start(kIdleGap);
}

// ---- buttons of the information panel ----

void TPlayingScreen::EndTurnButtonClick() {
    run({"button", "EndTurn"});
}

void TPlayingScreen::HandFightIconClick() {
    run({"button", "HandFight"});
}

void TPlayingScreen::AimedFireIconClick() {
    run({"button", "AimedShot"});
}

void TPlayingScreen::SnapFireIconClick() {
    run({"button", "QuickShot"});
}

void TPlayingScreen::CancelButtonClick() {
    run({"button", "Cancel"});
}

void TPlayingScreen::OverwatchIconClick() {
    run({"button", "Overwatch"});
}

void TPlayingScreen::NextButtonClick() {
    run({"button", "Next"});
}

void TPlayingScreen::DropItemClick() {
    run({"button", "DropItem"});
}

void TPlayingScreen::PickUpButtonClick() {
    run({"button", "PickUp"});
}

void TPlayingScreen::EquipRadioClick() {
    // The lower half of the panel shows either the equipment or the overhead map.
    const bool equipment = qobject_cast<QRadioButton*>(control("EquipRadio"))->isChecked();
    run({"button", equipment ? "Equipment" : "Map"});
}

// ---- lists ----

void TPlayingScreen::PlaceMenGridClick(int row) {
    run({"row", std::to_string(row)});
}

void TPlayingScreen::EquipGridClick(int row) {
    run({"row", std::to_string(row)});
}

void TPlayingScreen::PickItemsChange(int row) {
    run({"pickrow", std::to_string(row)});
}

// ---- keys ----

void TPlayingScreen::FormKey(const std::string& key) {
    run({"key", key});
}

bool TPlayingScreen::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Resize) {
        if (watched == central_)
            placeControls(central_->size());
        else if (watched == control("MapPanel"))
            viewResized();
        return false;
    }
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
    if (key->key() == Qt::Key_Escape) {
        FormKey("Esc");
        return true;
    }
    // The arrow keys move the view by a square, unless a walk or a shot is shown.
    const std::pair<int, QPoint> arrows[] = {{Qt::Key_Left, {-kSquare, 0}},
                                             {Qt::Key_Right, {kSquare, 0}},
                                             {Qt::Key_Up, {0, -kSquare}},
                                             {Qt::Key_Down, {0, kSquare}}};
    for (const auto& [arrow, move] : arrows)
        if (key->key() == arrow) {
            if (!ruleRunning(b_, Rule::Command)) scrollBy(move.x(), move.y());
            return true;
        }
    // The window's own keys never reach the rules.
    if (aids_->windowKey(key->key())) return true;
    const QString t = key->text();
    if (t.isEmpty() || t[0].unicode() >= 0x80) return false;
    // Every character key is the window's; a printable one goes to the rules.
    const char c = static_cast<char>(t[0].unicode());
    if (c > ' ' && c < 0x7f) FormKey(std::string(1, c));
    return true;
}

// ---- menus ----

void TPlayingScreen::Loadgame1Click() {
    run({"menu", "Loadgame"});
}

void TPlayingScreen::Savegame1Click() {
    run({"menu", "Savegame"});
}

void TPlayingScreen::Quit1Click() {
    // Only in the human turn; otherwise the log says why not.
    if (b_.HumanTurn && !ruleRunning(b_, Rule::Command) && !leavingConfirmed()) return;
    run({"menu", "Quit"});
}

// Leaving a battle that is not decided yet is asked first (the rules close a
// decided one themselves).
bool TPlayingScreen::leavingConfirmed() {
    if (!b_.windowOpen || replay_ || !b_.ports.dialogs) return true;
    const std::string saved = aids_->autosaved() ? "It was autosaved at the start of your turn."
                                                 : "It has not been saved.";
    return b_.ports.dialogs->confirm("Leave this battle? " + saved);
}

void TPlayingScreen::ShowWoundsClick() {
    run({"menu", "ShowWounds"});
}

void TPlayingScreen::ShowOverwatchClick() {
    run({"menu", "ShowOverwatch"});
}

void TPlayingScreen::ShowMediKitClick() {
    run({"menu", "ShowHealers"});
}

void TPlayingScreen::ClassicFloorsClick() {
    run({"menu", "ClassicFloors"});
    aids_->settings().setClassicFloors(b_.classicFloors);
}

void TPlayingScreen::setClassicFloors(bool classic) {
    handle([&] { showClassicFloors(b_, classic); });
}

void TPlayingScreen::IwannaC1Click() {
    run({"menu", "IwannaC"});
}

void TPlayingScreen::Nodes1Click() {
    run({"menu", "Nodes"});
}

void TPlayingScreen::Setp1tocoords1Click() {
    run({"menu", "SetP1"});
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
    // A replay gives its own activations, the first one with its "start".
    if (replaying_ && activated_) return;
    activated_ = true;
    run({"activate"});
}

void TPlayingScreen::FormClose() {
    idleTimer_.stop();
    if (b_.windowOpen) closeBattle(b_);
    if (b_.ports.presenter == &presenter_) b_.ports.presenter = nullptr;
    if (b_.ports.events == aids_) b_.ports.events = nullptr;
    if (nodes_) nodes_->onClosed = nullptr;
    closed_ = true;
}

void TPlayingScreen::showEvent(QShowEvent* e) {
    if (!e->spontaneous() && !placed_) {
        // Centred on the screen when it first appears, as designed or, on a
        // screen too small for that, as large as the screen leaves room for
        // with the title bar and frame that the window manager adds. (Before
        // the window is first mapped its frame is not known, and the position
        // is taken as the client area's: the title bar's room is left above.)
        placed_ = true;
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect s = screen->availableGeometry();
            const QMargins frame(4, 30, 4, 8);
            const QSize room = s.size().shrunkBy(frame);
            const QSize size = sizeHint().boundedTo(room).expandedTo(minimumSizeHint());
            resize(size);
            move(s.left() + frame.left() + std::max(0, (room.width() - size.width()) / 2),
                 s.top() + frame.top() + std::max(0, (room.height() - size.height()) / 2));
        }
    }
    QMainWindow::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

bool TPlayingScreen::event(QEvent* e) {
    // Coming back from a message box that a rule opened is not a fresh
    // activation: the rule is still running and keeps its modes.
    if (e->type() == QEvent::WindowActivate && !closed_ && !ruleRunning(b_, Rule::Command))
        FormActivate();
    return QMainWindow::event(e);
}

void TPlayingScreen::closeEvent(QCloseEvent* e) {
    // A rule that is waiting lets messages run; the window goes only when it is done.
    if (ruleRunning(b_, Rule::Command)) {
        b_.closeRequested = true;
        e->ignore();
        return;
    }
    // The window's close button, as File > Quit.
    if (e->spontaneous() && !leavingConfirmed()) {
        e->ignore();
        return;
    }
    FormClose();
    e->accept();
}

} // namespace korvath
