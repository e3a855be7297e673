// The node grid window, which follows the battle's last path search.
#include "WindowSupport.h"

using namespace korvath;
using namespace korvath::uitest;

class NodeGridTests : public QObject {
    Q_OBJECT
  private slots:
    void nodeGridFollowsTheBattle();
};

void NodeGridTests::nodeGridFollowsTheBattle() {
    Battle b;
    b.windowOpen = true;
    TNodeForm nodes;
    TPlayingScreen w(b, nullptr, &nodes);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(nodes.grid()->objectName(), QString("NodeGrid"));
    QCOMPARE(nodes.grid()->columnCount(), 80);
    QCOMPARE(nodes.grid()->rowCount(), 50);

    b.NodeGrid[3][2] = 17;
    w.sync();
    QVERIFY(!nodes.isVisible()); // hidden: nothing shown
    b.nodeGridVisible = true;
    w.sync();
    QVERIFY(nodes.isVisible());
    QCOMPARE(nodes.grid()->item(1, 2)->text(), QString("17")); // square (3, 2)
    b.NodeGrid[3][2] = 5;
    w.sync();
    QCOMPARE(nodes.grid()->item(1, 2)->text(), QString("5"));

    // Closing it by its frame is the same as the menu entry's second click.
    nodes.close();
    QVERIFY(!b.nodeGridVisible);
}

std::unique_ptr<QObject> korvath::uitest::nodeGridTests() {
    return std::make_unique<NodeGridTests>();
}

#include "NodeGridTests.moc"
