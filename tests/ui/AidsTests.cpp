// The battle window's aids beyond the game's rules, through the window: the
// path preview and the line of fire agree with the walk and the shot and
// change nothing of the battle, the seen enemies, what a shot did, the
// settings, the autosave and the summary of a decided battle.
#include "TestData.h"
#include "game/combat/ShotPath.h"
#include "game/commands/ArmedOdds.h"
#include "game/commands/Scenario.h"
#include "game/files/Autosave.h"
#include "game/state/Pieces.h"
#include "game/turns/Walking.h"
#include "ui/BattleAids.h"
#include "ui/BattleSummary.h"
#include "ui/ShotLines.h"
#include "ui/SoundPlayer.h"
#include "ui/TPlayingScreen.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

using namespace korvath;
namespace fs = std::filesystem;

namespace {

// The same time of day for every reseed: the same dice each run.
struct FixedClock : Clock {
    uint32_t ticks() override { return 0; }
    int msSinceMidnight() override { return 12'345'678; }
};

struct RecordingDialogs : Dialogs {
    std::vector<std::string> texts;
    void information(const std::string& text) override { texts.push_back(text); }
    std::string openFile(const FileQuestion&) override { return {}; }
    std::string saveFile(const FileQuestion&) override { return {}; }
};

// The small scenario in a battle window: two Raiders to place on the stars at
// (10, 10) and (11, 10), two Guards of one wound at (16, 10) and (16, 13).
struct Battlefield {
    explicit Battlefield(bool writableSaves = true) {
        test::TestScenario s;
        s.withEvents = false;
        s.units = {test::TestScenario::unit("Raider One", 1, 0, 0),
                   test::TestScenario::unit("Raider Two", 1, 0, 0),
                   test::TestScenario::unit("Guard One", 2, 16, 10, 1, "1\t0\t0\t0\t0\t0", 1),
                   test::TestScenario::unit("Guard Two", 2, 16, 13, 1, "1\t0\t0\t0\t0\t0", 1)};
        s.write(dir.path);
        if (!writableSaves) {
            fs::remove_all(dir.path / "savedgames");
            std::ofstream(dir.path / "savedgames") << "not a folder";
        }
        b->AppDir = dir.path.string();
        b->ports.clock = &clock;
        b->ports.dialogs = &dialogs;
        chooseScenario(*b, ScenarioId::Korvath, 3);
        w = std::make_unique<TPlayingScreen>(*b, &sound, nullptr);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->setEdgeScrolling(false);
        w->FormCreate();
        w->aids()->settings().setAnimationSpeed(Settings::AnimationSpeed::Instant);
        w->show();
    }
    ~Battlefield() { w->close(); }

    QPoint centre(int x, int y) const { return {squareCentre(x), squareCentre(y)}; }
    void click(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(w->mapImage(), button, {}, centre(x, y));
    }
    void hover(QPoint pixel) {
        QMouseEvent e(QEvent::MouseMove, pixel, w->mapImage()->mapToGlobal(QPointF(pixel)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->mapImage(), &e);
    }
    void button(const char* name) { qobject_cast<QAbstractButton*>(w->control(name))->click(); }
    // Soldier i, who never strays, takes an aimed shot at the middle of square (x, y).
    void fire(int i, int x, int y) {
        click(b->Pieces[i].X, b->Pieces[i].Y);
        b->Pieces[i].Shoot = 100;
        button("AimedFireIcon");
        click(x, y);
        button("Cancelbutton");
        button("Cancelbutton");
    }
    // The Guards stand still through their turns: no action points.
    void idleGuards() {
        for (int i : {3, 4}) b->Pieces[i].BaseAP = b->Pieces[i].Strength = 0;
    }
    void deploy() {
        auto* list = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
        for (int row = 0; row < 2; ++row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(row, 0)).center());
            click(10 + row, 10);
        }
    }
    QRgb shown(QPoint pixel) const {
        return w->mapImage()->grab(QRect(pixel, QSize(1, 1))).toImage().pixel(0, 0) & 0xffffff;
    }
    const MapOverlays& aids() const { return *w->aids()->overlays(); }
    std::string savedGames() const { return (dir.path / "savedgames").string(); }

