// The front screen and the briefing: their layout and texts, and the battles
// they start and take back.
#include "WindowSupport.h"
#include "ui/KeyboardPlay.h"

using namespace korvath;
using namespace korvath::uitest;

class FrontScreenTests : public QObject {
    Q_OBJECT
  private slots:
    void frontScreenLayout();
    void textSwitchesOnlyWhenTheStateChanges();
    void jpegPicturesDecode();
    void battlesStartAndQuitWithSmallScenario();
    void brokenScenarioKeepsTheFrontScreen();
    void realScenariosStartAndQuit();
    void keysAloneReachEachBriefing();
};

void FrontScreenTests::frontScreenLayout() {
    QTemporaryDir dir;
    writeFrontFiles(dir.path());
    Game g(dir.path());
    TIntroScreen& s = *g.intro;
    QCOMPARE(s.size(), QSize(792, 553));
    QCOMPARE(s.palette().color(QPalette::Window), QColor(64, 0, 128)); // 8388672
    const std::pair<const char*, QRect> places[] = {
        {"Picture", {8, 8, 481, 273}},
        {"ListBox1", {8, 288, 481, 257}},
        {"PanelGameSelect", {496, 8, 289, 361}},
        {"Korvath", {8, 8, 273, 169}},
        {"Vexlar", {8, 184, 273, 169}},
        {"SpecialPanel", {496, 372, 289, 85}},
        {"TrackBar_Difficulty", {64, 27, 153, 37}},
        {"Quit_Button", {707, 517, 78, 28}},
    };
    for (const auto& [name, rect] : places) {
        QWidget* w = s.findChild<QWidget*>(name);
        QVERIFY2(w, name);
        QCOMPARE(w->geometry(), rect);
    }
    QCOMPARE(s.findChild<QWidget*>("Picture")->palette().color(QPalette::Window),
             QColor(0, 64, 64));
    QCOMPARE(s.findChild<QLabel*>("Image1")->pos(), QPoint(111, 56));
    QCOMPARE(s.findChild<QLabel*>("Image1")->size(), QSize(258, 160)); // sizes itself
    QCOMPARE(s.findChild<QLabel*>("Label1")->text(), QString("Project Korvath"));
    QCOMPARE(s.findChild<QLabel*>("Label_Version")->text(), QString("v 0.84"));
    QCOMPARE(s.findChild<QLabel*>("Label_Easy")->text(), QString("easy"));
    QCOMPARE(s.findChild<QLabel*>("Label5")->pos(), QPoint(504, 512));
    auto* bar = s.findChild<QSlider*>("TrackBar_Difficulty");
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 8);
    QCOMPARE(bar->value(), 3);
    // The bar's number shows above it and follows it.
    QCOMPARE(s.findChild<QLabel*>("Label_Difficulty")->text(), QString("Difficulty 3"));
    bar->setValue(6);
    QCOMPARE(s.findChild<QLabel*>("Label_Difficulty")->text(), QString("Difficulty 6"));
    QCOMPARE(s.findChild<QLabel*>("Korvath")->toolTip(), QString("Korvath Tamberhold"));
    QCOMPARE(s.findChild<QLabel*>("Vexlar")->toolTip(), QString("Starship Vexlar F-242"));
    QVERIFY(s.findChild<QPushButton*>("Quit_Button")->isDefault());

    bool closed = false;
    connect(&s, &TIntroScreen::closed, this, [&] { closed = true; });
    QTest::mouseClick(s.findChild<QPushButton*>("Quit_Button"), Qt::LeftButton);
    QVERIFY(closed);
    QVERIFY(!s.isVisible());
}

void FrontScreenTests::textSwitchesOnlyWhenTheStateChanges() {
    QTemporaryDir dir;
    writeFrontFiles(dir.path());
    Game g(dir.path());
    TIntroScreen& s = *g.intro;
    auto* list = s.findChild<QListWidget*>("ListBox1");
    QCOMPARE(s.textState(), 0);
    QCOMPARE(listLines(list), QStringList({"Read me first", "second line"}));
    const int reads = s.textLoads();

    auto* korvath = s.findChild<QLabel*>("Korvath");
    moveOver(korvath);
    moveOver(korvath);
    QCOMPARE(s.textState(), 1);
    QCOMPARE(listLines(list), QStringList({"Korvath Tamberhold", "a fortress"}));
    QCOMPARE(s.textLoads(), reads + 1);

    moveOver(s.findChild<QLabel*>("Vexlar"));
    QCOMPARE(s.textState(), 2);
    QCOMPARE(listLines(list), QStringList({"Starship Vexlar"}));
    moveOver(korvath);
    moveOver(s.findChild<QLabel*>("Image1"));
    moveOver(s.findChild<QLabel*>("Image1"));
    QCOMPARE(s.textState(), 0);
    QCOMPARE(listLines(list).first(), QString("Read me first"));
    QCOMPARE(s.textLoads(), reads + 4);
}

