#include "EditorWindow.h"

#include "EditorSession.h"
#include "EventsPanel.h"
#include "OverheadNavigator.h"
#include "ScenarioList.h"
#include "SoldiersPanel.h"
#include "TextsPanel.h"
#include "TilePalette.h"
#include "engine/DataError.h"
#include "engine/ShownText.h"
#include "game/files/ScenarioFolders.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <filesystem>

namespace korvath {

namespace {

struct ToolInfo {
    EditorTool tool;
    const char* name;
    const char* key;
    const char* hint;
};

const ToolInfo kTools[] = {
    {EditorTool::Paint, "Paint", "P",
     "Paint: click or drag to lay the chosen tile. Walls join up."},
    {EditorTool::Fill, "Fill", "F", "Fill: the chosen tile over the whole patch clicked."},
    {EditorTool::Rectangle, "Rectangle", "R", "Rectangle: drag from corner to corner."},
    {EditorTool::Outline, "Room walls", "W",
     "Room walls: drag from corner to corner to lay the chosen tile round the edge."},
    {EditorTool::ForceField, "Force field", "G",
     "Force field: press where the generator stands and drag along its field line."},
    {EditorTool::Soldier, "Soldier", "S",
     "Soldier: click where the soldier chosen in the Soldiers table stands."},
    {EditorTool::Objective, "Objective", "O", "Objective: click the square the Operatives defend."},
    {EditorTool::EventChange, "Event squares", "E",
     "Event squares: click a square the chosen event turns into the chosen tile; "
     "right-click takes it back."},
    {EditorTool::Reinforcement, "Arrival", "A",
     "Arrival: click where the chosen event's chosen soldier arrives."},
};

} // namespace

EditorWindow::EditorWindow(const std::string& appDir, QWidget* parent)
    : QMainWindow(parent), appDir_(appDir), session_(new EditorSession(this)),
      canvas_(new MapCanvas(*session_)), view_(new QScrollArea(this)) {
    setObjectName("ScenarioEditor");
    setAttribute(Qt::WA_DeleteOnClose);
    // Most of the screen, in its middle.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        resize(std::min(1500, room.width() * 9 / 10), std::min(950, room.height() * 9 / 10));
        move(room.center() - rect().center());
    }
    view_->setObjectName("EditorView");
    view_->setWidget(canvas_);
    view_->setBackgroundRole(QPalette::Dark);
    setCentralWidget(view_);
    makeDocks();
    makeActions();
    connect(session_, &EditorSession::changed, this, &EditorWindow::refreshTitle);
    connect(session_, &EditorSession::refused, this,
            [this](const QString& why) { QMessageBox::warning(this, "Korvath editor", why); });
    connect(canvas_, &MapCanvas::hovered, this, &EditorWindow::hovered);
    // A scenario just opened starts with the brush, nobody chosen.
    connect(session_, &EditorSession::opened, this, [this] { setTool(EditorTool::Paint); });
    // The square under the mouse is told again once an edit changed it.
    connect(session_, &EditorSession::changed, this, [this] {
        if (canvas_->underMouse()) hovered(hover_.x(), hover_.y());
    });
    newScenario(0, "New battle");
    statusBar()->showMessage(kTools[0].hint);
}

