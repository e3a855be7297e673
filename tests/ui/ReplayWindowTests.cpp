// A battle played through the window's own widgets is recorded as it goes;
// the recording plays to the very same state in korvath-headless and again
// in the window.
#include "Script.h"
#include "StateJson.h"
#include "engine/Paths.h"
#include "game/commands/Playback.h"
#include "game/state/Battle.h"
#include "ui/QtPorts.h"
#include "ui/ReplayPlayer.h"
#include "ui/SoundPlayer.h"
#include "ui/TIntroForm.h"
#include "ui/TIntroScreen.h"
#include "ui/TNodeForm.h"
#include "ui/TPlayingScreen.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

using namespace korvath;
using nlohmann::json;

namespace {

const QString kGameDir = QStringLiteral(KORVATH_GAME_DIR);

// Boxes are noted instead of shown; a file question is answered with the
// path the test gives, as the player would type it.
struct AnsweringDialogs : Dialogs {
    std::vector<std::string> texts;
    std::string answer;
    void information(const std::string& text) override { texts.push_back(text); }
    std::string openFile(const FileQuestion&) override { return std::exchange(answer, {}); }
    std::string saveFile(const FileQuestion&) override { return std::exchange(answer, {}); }
};

struct Game {
    Game() {
        battle->AppDir = kGameDir.toStdString();
        battle->ports.clock = &clock;
        battle->ports.dialogs = &dialogs;
        battle->ports.sound = &sound;
        intro = std::make_unique<TIntroScreen>(*battle, &sound);
        briefing = std::make_unique<TIntroForm>(*battle);
        nodes = std::make_unique<TNodeForm>();
        intro->setBriefing(briefing.get());
        intro->setNodeForm(nodes.get());
    }
    ~Game() { delete intro->battleWindow(); }

    // Starts a scenario by its picture; the briefing is clicked away.
    TPlayingScreen* start(const char* picture) {
        intro->show();
        QTimer::singleShot(0, briefing.get(), [this] {
            QTest::mouseClick(briefing->findChild<QLabel*>("IntroIMage"), Qt::LeftButton, {},
                              QPoint(10, 10));
        });
        QTest::mouseClick(intro->findChild<QLabel*>(picture), Qt::LeftButton, {}, QPoint(5, 5));
        TPlayingScreen* w = intro->battleWindow();
        if (w && !QTest::qWaitForWindowActive(w)) return nullptr;
        if (w) w->setEdgeScrolling(false);
        return w;
    }

