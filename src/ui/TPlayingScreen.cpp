#include "TPlayingScreen.h"
#include "QtPorts.h"

#include "BattleAids.h"
#include "ButtonIcons.h"
#include "CursorFile.h"
#include "FeedPanel.h"
#include "Fonts.h"
#include "HelpPages.h"
#include "KeyboardPlay.h"
#include "KitHints.h"
#include "ReplayPlayer.h"
#include "SoundPlayer.h"
#include "TNodeForm.h"
#include "UndoMenu.h"
#include "engine/Paths.h"
#include "game/commands/DeveloperAids.h"
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/files/Briefing.h"
#include "game/files/ScenarioPictures.h"
#include "look/WindowLook.h"
#include "settings/SettingsDialog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>

#include <iostream>
#include <utility>

namespace korvath {

namespace {

constexpr int kClientWidth = ClientArea::kDesignSize.width();
constexpr int kPanelWidth = kMapPanelWidth;
constexpr int kPanelHeight = kMapPanelHeight;

} // namespace

TPlayingScreen::TPlayingScreen(Battle& battle, SoundPlayer* sound, TNodeForm* nodes,
                               QWidget* parent)
    : QMainWindow(parent), b_(battle), sound_(sound), nodes_(nodes) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("PlayingScreen");
    setWindowTitle(QStringLiteral("Korvath"));
    buildWindow();
    buildMenus();
    rememberDesign();
    aids_ = new BattleAids(*this, b_, mapImage_, statusArea(), sound_);
    buildFeed();
    look_ = new WindowLook(*this, aids_->settings(), [this] { aids_->applySettings(); });
    // As designed at first (with the feed beside it when shown); larger,
    // smaller, maximised or full screen as the player likes.
    resize(sizeHint());
    kitHints_ = new KitHints(qobject_cast<QTableWidget*>(control("EquipGrid")), statusArea(), b_,
                             [this](int row) { EquipGridClick(row); });
    undoMenu_ = new UndoMenu(*this, b_, statusArea(), aids_->settings(),
                             [this](const std::vector<std::string>& words) { run(words); });
    keyboard_ = new KeyboardPlay(
        *this, b_, mapImage_, aids_->settings(),
        [this](const std::vector<std::string>& words) { run(words); },
        [this](const char* name) { return control(QString::fromLatin1(name)); });
    settingsDialog_ = SettingsDialog::addMenuEntry(*this, *keyboard_);
    settingsDialog_->addPage(
        QStringLiteral("Look"),
        makeLookPage(
            aids_->settings(), [this] { look_->settingsChanged(); }, settingsDialog_));
    keyboard_->applyKeys();
    connectEvents();
    qApp->installEventFilter(this);
    if (nodes_) nodes_->onClosed = [this] { b_.nodeGridVisible = false; };
}

TPlayingScreen::~TPlayingScreen() {
    // The replay gives the battle its own ports back before the window goes.
    delete std::exchange(replay_, nullptr);
    if (b_.ports.watcher == &recording_) b_.ports.watcher = nullptr;
    qApp->removeEventFilter(this);
    if (nodes_) nodes_->onClosed = nullptr;
    if (b_.ports.presenter == &presenter_) b_.ports.presenter = nullptr;
    if (b_.ports.events == aids_) b_.ports.events = nullptr;
}

template <class W>
W* TPlayingScreen::add(W* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    widgets_.insert(w->objectName(), w);
    return w;
}

QLabel* TPlayingScreen::caption(QWidget* parent, const QString& t, int left, int top, int width) {
    auto* l = new QLabel(t, parent);
    l->setGeometry(left, top, width, 18);
    return l;
}

QToolButton* TPlayingScreen::speedButton(QWidget* parent, const char* name, const QString& hint,
                                         int left, int top, int width) {
    auto* btn = add(new QToolButton(parent), name, left, top, width, 40);
    btn->setToolTip(hint);
    btn->setIcon(buttonIcon(QString::fromLatin1(name)));
    btn->setIconSize(QSize(32, 32));
    btn->setFocusPolicy(Qt::NoFocus);
    return btn;
}