    test::TempDir dir;
    std::unique_ptr<Battle> b = std::make_unique<Battle>();
    FixedClock clock;
    RecordingDialogs dialogs;
    SoundPlayer sound;
    std::unique_ptr<TPlayingScreen> w;
};

// The battle as the rules see it: what no aid may change.
struct RuleState {
    explicit RuleState(const Battle& b)
        : terrain(b.TerrainBitmap), screen(b.MapImage), pieces(b.Pieces), seed(b.rng.seed()),
          draws(b.rng.draws()) {}
    bool operator==(const RuleState&) const = default;
    Raster terrain, screen;
    std::array<PieceRecord, kMaxPieces + 1> pieces;
    uint32_t seed;
    uint64_t draws;
};

QString readText(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return QString::fromStdString(line).trimmed();
}

} // namespace

class AidsTests : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void settingsSurviveOddAndDamagedFiles();
    void optionsMenuChangesAndRemembersTheSettings();
    void pathPreviewDrawsTheWalksTrace();
    void lineOfFireStopsWhereTheShotStops();
    void oddsByThePointerAreTheQuestionsOwn();
    void healingHoverTellsWhatTheClickDoes();
    void kitRowHoverTellsTheSecondClick();
    void aShotFromBeyondTheViewPointsToTheShooter();
    void seenEnemiesAreMarkedOnlyWhenAsked();
    void computerShotsAndFireLanesShowOverTheMap();
    void autosaveWritesRotatesAndTellsAFailureOnce();
    void summaryOfAScriptedBattle();

  private:
    QTemporaryDir home_;
};

