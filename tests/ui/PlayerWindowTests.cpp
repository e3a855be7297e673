// The battle window as a player meets it: real scenarios from the built game
// folder, driven by synthetic mouse, wheel and key events.
#include "RealBattleWindow.h"
#include "TestData.h"
#include "engine/Paths.h"
#include "game/commands/Registry.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/state/Battle.h"
#include "game/state/Pieces.h"
#include "ui/QtPorts.h"
#include "ui/TPlayingScreen.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include <functional>

using namespace korvath;
using namespace korvath::uitest;

namespace {

QString textOf(QWidget* label) {
    return qobject_cast<QLabel*>(label)->text();
}

// Does the label show its text whole, in the font it uses?
bool shownWhole(QLabel* label, const std::string& text) {
    const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    const QRect room = label->contentsRect();
    const QRect need = QFontMetrics(label->font())
                           .boundingRect(QRect(room.topLeft(), QSize(room.width(), 1000)), flags,
                                         QString::fromStdString(text));
    return label->text() == QString::fromStdString(text) && need.width() <= room.width() &&
           need.height() <= room.height();
}

} // namespace

class PlayerWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void edgeScrollingOnlyFromInsideTheActiveWindow();
    void selectedSoldierStandsOutFromTheFloor();
    void panelShowsTheSoldierAsHeIsNow();
    void afterALoadThePanelShowsTheLoadedBattle();
    void endOfBattleTellsHowToLeave_data();
    void endOfBattleTellsHowToLeave();
    void textsShowWhole_data();
    void textsShowWhole();
    void mapViewFollowsTheWindowSize();
    void wheelAndArrowKeysScroll();
    void floorArtOnlyOnTheScreen();
};

void PlayerWindowTests::init() {
    if (!gameBuilt()) QSKIP("the game folder is not built yet");
}

void PlayerWindowTests::edgeScrollingOnlyFromInsideTheActiveWindow() {
    BattleWindow bw(ScenarioId::Korvath);
    QVERIFY(QTest::qWaitForWindowActive(bw.w));
    bw.w->setEdgeScrolling(true);
    const QPoint middle(1500, 1000);
    const QRect g = bw.w->geometry();
    const struct {
        const char* where;
        QPoint mouse;
        QPoint way; // the direction the view must move, 0 for still
    } cases[] = {
        {"outside, right of the window", {g.right() + 5, g.center().y()}, {0, 0}},
        {"outside, below the window", {g.center().x(), g.bottom() + 5}, {0, 0}},
        {"outside, far off on the desktop", {g.right() + 400, g.bottom() + 300}, {0, 0}},
        {"inside, in the middle", g.center(), {0, 0}},
        {"inside, on the right edge", {g.right(), g.center().y()}, {1, 0}},
        {"inside, on the left edge", {g.left(), g.center().y()}, {-1, 0}},
        {"inside, on the bottom edge", {g.center().x(), g.bottom()}, {0, 1}},
    };
    for (const auto& c : cases) {
        bw.scrollTo(middle);
        QCursor::setPos(c.mouse);
        QTest::qWait(150);
        const QPoint moved = bw.scroll() - middle;
        QVERIFY2((moved.x() > 0) - (moved.x() < 0) == c.way.x(), c.where);
        QVERIFY2((moved.y() > 0) - (moved.y() < 0) == c.way.y(), c.where);
    }
    // Another window has the focus: the edge does nothing.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    bw.scrollTo(middle);
    QCursor::setPos(g.right(), g.center().y());
    QTest::qWait(150);
    QCOMPARE(bw.scroll(), middle);
}

void PlayerWindowTests::selectedSoldierStandsOutFromTheFloor() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.deployAll();
    const int i = bw.firstRaider();
    const PieceRecord& p = bw.b.Pieces[i];
    bw.clickSquare(p.X, p.Y);
    QVERIFY(bw.b.PieceSelected);
    // The frame as the player sees it: along its top edge the picture
    // alternates between dark and light, so it shows on black floor and on
    // bright tiles alike; the terrain picture under it is untouched.
    const QImage shown = bw.w->control("MapPanel")->grab().toImage();
    const QPoint corner =
        QPoint((p.X - 1) * kSquare, (p.Y - 1) * kSquare) + bw.w->mapImage()->pos();
    int light = 0, dark = 0, unlikeTerrain = 0;
    for (int x = 1; x <= 30; ++x) {
        const QRgb pixel = shown.pixel(corner + QPoint(x, 1)) & 0xffffff;
        light += qGray(pixel) > 200;
        dark += qGray(pixel) < 50;
        unlikeTerrain +=
            pixel != bw.b.TerrainBitmap.pixel((p.X - 1) * kSquare + x, (p.Y - 1) * kSquare + 1);
    }
    QVERIFY2(light >= 14 && dark >= 14, "black and white dashes");
    QVERIFY(unlikeTerrain >= 14);
}

