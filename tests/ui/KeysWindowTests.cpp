// The Settings dialog's Keys page and keyboard play in the battle window:
// rebinding never leaves two actions on one key, a rebound End turn still
// reaches the rules as the key they know, and the map cursor's Enter is the
// mouse's click.
#include "RealBattleWindow.h"
#include "ui/BattleAids.h"
#include "ui/KeyboardPlay.h"
#include "ui/Settings.h"
#include "ui/settings/KeyMap.h"
#include "ui/settings/KeysPage.h"
#include "ui/settings/SettingsDialog.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <set>
#include <sstream>

using namespace korvath;
using namespace korvath::uitest;

namespace {

// The recorded lines that begin with `word`, in order.
std::vector<std::string> lines(const std::string& script, const std::string& word) {
    std::vector<std::string> found;
    std::istringstream in(script);
    for (std::string l; std::getline(in, l);)
        if (l.rfind(word + " ", 0) == 0) found.push_back(l);
    return found;
}

QKeyCombination key(const char* text) {
    return QKeySequence::fromString(QString::fromLatin1(text))[0];
}

// Every action's key is its own, and every menu entry has the key the map gives it.
void checkKeysDistinct(TPlayingScreen& w) {
    const KeyMap& map = w.keyboard()->keys();
    std::set<int> seen;
    for (size_t i = 0; i < KeyMap::actions().size(); ++i) {
        const KeyAction& a = KeyMap::actions()[i];
        const QKeyCombination k = map.keyOf(int(i));
        QVERIFY2(seen.insert(k.toCombined()).second, a.title);
        if (a.kind != KeyAction::Kind::Window) continue;
        // A plain character is named in the entry's text, never its shortcut.
        if (auto* entry = w.findChild<QAction*>(QString::fromLatin1(a.target)))
            QCOMPARE(entry->shortcut().isEmpty()
                         ? QKeySequence::fromString(entry->text().section(QLatin1Char('\t'), 1))
                         : entry->shortcut(),
                     QKeySequence(k));
    }
}

} // namespace

class KeysWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        if (!gameBuilt()) QSKIP("the game folder is not built yet");
        // Each test begins with every key and switch as they are at first.
        QFile::remove(Settings::defaultFile());
    }
    void rebindingNeverSharesAKey_data();
    void rebindingNeverSharesAKey();
    void damagedKeysInTheFileFallBack();
    void aReboundEndTurnKeyEndsTheTurn();
    void theCursorClicksAsTheMouseDoes();
};

void KeysWindowTests::rebindingNeverSharesAKey_data() {
    // Each step: action, key, and the refusal expected ("" when accepted).
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("End turn and Cancel swapped")
        << QStringList{"endTurn|E|", "cancel|0|", "endTurn|K|", "stop|X|"};
    QTest::newRow("a taken key refused, naming its action")
        << QStringList{"save|Ctrl+O|Ctrl+O is already the key of Load game",
                       "row1|L|L is already the key of Enemy fire lanes", "quit|Q|",
                       "endTurn|Shift+Q|Q is already the key of Quit"};
    QTest::newRow("the keyboard-play keys are keys like the others")
        << QStringList{"left|A|", "press|Space|", "cancel|Left|", "nextControl|Return|",
                       "row2|Space|Space is already the key of "
                       "Left click at the cursor, or press the button"};
    // Esc keeps the old key while the page waits, so Default key is its way back.
    QTest::newRow("a first key taken back")
        << QStringList{"stop|X|", "stop|default|", "endTurn|E|", "cancel|0|",
                       "endTurn|default|0 is already the key of Cancel"};
}

void KeysWindowTests::rebindingNeverSharesAKey() {
    QFETCH(QStringList, steps);
    BattleWindow bw(ScenarioId::Korvath);
    KeysPage* page = bw.w->settingsDialog()->keysPage();
    page->resetToDefaults();
    for (const QString& step : steps) {
        const QStringList part = step.split('|');
        const int action = KeyMap::find(part[0].toLatin1().constData());
        QVERIFY(action >= 0);
        const QKeyCombination before = bw.w->keyboard()->keys().keyOf(action);
        const QString refused = part[1] == "default"
                                    ? page->useDefault(action)
                                    : page->rebind(action, key(part[1].toLatin1().constData()));
        if (part[1] == "default" && refused.isEmpty())
            QCOMPARE(bw.w->keyboard()->keys().keyOf(action), KeyMap::defaultOf(action));
        QCOMPARE(refused, part[2]);
        if (!refused.isEmpty()) QCOMPARE(bw.w->keyboard()->keys().keyOf(action), before);
        checkKeysDistinct(*bw.w);
    }
    // Kept in the settings file: the next window has the same keys.
    KeyMap again;
    QVERIFY(again.load(bw.w->aids()->settings()).isEmpty());
    for (size_t i = 0; i < KeyMap::actions().size(); ++i)
        QCOMPARE(again.keyOf(int(i)), bw.w->keyboard()->keys().keyOf(int(i)));
    page->resetToDefaults();
    QCOMPARE(bw.w->keyboard()->keys().keyOf(KeyMap::find("endTurn")), key("0"));
}