void AidsTests::initTestCase() {
    // The player's own settings and saved games stay out of the tests' way.
    qputenv("XDG_CONFIG_HOME", (home_.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
}

void AidsTests::settingsSurviveOddAndDamagedFiles() {
    QTemporaryDir dir;
    const QString file = dir.path() + "/korvath.ini";
    auto write = [&](const QByteArray& text) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    // Values the game does not know fall back to their defaults, once; the rest stay.
    write("[animation]\nspeed=warp\n[sound]\nvolume=250\nmuted=true\n"
          "[look]\ncolours=rainbow\ntextSize=large\n");
    Settings odd(file);
    QCOMPARE(odd.animationSpeed(), Settings::AnimationSpeed::Normal);
    QCOMPARE(odd.volume(), 100);
    QVERIFY(odd.muted());
    QCOMPARE(odd.colours(), 0);
    QCOMPARE(odd.textSize(), 2);
    QVERIFY(odd.warning().contains("animation/speed, sound/volume, look/colours"));
    QVERIFY(Settings(file).warning().isEmpty());

    // A damaged file: the defaults, one warning, and the next change is kept.
    write("[aids\npathPreview=false\n\x01\xff");
    {
        Settings damaged(file);
        QVERIFY(damaged.pathPreview() && damaged.warning().contains("damaged"));
        damaged.setLineOfFire(false);
    }
    QVERIFY(QFile::exists(file + ".damaged"));
    Settings mended(file);
    QVERIFY(!mended.lineOfFire() && mended.warning().isEmpty());
}

void AidsTests::optionsMenuChangesAndRemembersTheSettings() {
    QVERIFY(Settings::defaultFile().startsWith(home_.path() + "/config/"));
    QFile::remove(Settings::defaultFile());
    {
        Battlefield f;
        BattleAids& aids = *f.w->aids();
        QVERIFY(aids.entry("PathPreview1")->isChecked() &&
                !aids.entry("SeenEnemies1")->isChecked());
        aids.entry("LineOfFire1")->trigger();
        QVERIFY(!aids.overlays()->switches().lineOfFire);
        // The waits shrink; edge scrolling keeps its pace.
        const std::pair<const char*, int> speeds[] = {
            {"SpeedFast1", 150}, {"SpeedInstant1", 0}, {"SpeedNormal1", 600}};
        for (const auto& [entry, deathMs] : speeds) {
            aids.entry(entry)->trigger();
            QCOMPARE(aids.beatLength(Beat::Death), deathMs);
            QCOMPARE(aids.beatLength(Beat::EdgeScroll), 30);
        }
        aids.entry("Volume50")->trigger();
        aids.entry("Mute1")->trigger();
        QVERIFY(f.sound.volume() == 50 && f.sound.muted());
    }
    // The next battle window finds them as they were left.
    Battlefield f;
    BattleAids& aids = *f.w->aids();
    QVERIFY(!aids.entry("LineOfFire1")->isChecked() && aids.entry("Volume50")->isChecked());
    QVERIFY(aids.entry("Mute1")->isChecked() && f.sound.muted());
    QFile::remove(Settings::defaultFile());
}

void AidsTests::pathPreviewDrawsTheWalksTrace() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    f.click(10, 10);               // Raider One
    for (int x = 29; x <= 31; ++x) // a pocket walled in at (30, 30)
        for (int y = 29; y <= 31; ++y)
            if (x != 30 || y != 30) b.cell(x, y).Solidity = 4;

    const RuleState before(b);
    struct Case {
        int x, y;
        bool drawn, affordable;
    } cases[] = {{13, 14, true, true},
                 {60, 40, true, false},
                 {30, 30, false, false},
                 {1, 1, false, false},    // the wall round the map
                 {11, 10, false, false}}; // a friend: a click selects him
    for (const Case& c : cases) {
        f.hover(f.centre(c.x, c.y) + QPoint(5, -3));
        const auto shown = f.aids().pathShown();
        QCOMPARE(shown.has_value(), c.drawn);
        QVERIFY(RuleState(b) == before);
        if (!c.drawn) continue;
        QCOMPARE(shown->affordable, c.affordable);
        // The walk's own trace and price, from the question the right button asks.
        f.click(c.x, c.y, Qt::RightButton);
        std::vector<Square> trace =
            tracePathBack(b, {c.x, c.y}, true, b.Pieces[1].AP, [](Square at) {
                return at == Square{10, 10};
            });
        trace.erase(trace.begin());
        QVERIFY(shown->path == trace);
        QCOMPARE(b.controls.InfoLabel.text.rfind(std::to_string(shown->cost) + " action", 0) == 0,
                 c.affordable);
        // Drawn on the window in green or red, half-way along the first step.
        const Square from = trace.back(), to = trace[trace.size() - 2];
        const QPoint mid = (f.centre(from.x, from.y) + f.centre(to.x, to.y)) / 2;
        QCOMPARE(QColor(f.shown(mid)), c.affordable ? QColor(70, 230, 70) : QColor(240, 60, 50));
    }
}

void AidsTests::computerShotsAndFireLanesShowOverTheMap() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    // L turns the lanes on: Guard One on overwatch covers the squares round him.
    b.Pieces[3].Overwatch = true;
    b.Pieces[3].AP = 20;
    QTest::keyClick(f.w.get(), Qt::Key_L);
    QVERIFY(f.w->aids()->entry("FireLanes1")->isChecked());
    f.w->aids()->battleShown();
    const auto& lanes = f.w->aids()->fireLanes()->lanesShown();
    QVERIFY(!lanes.empty());
    for (const ThreatSquare& t : lanes) QCOMPARE(t.watchers, std::vector<int>{3});
    QTest::keyClick(f.w.get(), Qt::Key_L);
    f.w->aids()->battleShown();
    QVERIFY(f.w->aids()->fireLanes()->lanesShown().empty());

    // In the computer's turn each shot shows from the shooter to where it
    // stopped, until the pause after it.
    const ShotLines& lines = *f.w->aids()->shotLines();
    std::optional<ShotFired> fired;
    int seen = 0;
    auto feed = f.w->aids()->onEvent;
    f.w->aids()->onEvent = [&](const BattleEvent& e) {
        if (feed) feed(e);
        if (const auto* s = std::get_if<ShotFired>(&e)) fired = *s;
        const auto* stop = std::get_if<ShotStopped>(&e);
        if (!stop || !fired || fired->kind != ShotKind::Computer) return;
        ++seen;
        QVERIFY(lines.lineShown().has_value());
        QCOMPARE(lines.lineShown()->from, QPoint(fired->start.x, fired->start.y));
        QCOMPARE(lines.lineShown()->to, QPoint(stop->pixel.x, stop->pixel.y));
    };
    for (int i : {3, 4}) b.Pieces[i].Shoot = 100;
    f.button("EndTurnButton");
    f.w->aids()->onEvent = feed;
    QVERIFY(seen > 0);
    QVERIFY(!lines.lineShown());
}

