// The battle window's menus: the save and load dialogs, the developer aids,
// the help pages and the shortcuts.
#include "WindowSupport.h"

#include <QSet>
#include <QSignalSpy>
#include <QTextBrowser>

using namespace korvath;
using namespace korvath::uitest;

class BattleMenuTests : public QObject {
    Q_OBJECT
  private slots:
    void dialogFilters();
    void savedGameDialogs();
    void developerAidsOnlyWithTheVariable();
    void helpPagesAndShortcuts();
};

void BattleMenuTests::dialogFilters() {
    QCOMPARE(QtDialogs::qtFilter("Saved Games|*korvath.map"),
             QString("Saved Games (*korvath.map)"));
    QCOMPARE(QtDialogs::qtFilter("A|*.a|B|*.b;*.c"), QString("A (*.a);;B (*.b *.c)"));
    QCOMPARE(QtDialogs::withDefaultExtension("/s/game1", "*.map"), std::string("/s/game1.map"));
    QCOMPARE(QtDialogs::withDefaultExtension("/s/game1.map", "*.map"), std::string("/s/game1.map"));
    QCOMPARE(QtDialogs::withDefaultExtension("", "*.map"), std::string());
}

void BattleMenuTests::savedGameDialogs() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir, home;
    test::TestScenario scenario;
    scenario.write(dir.path);
    EnvVar dataHome("XDG_DATA_HOME");
    dataHome.set(QByteArray::fromStdString(home.path.string()));
    // The player's own saved-games folder already holds games: it is offered too.
    const auto userFolder = home.path / "korvath" / "savedgames";
    std::filesystem::create_directories(userFolder);

    Game g(QString::fromStdString(dir.path.string()));
    FileDialogs dialogs;
    g.battle->ports.dialogs = &dialogs;
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    Battle& b = *g.battle;
    const auto ownFolder = dir.path / "savedgames";
    QCOMPARE(cleanPath(savedGamesFolder(b)), cleanPath(ownFolder.string()));

    // Both dialogs: in the game's saved-games folder, this scenario's sets
    // only, ".map" added to a bare name, the player's folder beside it.
    auto checkSetUp = [&](QFileDialog& d) {
        QCOMPARE(QDir::cleanPath(d.directory().absolutePath()), cleanPath(ownFolder.string()));
        QCOMPARE(d.nameFilters(), QStringList{"Saved Games (*korvath.map)"});
        QCOMPARE(d.defaultSuffix(), QString("map"));
        const QStringList places = sidebarFolders(d);
        QCOMPARE(places.mid(0, 2),
                 QStringList({cleanPath(ownFolder.string()), cleanPath(userFolder.string())}));
    };

    // A cancelled save writes nothing and says nothing.
    bool asked = false;
    whenFileDialogShows([&](QFileDialog& d) {
        asked = true;
        QCOMPARE(d.acceptMode(), QFileDialog::AcceptSave);
        checkSetUp(d);
        d.reject();
    });
    w->menuEntry("Savegame1")->trigger();
    QVERIFY(asked);
    QVERIFY(dialogs.texts.empty());

    // A bare name typed in the save dialog becomes a whole set.
    whenFileDialogShows([&](QFileDialog& d) { typeAndAccept(d, "first"); });
    w->menuEntry("Savegame1")->trigger();
    QCOMPARE(dialogs.texts, std::vector<std::string>{"Game has been saved"});
    for (const char* file : {"first_korvath.Txt", "first_korvath.dat", "first_korvath.map"})
        QVERIFY2(std::filesystem::exists(ownFolder / file), file);

    asked = false;
    whenFileDialogShows([&](QFileDialog& d) {
        asked = true;
        QCOMPARE(d.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(d.fileMode(), QFileDialog::ExistingFile);
        checkSetUp(d);
        typeAndAccept(d, "first_korvath.map");
    });
    w->menuEntry("Loadgame1")->trigger();
    QVERIFY(asked);
    QCOMPARE(dialogs.texts.back(), std::string("Game has been loaded"));
    checkMapShown(w, b);
#endif
}