void PlayerWindowTests::panelShowsTheSoldierAsHeIsNow() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.deployAll();
    const int i = bw.firstRaider();
    PieceRecord& p = bw.b.Pieces[i];
    // He walks, then drops the weapon in his hand: the panel still shows
    // him, though he is no longer selected for a walk, and no ammunition.
    bw.clickSquare(p.X, p.Y);
    bw.clickSquare(p.X + 3, p.Y);
    QTRY_VERIFY(p.AP < 19);
    bw.click("EquipRadio");
    auto* kit = bw.control<QTableWidget>("EquipGrid");
    QTest::mouseClick(kit->viewport(), Qt::LeftButton, {},
                      kit->visualRect(kit->model()->index(0, 0)).center());
    bw.click("DropItem");
    QCOMPARE(int(p.Items[1]), 0);
    QVERIFY(!bw.b.PieceSelected);
    QCOMPARE(textOf(bw.control("NameLabel")), QString::fromStdString(p.Name));
    QCOMPARE(textOf(bw.control("AmmoLabel")), QString("0"));

    // End turn: the new action points of whoever the panel shows (him, or
    // the last one hit in the Operatives' turn) show at once.
    bw.click("EndTurnButton");
    QTRY_VERIFY(bw.b.HumanTurn && bw.b.TurnNumber == 2);
    const int shown = bw.b.panel.piece;
    QCOMPARE(textOf(bw.control("NameLabel")), QString::fromStdString(bw.b.Pieces[shown].Name));
    QCOMPARE(textOf(bw.control("ActionPointsLabel")), QString::number(bw.b.Pieces[shown].AP));
    if (shown == i) QVERIFY(p.AP >= 19);
}

// A load leaves nothing of the abandoned battle on the panel: nobody shown,
// no kit, nothing on the ground; a click then shows the soldier as loaded.
void PlayerWindowTests::afterALoadThePanelShowsTheLoadedBattle() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.w->setAnimationScale(0);
    bw.deployAll();
    const int i = bw.firstRaider();
    PieceRecord& p = bw.b.Pieces[i];
    const PieceRecord saved = p;
    const std::string set = (bw.game.path / "savedgames" / "panel").string();
    runCommand(bw.b, {"menu", "Savegame", set});
    bw.clickSquare(p.X, p.Y);
    bw.clickSquare(p.X + 3, p.Y);
    QTRY_VERIFY(p.AP < saved.AP);
    bw.click("EquipRadio");
    QCOMPARE(textOf(bw.control("ActionPointsLabel")), QString::number(p.AP));

    runCommand(bw.b, {"menu", "Loadgame", set + "_korvath.map"});
    QCOMPARE(bw.boxes.texts.back(), std::string("Game has been loaded"));
    bw.w->sync();
    QCOMPARE(textOf(bw.control("NameLabel")), QString());
    QCOMPARE(textOf(bw.control("ActionPointsLabel")), QString());
    auto* kit = bw.control<QTableWidget>("EquipGrid");
    for (int row = 0; row < kit->rowCount(); ++row)
        QVERIFY(!kit->item(row, 0) || kit->item(row, 0)->text().isEmpty());
    QCOMPARE(bw.control<QComboBox>("PickItems")->count(), 0);

    bw.clickSquare(saved.X, saved.Y);
    QCOMPARE(bw.b.SelectedPiece, i);
    QCOMPARE(textOf(bw.control("NameLabel")), QString::fromStdString(saved.Name));
    QCOMPARE(textOf(bw.control("ActionPointsLabel")), QString::number(saved.AP));
}

void PlayerWindowTests::endOfBattleTellsHowToLeave_data() {
    QTest::addColumn<int>("losers");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");
    QTest::newRow("won")
        << int(Side::Operatives) << "You have won. There are no more enemies."
        << "The battle is over. Press End turn twice to return to the front screen.";
    QTest::newRow("lost")
        << int(Side::Raiders) << "You have no more men left"
        << "The battle is over. Press End turn twice to return to the front screen.";
}