void FrontScreenTests::jpegPicturesDecode() {
    QTemporaryDir dir;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(20, 120, 220));
    for (int x = 0; x < 20; ++x)
        for (int y = 0; y < 30; ++y) img.setPixel(x, y, qRgb(250, 250, 250));
    const QString path = dir.path() + "/pic.jpg";
    QVERIFY(img.save(path, "JPG", 100));

    std::string error;
    const QImage back = loadJpeg(path.toStdString(), &error);
    QVERIFY2(!back.isNull(), error.c_str());
    QCOMPARE(back.size(), QSize(40, 30));
    auto near = [](QRgb a, QColor b) {
        return std::abs(qRed(a) - b.red()) < 8 && std::abs(qGreen(a) - b.green()) < 8 &&
               std::abs(qBlue(a) - b.blue()) < 8;
    };
    QVERIFY(near(back.pixel(5, 15), QColor(250, 250, 250)));
    QVERIFY(near(back.pixel(35, 15), QColor(20, 120, 220)));

    // A missing file or one that is no JPEG gives no picture and a reason.
    error.clear();
    QVERIFY(loadJpeg((dir.path() + "/none.jpg").toStdString(), &error).isNull());
    QVERIFY(!error.empty());
    const unsigned char garbage[] = {1, 2, 3, 4, 5};
    QVERIFY(decodeJpeg(garbage, sizeof garbage, &error).isNull());
}

void FrontScreenTests::battlesStartAndQuitWithSmallScenario() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    const QString appDir = QString::fromStdString(dir.path.string());
    writeFrontFiles(appDir);
    Game g(appDir);

    for (const char* picture : {"Korvath", "Vexlar"}) {
        bool briefingSeen = false;
        QVERIFY2(g.start(picture, &briefingSeen), picture);
        QVERIFY(briefingSeen);
        TPlayingScreen* w = g.intro->battleWindow();
        QVERIFY(w->isVisible());
        QVERIFY(!g.intro->isVisible());
        Battle& b = *g.battle;
        QCOMPARE(b.ScenarioName,
                 std::string(picture == std::string("Korvath") ? "korvath" : "vexlar"));
        QCOMPARE(int(b.Difficulty), 3);
        auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->item(0, 0)->text().toStdString(), b.controls.PlaceMenGrid.rows[0][0]);
        checkMapShown(w, b);

        // The overhead map brings the clicked square to the middle of the view
        // (it sits on the information panel, which shows once deployment is over).
        b.deploying = false;
        w->sync();
        QTest::mouseClick(w->control("OverHeadMap"), Qt::LeftButton, {}, QPoint(90, 60));
        QCOMPARE(b.controls.ScrollTop.position, 30 * 32 + 355);
        QCOMPARE(b.controls.ScrollSide.position, 20 * 32 + 259);
        QCOMPARE(w->mapImage()->pos(), QPoint(710 - (30 * 32 + 355), 518 - (20 * 32 + 259)));
        checkMapShown(w, b);

        // A changed square is all that is painted again.
        QTest::qWait(50); // nothing else left to paint
        w->mapImage()->forgetPainted();
        b.TerrainBitmap.fillRect(608, 384, 640, 416, rgb(250, 250, 0));
        b.copySquare(20, 13);
        b.ports.presenter->repaint();
        // (Qt may add a strip it still owed from the scroll, never the whole view.)
        const QRect painted = w->mapImage()->lastPainted();
        QVERIFY(painted.contains(QRect(608, 384, 32, 32)));
        QVERIFY(painted.width() * painted.height() < 710 * 518 / 4);
        checkMapShown(w, b);

        // Leaving is asked first; "No" keeps the battle.
        QPointer<TPlayingScreen> gone = w;
        g.dialogs.answer = false;
        const size_t asked = g.dialogs.questions.size();
        w->menuEntry("Quit1")->trigger();
        QCOMPARE(g.dialogs.questions.size(), asked + 1);
        QVERIFY(g.dialogs.questions.back().rfind("Leave this battle? ", 0) == 0);
        QVERIFY(!gone.isNull() && b.windowOpen);
        g.dialogs.answer = true;
        w->menuEntry("Quit1")->trigger();
        QTRY_VERIFY(gone.isNull());
        QVERIFY(g.intro->isVisible());
        QVERIFY(!g.intro->battleWindow());
        QVERIFY(b.Pieces[1].Name.empty());
    }
    QVERIFY(g.dialogs.texts.empty());

    // A decided battle is summed up before the front screen comes back.
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
    for (int row = 0; row < 2; ++row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
        QTest::mouseClick(w->mapImage(), Qt::LeftButton, {},
                          QPoint(squareCentre(10 + row), squareCentre(10)));
    }
    for (PieceRecord& p : g.battle->Pieces)
        if (p.Side == Side::Operatives) p.Wounds = 0;
    bool summedUp = false, frontHidden = false;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (auto* s = qobject_cast<BattleSummary*>(QApplication::activeModalWidget())) {
            summedUp = true;
            frontHidden = !g.intro->isVisible();
            s->accept();
        }
    });
    look.start(10);
    QTest::mouseClick(w->control("EndTurnButton"), Qt::LeftButton); // won
    QTest::mouseClick(w->control("EndTurnButton"), Qt::LeftButton); // and off the field
    QTRY_VERIFY(g.intro->isVisible());
    QVERIFY(summedUp && frontHidden);