void TPlayingScreen::buildWindow() {
    central_ = new ClientArea(this);
    central_->setObjectName("ClientArea");
    central_->resize(ClientArea::kDesignSize);
    central_->setMouseTracking(true);
    setCentralWidget(central_);

    auto* info = add(new QLabel(central_), "InfoLabel", 8, 0, 729, 25);
    info->setFont(msSansSerifFont(14));

    buildMapView();
    buildDeploymentList();
    buildInformationPanel(central_);
    buildActionsBar();

    // Along the bottom: what to do next when nothing else says it.
    auto* status = add(new QStatusBar(central_), "StatusArea", 0, 710, kClientWidth, 24);
    auto* statusText = new QLabel(status);
    statusText->setObjectName("StatusBar");
    widgets_.insert(statusText->objectName(), statusText);
    status->addWidget(statusText, 1);
    // On the right: the turn, who stands and how the battle is won, giving
    // way to what the status line and the hints have to say.
    standing_ = new QLabel(status);
    standing_->setObjectName("Standing");
    status->addPermanentWidget(standing_);
    connect(status, &QStatusBar::messageChanged, this, [this] {
        if (!closed_) syncStanding();
    });
    nameTheControls();
}

// Every control says what it does, what it costs and its key. The shot
// buttons add the cost of the weapon in hand as the battle goes
// (syncShotCosts).
void TPlayingScreen::nameTheControls() {
    const std::pair<const char*, const char*> hints[] = {
        {"EndTurnButton", "End turn (key 0): the Operatives move, then every soldier gets his "
                          "action points back"},
        {"HandFightIcon", "Hand to hand fighting: then click an enemy next to the soldier; a "
                          "blow costs the melee weapon's quick-shot points"},
        {"AimedFireIcon", "Aimed shot: then click the target"},
        {"SnapFireIcon", "Quick shot: then click the target"},
        {"Cancelbutton", "Cancel (K or Esc): leave fire mode; pressed again, drop the selection"},
        {"OverwatchIcon", "Overwatch: keep his action points for reaction fire in the enemy's "
                          "turn"},
        {"NextButton", "Next unit: select the next soldier with action points left"},
        {"DropItem", "Drop Item: throw away the item of the armed equipment row (it is lost; "
                     "costs nothing)"},
        {"PickUpButton", "Pick up item: take what is chosen under On the ground (costs nothing)"},
        {"MapRadio", "Show the overhead map in the panel"},
        {"EquipRadio", "Show the six equipment slots: reload, swap, heal, drop"},
        {"PlaceMenGrid", "Soldiers still to place: click a name, then a red and yellow start "
                         "star on the map"},
        {"PickItems", "What lies on his square or on a body there: choose, then Pick up item"},
        {"OverHeadMap", "The whole battlefield: click to look there"},
        {"ScrollTop", "Scroll the map sideways (arrow keys, Shift + mouse wheel)"},
        {"ScrollSide", "Scroll the map up and down (arrow keys, mouse wheel)"},
        {"WhatisHappening", "What has happened in the battle, newest last"},
        {"EquipGrid", "The six slots, the hand first: click a row, then another"},
        {"MapImage", "Click a soldier to select him, a square to walk there; right click: what "
                     "the walk costs"},
    };
    for (const auto& [name, hint] : hints)
        if (QWidget* w = widgets_.value(QString::fromLatin1(name))) w->setToolTip(hint);
}

QStatusBar* TPlayingScreen::statusArea() const {
    return qobject_cast<QStatusBar*>(control("StatusArea"));
}

// The map view: a sunken frame around the two scroll bars and the panel
// through which the 2560 x 1600 map picture is seen.
void TPlayingScreen::buildMapView() {
    auto* back = add(new QFrame(central_), "BackPanel", 5, 21, 732, 540);
    back->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    back->setMouseTracking(true);
    auto* top = add(new QScrollBar(Qt::Horizontal, central_), "ScrollTop", 24, 24, 710, 16);
    auto* side = add(new QScrollBar(Qt::Vertical, central_), "ScrollSide", 8, 40, 16, 517);
    for (QScrollBar* s : {top, side}) {
        s->setSingleStep(64);
        s->setPageStep(256);
        s->setFocusPolicy(Qt::NoFocus);
    }
    top->setRange(kPanelWidth, kMapPixelsX);
    side->setRange(kPanelHeight, kMapPixelsY);
    auto* panel = add(new QWidget(central_), "MapPanel", 24, 40, kPanelWidth, kPanelHeight);
    setBackground(panel, Qt::black);
    mapImage_ =
        add(new MapImageWidget(b_.MapImage, panel), "MapImage", 0, 0, kMapPixelsX, kMapPixelsY);
}

