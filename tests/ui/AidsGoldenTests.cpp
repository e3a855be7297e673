// The golden battles played in the battle window with every aid on: the mouse
// passes over each square before it is clicked, so the path preview and the
// line of fire are worked out all along, the seen enemies are marked, each
// shot is told and every turn is autosaved. The soldiers, the squares, the
// turn, the log and the generator must end exactly as the stored battle says.
#include "StateJson.h"
#include "TestData.h"
#include "game/commands/Recording.h"
#include "game/files/SavedGame.h"
#include "game/state/Pieces.h"
#include "ui/BattleAids.h"
#include "ui/TPlayingScreen.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace korvath;
namespace fs = std::filesystem;

namespace {

// The script's time of day; boxes pass unseen.
struct ScriptPorts : Clock, Dialogs {
    int ms = 0;
    uint32_t ticks() override { return 0; }
    int msSinceMidnight() override { return ms; }
    void information(const std::string&) override {}
    std::string openFile(const FileQuestion&) override { return {}; }
    std::string saveFile(const FileQuestion&) override { return {}; }
};

// A golden script played through the window's own controls.
class WindowPlayer {
  public:
    explicit WindowPlayer(const fs::path& script) {
        std::ifstream in(script);
        for (std::string line; std::getline(in, line);)
            if (auto w = scriptWords(line); !w.empty()) lines_.push_back(std::move(w));
        b_.AppDir = game_.path.string();
        b_.ports.clock = &ports_;
        b_.ports.dialogs = &ports_;
    }
    ~WindowPlayer() {
        if (w_) w_->close();
    }

    // Plays lines [from, to); a "repeat" starts no pass once the battle is decided.
    void play(size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            if (lines_[i][0] != "repeat") {
                step(lines_[i]);
                continue;
            }
            size_t end = i + 1;
            for (int depth = 1; depth > 0; ++end)
                depth += lines_[end][0] == "repeat" ? 1 : lines_[end][0] == "end" ? -1 : 0;
            --end; // the block's own "end"
            for (int n = std::stoi(lines_[i][1]); n > 0 && !b_.GameOver; --n) play(i + 1, end);
            i = end;
        }
    }
    size_t size() const { return lines_.size(); }
    Battle& battle() { return b_; }

  private:
    void step(const std::vector<std::string>& w) {
        if (w[0] == "start") {
            chooseScenario(b_, w[1] == "vexlar" ? ScenarioId::Vexlar : ScenarioId::Korvath,
                           std::stoi(w[2]));
            w_ = std::make_unique<TPlayingScreen>(b_, nullptr, nullptr);
            w_->setAttribute(Qt::WA_DeleteOnClose, false);
            w_->setEdgeScrolling(false);
            w_->FormCreate();
            Settings& s = w_->aids()->settings();
            s.setAnimationSpeed(Settings::AnimationSpeed::Instant);
            if (!s.seenEnemies()) w_->aids()->entry("SeenEnemies1")->trigger();
            if (!s.fireLanes()) w_->aids()->entry("FireLanes1")->trigger();
            w_->show();
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
        } else if (w[0] == "time") {
            ports_.ms = parseTimeOfDay(w[1]);
        } else if (w[0] == "seed") {
            b_.rng.setSeed(uint32_t(std::stoul(w[1])));
        } else if (w[0] != "dump") {
            if (w[0] == "square") { // the mouse comes over the square first
                const QPointF at(squareCentre(std::stoi(w[1])), squareCentre(std::stoi(w[2])));
                QMouseEvent move(QEvent::MouseMove, at, w_->mapImage()->mapToGlobal(at),
                                 Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(w_->mapImage(), &move);
            }
            QCOMPARE(w_->runScripted(w), std::string());
        }
    }

    std::vector<std::vector<std::string>> lines_;
    test::LinkedGameFolder game_{KORVATH_GAME_DIR};
    Battle b_;
    ScriptPorts ports_;
    std::unique_ptr<TPlayingScreen> w_;
};

} // namespace

class AidsGoldenTests : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void goldenBattlesEndAsStoredWithEveryAidOn_data();
    void goldenBattlesEndAsStoredWithEveryAidOn();

  private:
    QTemporaryDir home_;
};

void AidsGoldenTests::initTestCase() {
    // The player's own settings and saved games stay out of the tests' way.
    qputenv("XDG_CONFIG_HOME", (home_.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (home_.path() + "/data").toUtf8());
    if (!fs::exists(fs::path(KORVATH_GAME_DIR) / "scenarios"))
        QSKIP("the game folder is not built");
}

void AidsGoldenTests::goldenBattlesEndAsStoredWithEveryAidOn_data() {
    QTest::addColumn<QString>("script");
    for (const QString& name : QDir(KORVATH_GOLDEN_DIR).entryList({"*.kvs"}, QDir::Files))
        QTest::newRow(qPrintable(name)) << QString(KORVATH_GOLDEN_DIR "/") + name;
}

void AidsGoldenTests::goldenBattlesEndAsStoredWithEveryAidOn() {
    QFETCH(QString, script);
    WindowPlayer player(script.toStdString());
    player.play(0, player.size());
    Battle& b = player.battle();
    nlohmann::json played = battleJson(b, true, false);
    played["seed"] = b.rng.seed();
    played["draws"] = b.rng.draws();
    const fs::path stored = fs::path(script.toStdString()).replace_extension(".golden");
    const nlohmann::json expected = nlohmann::json::parse(test::readFile(stored));
    // What the rules decide.
    for (const char* key :
         {"TurnNumber", "GameOver", "CurrentSide", "Pieces", "map", "log", "seed", "draws"})
        QVERIFY2(played[key] == expected.at(key), key);
    // The player's turns were kept.
    QVERIFY(fs::exists(fs::path(savedGamesFolder(b)) / ("autosave1_" + b.ScenarioName + ".map")));
}

QTEST_MAIN(AidsGoldenTests)
#include "AidsGoldenTests.moc"