#endif
}

void FrontScreenTests::brokenScenarioKeepsTheFrontScreen() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.mapRecords = 100; // a map file cut short
    scenario.write(dir.path);
    Game g(QString::fromStdString(dir.path.string()));
    QVERIFY(!g.start("Korvath"));
    QVERIFY(g.intro->isVisible());
    QCOMPARE(g.dialogs.texts.size(), size_t{1});
    QVERIFY(g.dialogs.texts[0].find("korvath.map") != std::string::npos);
    QVERIFY(!g.briefing->isVisible());
#endif
}

void FrontScreenTests::realScenariosStartAndQuit() {
    const QString appDir = QStringLiteral(KORVATH_GAME_DIR);
    if (!fileExists(gamePath(appDir.toStdString(), "\\scenarios\\korvathDesc.txt")))
        QSKIP("the game folder is not built yet");
    // The game's own cursors are pictures this window can use.
    for (const char* name : {"\\graphics\\sword.cur", "\\graphics\\aim.cur"}) {
        std::ifstream in(gamePath(appDir.toStdString(), name), std::ios::binary);
        const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                               std::istreambuf_iterator<char>());
        QVERIFY2(parseCursor(bytes).has_value(), name);
    }
    Game g(appDir);
    QVERIFY(!g.intro->findChild<QLabel*>("Image1")->pixmap().isNull());
    QVERIFY(!g.intro->findChild<QLabel*>("Korvath")->pixmap().isNull());
    QVERIFY(g.intro->findChild<QListWidget*>("ListBox1")->count() > 0);
    g.intro->findChild<QSlider*>("TrackBar_Difficulty")->setValue(8);
    for (const char* picture : {"Korvath", "Vexlar"}) {
        bool briefingSeen = false;
        QVERIFY2(g.start(picture, &briefingSeen), picture);
        QVERIFY(briefingSeen);
        TPlayingScreen* w = g.intro->battleWindow();
        Battle& b = *g.battle;
        QCOMPARE(int(b.Difficulty), 8);
        QVERIFY(qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"))->rowCount() > 0);
        checkMapShown(w, b);
        QPointer<TPlayingScreen> gone = w;
        w->menuEntry("Quit1")->trigger();
        QTRY_VERIFY(gone.isNull());
        QVERIFY(g.intro->isVisible());
    }
    QVERIFY2(g.dialogs.texts.empty(), g.dialogs.texts.empty() ? "" : g.dialogs.texts[0].c_str());
}