// Deployment: the soldiers still to place and the one picked.
void TPlayingScreen::buildDeploymentList() {
    auto* place = add(new QTableWidget(0, 2, central_), "PlaceMenGrid", 753, 24, 240, 401);
    place->horizontalHeader()->hide();
    place->verticalHeader()->hide();
    place->verticalHeader()->setDefaultSectionSize(24);
    place->setColumnWidth(0, 240);
    place->setEditTriggers(QAbstractItemView::NoEditTriggers);
    place->setSelectionMode(QAbstractItemView::SingleSelection);
    place->setSelectionBehavior(QAbstractItemView::SelectRows);
    place->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    place->setMouseTracking(true);
    add(new QLabel(central_), "WhatManLabel", 749, 440, 200, 18);
    auto* portraitPanel = add(new QFrame(central_), "WhatManPanel", 808, 464, 120, 120);
    setBackground(portraitPanel, Qt::black);
    whatMan_ = add(new QLabel(portraitPanel), "WhatMan", 20, 20, 80, 80);
    add(new QLabel(central_), "SolAPlabel", 749, 600, 250, 18);
    auto* help = add(new QLabel(central_), "Label11", 752, 632, 250, 40);
    help->setWordWrap(true);
    help->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// The actions bar under the map: the weapon in hand and what it costs.
void TPlayingScreen::buildActionsBar() {
    auto* bar = add(new QFrame(central_), "GameControls", 5, 568, 732, 51);
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* weapon = add(new QLabel(bar), "WeaponLabel", 10, 4, 260, 20);
    QFont bold = weapon->font();
    bold.setBold(true);
    weapon->setFont(bold);
    caption(bar, "Quick shot", 10, 27, 80);
    add(new QLabel(bar), "QuickShotLabel", 92, 27, 40, 18);
    caption(bar, "Aimed shot", 150, 27, 80);
    add(new QLabel(bar), "AimedShotLabel", 232, 27, 40, 18);
    caption(bar, "Ammo", 290, 27, 50);
    add(new QLabel(bar), "AmmoLabel", 340, 27, 40, 18);
    // Shown over the bar for a moment when a hit is reduced or cancelled.
    for (auto [name, colour, left] :
         {std::tuple{"DefenseShield", QColor(40, 90, 200), 630},
          std::tuple{"DefenseShieldExclude", QColor(200, 40, 40), 680}}) {
        auto* shield = add(new QLabel(bar), name, left, 5, 40, 40);
        QPixmap pm(40, 40);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(colour);
        p.setPen(QPen(Qt::black, 2));
        p.drawPolygon(QPolygon({{6, 4}, {34, 4}, {34, 18}, {20, 36}, {6, 18}}));
        shield->setPixmap(pm);
        shield->hide();
    }

    auto* memo = add(new QPlainTextEdit(central_), "WhatisHappening", 13, 624, 724, 81);
    memo->setReadOnly(true);
    memo->setFocusPolicy(Qt::NoFocus);
    // Long lines wrap: every line of the log is seen whole.
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);

    // Everything on the right hides the deployment controls once it shows.
    widgets_.value("PiecesInfoPanel")->raise();
}