void PlayerWindowTests::endOfBattleTellsHowToLeave() {
    QFETCH(int, losers);
    QFETCH(QString, box);
    QFETCH(QString, before);
    BattleWindow bw(ScenarioId::Vexlar);
    bw.deployAll();
    const char* const others[] = {"HandFightIcon", "AimedFireIcon", "SnapFireIcon", "Cancelbutton",
                                  "OverwatchIcon", "NextButton",    "DropItem",     "PickUpButton"};
    auto onlyEndTurn = [&] {
        for (const char* name : others)
            if (bw.control(name)->isEnabled()) return false;
        return bw.control("EndTurnButton")->isEnabled();
    };
    // The losing side falls, as a shot leaves the fallen.
    PieceRecord* last = nullptr;
    for (PieceRecord& p : bw.b.Pieces)
        if (p.Side == losers && !p.Name.empty()) {
            p.Wounds = 0;
            if (Battle::onMap(p.X, p.Y)) bw.b.cell(p.X, p.Y).Solidity = 0;
            last = &p;
        }
    bw.w->sync();
    QCOMPARE(textOf(bw.control("StatusBar")), before);
    QVERIFY(onlyEndTurn());
    // A battle that goes on again (a game loaded) finds its buttons as they were.
    last->Wounds = 1;
    bw.w->sync();
    QVERIFY(bw.control("NextButton")->isEnabled());
    last->Wounds = 0;
    bw.w->sync();

    // While the box is up the window shows the turn as it now is, and how
    // to leave once the box is closed.
    const QString leave("The battle is over. Press End turn to return to the front screen.");
    QString lineAtBox, statusAtBox;
    bw.boxes.whenShown = [&] {
        lineAtBox = textOf(bw.control("InfoLabel"));
        statusAtBox = textOf(bw.control("StatusBar"));
    };
    bw.click("EndTurnButton");
    QTRY_VERIFY(!bw.boxes.texts.empty());
    QCOMPARE(QString::fromStdString(bw.boxes.texts.front()), box);
    QCOMPARE(statusAtBox, leave);
    if (losers == Side::Raiders) QCOMPARE(lineAtBox, QString("The Raiders's turn"));

    QTRY_VERIFY(bw.b.GameOver && !ruleRunning(bw.b, Rule::Command));
    QCOMPARE(textOf(bw.control("StatusBar")), leave);
    QVERIFY(onlyEndTurn());
    // And End turn leads off the field.
    bw.click("EndTurnButton");
    QTRY_VERIFY(!bw.w->isVisible());
}

void PlayerWindowTests::textsShowWhole_data() {
    QTest::addColumn<int>("scenario");
    QTest::addColumn<QString>("title");
    QTest::newRow("korvath") << int(ScenarioId::Korvath) << "Korvath Tamberhold - Korvath";
    QTest::newRow("vexlar") << int(ScenarioId::Vexlar) << "Starship Vexlar F-242 - Korvath";
}

void PlayerWindowTests::textsShowWhole() {
    QFETCH(int, scenario);
    QFETCH(QString, title);
    BattleWindow bw(static_cast<ScenarioId>(scenario));
    QCOMPARE(bw.w->windowTitle(), title);

    // The hover line over the square with the longest description on the
    // map, at two-digit coordinates: whole, in the smallest window too.
    bw.deployAll();
    int longest = 0;
    QPoint square;
    for (int y = 10; y <= kMapHeight; ++y)
        for (int x = 10; x <= kMapWidth; ++x) {
            const int length = int(bw.b.glyph(bw.b.cell(x, y).Glyph).Description.size());
            if (bw.b.cell(x, y).Glyph < kOccupiedGlyph && length > longest) {
                longest = length;
                square = {x, y};
            }
        }
    QVERIFY(longest >= 28);
    auto* hover = bw.control<QLabel>("DescLabel");
    for (QSize size : {QSize(1018, 734), ClientArea::kSmallestSize}) {
        bw.w->resize(size + QSize(0, bw.w->height() - bw.w->centralWidget()->height()));
        QTRY_COMPARE(bw.w->centralWidget()->size(), size);
        const QPointF at(squareCentre(square.x()), squareCentre(square.y()));
        QMouseEvent move(QEvent::MouseMove, at, bw.w->mapImage()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bw.w->mapImage(), &move);
        const std::string& line = bw.b.controls.DescLabel.text;
        QVERIFY(line.find(bw.b.glyph(bw.b.cell(square.x(), square.y()).Glyph).Description) !=
                std::string::npos);
        QVERIFY2(shownWhole(hover, line), line.c_str());
    }

    // The log: long lines and many, the newest whole at the bottom.
    for (int k = 1; k <= 12; ++k)
        bw.b.log(k == 11 ? std::string(150, 'x') + " the end of a very long line"
                         : "line " + std::to_string(k));
    bw.w->sync();
    auto* log = bw.control<QPlainTextEdit>("WhatisHappening");
    QTextCursor end(log->document());
    end.movePosition(QTextCursor::End);
    QVERIFY(log->viewport()->rect().contains(log->cursorRect(end)));
    QCOMPARE(log->horizontalScrollBar()->maximum(), 0);
}

