// The scenario editor's window and the front screen's way to the players'
// battles: a copied-in scenario is listed and started like the two shipped
// ones, and a battle made with the mouse is checked and played.
#include "ScratchBattle.h"
#include "TestData.h"
#include "game/files/ScenarioFolders.h"
#include "ui/QtPorts.h"
#include "ui/ScenarioList.h"
#include "ui/SoundPlayer.h"
#include "ui/TIntroForm.h"
#include "ui/TIntroScreen.h"
#include "ui/TPlayingScreen.h"
#include "ui/editor/EditorSession.h"
#include "ui/editor/EditorWindow.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using namespace korvath;

namespace {

struct NoBoxes : Dialogs {
    std::vector<std::string> texts;
    void information(const std::string& text) override { texts.push_back(text); }
    std::string openFile(const FileQuestion&) override { return {}; }
    std::string saveFile(const FileQuestion&) override { return {}; }
};

// The game's windows as main() makes them, on the built game folder, with a
// player's data folder of its own.
struct Game {
    Game() {
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        battle->AppDir = KORVATH_GAME_DIR;
        battle->ports = {&clock, &sound, &dialogs, nullptr};
        intro = std::make_unique<TIntroScreen>(*battle, &sound);
        briefing = std::make_unique<TIntroForm>(*battle);
        intro->setBriefing(briefing.get());
        intro->show();
    }
    ~Game() {
        if (intro->battleWindow()) delete intro->battleWindow();
        if (intro->editorWindow()) delete intro->editorWindow();
    }
    // The briefing, once it shows, is looked at and closed with a click.
    void closeBriefingWhenShown(bool* seen) {
        QTimer::singleShot(0, briefing.get(), [this, seen] {
            *seen = briefing->isVisible() && !briefing->picture().isNull();
            QTest::mouseClick(briefing->findChild<QLabel*>("IntroIMage"), Qt::LeftButton, {},
                              QPoint(10, 10));
        });
    }
    fs::path players() const {
        return fs::path(home.path().toStdString()) / "korvath" / "scenarios";
    }

    QTemporaryDir home;
    std::unique_ptr<Battle> battle = std::make_unique<Battle>();
    QtClock clock;
    NoBoxes dialogs;
    SoundPlayer sound;
    std::unique_ptr<TIntroScreen> intro;
    std::unique_ptr<TIntroForm> briefing;
};

// A press, a drag over the squares between and a release, on the editor's map.
void drag(MapCanvas& c, QPoint from, QPoint to) {
    auto at = [&](QPoint sq) { return c.squareRect(sq.x(), sq.y()).center(); };
    QTest::mousePress(&c, Qt::LeftButton, {}, at(from));
    QMouseEvent move(QEvent::MouseMove, at(to), c.mapToGlobal(QPointF(at(to))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&c, &move);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, at(to));
}

void click(MapCanvas& c, int x, int y) {
    QTest::mouseClick(&c, Qt::LeftButton, {}, c.squareRect(x, y).center());
}

// Chooses a tile in the palette as the player does: a click on its picture.
void chooseTile(EditorWindow& w, int glyph) {
    for (QListWidget* list : w.findChildren<QListWidget*>())
        for (int r = 0; r < list->count(); ++r)
            if (list->item(r)->data(Qt::UserRole).toInt() == glyph) {
                QListWidgetItem* item = list->item(r);
                emit list->itemClicked(item);
                return;
            }
    QFAIL("the tile is not in the palette");
}

QAction* action(QWidget& w, const QString& text) {
    for (QAction* a : w.findChildren<QAction*>())
        if (a->text().remove('&') == text) return a;
    return nullptr;
}

} // namespace

class EditorWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void frontScreenListsACopiedInScenarioAndStartsIt() {
        Game g;
        test::TempDir made;
        test::threeRooms(KORVATH_GAME_DIR).saveTo((made.path / "threerooms").string());
        fs::create_directories(g.players());
        fs::copy(made.path / "threerooms", g.players() / "threerooms");