void EditorWindow::makeDocks() {
    palette_ = new TilePalette(*session_, this);
    auto* left = new QDockWidget("Tiles", this);
    left->setObjectName("TilesDock");
    left->setWidget(palette_);
    left->setFeatures(QDockWidget::DockWidgetMovable);
    left->setMinimumWidth(230);
    addDockWidget(Qt::LeftDockWidgetArea, left);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("EditorTabs");
    auto* mapTab = new QWidget(tabs_);
    auto* mapLayout = new QVBoxLayout(mapTab);
    mapLayout->addWidget(new OverheadNavigator(*session_, *view_, mapTab), 0, Qt::AlignHCenter);
    auto* legend = new QLabel(
        "Click or drag on the small map to look there.\n\n"
        "On the big map: green rings are Raiders, red rings Operatives, dashed cyan what the "
        "chosen event changes or brings; the amber cross is the objective square. A number on "
        "a soldier is the difficulty from which he comes.\n\n"
        "Right-click a square to take its tile as the one to paint with.",
        mapTab);
    legend->setWordWrap(true);
    mapLayout->addWidget(legend);
    mapLayout->addStretch();
    tabs_->addTab(mapTab, "Map");
    soldiers_ = new SoldiersPanel(*session_, tabs_);
    tabs_->addTab(soldiers_, "Soldiers");
    events_ = new EventsPanel(*session_, tabs_);
    tabs_->addTab(events_, "Events");
    texts_ = new TextsPanel(*session_, tabs_);
    tabs_->addTab(texts_, "Texts");
    findings_ = new QListWidget(tabs_);
    findings_->setObjectName("CheckFindings");
    findings_->setWordWrap(true);
    findings_->setSpacing(3);
    tabs_->addTab(findings_, "Check");
    auto* right = new QDockWidget("Scenario", this);
    right->setObjectName("ScenarioDock");
    right->setWidget(tabs_);
    right->setFeatures(QDockWidget::DockWidgetMovable);
    right->setMinimumWidth(420);
    addDockWidget(Qt::RightDockWidgetArea, right);

    connect(palette_, &TilePalette::chosen, this, [this](int g) {
        canvas_->setGlyph(g);
        events_->setGlyph(g);
        const EditorTool t = canvas_->tool();
        if (g == 28 || g == 29 || g == 46 || g == 47)
            setTool(EditorTool::ForceField);
        else if (t == EditorTool::Soldier || t == EditorTool::Objective ||
                 t == EditorTool::Reinforcement || t == EditorTool::ForceField)
            setTool(EditorTool::Paint);
    });
    connect(canvas_, &MapCanvas::picked, palette_, &TilePalette::choose);
    connect(canvas_, &MapCanvas::soldierPicked, soldiers_, &SoldiersPanel::choose);
    connect(soldiers_, &SoldiersPanel::chosen, this, [this](int i) {
        canvas_->setSoldier(i);
        if (i >= 0 && canvas_->tool() != EditorTool::Soldier) setTool(EditorTool::Soldier);
    });
    connect(events_, &EventsPanel::chosen, canvas_, &MapCanvas::setEvent);
    connect(events_, &EventsPanel::toolWanted, this, &EditorWindow::setTool);
    connect(findings_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { showFinding(item->text()); });
}