void BattleMenuTests::developerAidsOnlyWithTheVariable() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    const QString appDir = QString::fromStdString(dir.path.string());
    const QStringList playerEntries = {"&Settings...",
                                       "-",
                                       "Show wounds",
                                       "Show overwatch",
                                       "Show Healers",
                                       "Classic black floors",
                                       "-",
                                       "Path preview",
                                       "Line of fire",
                                       "Shot odds",
                                       "What a shot did",
                                       "Enemy fire lanes\tL",
                                       "Seen enemies",
                                       "Animation speed",
                                       "Sound",
                                       "Colours",
                                       "Marker size",
                                       "Text size",
                                       "Allow undo",
                                       "Keyboard cursor"};
    auto shownEntries = [](TPlayingScreen* w) {
        QStringList out;
        for (QAction* a : w->findChild<QMenu*>("Options1")->actions())
            if (a->isVisible()) out << (a->isSeparator() ? QString("-") : a->text());
        return out;
    };
    EnvVar developer("KORVATH_DEVELOPER");

    developer.unset();
    {
        Game g(appDir);
        QVERIFY(g.start("Korvath"));
        QCOMPARE(shownEntries(g.intro->battleWindow()), playerEntries);
    }

    developer.set("1");
    Game g(appDir);
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    Battle& b = *g.battle;
    const QStringList developerEntries = {"-", "IwannaC", "Nodes", "Set p1 to coords"};
    QCOMPARE(shownEntries(w), playerEntries + developerEntries);

    w->menuEntry("Setp1tocoords1")->trigger();
    QCOMPARE(int(b.Pieces[1].X), 42);
    QCOMPARE(int(b.Pieces[1].Y), 30);

    w->menuEntry("Nodes1")->trigger();
    QVERIFY(g.nodes->isVisible());
    w->menuEntry("Nodes1")->trigger();
    QVERIFY(!g.nodes->isVisible());

    // With IwannaC checked a sight test leaves white traces on the screen
    // copy; the terrain the rays are tested against stays clean.
    const Raster terrain = b.TerrainBitmap;
    const Raster screen = b.MapImage;
    w->menuEntry("IwannaC1")->trigger();
    QVERIFY(w->menuEntry("IwannaC1")->isChecked());
    ICanSeeTheEnemy(b, 1, 3, &b);
    QVERIFY(b.TerrainBitmap == terrain);
    int traced = 0;
    QPoint traceAt;
    for (int y = 0; y < b.MapImage.height(); ++y)
        for (int x = 0; x < b.MapImage.width(); ++x)
            if (b.MapImage.pixel(x, y) != screen.pixel(x, y)) {
                QCOMPARE(b.MapImage.pixel(x, y), rgb(255, 255, 255));
                ++traced;
                traceAt = {x, y};
            }
    QVERIFY(traced > 100);
    const QImage shown = w->mapImage()->grab(QRect(traceAt, QSize(1, 1))).toImage();
    QCOMPARE(shown.pixel(0, 0) & 0xffffff, rgb(255, 255, 255));

    w->menuEntry("IwannaC1")->trigger();
    const Raster traces = b.MapImage;
    ICanSeeTheEnemy(b, 1, 3, &b);
    QVERIFY(b.MapImage == traces);
#endif
}

void BattleMenuTests::helpPagesAndShortcuts() {
#ifndef KORVATH_HAVE_TESTDATA
    QSKIP("the small test scenario is not available");
#else
    test::TempDir dir;
    test::TestScenario scenario;
    scenario.write(dir.path);
    Game g(QString::fromStdString(dir.path.string()));
    QVERIFY(g.start("Korvath"));
    TPlayingScreen* w = g.intro->battleWindow();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));

    // The menus show their shortcuts; no two share one, and none takes a key
    // the battle answers to (characters such as k and 0, Esc, the arrows).
    const std::pair<const char*, QKeySequence> shortcuts[] = {
        {"Loadgame1", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"Savegame1", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"Quit1", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"FullScreen1", QKeySequence(Qt::Key_F11)},
        {"HelpControls1", QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [name, keys] : shortcuts) QCOMPARE(w->menuEntry(name)->shortcut(), keys);
    QSet<QString> taken;
    for (QAction* a : w->findChildren<QAction*>()) {
        if (a->shortcut().isEmpty()) continue;
        const QString keys = a->shortcut().toString();
        QVERIFY2(!taken.contains(keys), qPrintable(keys));
        taken.insert(keys);
        const int key = a->shortcut()[0].key();
        const bool gameKey =
            (a->shortcut()[0].keyboardModifiers() == Qt::NoModifier && key < Qt::Key_Escape) ||
            key == Qt::Key_Escape || (key >= Qt::Key_Left && key <= Qt::Key_Down);
        QVERIFY2(!gameKey, qPrintable(keys));
    }

    // F1 reaches the menu past the battle's own key handling and opens the
    // controls once, however often it is pressed.
    QTest::keyClick(w, Qt::Key_F1);
    QTest::keyClick(w, Qt::Key_F1);
    const QList<QDialog*> controls = w->findChildren<QDialog*>("HelpControls");
    QCOMPARE(controls.size(), 1);
    QVERIFY(controls[0]->isVisible());
    const QString text = controls[0]->findChild<QTextBrowser*>("HelpText")->toPlainText();
    for (const char* told : {"End turn button or 0", "right click on the square",
                             "click the magazine's row, then the weapon's row",
                             "Equipment, then click the medikit's row once", "Ctrl+S"})
        QVERIFY2(text.contains(QString::fromUtf8(told)), told);
    controls[0]->close();

    w->menuEntry("HowToPlay1")->trigger();
    auto* howTo = w->findChild<QDialog*>("HelpHowToPlay");
    QVERIFY(howTo && howTo->isVisible());
    QVERIFY(howTo->findChild<QTextBrowser*>("HelpText")
                ->toPlainText()
                .contains("There is no roll to hit."));
    howTo->close();

    // Ctrl+S opens the save dialog, as the menu entry does.
    FileDialogs dialogs;
    g.battle->ports.dialogs = &dialogs;
    QSignalSpy saves(w->menuEntry("Savegame1"), &QAction::triggered);
    bool asked = false;
    whenFileDialogShows([&](QFileDialog& d) {
        asked = d.acceptMode() == QFileDialog::AcceptSave;
        d.reject();
    });
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(saves.count(), 1);
    QVERIFY(asked);
#endif
}

std::unique_ptr<QObject> korvath::uitest::battleMenuTests() {
    return std::make_unique<BattleMenuTests>();
}

#include "BattleMenuTests.moc"
