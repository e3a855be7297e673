// The battle window: its controls mirror the model, deployment through the
// widgets, and the cursors and sounds it loads.
#include "WindowSupport.h"

using namespace korvath;
using namespace korvath::uitest;

class BattleWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void cursorFilesRead();
    void soundStaysSilentWithoutWaves();
    void battleWindowLayout();
    void deploymentThroughTheWidgets();
};

void BattleWindowTests::cursorFilesRead() {
    // A 4 x 4 cursor of 32-bit colour without alpha: the AND mask decides what
    // is see-through. Hot spot (1, 2).
    std::vector<unsigned char> f = {0, 0, 2, 0, 1, 0, 4, 4, 0, 0, 1, 0, 2, 0};
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back((v >> (8 * i)) & 255);
    };
    const uint32_t size = 40 + 4 * 4 * 4 + 4 * 4;
    put32(size);
    put32(22);
    put32(40);
    put32(4);
    put32(8);
    f.insert(f.end(), {1, 0, 32, 0});
    for (int i = 0; i < 6; ++i) put32(0);
    // Colour rows, bottom row first: the top row (stored last) is green.
    for (int y = 3; y >= 0; --y)
        for (int x = 0; x < 4; ++x) put32(y == 0 ? 0x0000ff00u : 0x00ff0000u);
    // Mask rows, bottom first: the top-left pixel is clear.
    for (int y = 3; y >= 0; --y) put32(y == 0 ? 0x80u : 0u);

    auto cursor = parseCursor(f);
    QVERIFY(cursor.has_value());
    QCOMPARE(cursor->hotX, 1);
    QCOMPARE(cursor->hotY, 2);
    QCOMPARE(cursor->image.size(), QSize(4, 4));
    QCOMPARE(qAlpha(cursor->image.pixel(0, 0)), 0);
    QCOMPARE(cursor->image.pixel(1, 0), qRgb(0, 255, 0));
    QCOMPARE(cursor->image.pixel(2, 3), qRgb(255, 0, 0));

    f.resize(f.size() - 10);
    QVERIFY(!parseCursor(f).has_value());
    QCOMPARE(loadCursor("/no/such/sword.cur", Qt::CrossCursor).shape(), Qt::CrossCursor);
}

void BattleWindowTests::soundStaysSilentWithoutWaves() {
    QTemporaryDir dir;
    // A wave collection with one tiny wave, and one that does not exist.
    std::vector<uint8_t> wav = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',
                                'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                                0x22, 0x56, 0,   0,   0x44, 0xac, 0, 0, 2,   0,   16,  0,
                                'd',  'a',  't', 'a', 4,    0,    0, 0, 0,   0,   0,   0};
    const std::string path = (dir.path() + "/waves.dxw").toStdString();
    const std::vector<uint8_t> archive = writeUstar({{"LoadMag.wav", wav}});
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(archive.data()), static_cast<long>(archive.size()));
    SoundPlayer sound;
    sound.load(path);
    QCOMPARE(sound.names(), std::set<std::string>({"LoadMag"}));
    sound.play("LoadMag");
    sound.play("loadmag");
    sound.play("NoSuchWave");

    SoundPlayer none;
    none.load((dir.path() + "/missing.dxw").toStdString());
    QVERIFY(none.names().empty());
    none.play("intro");
}