// A player without a mouse: from the front screen to each scenario's briefing
// and into its battle with keys pressed on whatever has the focus.
void FrontScreenTests::keysAloneReachEachBriefing() {
    const QString appDir = QStringLiteral(KORVATH_GAME_DIR);
    if (!fileExists(gamePath(appDir.toStdString(), "\\scenarios\\korvathDesc.txt")))
        QSKIP("the game folder is not built yet");
    Game g(appDir);
    QVERIFY(QTest::qWaitForWindowActive(g.intro.get()));
    auto press = [](Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        // A window just opened or closed hands the focus on a moment later.
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::focusWidget(), 10000);
        QTest::keyClick(QApplication::focusWidget(), key, mods);
    };
    auto framed = [](QWidget* w) {
        auto* frame = w->findChild<QWidget*>("FocusFrame", Qt::FindDirectChildrenOnly);
        return frame && frame->isVisible() && frame->geometry() == w->rect();
    };
    auto* korvath = g.intro->findChild<QLabel*>("Korvath");
    auto* vexlar = g.intro->findChild<QLabel*>("Vexlar");
    auto* bar = g.intro->findChild<QSlider*>("TrackBar_Difficulty");
    // The first map has the focus and its frame; the read-me stays in the box.
    QCOMPARE(QApplication::focusWidget(), korvath);
    QVERIFY(framed(korvath));
    QCOMPARE(g.intro->textState(), 0);

    struct Case {
        const char* scenario;
        Qt::Key toMap; // from the bar back to the map: Shift+Tab, then maybe an arrow
        int rights;
        int difficulty;
    };
    const Case cases[] = {{"korvath", Qt::Key_Up, 2, 5}, {"vexlar", Qt::Key_unknown, 3, 8}};
    for (const Case& c : cases) {
        // Tab over the maps to the bar, set it, come back to the map.
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), vexlar);
        QVERIFY(framed(vexlar) && !framed(korvath));
        QCOMPARE(g.intro->textState(), 2);
        press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), bar);
        for (int i = 0; i < c.rights; ++i) press(Qt::Key_Right);
        QCOMPARE(bar->value(), c.difficulty);
        press(Qt::Key_Tab, Qt::ShiftModifier);
        if (c.toMap != Qt::Key_unknown) press(c.toMap);
        QCOMPARE(QApplication::focusWidget(), c.toMap == Qt::Key_Up ? korvath : vexlar);

        bool briefed = false;
        QTimer::singleShot(0, g.briefing.get(), [&] {
            QTRY_VERIFY(g.briefing->isActiveWindow());
            briefed = true;
            press(Qt::Key_Return);
        });
        press(Qt::Key_Return);
        QVERIFY2(briefed, c.scenario);
        TPlayingScreen* w = g.intro->battleWindow();
        QVERIFY2(w, c.scenario);
        QCOMPARE(QString::fromStdString(g.battle->ScenarioName), QString(c.scenario));
        QCOMPARE(int(g.battle->Difficulty), c.difficulty);
        QTRY_VERIFY(w->isActiveWindow());
        // The keyboard's cursor starts inside this battle's view, wherever
        // the last battle's view was left.
        auto* cursor = w->findChild<QAction*>("KeyboardCursor1");
        QVERIFY(cursor);
        if (!cursor->isChecked()) cursor->trigger();
        QTest::qWait(1);
        const View& v = g.battle->view;
        const QPoint at =
            (w->findChild<KeyboardPlay*>("KeyboardPlay")->cursorSquare() - QPoint(1, 1)) * kSquare;
        QVERIFY2(QRect(v.right - v.width, v.bottom - v.height, v.width, v.height).contains(at),
                 c.scenario);
        for (int i = 0; i < 16; ++i) press(Qt::Key_Down); // the view follows it down
        if (c.difficulty == 8) cursor->trigger();         // off again for the other tests
        QPointer<TPlayingScreen> gone = w;
        w->menuEntry("Quit1")->trigger();
        QTRY_VERIFY(gone.isNull());
        QTRY_VERIFY(g.intro->isActiveWindow());
        // Back on the map it was started from; the keys go on from there.
        QTRY_COMPARE(QApplication::focusWidget(), c.toMap == Qt::Key_Up ? korvath : vexlar);
    }
}

std::unique_ptr<QObject> korvath::uitest::frontScreenTests() {
    return std::make_unique<FrontScreenTests>();
}

#include "FrontScreenTests.moc"