void EditorWindow::makeActions() {
    QMenu* file = menuBar()->addMenu("&File");
    QToolBar* bar = addToolBar("Editor");
    bar->setObjectName("EditorTools");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto action = [this](QMenu* menu, const QString& text, const QKeySequence& key, auto slot) {
        QAction* a = menu->addAction(text);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    action(file, "New battle on the fortress tiles...", QKeySequence::New, [this] {
        bool ok = false;
        const QString t = QInputDialog::getText(this, "New battle", "Its title:", QLineEdit::Normal,
                                                "My battle", &ok);
        if (ok && askToSave()) newScenario(0, t);
    });
    action(file, "New battle on the starship tiles...", QKeySequence(), [this] {
        bool ok = false;
        const QString t = QInputDialog::getText(this, "New battle", "Its title:", QLineEdit::Normal,
                                                "My battle", &ok);
        if (ok && askToSave()) newScenario(1, t);
    });
    QAction* open = action(file, "&Open...", QKeySequence::Open, [this] { openChosen(); });
    action(file, "Open a folder...", QKeySequence(), [this] {
        const QString dir = QFileDialog::getExistingDirectory(
            this, "The folder of a scenario", QString::fromStdString(playersScenariosFolder()));
        if (!dir.isEmpty() && askToSave()) openFolder(dir);
    });
    QAction* save = action(file, "&Save", QKeySequence::Save, [this] { this->save(); });
    action(file, "Save &as...", QKeySequence::SaveAs, [this] {
        bool ok = false;
        const QString t = QInputDialog::getText(
            this, "Save as", "The scenario's title:", QLineEdit::Normal,
            QString::fromStdString(session_->doc().content().manifest.Title), &ok);
        if (ok) saveAs(t);
    });
    file->addSeparator();
    action(file, "&Close", QKeySequence::Close, [this] { close(); });

    QMenu* edit = menuBar()->addMenu("&Edit");
    undo_ = action(edit, "&Undo", QKeySequence::Undo, [this] { session_->undo(); });
    redo_ = action(edit, "&Redo", QKeySequence::Redo, [this] { session_->redo(); });

    QMenu* toolsMenu = menuBar()->addMenu("&Tools");
    tools_ = new QActionGroup(this);
    for (const ToolInfo& t : kTools) {
        QAction* a = toolsMenu->addAction(t.name);
        a->setObjectName(QString("Tool_") + QString(t.name).replace(' ', '_'));
        a->setCheckable(true);
        a->setShortcut(QKeySequence(t.key));
        a->setStatusTip(t.hint);
        a->setToolTip(t.hint);
        a->setData(static_cast<int>(t.tool));
        tools_->addAction(a);
        connect(a, &QAction::triggered, this, [this, tool = t.tool] { setTool(tool); });
    }
    tools_->actions().front()->setChecked(true);

    QMenu* view = menuBar()->addMenu("&View");
    action(view, "Zoom &in", QKeySequence::ZoomIn,
           [this] { canvas_->setZoom(canvas_->zoom() * 2); });
    action(view, "Zoom &out", QKeySequence::ZoomOut,
           [this] { canvas_->setZoom(canvas_->zoom() / 2); });

    QMenu* battle = menuBar()->addMenu("&Battle");
    QAction* checkAction = action(battle, "&Check", QKeySequence(Qt::Key_F7), [this] { check(); });
    checkAction->setStatusTip("Save, then load the battle as the game does, look it over and "
                              "play ten turns of it without a window.");
    QAction* play = action(battle, "&Play", QKeySequence(Qt::Key_F5), [this] {
        if (this->save()) emit playRequested(QString::fromStdString(session_->doc().folder()));
    });
    play->setStatusTip("Save, then play the battle as the front screen starts it.");

    bar->addAction(open);
    bar->addAction(save);
    bar->addSeparator();
    bar->addAction(undo_);
    bar->addAction(redo_);
    bar->addSeparator();
    for (QAction* a : tools_->actions()) bar->addAction(a);
    bar->addSeparator();
    bar->addAction(checkAction);
    bar->addAction(play);
}

void EditorWindow::setTool(EditorTool t) {
    canvas_->setTool(t);
    for (QAction* a : tools_->actions())
        if (a->data().toInt() == static_cast<int>(t)) a->setChecked(true);
    for (const ToolInfo& info : kTools)
        if (info.tool == t) statusBar()->showMessage(info.hint);
    if (t == EditorTool::EventChange || t == EditorTool::Reinforcement) {
        if (events_->chosenEvent().isEmpty()) {
            tabs_->setCurrentWidget(events_);
            statusBar()->showMessage("Choose an event first, or make one.");
        }
    }
}

void EditorWindow::refreshTitle() {
    if (!session_->isOpen()) return;
    const ScenarioDocument& d = session_->doc();
    setWindowTitle(QString("%1%2 - Korvath scenario editor")
                       .arg(QString::fromStdString(shownText(d.content().manifest.Title)))
                       .arg(d.modified() ? " *" : ""));
    undo_->setEnabled(d.canUndo());
    redo_->setEnabled(d.canRedo());
}

void EditorWindow::newScenario(int tileSet, const QString& title) {
    try {
        session_->open(ScenarioDocument::createNew(appDir_, tileSet, title.toStdString()));
    } catch (const DataError& e) {
        QMessageBox::warning(this, "Korvath editor", QString("No new battle: %1").arg(e.what()));
    }
}

bool EditorWindow::openFolder(const QString& folder) {
    try {
        session_->open(ScenarioDocument::openFolder(appDir_, folder.toStdString()));
        return true;
    } catch (const DataError& e) {
        QMessageBox::warning(this, "Korvath editor",
                             QString("The scenario cannot be opened:\n%1")
                                 .arg(QString::fromStdString(shownText(e.what()))));
        return false;
    }
}

void EditorWindow::openShipped(int index) {
    try {
        session_->open(ScenarioDocument::openShipped(appDir_, index));
        statusBar()->showMessage("A copy of a battle that comes with the game: save it under a "
                                 "name of your own.");
    } catch (const DataError& e) {
        QMessageBox::warning(this, "Korvath editor", e.what());
    }
}

void EditorWindow::openChosen() {
    if (!askToSave()) return;
    ScenarioListDialog dialog(appDir_, true, "Open a scenario", "Open", this);
    if (dialog.exec() != QDialog::Accepted || !dialog.chosen()) return;
    const ListedScenario& l = *dialog.chosen();
    if (l.shipped >= 0)
        openShipped(l.shipped);
    else
        openFolder(QString::fromStdString(l.found.folder));
}

bool EditorWindow::save() {
    texts_->commit();
    ScenarioDocument& d = session_->doc();
    // A battle of the game folder is saved as the player's own, never in place.
    const auto rel = std::filesystem::path(d.folder())
                         .lexically_normal()
                         .lexically_relative(std::filesystem::path(playersScenariosFolder()));
    const bool players = !d.folder().empty() && !rel.empty() && *rel.begin() != "..";
    if (!players) {
        bool ok = false;
        const QString t = QInputDialog::getText(
            this, "Save",
            QString("The scenario's title. It is saved in a folder named after it in\n%1")
                .arg(QString::fromStdString(playersScenariosFolder())),
            QLineEdit::Normal, QString::fromStdString(d.content().manifest.Title), &ok);
        return ok && saveAs(t);
    }
    const bool done = session_->edit([](ScenarioDocument& doc) { doc.saveTo(doc.folder()); });
    if (done) statusBar()->showMessage(QString("Saved in %1").arg(d.folder().c_str()));
    return done;
}

bool EditorWindow::saveAs(const QString& title) {
    const std::string t = title.trimmed().toStdString();
    if (t.empty()) return false;
    const std::string key = scenarioNameFor(t);
    const std::string folder = (std::filesystem::path(playersScenariosFolder()) / key).string();
    ScenarioDocument& d = session_->doc();
    if (folder != d.folder() && std::filesystem::exists(folder) &&
        QMessageBox::question(
            this, "Save as",
            QString("A scenario is already kept in %1. Replace it?").arg(folder.c_str())) !=
            QMessageBox::Yes)
        return false;
    const bool done = session_->edit([&](ScenarioDocument& doc) {
        doc.setTitle(t);
        doc.setScenarioName(key);
        doc.saveTo(folder);
    });
    if (done) statusBar()->showMessage(QString("Saved in %1").arg(folder.c_str()));
    return done;
}

CheckReport EditorWindow::check() {
    CheckReport report;
    if (!save()) return report;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    report = checkScenario(appDir_, session_->doc().folder());
    QApplication::restoreOverrideCursor();
    findings_->clear();
    auto* verdict =
        new QListWidgetItem(report.passed() ? "No problems: the battle can be played."
                                            : "Problems: the battle cannot be played right yet.",
                            findings_);
    QFont bold = verdict->font();
    bold.setBold(true);
    verdict->setFont(bold);
    for (const bool problems : {true, false})
        for (const CheckFinding& f : report.findings)
            if (f.problem == problems) {
                auto* item =
                    new QListWidgetItem(QString::fromStdString(shownText(f.text)), findings_);
                item->setForeground(problems ? QColor(255, 120, 100) : QColor(180, 190, 200));
                item->setIcon(style()->standardIcon(problems ? QStyle::SP_MessageBoxWarning
                                                             : QStyle::SP_MessageBoxInformation));
            }
    tabs_->setCurrentWidget(findings_);
    statusBar()->showMessage(report.passed() ? "Check found no problem."
                                             : "Check found problems: see the Check tab.");
    return report;
}

void EditorWindow::showFinding(const QString& text) {
    const auto m = QRegularExpression("(\\d+), (\\d+)").match(text);
    if (!m.hasMatch()) return;
    const QRect r = canvas_->squareRect(m.captured(1).toInt(), m.captured(2).toInt());
    view_->ensureVisible(r.center().x(), r.center().y(), view_->viewport()->width() / 2,
                         view_->viewport()->height() / 2);
}

void EditorWindow::hovered(int x, int y) {
    hover_ = {x, y};
    if (!session_->isOpen()) return;
    const ScenarioDocument& d = session_->doc();
    const int g = d.content().map[x][y].Glyph;
    const auto texts = d.glyphTexts();
    QString text = QString("Square %1, %2: %3 (glyph %4)")
                       .arg(x)
                       .arg(y)
                       .arg(QString::fromStdString(shownText(texts[g].Description)))
                       .arg(g);
    if (const int s = d.soldierAt(x, y); s >= 0)
        text += QString(" - %1").arg(QString::fromStdString(shownText(d.soldiers()[s].Name)));
    statusBar()->showMessage(text);
}

bool EditorWindow::askToSave() {
    if (!session_->isOpen() || !session_->doc().modified() || !session_->doc().canUndo())
        return true;
    const auto answer =
        QMessageBox::question(this, "Korvath editor", "Save the changes to this battle first?",
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    return answer == QMessageBox::Discard || save();
}

void EditorWindow::closeEvent(QCloseEvent* e) {
    if (askToSave())
        e->accept();
    else
        e->ignore();
}

} // namespace korvath