    std::unique_ptr<Battle> battle = std::make_unique<Battle>();
    QtClock clock;
    AnsweringDialogs dialogs;
    SoundPlayer sound;
    std::unique_ptr<TIntroScreen> intro;
    std::unique_ptr<TIntroForm> briefing;
    std::unique_ptr<TNodeForm> nodes;
};

QPoint squareCentre(int x, int y) {
    return {(x - 1) * 32 + 16, (y - 1) * 32 + 16};
}

// What the player does, in the words of a script, done with the mouse and
// keys on the window's widgets.
void act(TPlayingScreen* w, Game& g, const std::vector<std::string>& c) {
    static const std::map<std::string, const char*> buttons = {{"EndTurn", "EndTurnButton"},
                                                               {"Next", "NextButton"},
                                                               {"Cancel", "Cancelbutton"},
                                                               {"Overwatch", "OverwatchIcon"},
                                                               {"AimedShot", "AimedFireIcon"},
                                                               {"QuickShot", "SnapFireIcon"},
                                                               {"HandFight", "HandFightIcon"},
                                                               {"PickUp", "PickUpButton"},
                                                               {"DropItem", "DropItem"},
                                                               {"Equipment", "EquipRadio"},
                                                               {"Map", "MapRadio"}};
    if (c[0] == "square") {
        QTest::mouseClick(w->mapImage(), Qt::LeftButton, {},
                          squareCentre(std::stoi(c[1]), std::stoi(c[2])));
    } else if (c[0] == "hover") {
        QTest::mouseMove(w->mapImage(), squareCentre(std::stoi(c[1]), std::stoi(c[2])));
    } else if (c[0] == "button") {
        QWidget* b = w->control(buttons.at(c[1]));
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    } else if (c[0] == "row") {
        auto* grid = qobject_cast<QTableWidget*>(w->control("PlaceMenGrid"));
        if (!grid->isVisible()) grid = qobject_cast<QTableWidget*>(w->control("EquipGrid"));
        const QRect cell = grid->visualRect(grid->model()->index(std::stoi(c[1]), 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    } else if (c[0] == "key") {
        QTest::keyClick(w, c[1][0]);
    } else if (c[0] == "menu") {
        if (c.size() > 2) g.dialogs.answer = c[2];
        w->menuEntry(QString::fromStdString(c[1] + "1"))->trigger();
    }
}

// Where a scenario's Raiders start, and where they go and shoot.
struct Ground {
    int stars[8][2];
    int walkX, walkY, targetX, targetY;
};
const Ground kKorvath = {
    {{9, 22}, {11, 22}, {7, 24}, {13, 24}, {9, 25}, {11, 25}, {7, 27}, {13, 27}}, 28, 22, 44, 24};
const Ground kVexlar = {
    {{13, 9}, {15, 9}, {17, 9}, {19, 9}, {13, 11}, {15, 11}, {17, 11}, {19, 11}}, 15, 14, 16, 26};

// Walks, both shots, overwatch, close combat, the medikit and the
// inventory, over a few turns of the computer's answers.
std::vector<std::vector<std::string>> raid(const Ground& at, const std::string& savedSet) {
    std::vector<std::vector<std::string>> c;
    auto sq = [&c](int x, int y) { c.push_back({"square", std::to_string(x), std::to_string(y)}); };
    for (int i = 0; i < 8; ++i) {
        c.push_back({"row", std::to_string(i)});
        sq(at.stars[i][0], at.stars[i][1]);
    }
    // A raider treats another; the inventory is looked through and an item put down.
    sq(at.stars[5][0], at.stars[5][1]);
    c.push_back({"row", "1"});
    sq(at.stars[1][0], at.stars[1][1]);
    c.insert(c.end(), {{"button", "Equipment"},
                       {"row", "0"},
                       {"button", "DropItem"},
                       {"button", "PickUp"},
                       {"button", "Map"}});
    for (int turn = 0; turn < 3; ++turn) {
        for (int man = 0; man < 8; ++man) {
            c.push_back({"button", "Next"});
            c.push_back({"hover", "30", "20"});
            sq(at.walkX + man % 3, at.walkY + man % 2);
            c.push_back({"button", man % 2 ? "QuickShot" : "AimedShot"});
            sq(at.targetX, at.targetY);
            c.push_back({"button", "Cancel"});
            if (man == 3) {
                c.push_back({"button", "HandFight"});
                sq(at.walkX + 3, at.walkY + 1);
            }
            if (man == 7) c.push_back({"button", "Overwatch"});
        }
        if (turn == 1) c.push_back({"menu", "Savegame", savedSet});
        c.push_back({"button", "EndTurn"});
    }
    c.push_back({"menu", "Loadgame", savedSet});
    c.push_back({"key", "n"});
    return c;
}

// Now and then the player clicks on while a soldier walks or falls: in the
// waits that let input through, as the window's own would.
struct ImpatientPlayer : Presenter {
    ImpatientPlayer(TPlayingScreen* w, Game& g) : w(w), g(g), inner(g.battle->ports.presenter) {
        g.battle->ports.presenter = this;
    }
    ~ImpatientPlayer() override {
        if (g.battle->ports.presenter == this) g.battle->ports.presenter = inner;
    }
    void beat(Beat beat) override {
        inner->beat(beat);
        if (timingOf(beat).letMessagesRun && ++waits % 40 == 0) {
            ++clicks;
            act(w, g, {"button", "Next"});
        }
    }
    void repaint() override { inner->repaint(); }
    void letMessagesRun() override { inner->letMessagesRun(); }
    TPlayingScreen* w;
    Game& g;
    Presenter* inner;
    int waits = 0;
    int clicks = 0;
};

json withoutPorts(json j) {
    for (const char* k : {"sounds", "messages", "ticks", "pictures"}) j.erase(k);
    return j;
}

json stateOf(Battle& b) {
    json j = battleJson(b, true, false);
    j["seed"] = b.rng.seed();
    j["draws"] = b.rng.draws();
    showTexts(j);
    return withoutPorts(j);
}

json replayHeadless(const std::string& script) {
    std::ostringstream out, err;
    ScriptRunner runner(kGameDir.toStdString(), out, err);
    std::istringstream in(script + "dump map\n");
    if (runner.run(in, "the recording") != 0) {
        qWarning("%s", err.str().c_str());
        return {};
    }
    json j = json::parse(out.str());
    return withoutPorts(j);
}

void compare(const json& a, const json& b, const char* what) {
    if (a == b) return;
    for (auto it = a.begin(); it != a.end(); ++it)
        if (!b.contains(it.key()) || b[it.key()] != it.value())
            qWarning("%s: \"%s\" differs", what, it.key().c_str());
    QFAIL(what);
}

} // namespace

class ReplayWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void battlesPlayAgainHeadlessAndInTheWindow_data();
    void battlesPlayAgainHeadlessAndInTheWindow();
    void aBadLineStopsTheReplayAndLeavesTheBattle();
    void undoAndRedoPlayAgainAndTheHistoryOutlivesTheReplay();
};

void ReplayWindowTests::battlesPlayAgainHeadlessAndInTheWindow_data() {
    QTest::addColumn<QString>("picture");
    QTest::newRow("korvath") << "Korvath";
    QTest::newRow("vexlar") << "Vexlar";
}

void ReplayWindowTests::battlesPlayAgainHeadlessAndInTheWindow() {
    QFETCH(QString, picture);
    if (!fileExists(gamePath(kGameDir.toStdString(), "\\scenarios\\korvathDesc.txt")))
        QSKIP("the game folder is not built yet");
    QTemporaryDir saves;
    const std::string scenario = picture == "Korvath" ? "korvath" : "vexlar";
    const std::string savedSet =
        saves.filePath("raid game_" + QString::fromStdString(scenario) + ".map").toStdString();
    std::string script;
    json played;
    {
        Game g;
        TPlayingScreen* w = g.start(picture.toLatin1().constData());
        QVERIFY(w);
        w->setAnimationScale(0.1); // the order of things stays, the waits shrink
        ImpatientPlayer impatient(w, g);
        for (const auto& c : raid(picture == "Korvath" ? kKorvath : kVexlar, savedSet)) {
            if (!g.battle->windowOpen) break;
            act(w, g, c);
        }
        QVERIFY(impatient.clicks > 0);
        QVERIFY2(g.battle->windowOpen, "the raid should still be on");
        played = stateOf(*g.battle);
        script = w->recording().script();
        // File, Save replay writes the same text.
        const QString file = saves.filePath("raid.kvs");
        w->saveReplay(file.toStdString());
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), script);
    }
    // KORVATH_KEEP_REPLAY=FOLDER keeps the recordings to look at.
    if (const QString keep = qEnvironmentVariable("KORVATH_KEEP_REPLAY"); !keep.isEmpty())
        std::ofstream((keep + "/" + picture + ".kvs").toStdString()) << script;
    for (const char* line : {"\nmenu Loadgame ", "\nmeanwhile ", "\ntime ", "\nbutton HandFight",
                             "\nbutton Overwatch", "\nbutton DropItem"})
        QVERIFY2(script.find(line) != std::string::npos, line + 1);

    // Headless, from the file alone: the set saved in the battle is kept aside.
    QFile::remove(QString::fromStdString(savedSet));
    compare(replayHeadless(script), played, "headless replay");

    // In the window, as fast as it goes.
    Game g;
    std::istringstream in(script);
    QVERIFY(g.intro->playReplay(readReplay(in, "recording.kvs"), "recording.kvs"));
    TPlayingScreen* w = g.intro->battleWindow();
    QVERIFY(w);
    ReplayPlayer* player = w->replayPlayer();
    player->setSpeed(ReplayPlayer::Speed::Instant);
    // The player's clicks are ignored meanwhile.
    QTest::mouseClick(w->control("EndTurnButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(player->finished(), 60000);
    QVERIFY2(player->failure().empty(), player->failure().c_str());
    compare(stateOf(*g.battle), played, "window replay");
    QVERIFY(!QFile::exists(QString::fromStdString(savedSet)));
    // The battle is the player's now.
    QTest::mouseClick(w->control("NextButton"), Qt::LeftButton);
    QVERIFY(w->recording().script().size() > script.size());
}

void ReplayWindowTests::aBadLineStopsTheReplayAndLeavesTheBattle() {
    if (!fileExists(gamePath(kGameDir.toStdString(), "\\scenarios\\korvathDesc.txt")))
        QSKIP("the game folder is not built yet");
    Game g;
    std::istringstream in("replay 1\nseed 7\nstart vexlar 2\nrow 0\nmenu Loadgame gone_vexlar.map\n"
                          "row 1\n");
    QVERIFY(g.intro->playReplay(readReplay(in, "bug.kvs"), "bug.kvs"));
    TPlayingScreen* w = g.intro->battleWindow();
    ReplayPlayer* player = w->replayPlayer();
    player->setSpeed(ReplayPlayer::Speed::Instant);
    QTRY_VERIFY(player->finished());
    QVERIFY2(player->failure().find("bug.kvs, line 5: ") == 0, player->failure().c_str());
    QVERIFY(player->failure().find("gone_vexlar.map") != std::string::npos);
    QCOMPARE(g.dialogs.texts.size(), size_t{1});
    QVERIFY(g.battle->windowOpen);
    QVERIFY(w->findChild<QLabel*>("ReplayLine")->text().contains("line 5"));
}

void ReplayWindowTests::undoAndRedoPlayAgainAndTheHistoryOutlivesTheReplay() {
    if (!fileExists(gamePath(kGameDir.toStdString(), "\\scenarios\\korvathDesc.txt")))
        QSKIP("the game folder is not built yet");
    std::string script = "replay 1\nseed 777\nstart korvath 3\n";
    for (int i = 0; i < 8; ++i)
        script += "row " + std::to_string(i) + "\nsquare " + std::to_string(kKorvath.stars[i][0]) +
                  " " + std::to_string(kKorvath.stars[i][1]) + "\n";
    script += "square 9 22\nsquare 16 20\nundo\nsquare 14 19\nundo\nredo\n";
    Game g;
    std::istringstream in(script);
    QVERIFY(g.intro->playReplay(readReplay(in, "undo.kvs"), "undo.kvs"));
    TPlayingScreen* w = g.intro->battleWindow();
    QVERIFY(w);
    ReplayPlayer* player = w->replayPlayer();
    player->setSpeed(ReplayPlayer::Speed::Instant);
    QTRY_VERIFY_WITH_TIMEOUT(player->finished(), 30000);
    QVERIFY2(player->failure().empty(), player->failure().c_str());
    compare(stateOf(*g.battle), replayHeadless(script), "window replay");
    QCOMPARE(g.battle->Pieces[1].X, 14);
    // The player takes over with the walk still to be taken back.
    QVERIFY(g.battle->undo.canUndo());
    QCOMPARE(g.battle->undo.nextUndo(), std::string("Sgt Vance Harrow's walk"));
}

QTEST_MAIN(ReplayWindowTests)
#include "ReplayWindowTests.moc"