void TPlayingScreen::buildInformationPanel(QWidget* central) {
    auto* panel = add(new QFrame(central), "PiecesInfoPanel", 745, 21, 265, 683);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setAutoFillBackground(true);

    // The soldier's numbers, one row each.
    const std::pair<const char*, const char*> stats[] = {
        {"Name:", "NameLabel"},      {"AP", "ActionPointsLabel"},     {"Attack ", "WSlabel"},
        {"Shoot", "BSlabel"},        {"Strength", "Strengthlabel"},   {"Toughness", "ToughLabel"},
        {"Wounds", "WoundsLabel"},   {"Endurance", "EnduranceLabel"}, {"Cool", "CoolLabel"},
        {"Fatigue", "FatigueLabel"},
    };
    int y = 14;
    for (const auto& [cap, name] : stats) {
        caption(panel, cap, 16, y);
        auto* value = add(new QLabel(panel), name, 110, y, 140, 18);
        QFont f = value->font();
        f.setBold(true);
        value->setFont(f);
        y += 28;
    }

    overHeadMap_ =
        add(new RasterLabel(b_.OverHeadMapImage, panel), "OverHeadMap", 12, 308, 240, 150);
    overHeadMap_->setCursor(Qt::CrossCursor);
    auto* equip = add(new QTableWidget(6, 1, panel), "EquipGrid", 12, 305, 240, 156);
    equip->horizontalHeader()->hide();
    equip->verticalHeader()->hide();
    equip->verticalHeader()->setDefaultSectionSize(25);
    equip->setColumnWidth(0, 236);
    equip->setEditTriggers(QAbstractItemView::NoEditTriggers);
    equip->setSelectionMode(QAbstractItemView::SingleSelection);
    equip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    equip->setMouseTracking(true);
    equip->hide();

    add(new QRadioButton(panel), "MapRadio", 12, 467, 100, 20);
    add(new QRadioButton(panel), "EquipRadio", 124, 467, 120, 20);

    speedButton(panel, "EndTurnButton", "End turn", 13, 493);
    speedButton(panel, "HandFightIcon", "hand to hand fighting", 61, 493);
    speedButton(panel, "AimedFireIcon", "aimed shot", 109, 493)->setCheckable(true);
    speedButton(panel, "SnapFireIcon", "quick shot", 157, 493)->setCheckable(true);
    speedButton(panel, "Cancelbutton", "Cancel", 15, 549, 38);
    speedButton(panel, "OverwatchIcon", "Overwatch", 61, 549)->setCheckable(true);
    speedButton(panel, "NextButton", "Next unit", 109, 549);
    speedButton(panel, "DropItem", "Drop Item", 157, 549);
    speedButton(panel, "PickUpButton", "Pick up item", 207, 549);

    caption(panel, "On the ground", 15, 596, 120);
    auto* pick = add(new QComboBox(panel), "PickItems", 15, 613, 234, 24);
    pick->setFocusPolicy(Qt::NoFocus);
    // The hover line: the square, what lies there and its solidity, on two
    // lines when one is too short.
    add(new QLabel(panel), "DescLabel", 16, 654, 240, 27)->setWordWrap(true);
}