void KeysWindowTests::damagedKeysInTheFileFallBack() {
    QTemporaryDir dir;
    const struct {
        const char* endTurn;
        const char* cancel;
        bool damaged;
    } files[] = {
        {"E", "0", false},        // a swap, kept whole
        {"Ctrl+Ctrl+", "", true}, // no key
        {"E", "E", true},         // two actions on one key
        {"Ctrl+Shift", "", true}, // only modifiers
    };
    int n = 0;
    for (const auto& f : files) {
        Settings s(dir.filePath(QString("k%1.ini").arg(++n)), dir.filePath("note"));
        s.setText("keys/endTurn", f.endTurn);
        if (*f.cancel) s.setText("keys/cancel", f.cancel);
        KeyMap map;
        QCOMPARE(!map.load(s).isEmpty(), f.damaged);
        QCOMPARE(map.keyOf(KeyMap::find("endTurn")), f.damaged ? key("0") : key(f.endTurn));
        // Told once: the file has the defaults now.
        if (f.damaged) QVERIFY(KeyMap().load(s).isEmpty());
    }
}

void KeysWindowTests::aReboundEndTurnKeyEndsTheTurn() {
    BattleWindow bw(ScenarioId::Korvath);
    bw.w->setAnimationScale(0);
    bw.w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bw.w));
    bw.deployAll();
    KeysPage* page = bw.w->settingsDialog()->keysPage();
    QCOMPARE(page->rebind(KeyMap::find("endTurn"), key("E")), QString());
    const int turn = bw.b.TurnNumber;
    QTest::keyClick(bw.w, Qt::Key_0);
    QCOMPARE(bw.b.TurnNumber, turn);
    QTest::keyClick(bw.w, Qt::Key_E);
    QTRY_VERIFY_WITH_TIMEOUT(bw.b.HumanTurn && bw.b.TurnNumber == turn + 1, 20000);
    // The rules and the replay saw their own key.
    const auto keys = lines(bw.w->recording().script(), "key");
    QVERIFY(std::find(keys.begin(), keys.end(), "key 0") != keys.end());
    QVERIFY(std::find(keys.begin(), keys.end(), "key e") == keys.end());
    page->resetToDefaults();
}

void KeysWindowTests::theCursorClicksAsTheMouseDoes() {
    // The same select and walk, by the mouse and by the cursor.
    std::vector<std::string> clicks[2];
    Point walked[2];
    for (int keyboard = 0; keyboard < 2; ++keyboard) {
        BattleWindow bw(ScenarioId::Korvath);
        bw.w->setAnimationScale(0);
        bw.w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(bw.w));
        bw.deployAll();
        const size_t deployed = lines(bw.w->recording().script(), "click").size();
        const int man = bw.firstRaider();
        const PieceRecord& p = bw.b.Pieces[man];
        const int x = p.X, y = p.Y;
        if (keyboard) {
            bw.w->findChild<QAction*>("KeyboardCursor1")->setChecked(true);
            bw.w->keyboard()->moveCursorTo({x, y});
            QTest::keyClick(bw.w, Qt::Key_Return);
            // Shift+Enter asks what a walk one square down costs, as the right button does.
            QTest::keyClick(bw.w, Qt::Key_Down);
            QTest::keyClick(bw.w, Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClick(bw.w, Qt::Key_Up);
            for (int i = 0; i < 3; ++i) QTest::keyClick(bw.w, Qt::Key_Right);
            QCOMPARE(bw.w->keyboard()->cursorSquare(), QPoint(x + 3, y));
            QTest::keyClick(bw.w, Qt::Key_Return);
        } else {
            bw.clickSquare(x, y);
            QTest::mouseClick(bw.w->mapImage(), Qt::RightButton, {},
                              QPoint(squareCentre(x), squareCentre(y + 1)));
            bw.clickSquare(x + 3, y);
        }
        QTRY_VERIFY(!ruleRunning(bw.b, Rule::Command));
        const auto all = lines(bw.w->recording().script(), "click");
        clicks[keyboard].assign(all.begin() + long(deployed), all.end());
        walked[keyboard] = {p.X, p.Y};
        QVERIFY(bw.b.PieceSelected);
        if (keyboard) {
            // Tab reaches the panel's buttons; Enter presses the one reached.
            QTest::keyClick(bw.w, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), bw.control("AimedFireIcon"));
            QTest::keyClick(bw.w, Qt::Key_Return);
            QVERIFY(bw.b.FireMode);
        }
    }
    QCOMPARE(clicks[1], clicks[0]);
    QCOMPARE(clicks[0].size(), size_t(3));
    QVERIFY(clicks[0][1].find(" right") != std::string::npos);
    QCOMPARE(walked[1].x, walked[0].x);
    QCOMPARE(walked[1].y, walked[0].y);
}

QTEST_MAIN(KeysWindowTests)
#include "KeysWindowTests.moc"