void AidsTests::lineOfFireStopsWhereTheShotStops() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    f.click(10, 10);
    b.Pieces[1].Shoot = 100; // never strays
    f.button("AimedFireIcon");

    const RuleState before(b);
    struct Case {
        int aimX, aimY;
        ShotEnd end;
        int x, y;
        bool friendly;
    } cases[] = {
        {16, 10, ShotEnd::Soldier, 11, 10, true},  // Raider Two is in the way
        {16, 13, ShotEnd::Soldier, 16, 13, false}, // Guard Two
        {10, 4, ShotEnd::Obstacle, 10, 1, false},  // the wall round the map
    };
    for (const Case& c : cases) {
        f.hover(f.centre(c.aimX, c.aimY));
        const auto line = f.aids().fireLineShown();
        QVERIFY(line.has_value());
        QCOMPARE(int(line->stop.end), int(c.end));
        QCOMPARE(QPoint(line->stop.x, line->stop.y), QPoint(c.x, c.y));
        QCOMPARE(line->friendly, c.friendly);
        QVERIFY(RuleState(b) == before);
    }
    QVERIFY(!f.aids().pathShown());

    // The shot itself stops there, and says so in the status bar, not in the log.
    for (const auto& [x, y] : {std::pair{10, 4}, std::pair{16, 13}}) {
        f.hover(f.centre(x, y));
        const ShotStop predicted = f.aids().fireLineShown()->stop;
        f.click(x, y);
        const auto told = f.w->aids()->lastShotTold();
        QVERIFY(told.has_value());
        QCOMPARE(int(told->end), int(predicted.end));
        QCOMPARE(QPoint(told->square.x, told->square.y), QPoint(predicted.x, predicted.y));
        QCOMPARE(f.aids().shotMarkShown(), QPoint(predicted.x, predicted.y));
    }
    QCOMPARE(f.w->statusArea()->currentMessage(), QString("Hit Guard Two"));
    for (const std::string& line : b.messageLog)
        QVERIFY(line.find("Hit ") != 0 && line.find("Stopped by") != 0);
}

void AidsTests::seenEnemiesAreMarkedOnlyWhenAsked() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    QVERIFY(f.aids().seenShown().empty()); // off until asked for
    const RuleState before(b);
    f.w->aids()->entry("SeenEnemies1")->trigger();
    QCOMPARE(f.aids().seenShown(), std::vector<int>({3, 4}));
    QCOMPARE(QColor(f.shown({15 * 32, 12 * 32 + 16})), QColor(255, 230, 90)); // Guard Two's edge
    for (int x = 15; x <= 17; ++x) // walled in, Guard Two is seen by nobody
        for (int y = 12; y <= 14; ++y)
            if (x != 16 || y != 13) b.cell(x, y).Solidity = 4;
    f.w->sync();
    QCOMPARE(f.aids().seenShown(), std::vector<int>({3}));
    QVERIFY(RuleState(b) == before);
}