void PlayerWindowTests::mapViewFollowsTheWindowSize() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.deployAll();
    QWidget* map = bw.control("MapPanel");
    QWidget* panel = bw.control("PiecesInfoPanel");
    const int menu = bw.w->height() - bw.w->centralWidget()->height();
    // The smallest window leaves room on a 1366 x 768 screen for a title bar
    // and a desktop panel.
    QVERIFY(bw.w->minimumSizeHint().width() <= 1366 - 8);
    QVERIFY(bw.w->minimumSizeHint().height() <= 768 - 38 - 32);

    const QSize sizes[] = {{1018, 734}, {1340, 700}, {1600, 1000}, ClientArea::kSmallestSize};
    for (QSize client : sizes) {
        bw.w->resize(client + QSize(0, menu));
        QTRY_COMPARE(bw.w->centralWidget()->size(), client);
        // The map view takes the difference; the panel keeps its width on the right.
        const QSize view = client - QSize(1018 - 710, 734 - 518);
        QCOMPARE(map->size(), view);
        QCOMPARE(panel->width(), 265);
        QCOMPARE(panel->geometry().right(), client.width() - 9);
        if (client.height() >= 734) QCOMPARE(panel->height(), 683);
        QVERIFY(panel->geometry().bottom() < bw.control("StatusArea")->y());
        // The rules see the view's size: the overhead map centres on the clicked square.
        QCOMPARE(bw.b.controls.ScrollTop.min, view.width());
        QCOMPARE(bw.b.controls.ScrollSide.min, view.height());
        QTest::mouseClick(bw.control("OverHeadMap"), Qt::LeftButton, {}, QPoint(90, 60));
        QCOMPARE(bw.scroll(), QPoint(30 * 32 + view.width() / 2, 20 * 32 + view.height() / 2));
        QCOMPARE(bw.w->mapImage()->pos(), QPoint(view.width(), view.height()) - bw.scroll());
    }

    // F11: full screen, the view as large as the screen leaves it; F11 again: back.
    QTest::keyClick(bw.w, Qt::Key_F11);
    QTRY_VERIFY(bw.w->isFullScreen());
    QTRY_COMPARE(map->size(), bw.w->centralWidget()->size() - QSize(1018 - 710, 734 - 518));
    QCOMPARE(bw.b.controls.ScrollTop.min, std::min(map->width(), kMapPixelsX));
    QVERIFY(bw.w->menuEntry("FullScreen1")->isChecked());
    QTest::keyClick(bw.w, Qt::Key_F11);
    QTRY_VERIFY(!bw.w->isFullScreen());
    QVERIFY(!bw.w->menuEntry("FullScreen1")->isChecked());
}

void PlayerWindowTests::wheelAndArrowKeysScroll() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.deployAll();
    const QPoint middle(1500, 1000);
    const int notch = 64 * QApplication::wheelScrollLines();
    auto wheel = [&](int turn, Qt::KeyboardModifiers keys) {
        QWheelEvent e(QPointF(100, 100), bw.w->mapImage()->mapToGlobal(QPointF(100, 100)), {},
                      QPoint(0, turn), Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(bw.w->mapImage(), &e);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        QPoint moved;
    } cases[] = {
        {"wheel towards the player", [&] { wheel(-120, {}); }, {0, notch}},
        {"wheel away", [&] { wheel(120, {}); }, {0, -notch}},
        {"shift and wheel", [&] { wheel(-120, Qt::ShiftModifier); }, {notch, 0}},
        {"half a notch twice", [&] { wheel(-60, {}), wheel(-60, {}); }, {0, notch}},
        {"right arrow", [&] { QTest::keyClick(bw.w, Qt::Key_Right); }, {kSquare, 0}},
        {"left arrow", [&] { QTest::keyClick(bw.w, Qt::Key_Left); }, {-kSquare, 0}},
        {"down arrow", [&] { QTest::keyClick(bw.w, Qt::Key_Down); }, {0, kSquare}},
        {"up arrow", [&] { QTest::keyClick(bw.w, Qt::Key_Up); }, {0, -kSquare}},
    };
    for (const auto& c : cases) {
        bw.scrollTo(middle);
        c.act();
        QVERIFY2(bw.scroll() - middle == c.moved, c.what);
        const QPoint view(bw.b.controls.ScrollTop.min, bw.b.controls.ScrollSide.min);
        QCOMPARE(bw.w->mapImage()->pos(), view - bw.scroll());
        // While a walk is shown the view is the walk's.
        bw.scrollTo(middle);
        RuleGuard walking(bw.b, Rule::Command);
        c.act();
        QVERIFY2(bw.scroll() == middle, c.what);
    }
}