        bool listed = false;
        connect(g.intro.get(), &TIntroScreen::listShown, this, [&](ScenarioListDialog* list) {
            QCOMPARE(list->scenarios().size(), size_t(1));
            const ListedScenario& s = list->scenarios()[0];
            QCOMPARE(s.title, QString("Three Rooms"));
            QVERIFY(!s.picture.isNull());
            QCOMPARE(s.picture.size(), QSize(273, 169));
            QVERIFY(s.text.contains("THREE ROOMS"));
            listed = true;
            emit list->list()->itemClicked(list->list()->item(0));
        });
        bool briefed = false;
        g.closeBriefingWhenShown(&briefed);
        QTest::mouseClick(g.intro->findChild<QPushButton*>("OtherBattles"), Qt::LeftButton);
        QVERIFY(listed);
        QVERIFY(briefed);
        QVERIFY(g.intro->battleWindow());
        QVERIFY(!g.intro->isVisible());
        QCOMPARE(g.battle->ScenarioFolder, (g.players() / "threerooms").string());
        QCOMPARE(g.battle->Difficulty, 3);
        QCOMPARE(g.battle->Pieces[1].Name, std::string("Sgt Mara Quill"));
        QVERIFY(g.battle->deploying);
        QVERIFY(g.intro->battleWindow()->windowTitle().startsWith("Three Rooms"));
    }

    void aBattleMadeWithTheMouseIsCheckedAndPlayed() {
        Game g;
        QTest::mouseClick(g.intro->findChild<QPushButton*>("EditorButton"), Qt::LeftButton);
        EditorWindow* w = g.intro->editorWindow();
        QVERIFY(w && w->isVisible());
        w->newScenario(0, "Mouse Battle");
        MapCanvas& map = w->canvas();
        const ScenarioDocument& d = w->session().doc();

        // A room: its walls from corner to corner, then undone and done again.
        chooseTile(*w, 1);
        w->setTool(EditorTool::Outline);
        drag(map, {3, 3}, {12, 10});
        QCOMPARE(int(d.content().map[3][3].Glyph), 1 + 2 + 4); // a corner joins east and south
        QCOMPARE(int(d.content().map[7][3].Glyph), 1 + 2 + 8);
        QCOMPARE(int(d.content().map[7][7].Glyph), kFloorGlyph);
        action(*w, "Undo")->trigger();
        QCOMPARE(int(d.content().map[3][3].Glyph), kFloorGlyph);
        action(*w, "Redo")->trigger();
        QCOMPARE(int(d.content().map[3][3].Glyph), 7);

        // A star, a Raider to place on it, an Operative put in the room.
        chooseTile(*w, kStartStarGlyph);
        w->setTool(EditorTool::Paint);
        click(map, 5, 5);
        QTest::mouseClick(w->findChild<QPushButton*>("AddRaider"), Qt::LeftButton);
        QTest::mouseClick(w->findChild<QPushButton*>("AddOperative"), Qt::LeftButton);
        QCOMPARE(map.tool(), EditorTool::Soldier);
        click(map, 10, 8);
        QCOMPARE(d.soldiers().at(1).X, 10);
        QCOMPARE(d.soldiers().at(1).Y, 8);

        // Check tells where the objective is out of reach; once moved, it passes.
        QVERIFY(w->saveAs("Mouse Battle"));
        QCOMPARE(d.folder(), (g.players() / "mousebattle").string());
        CheckReport r = w->check();
        QVERIFY(!r.passed());
        QVERIFY(QString::fromStdString(r.text()).contains("objective square 40, 25"));
        w->setTool(EditorTool::Objective);
        click(map, 8, 6);
        r = w->check();
        QVERIFY2(r.passed(), r.text().c_str());

        // Play starts it as the front screen would.
        bool briefed = false;
        g.closeBriefingWhenShown(&briefed);
        action(*w, "Play")->trigger();
        QVERIFY(briefed);
        QVERIFY(g.intro->battleWindow());
        QCOMPARE(g.battle->ScenarioFolder, d.folder());
        QCOMPARE(g.battle->ObjectiveX, 8);
    }

    // The soldier chosen in one scenario is a row number: in the next one
    // opened it would be somebody else, moved by the next click on the map.
    void aScenarioOpenedStartsWithNobodyChosen() {
        Game g;
        test::TempDir made;
        for (const char* copy : {"first", "second"})
            test::threeRooms(KORVATH_GAME_DIR).saveTo((made.path / copy).string());
        QTest::mouseClick(g.intro->findChild<QPushButton*>("EditorButton"), Qt::LeftButton);
        EditorWindow* w = g.intro->editorWindow();
        QVERIFY(w->openFolder(QString::fromStdString((made.path / "first").string())));
        w->findChild<QTableWidget*>("SoldierTable")->selectRow(1);
        QCOMPARE(w->canvas().tool(), EditorTool::Soldier);

        QVERIFY(w->openFolder(QString::fromStdString((made.path / "second").string())));
        const PieceRecord before = w->session().doc().soldiers().at(1);
        click(w->canvas(), 30, 30);
        QCOMPARE(w->canvas().tool(), EditorTool::Paint);
        QCOMPARE(w->session().doc().soldiers().at(1).X, before.X);
        QCOMPARE(w->session().doc().soldiers().at(1).Y, before.Y);
    }
};

QTEST_MAIN(EditorWindowTests)
#include "EditorWindowTests.moc"
