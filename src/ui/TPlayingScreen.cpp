#include "TPlayingScreen.h"
#include "QtPorts.h"

#include "CursorFile.h"
#include "Fonts.h"
#include "SoundPlayer.h"
#include "TNodeForm.h"
#include "engine/Paths.h"
#include "game/commands/DeveloperAids.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"

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
#include <QTableWidget>
#include <QToolButton>

namespace korvath {

namespace {

constexpr int kClientWidth = 1018;
constexpr int kClientHeight = 734;
constexpr int kPanelWidth = 710;
constexpr int kPanelHeight = 518;

// The pictures on the speed buttons, drawn rather than loaded so the window
// needs no extra files.
QIcon buttonIcon(const QString& name) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 30, 30), red(190, 20, 20), green(20, 120, 40), blue(20, 60, 170);
    p.setPen(QPen(ink, 2));
    if (name == "EndTurnButton") {
        p.setBrush(QColor(230, 200, 60));
        p.drawPolygon(QPolygon({{8, 4}, {24, 4}, {16, 16}}));
        p.drawPolygon(QPolygon({{8, 28}, {24, 28}, {16, 16}}));
    } else if (name == "HandFightIcon") {
        p.setPen(QPen(QColor(120, 120, 130), 3));
        p.drawLine(6, 26, 24, 8);
        p.setPen(QPen(QColor(120, 70, 20), 3));
        p.drawLine(6, 26, 10, 22);
        p.drawLine(6, 18, 14, 26);
    } else if (name == "AimedFireIcon") {
        p.setPen(QPen(red, 2));
        p.drawEllipse(QPoint(16, 16), 10, 10);
        p.drawLine(16, 2, 16, 30);
        p.drawLine(2, 16, 30, 16);
    } else if (name == "SnapFireIcon") {
        p.setPen(QPen(red, 2));
        p.drawEllipse(QPoint(16, 16), 6, 6);
        p.drawLine(4, 10, 10, 10);
        p.drawLine(2, 16, 10, 16);
        p.drawLine(4, 22, 10, 22);
    } else if (name == "Cancelbutton") {
        p.setPen(QPen(red, 4));
        p.drawLine(8, 8, 24, 24);
        p.drawLine(24, 8, 8, 24);
    } else if (name == "OverwatchIcon") {
        QPainterPath eye;
        eye.moveTo(3, 16);
        eye.quadTo(16, 3, 29, 16);
        eye.quadTo(16, 29, 3, 16);
        p.setBrush(Qt::white);
        p.drawPath(eye);
        p.setBrush(blue);
        p.drawEllipse(QPoint(16, 16), 4, 4);
    } else if (name == "NextButton") {
        p.setBrush(green);
        p.drawPolygon(QPolygon({{6, 8}, {18, 8}, {18, 3}, {29, 16}, {18, 29}, {18, 24}, {6, 24}}));
    } else if (name == "DropItem" || name == "PickUpButton") {
        p.setBrush(QColor(150, 110, 60));
        p.drawRect(5, 20, 22, 8);
        p.setBrush(name == "DropItem" ? red : green);
        if (name == "DropItem")
            p.drawPolygon(
                QPolygon({{12, 2}, {20, 2}, {20, 10}, {25, 10}, {16, 18}, {7, 10}, {12, 10}}));
        else
            p.drawPolygon(
                QPolygon({{16, 2}, {25, 10}, {20, 10}, {20, 18}, {12, 18}, {12, 10}, {7, 10}}));
    }
    return QIcon(pm);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

TPlayingScreen::TPlayingScreen(Battle& battle, SoundPlayer* sound, TNodeForm* nodes,
                               QWidget* parent)
    : QMainWindow(parent), b_(battle), sound_(sound), nodes_(nodes) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("PlayingScreen");
    setWindowTitle(QStringLiteral("Korvath"));
    buildWindow();
    buildMenus();
    connectEvents();
    qApp->installEventFilter(this);
    if (nodes_) nodes_->onClosed = [this] { b_.nodeGridVisible = false; };
}