namespace {

// The same time of day for every reseed, and animations that pass at once:
// two battles given the same commands come out the same.
struct SameTime : Clock {
    uint32_t now = 0;
    uint32_t ticks() override { return now += 5; }
    int msSinceMidnight() override { return 36'000'000; }
};
struct AtOnce : Presenter {
    void beat(Beat) override {}
    void repaint() override {}
    void letMessagesRun() override {}
};

struct Played {
    Raster terrain, screen, classicAfterwards;
    Screen floors;        // the floor art
    int framed = 0;       // the selected soldier's square, framed on the screen only
    bool checked = false; // "Classic black floors" at the end
};

// Eight Raiders land, each fires a quick shot at the gate, and the Operatives
// take their turn and fire back; the floors are chosen first.
Played playWithShots(bool classic) {
    SameTime clock;
    AtOnce atOnce;
    BattleWindow bw(ScenarioId::Korvath);
    bw.b.ports.clock = &clock;
    bw.b.ports.presenter = &atOnce;
    QAction* floors = bw.w->menuEntry("ClassicFloors");
    if (floors->isChecked() != classic) floors->trigger();
    const int stars[8][2] = {{9, 22}, {11, 22}, {7, 24}, {13, 24},
                             {9, 25}, {11, 25}, {7, 27}, {13, 27}};
    for (int i = 0; i < 8; ++i) {
        runCommand(bw.b, {"row", std::to_string(i)});
        runCommand(bw.b, {"square", std::to_string(stars[i][0]), std::to_string(stars[i][1])});
    }
    for (int i = 0; i < 8; ++i)
        for (const char* line :
             {"button Next", "square 34 24", "button QuickShot", "square 44 24", "button Cancel"}) {
            std::vector<std::string> words;
            for (const QString& w : QString(line).split(' ')) words.push_back(w.toStdString());
            runCommand(bw.b, words);
        }
    runCommand(bw.b, {"button", "EndTurn"});
    bw.w->sync();
    Played p{bw.b.TerrainBitmap, bw.b.MapImage, {}, {}, 0, false};
    p.floors.FloorArt = bw.b.FloorArt;
    if (bw.b.PieceSelected) {
        const PieceRecord& s = bw.b.Pieces[bw.b.SelectedPiece];
        p.framed = (s.Y - 1) * kMapWidth + s.X;
    }
    if (!floors->isChecked()) floors->trigger();
    p.classicAfterwards = bw.b.MapImage;
    p.checked = floors->isChecked();
    return p;
}

} // namespace

// The floor art is on the screen copy only: after the same battle with
// shots the terrain picture the shots read is the same to the byte with
// classic black floors and without; the screens differ only where the
// classic one is black, which shows the floor art there; and switching to
// classic black floors brings back the classic picture.
void PlayerWindowTests::floorArtOnlyOnTheScreen() {
    const Played classic = playWithShots(true), art = playWithShots(false);
    QVERIFY(!art.floors.FloorArt.empty());
    QVERIFY(classic.checked && art.checked);
    QVERIFY(classic.terrain == art.terrain);
    QCOMPARE(classic.framed, art.framed);
    long shown = 0;
    for (int y = 0; y < kMapPixelsY; ++y)
        for (int x = 0; x < kMapPixelsX; ++x) {
            const Rgb was = classic.screen.pixel(x, y), is = art.screen.pixel(x, y);
            if (is != was) QVERIFY2(was == 0, qPrintable(QString("%1, %2").arg(x).arg(y)));
            const bool framed = (y / kSquare) * kMapWidth + x / kSquare + 1 == classic.framed;
            if (was == 0 && classic.terrain.pixel(x, y) == 0 && !framed) {
                QCOMPARE(is, art.floors.floorPixel(x, y));
                ++shown;
            }
        }
    QVERIFY(shown > kMapPixelsX * kMapPixelsY / 4);
    QVERIFY2(art.classicAfterwards == classic.screen, "classic black floors again");
}

QTEST_MAIN(PlayerWindowTests)
#include "PlayerWindowTests.moc"