void AidsTests::autosaveWritesRotatesAndTellsAFailureOnce() {
    {
        Battlefield f;
        f.idleGuards();
        f.deploy(); // the first turn begins
        for (int turn = 2; turn <= 4; ++turn) f.button("EndTurnButton");
        for (int n = 1; n <= kAutosaves; ++n)
            QCOMPARE(readText(autosaveBase(f.savedGames(), n) + "_korvath.Txt"),
                     QString::number(5 - n));
        // The load dialog's filter offers them as the scenario's saved games.
        QCOMPARE(QDir(QString::fromStdString(f.savedGames())).entryList({"*korvath.map"}),
                 QStringList(
                     {"autosave1_korvath.map", "autosave2_korvath.map", "autosave3_korvath.map"}));
        QVERIFY(f.dialogs.texts.empty()); // silently
        // The battle so far lies beside them as a replay.
        std::ifstream replay(f.savedGames() + "/autosave_korvath.kvs");
        QVERIFY(std::find(std::istream_iterator<std::string>(replay), {}, "replay") !=
                std::istream_iterator<std::string>());
    }
    // Nowhere to save: the information line says so once; the battle goes on.
    test::TempDir blocked;
    std::ofstream(blocked.path / "file") << "x";
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString((blocked.path / "file").string()));
    Battlefield f(false);
    f.idleGuards();
    f.deploy();
    QVERIFY(f.b->controls.InfoLabel.text.rfind("Autosave failed: ", 0) == 0);
    f.button("EndTurnButton");
    QCOMPARE(f.b->controls.InfoLabel.text, std::string("The Raiders's turn"));
    QVERIFY(f.b->TurnNumber == 2 && f.dialogs.texts.empty());
    qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
}

void AidsTests::summaryOfAScriptedBattle() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    f.fire(1, 10, 4);  // into the wall
    f.fire(1, 16, 10); // Raider Two is in the way: a shot, but no hit
    QCOMPARE(describeShot(*f.w->aids()->lastShotTold()), std::string("Hit Raider Two"));
    f.fire(1, 16, 13); // Guard Two
    f.fire(2, 16, 10); // Guard One, with nobody in the way
    QVERIFY(b.Pieces[3].Wounds < 1 && b.Pieces[4].Wounds < 1);
    f.button("EndTurnButton"); // no Operatives left: won
    f.button("EndTurnButton"); // and the battle window closes
    QTRY_VERIFY(!f.w->isVisible());
    // What the front screen shows before it comes back.
    QVERIFY(b.tally.counted && b.tally.decided);
    const BattleSummary summary(b);
    QStringList shown;
    for (const char* row :
         {"Scenario", "Difficulty", "Outcome", "Turns", "Killed", "Lost", "Shots", "Hits"})
        shown << summary.shown(row);
    QCOMPARE(shown,
             QStringList({"Korvath Tamberhold", "3", "Victory", "2", "2", "0", "4", "2 (50%)"}));
}

void AidsTests::oddsByThePointerAreTheQuestionsOwn() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    f.click(10, 10);
    b.Pieces[1].Shoot = 40; // strays often: many outcomes
    f.button("AimedFireIcon");
    const OddsOverlay& odds = *f.w->aids()->odds();

    const RuleState before(b);
    // A Guard aimed at, a point off a square's middle past Raider Two, open ground.
    for (const QPoint pixel :
         {f.centre(16, 13), f.centre(16, 10) + QPoint(7, -5), f.centre(40, 30)}) {
        f.hover(pixel);
        const ArmedOdds asked = armedOdds(b, pixel.x(), pixel.y());
        QCOMPARE(int(asked.kind), int(ArmedOdds::Shot));
        QStringList told;
        for (const std::string& l : oddsLines(b, asked)) told << QString::fromStdString(l);
        QCOMPARE(odds.linesShown(), told);
        QCOMPARE(f.w->mapImage()->toolTip(), told.join('\n'));
    }
    QVERIFY(RuleState(b) == before);
    f.hover(f.centre(16, 13));
    QVERIFY(odds.linesShown().first().startsWith("Hit "));
}

