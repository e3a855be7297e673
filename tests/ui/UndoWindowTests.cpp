// The Edit menu's Undo and Redo in the battle window: Ctrl+Z takes a walk
// back to the pixel, Ctrl+Shift+Z walks it again, a shot greys Undo with its
// reason, and "Allow undo" off takes the menu away.
#include "RealBattleWindow.h"
#include "game/commands/Undo.h"
#include "ui/BattleAids.h"
#include "ui/UndoMenu.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

using namespace korvath;
using namespace korvath::uitest;

namespace {

// What a walk changes and undo must give back.
struct Seen {
    std::array<PieceRecord, kMaxPieces + 1> pieces;
    uint32_t seed;
    uint64_t draws;
    Raster screen, terrain;
    explicit Seen(const Battle& b)
        : pieces(b.Pieces), seed(b.rng.seed()), draws(b.rng.draws()), screen(b.MapImage),
          terrain(b.TerrainBitmap) {}
    bool operator==(const Seen& o) const {
        return pieces == o.pieces && seed == o.seed && draws == o.draws && screen == o.screen &&
               terrain == o.terrain;
    }
};

} // namespace

class UndoWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        if (!gameBuilt()) QSKIP("the game folder is not built yet");
    }
    void ctrlZTakesAWalkBackAndAShotCannot();
    void allowUndoOffTakesTheMenuAway();
};

void UndoWindowTests::ctrlZTakesAWalkBackAndAShotCannot() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bw.w));
    bw.w->aids()->settings().setAllowUndo(true);
    bw.deployAll();
    const int man = bw.firstRaider();
    const PieceRecord& p = bw.b.Pieces[man];
    bw.clickSquare(p.X, p.Y);
    const Seen before(bw.b);
    bw.clickSquare(p.X + 3, p.Y);
    QTRY_VERIFY(!ruleRunning(bw.b, Rule::Command));
    const Seen after(bw.b);
    QVERIFY(!(after == before));

    QAction* undo = bw.w->undoMenu()->undoEntry();
    QAction* redo = bw.w->undoMenu()->redoEntry();
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), "Undo " + QString::fromStdString(p.Name) + "'s walk");
    QTest::keyClick(bw.w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Seen(bw.b) == before);
    QCOMPARE(bw.w->statusArea()->currentMessage(),
             "Undone: " + QString::fromStdString(p.Name) + "'s walk");
    QVERIFY(redo->isEnabled());
    QTest::keyClick(bw.w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(Seen(bw.b) == after);

    // A shot at the far wall: nothing before it can be taken back.
    bw.click("AimedFireIcon");
    bw.clickSquare(p.X + 6, p.Y);
    QTRY_VERIFY(!ruleRunning(bw.b, Rule::Command));
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo->toolTip(), QString("A shot was fired: it cannot be taken back"));
    const Seen shot(bw.b);
    QTest::keyClick(bw.w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Seen(bw.b) == shot);
}

void UndoWindowTests::allowUndoOffTakesTheMenuAway() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bw.w));
    bw.deployAll();
    QAction* allow = bw.w->findChild<QAction*>("AllowUndo1");
    QVERIFY(allow);
    allow->setChecked(false);
    const int man = bw.firstRaider();
    bw.clickSquare(bw.b.Pieces[man].X, bw.b.Pieces[man].Y);
    const Seen selected(bw.b);
    QVERIFY(!bw.w->findChild<QMenu*>("Edit1")->menuAction()->isVisible());
    QTest::keyClick(bw.w, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Seen(bw.b) == selected);
    QVERIFY(bw.b.PieceSelected);
    allow->setChecked(true);
    QVERIFY(bw.w->findChild<QMenu*>("Edit1")->menuAction()->isVisible());
}

QTEST_MAIN(UndoWindowTests)
#include "UndoWindowTests.moc"