void TPlayingScreen::buildMenus() {
    auto entry = [this](QMenu* menu, const char* name, const QString& t) {
        QAction* a = menu->addAction(t);
        a->setObjectName(QString::fromLatin1(name));
        actions_.insert(a->objectName(), a);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName("File1");
    // The game's own keys are characters, Esc and the arrows: the shortcuts
    // below take none of them.
    auto shortcut = [](QAction* a, const QKeySequence& keys) {
        a->setShortcut(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        return a;
    };
    shortcut(entry(file, "Loadgame1", "&Loadgame"), QKeySequence(Qt::CTRL | Qt::Key_O));
    shortcut(entry(file, "Savegame1", "&Savegame"), QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    entry(file, "SaveReplay1", "Save &replay...");
    file->addSeparator();
    shortcut(entry(file, "Quit1", "Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName("Options1");
    for (auto [name, t] :
         {std::pair{"ShowWounds", "Show wounds"}, std::pair{"ShowOverwatch", "Show overwatch"},
          std::pair{"ShowMediKit", "Show Healers"}}) {
        QAction* a = entry(options, name, t);
        a->setCheckable(true);
        a->setChecked(true);
    }
    entry(options, "ClassicFloors", "Classic black floors")->setCheckable(true);
    QAction* sep = options->addSeparator();
    sep->setObjectName("N1");
    actions_.insert("N1", sep);
    entry(options, "IwannaC1", "IwannaC")->setCheckable(true);
    entry(options, "Nodes1", "Nodes");
    entry(options, "Setp1tocoords1", "Set p1 to coords");
    // Developer aids stay out of the player's sight.
    for (const char* name : {"N1", "IwannaC1", "Nodes1", "Setp1tocoords1"})
        actions_.value(name)->setVisible(false);

    // The window itself: full screen on and off.
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName("View1");
    QAction* feed = entry(view, "BattleFeed1", "Battle &feed");
    feed->setCheckable(true);
    feed->setToolTip(QStringLiteral("Who did what to whom, beside the map"));
    entry(view, "FeedInPanel1", "Feed in the &information panel")->setCheckable(true);
    QAction* full = entry(view, "FullScreen1", "&Full screen");
    full->setCheckable(true);
    shortcut(full, QKeySequence(Qt::Key_F11));
    connect(full, &QAction::triggered, this, [this] { toggleFullScreen(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&help"));
    help->setObjectName("help1");
    QAction* controls =
        shortcut(entry(help, "HelpControls1", "&Controls"), QKeySequence(Qt::Key_F1));
    connect(controls, &QAction::triggered, this, [this] { showHelp(0); });
    QAction* howTo = entry(help, "HowToPlay1", "How to &play");
    connect(howTo, &QAction::triggered, this, [this] { showHelp(1); });
    help->addSeparator();
    entry(help, "About1", "&About");
}

// The battle feed, on the right of the window, shown as the player last chose
// (hidden at first: the window keeps its size on small screens).
void TPlayingScreen::buildFeed() {
    feed_ = new FeedPanel(b_, this, [this](Point square) {
        // The view centred on the square, as far as the map's edges allow.
        run({"scroll", std::to_string((square.x - 1) * kSquare + kSquare / 2 + b_.view.width / 2),
             std::to_string((square.y - 1) * kSquare + kSquare / 2 + b_.view.height / 2)});
    });
    addDockWidget(Qt::RightDockWidgetArea, feed_);
    aids_->onEvent = [this](const BattleEvent& e) { feed_->happened(e); };
    placeFeed();
}

void TPlayingScreen::showHelp(int page) {
    QPointer<QDialog>& window = helpWindows_[page == 0 ? 0 : 1];
    if (!window) {
        window = new HelpWindow(page == 0 ? HelpPage::Controls : HelpPage::HowToPlay, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void TPlayingScreen::FormCreate() {
    b_.ports.presenter = &presenter_;
    b_.ports.events = aids_;
    if (sound_) sound_->load(gamePath(b_.AppDir, "\\sound\\KorvathWavs.dxw"));
    // The two custom cursors are read relative to the working directory (the
    // game folder when started by ./run); started from elsewhere, the game
    // folder's own copies serve.
    auto cursorFile = [this](const std::string& name) {
        const std::string local = "./graphics/" + name;
        return fileExists(local) ? local : gamePath(b_.AppDir, "\\graphics\\" + name);
    };
    swordCursor_ = loadCursor(cursorFile("sword.cur"), Qt::PointingHandCursor);
    aimCursor_ = loadCursor(cursorFile("aim.cur"), Qt::CrossCursor);
    const uint32_t seed = b_.rng.seed();
    try {
        const Raster floors = readFloorArt(b_, std::cerr);
        createBattle(b_);
        showFloorArt(b_, floors);
    } catch (...) {
        b_.ports.presenter = nullptr;
        b_.ports.events = nullptr;
        throw;
    }
    // From here on the battle is written down as it is played.
    recording_.battleBegins(b_, seed);
    b_.ports.watcher = &recording_;
    setWindowTitle(QString::fromStdString(scenarioTitle(b_)) + QStringLiteral(" - Korvath"));
    // The rules see the map panel as it is now, whatever the window's size.
    const QSize view = control("MapPanel")->size();
    runCommand(b_, {"view", std::to_string(view.width()), std::to_string(view.height())});
    // The floors as the player last chose them; the rules never see them.
    showClassicFloors(b_, aids_->settings().classicFloors());
    keyboard_->setCursorOn(keyboard_->cursorOn()); // in the middle of the view now known
    idleTimer_.setSingleShot(true);
    idleTimer_.start(kIdleGap);
    sync();
}

void TPlayingScreen::WindowPresenter::beat(Beat beat) {
    // The animation speed changes how long, never what or in which order; a
    // replay plays at the speed of its own bar.
    const BeatTiming t = timingOf(beat);
    const int ms = w_->replaying_ ? t.ms : w_->aids_->beatLength(beat);
    waitOnEventLoop(static_cast<int>(ms * w_->animationScale_), t.letMessagesRun);
    w_->aids_->beatPassed(beat);
}

void TPlayingScreen::WindowPresenter::repaint() {
    w_->sync(true);
}

void TPlayingScreen::WindowPresenter::letMessagesRun() {
    QCoreApplication::processEvents();
}

void TPlayingScreen::WindowPresenter::playerTurnBegins() {
    // A replay's battle is not the player's to keep.
    if (w_->replaying_) return;
    w_->aids_->playerTurnBegins();
    w_->keepReplayBesideAutosave();
}

} // namespace korvath