void BattleWindowTests::battleWindowLayout() {
    Battle b;
    b.windowOpen = true; // as after the battle's creation, the squad still to place
    b.deploying = true;
    TPlayingScreen w(b, nullptr, nullptr);
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(w.centralWidget()->size(), QSize(1018, 734));
    // Every control of the model has a widget or menu entry of the same name.
    for (auto& [name, control] : b.controls.all())
        QVERIFY2(w.control(name) || w.menuEntry(name), name);
    // Every control the player can use says what it does.
    for (auto& [name, control] : b.controls.all())
        if (QWidget* c = w.control(name);
            qobject_cast<QAbstractButton*>(c) || qobject_cast<QAbstractSlider*>(c) ||
            qobject_cast<QAbstractItemView*>(c) || qobject_cast<QComboBox*>(c))
            QVERIFY2(!c->toolTip().isEmpty(), name);
    for (const char* name : {"MapImage", "OverHeadMap", "WhatisHappening"})
        QVERIFY2(!w.control(name)->toolTip().isEmpty(), name);
    const std::pair<const char*, QRect> places[] = {
        {"InfoLabel", {8, 0, 729, 25}},           {"BackPanel", {5, 21, 732, 540}},
        {"ScrollTop", {24, 24, 710, 16}},         {"ScrollSide", {8, 40, 16, 517}},
        {"MapPanel", {24, 40, 710, 518}},         {"PlaceMenGrid", {753, 24, 240, 401}},
        {"WhatManPanel", {808, 464, 120, 120}},   {"WhatMan", {20, 20, 80, 80}},
        {"PiecesInfoPanel", {745, 21, 265, 683}}, {"GameControls", {5, 568, 732, 51}},
        {"WhatisHappening", {13, 624, 724, 81}},  {"OverHeadMap", {12, 308, 240, 150}},
        {"EquipGrid", {12, 305, 240, 156}},       {"EndTurnButton", {13, 493, 40, 40}},
        {"Cancelbutton", {15, 549, 38, 40}},      {"PickUpButton", {207, 549, 40, 40}},
        {"MapRadio", {12, 467, 100, 20}},         {"PickItems", {15, 613, 234, 24}},
    };
    for (const auto& [name, rect] : places) QCOMPARE(w.control(name)->geometry(), rect);
    QCOMPARE(w.control("WhatManLabel")->pos(), QPoint(749, 440));
    QCOMPARE(w.control("DescLabel")->pos(), QPoint(16, 654));

    w.sync();
    for (const char* name : {"N1", "IwannaC1", "Nodes1", "Setp1tocoords1"})
        QVERIFY(!w.menuEntry(name)->isVisible());
    for (const char* name : {"ShowWounds", "ShowOverwatch", "ShowMediKit"})
        QVERIFY(w.menuEntry(name)->isChecked());
    QVERIFY(!w.control("AimedFireIcon")->isEnabled());
    QVERIFY(w.control("PiecesInfoPanel")->isHidden());
    QVERIFY(w.control("EquipGrid")->isHidden());

    // The scroll bars hold the right and bottom edges of the view.
    auto* top = qobject_cast<QScrollBar*>(w.control("ScrollTop"));
    auto* side = qobject_cast<QScrollBar*>(w.control("ScrollSide"));
    QCOMPARE(top->singleStep(), 64);
    QCOMPARE(side->pageStep(), 256);
    b.view = View::opening(710, 518);
    w.sync();
    QCOMPARE(top->minimum(), 710);
    QCOMPARE(side->maximum(), 1600);
    top->setValue(1000);
    side->setValue(5000);
    QCOMPARE(b.controls.ScrollTop.position, 1000);
    QCOMPARE(b.controls.ScrollSide.position, 1600);
    QCOMPARE(w.mapImage()->pos(), QPoint(710 - 1000, 518 - 1600));
    b.view.setRight(2560);
    w.sync();
    QCOMPARE(top->value(), 2560);
    QCOMPARE(w.mapImage()->x(), 710 - 2560);

    // Widgets follow the battle: panels, texts, lists and the log.
    b.equipmentShown = true;
    b.panel.name = "Sgt Rask";
    b.panel.kit = {"Laser", "", "Medikit", "", "", ""};
    b.EquipmentTypes[1].Name = "Rifle";
    b.EquipmentTypes[2].Name = "Grenade";
    b.PickList = {{1, 0, 0}, {2, 0, 0}};
    b.pickRow = 1;
    b.actionButtons.aimedShot = true;
    b.armedShot = ArmedShot::Aimed; // the window shows the armed shot as the button down
    b.log("first");
    b.log("second");
    w.sync();
    QVERIFY(!w.control("EquipGrid")->isHidden());
    QVERIFY(w.control("OverHeadMap")->isHidden());
    QVERIFY(qobject_cast<QAbstractButton*>(w.control("EquipRadio"))->isChecked());
    QCOMPARE(qobject_cast<QLabel*>(w.control("NameLabel"))->text(), QString("Sgt Rask"));
    QCOMPARE(qobject_cast<QTableWidget*>(w.control("EquipGrid"))->item(2, 0)->text(),
             QString("Medikit"));
    auto* pick = qobject_cast<QComboBox*>(w.control("PickItems"));
    QCOMPARE(pick->count(), 2);
    QCOMPARE(pick->currentText(), QString("Grenade"));
    QVERIFY(qobject_cast<QAbstractButton*>(w.control("AimedFireIcon"))->isChecked());
    auto* memo = qobject_cast<QPlainTextEdit*>(w.control("WhatisHappening"));
    QCOMPARE(memo->toPlainText(), QString("first\nsecond"));
    b.messageLog = {"fresh"};
    w.sync();
    QCOMPARE(memo->toPlainText(), QString("fresh"));

    // Menu entries mirror the model; the marker switches toggle it.
    w.menuEntry("ShowWounds")->trigger();
    QVERIFY(!b.controls.ShowWounds.down);
    QVERIFY(!w.menuEntry("ShowWounds")->isChecked());
}

void BattleWindowTests::deploymentThroughTheWidgets() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    Game g(QString::fromStdString(dir.path.string()));
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    Battle& b = *g.battle;
    auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
    QVERIFY(QTest::qWaitForWindowActive(w));

    // Pick each soldier from the list and put him on a start star: the
    // presses reach the rules in map pixels.
    const QPoint stars[] = {{9 * 32 + 16, 9 * 32 + 16}, {10 * 32 + 16, 9 * 32 + 16}};
    for (int row = 0; row < 2; ++row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        QVERIFY(b.PieceSelected);
        QTest::mouseClick(w->mapImage(), Qt::LeftButton, {}, stars[row]);
        QCOMPARE(int(b.Pieces[row + 1].X), 10 + row);
        QCOMPARE(int(b.Pieces[row + 1].Y), 10);
    }
    // The last placement ends deployment: the list goes, the panel comes.
    QVERIFY(list->isHidden());
    QVERIFY(w->control("PiecesInfoPanel")->isVisible());
    QVERIFY(w->control("EndTurnButton")->isEnabled());
    checkMapShown(w, b);

    // With the mouse on the window's right edge the view creeps right.
    w->setEdgeScrolling(true);
    const int before = b.controls.ScrollTop.position;
    const QPoint edge(w->geometry().right(), w->geometry().center().y());
    QCursor::setPos(edge);
    if (QCursor::pos() == edge) {
        QTRY_VERIFY(b.controls.ScrollTop.position >= before + 64);
        QCOMPARE(w->mapImage()->x(), b.controls.ScrollTop.min - b.controls.ScrollTop.position);
    }
    w->setEdgeScrolling(false);

    // Keys go to the window first and never reach the log.
    auto* memo = qobject_cast<QPlainTextEdit*>(w->control("WhatisHappening"));
    const QString logged = memo->toPlainText();
    QTest::keyClick(memo, Qt::Key_X);
    QCOMPARE(memo->toPlainText(), logged);
#endif
}

std::unique_ptr<QObject> korvath::uitest::battleWindowTests() {
    return std::make_unique<BattleWindowTests>();
}

#include "BattleWindowTests.moc"