void AidsTests::healingHoverTellsWhatTheClickDoes() {
    Battlefield f;
    Battle& b = *f.b;
    EquipmentType& kit = b.EquipmentTypes[3];
    kit.Name = "Medikit";
    kit.Kind = "Misc";
    kit.Effect = "wounds";
    kit.Value = "4";
    kit.Weight = 2;
    f.deploy();
    b.Pieces[1].Items[3] = 3;
    b.Pieces[2].Wounds = 3;
    f.click(10, 10);
    b.SelectedItemSlot = 3; // the medikit's row armed
    b.PieceSelected = false;

    QStatusBar* status = f.w->statusArea();
    f.hover(f.centre(11, 10) + QPoint(3, 4));
    QCOMPARE(status->currentMessage(),
             QStringLiteral("Heal Raider Two: +4 wounds, 5 AP (his turn and yours end)"));
    f.hover(f.centre(20, 20));
    QVERIFY2(status->currentMessage().endsWith("a click here does nothing (click its row again to "
                                               "put it back)"),
             qPrintable(status->currentMessage()));
    f.click(11, 10);
    QCOMPARE(b.Pieces[2].Wounds, 7);
}

// With a row armed, the pointer over another row of the equipment grid says
// in the status bar what a click there would do.
void AidsTests::kitRowHoverTellsTheSecondClick() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    f.click(10, 10);
    b.Pieces[1].Items[2] = b.Pieces[1].Items[1];
    f.button("EquipRadio");
    auto* grid = qobject_cast<QTableWidget*>(f.w->control("EquipGrid"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(1, 0)).center());
    QCOMPARE(b.SelectedItemSlot, 2);
    const QPoint over = grid->visualItemRect(grid->item(0, 0)).center();
    QTest::mouseMove(grid->viewport(), over + QPoint(0, 1));
    QTest::mouseMove(grid->viewport(), over);
    const QString said = f.w->statusArea()->currentMessage();
    QVERIFY2(said.startsWith("Swap"), qPrintable(said));
}

// A computer shot from outside the view at a Raider inside it: an arrow at
// the view's edge, on the line from the Raider towards the shooter, named.
void AidsTests::aShotFromBeyondTheViewPointsToTheShooter() {
    Battlefield f;
    Battle& b = *f.b;
    f.deploy();
    b.Pieces[1].X = 10;
    b.Pieces[1].Y = 10; // Guard One stands at (16, 10), east of him
    b.HumanTurn = false;
    ShotLines& lines = *f.w->aids()->shotLines();
    const Point from{squareCentre(16), squareCentre(10)}, at{squareCentre(10), squareCentre(10)};
    auto shoot = [&] {
        lines.happened(ShotFired{3, ShotKind::Computer, from, 180, false, 0, 1});
        lines.happened(ShotStopped{3, ShotEnd::Soldier, at, {10, 10}, 1, "Raider One", at});
        return *lines.lineShown();
    };
    b.view = {squareCentre(10) + 100, 600, 300, 500}; // he is in it, the Guard is not
    const ShotLines::Line seen = shoot();
    QVERIFY(seen.arrow);
    QCOMPARE(seen.name, QStringLiteral("Guard One"));
    QCOMPARE(seen.arrowAt.y(), double(at.y));
    QVERIFY(seen.arrowAt.x() > at.x && seen.arrowAt.x() < b.view.right);
    QVERIFY(std::abs(seen.angle) < 1e-9); // pointing east, to the Guard

    b.view = {squareCentre(16) + 100, 600, 400, 500}; // both in view: the line says it all
    QVERIFY(!shoot().arrow);
}

QTEST_MAIN(AidsTests)
#include "AidsTests.moc"