TPlayingScreen::~TPlayingScreen() {
    qApp->removeEventFilter(this);
    if (nodes_) nodes_->onClosed = nullptr;
    if (b_.ports.presenter == &presenter_) b_.ports.presenter = nullptr;
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
    central_ = new QWidget(this);
    central_->setObjectName("ClientArea");
    central_->setFixedSize(kClientWidth, kClientHeight);
    central_->setMouseTracking(true);
    setCentralWidget(central_);

    auto* info = add(new QLabel(central_), "InfoLabel", 8, 0, 729, 25);
    info->setFont(msSansSerifFont(14));

    // The map view: a sunken frame around the two scroll bars and the panel
    // through which the 2560 x 1600 map picture is seen.
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

    // Deployment: the soldiers still to place and the one picked.
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

    buildInformationPanel(central_);

    // The actions bar under the map: the weapon in hand and what it costs.
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
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);

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
    add(new QLabel(panel), "DescLabel", 16, 654, 240, 18);
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
    entry(file, "Loadgame1", "&Loadgame");
    entry(file, "Savegame1", "&Savegame");
    entry(file, "Quit1", "Quit");

    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    options->setObjectName("Options1");
    for (auto [name, t] :
         {std::pair{"ShowWounds", "Show wounds"}, std::pair{"ShowOverwatch", "Show overwatch"},
          std::pair{"ShowMediKit", "Show Healers"}}) {
        QAction* a = entry(options, name, t);
        a->setCheckable(true);
        a->setChecked(true);
    }
    QAction* sep = options->addSeparator();
    sep->setObjectName("N1");
    actions_.insert("N1", sep);
    entry(options, "IwannaC1", "IwannaC")->setCheckable(true);
    entry(options, "Nodes1", "Nodes");
    entry(options, "Setp1tocoords1", "Set p1 to coords");
    // Developer aids stay out of the player's sight.
    for (const char* name : {"N1", "IwannaC1", "Nodes1", "Setp1tocoords1"})
        actions_.value(name)->setVisible(false);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&help"));
    help->setObjectName("help1");
    entry(help, "About1", "&About");
}

void TPlayingScreen::FormCreate() {
    b_.ports.presenter = &presenter_;
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
    try {
        createBattle(b_);
    } catch (...) {
        b_.ports.presenter = nullptr;
        throw;
    }
    // A developer sees the hidden aids (KORVATH_DEVELOPER=1).
    if (b_.developerMode) enableDeveloperMode(b_);
    idleTimer_.setSingleShot(true);
    idleTimer_.start(kIdleGap);
    sync();
}

QCursor TPlayingScreen::cursorFor(CursorShape shape) const {
    switch (shape) {
    case CursorShape::Hourglass:
        return QCursor(Qt::WaitCursor);
    case CursorShape::HandPoint:
        return QCursor(Qt::PointingHandCursor);
    case CursorShape::Sword:
        return swordCursor_;
    case CursorShape::Aim:
        return aimCursor_;
    case CursorShape::Default:
        break;
    }
    return QCursor(Qt::ArrowCursor);
}

void TPlayingScreen::syncControl(const std::string& name, const Control& c) {
    const QString qname = text(name);
    if (QAction* a = actions_.value(qname)) {
        if (a->isVisible() != c.visible) a->setVisible(c.visible);
        if (a->isEnabled() != c.enabled) a->setEnabled(c.enabled);
        if (a->isCheckable() && a->isChecked() != c.down) {
            const QSignalBlocker block(a);
            a->setChecked(c.down);
        }
        return;
    }
    QWidget* w = widgets_.value(qname);
    if (!w) return;
    if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);
    if (w->isHidden() == c.visible) w->setVisible(c.visible);

    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        const QSignalBlocker block(button);
        if (button->isCheckable()) {
            if (button->isChecked() != c.down) button->setChecked(c.down);
        } else if (button->isDown() != c.down) {
            button->setDown(c.down);
        }
        if (qobject_cast<QRadioButton*>(w) && button->text() != text(c.text))
            button->setText(text(c.text));
    } else if (auto* scroll = qobject_cast<QScrollBar*>(w)) {
        const QSignalBlocker block(scroll);
        if (c.max >= c.min && (scroll->minimum() != c.min || scroll->maximum() != c.max))
            scroll->setRange(c.min, c.max);
        if (scroll->value() != c.position) scroll->setValue(c.position);
    } else if (auto* grid = qobject_cast<QTableWidget*>(w)) {
        const QSignalBlocker block(grid);
        const int rows = static_cast<int>(c.rows.size());
        if (grid->rowCount() != rows) grid->setRowCount(rows);
        for (int r = 0; r < rows; ++r)
            for (int col = 0; col < static_cast<int>(c.rows[r].size()); ++col) {
                if (col >= grid->columnCount()) grid->setColumnCount(col + 1);
                const QString t = text(c.rows[r][col]);
                QTableWidgetItem* item = grid->item(r, col);
                if (!item)
                    grid->setItem(r, col, new QTableWidgetItem(t));
                else if (item->text() != t)
                    item->setText(t);
            }
        if (grid->currentRow() != c.row) {
            if (c.row >= 0 && c.row < rows)
                grid->selectRow(c.row);
            else
                grid->clearSelection();
        }
    } else if (auto* list = qobject_cast<QComboBox*>(w)) {
        const QSignalBlocker block(list);
        QStringList items;
        for (const auto& r : c.rows) items << (r.empty() ? QString() : text(r[0]));
        bool same = list->count() == items.size();
        for (int i = 0; same && i < items.size(); ++i) same = list->itemText(i) == items[i];
        if (!same) {
            list->clear();
            list->addItems(items);
        }
        if (list->currentIndex() != c.row) list->setCurrentIndex(c.row);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        // The log mostly grows at the end: append what is new, rebuild otherwise.
        const auto& lines = c.lines;
        const bool grows =
            lines.size() >= memoLines_ && (memoLines_ == 0 || lines[memoLines_ - 1] == memoLast_);
        if (!grows) {
            QStringList all;
            for (const auto& l : lines) all << text(l);
            memo->setPlainText(all.join('\n'));
        } else {
            for (size_t i = memoLines_; i < lines.size(); ++i)
                memo->appendPlainText(text(lines[i]));
        }
        if (lines.size() != memoLines_ || !grows) {
            memoLines_ = lines.size();
            memoLast_ = lines.empty() ? std::string() : lines.back();
            memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
        }
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (w != overHeadMap_ && label->text() != text(c.text)) label->setText(text(c.text));
    }
}

void TPlayingScreen::syncPortrait() {
    const int row = b_.controls.whatManPicture;
    const int frame =
        b_.whatManFrame >= 1 && b_.whatManFrame <= kPictureFrames ? b_.whatManFrame : 1;
    if (row == portraitShown_ && frame == portraitFrame_) return;
    portraitShown_ = row;
    portraitFrame_ = frame;
    if (row < 1 || row > kPictureRows || b_.UnitPictures[row][frame].empty()) {
        whatMan_->clear();
        return;
    }
    const Raster& pic = b_.UnitPictures[row][frame];
    QImage img(reinterpret_cast<const uchar*>(pic.data()), pic.width(), pic.height(),
               pic.width() * 4, QImage::Format_RGB32);
    whatMan_->setPixmap(QPixmap::fromImage(img.scaled(80, 80)));
}

void TPlayingScreen::sync(bool now) {
    if (closed_) return;
    b_.showRuleState();
    for (auto& [name, control] : b_.controls.all()) syncControl(name, *control);

    // The picture inside the panel follows the scroll bars: their positions
    // are the map column at the panel's right edge and the row at its bottom.
    mapImage_->move(mapImageLeft(b_), mapImageTop(b_));
    if (!b_.dirty.empty()) {
        const QRect changed(b_.dirty.left, b_.dirty.top, b_.dirty.right - b_.dirty.left,
                            b_.dirty.bottom - b_.dirty.top);
        b_.dirty = {};
        if (now && mapImage_->isVisible())
            mapImage_->repaint(changed);
        else
            mapImage_->update(changed);
    }
    overHeadMap_->update();
    syncPortrait();
    if (nodes_) nodes_->mirror(b_.nodeGridVisible, b_.NodeGrid);

    // The window's cursor covers everything; the map has its own beneath it.
    const CursorShape window = b_.controls.cursor;
    const CursorShape overMap = window != CursorShape::Default ? window : b_.controls.mapCursor;
    if (window != windowCursor_) central_->setCursor(cursorFor(windowCursor_ = window));
    if (overMap != mapCursor_) mapImage_->setCursor(cursorFor(mapCursor_ = overMap));
}

void TPlayingScreen::WindowPresenter::beat(Beat beat) {
    const BeatTiming t = timingOf(beat);
    waitOnEventLoop(t.ms, t.letMessagesRun);
}

void TPlayingScreen::WindowPresenter::repaint() {
    w_->sync(true);
}

void TPlayingScreen::WindowPresenter::letMessagesRun() {
    QCoreApplication::processEvents();
}

} // namespace korvath
