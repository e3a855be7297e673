// The equipment grid's words against its deeds: for every pair of rows of
// every Raider of both scenarios, with points enough, few and none, what the
// row's tooltip says a second click will do is read as a player reads it, and
// the real click in the window is held to it: the points it costs or leaves,
// the ammunition before and after, and the kit.
#include "RealBattleWindow.h"

#include <QRegularExpression>
#include <QtTest>

using namespace korvath;
using namespace korvath::uitest;

namespace {

// The numbers in a row's words: "Reload Clip — 4 AP, Pulse Rifle's ammo 11 →
// 30", "Swap — 5 AP, leaves −2 AP", "Swap — needs 6 AP, has 2", or words
// that promise no change at all.
struct Told {
    enum Kind { Reload, Swap, Refused, NoChange, Unread } kind = Unread;
    int cost = 0, ammoFrom = -1, ammoTo = -1, has = 0;
    bool leaves = false, full = false;
    int leftAP = 0;
};

int number(const QString& s) {
    return s.startsWith(QChar(0x2212)) ? -s.mid(1).toInt() : s.toInt();
}

Told read(const QString& words) {
    static const QRegularExpression done(QStringLiteral(
        "^(Reload .+|Swap) \u2014 (\\d+) AP(?:, (?:.+'s )?ammo (\\d+) \u2192 (\\d+))?"
        "(, full already: the clip is spent)?(?:, leaves (\u2212\\d+) AP)?$"));
    static const QRegularExpression refused(
        QStringLiteral("^(?:Reload|Swap) \u2014 needs (\\d+) AP, has (\u2212?\\d+)$"));
    Told t;
    if (const auto m = done.match(words); m.hasMatch()) {
        t.kind = m.captured(1) == "Swap" ? Told::Swap : Told::Reload;
        t.cost = m.captured(2).toInt();
        if (m.hasCaptured(3)) t.ammoFrom = m.captured(3).toInt(), t.ammoTo = m.captured(4).toInt();
        t.full = m.hasCaptured(5);
        if (m.hasCaptured(6)) t.leaves = true, t.leftAP = number(m.captured(6));
    } else if (const auto r = refused.match(words); r.hasMatch()) {
        t.kind = Told::Refused;
        t.cost = r.captured(1).toInt();
        t.has = number(r.captured(2));
    } else if (words == "Nothing happens" || words == "Click again to put it back") {
        t.kind = Told::NoChange;
    }
    return t;
}

} // namespace

class KitWindowTests : public QObject {
    Q_OBJECT
  private slots:
    void theRowsSayWhatTheSecondClickDoes_data();
    void theRowsSayWhatTheSecondClickDoes();
};

void KitWindowTests::theRowsSayWhatTheSecondClickDoes_data() {
    QTest::addColumn<int>("scenario");
    QTest::newRow("Korvath Tamberhold") << int(ScenarioId::Korvath);
    QTest::newRow("Starship Vexlar F-242") << int(ScenarioId::Vexlar);
}

void KitWindowTests::theRowsSayWhatTheSecondClickDoes() {
    QFETCH(int, scenario);
    if (!gameBuilt()) QSKIP("the game folder is not built yet");
    BattleWindow bw{ScenarioId(scenario)};
    bw.w->setAnimationScale(0);
    bw.deployAll();
    Battle& b = bw.b;
    auto* grid = bw.control<QTableWidget>("EquipGrid");
    const auto clickRow = [&](int slot) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(slot - 1, 0)).center());
    };
    int raiders = 0, seen[Told::Unread + 1] = {}, leaves = 0;
    for (int i = 1; i <= kMaxPieces; ++i) {
        if (b.Pieces[i].Side != Side::Raiders || b.Pieces[i].X <= 0) continue;
        ++raiders;
        bw.clickSquare(b.Pieces[i].X, b.Pieces[i].Y);
        QCOMPARE(b.SelectedPiece, i);
        bw.click("EquipRadio");
        const BattleState before = b;
        for (int armed = 1; armed <= 6; ++armed)
            for (int slot = 1; slot <= 6; ++slot)
                for (int ap : {before.Pieces[i].AP, 2, 0}) {
                    static_cast<BattleState&>(b) = before;
                    b.Pieces[i].AP = ap;
                    bw.w->sync();
                    clickRow(armed);
                    QCOMPARE(b.SelectedItemSlot, armed);
                    const QString words = grid->item(slot - 1, 0)->toolTip();
                    const PieceRecord was = b.Pieces[i];
                    clickRow(slot);
                    const PieceRecord& now = b.Pieces[i];
                    const QByteArray where =
                        QStringLiteral("soldier %1, rows %2 then %3, %4 AP: \"%5\"")
                            .arg(i)
                            .arg(armed)
                            .arg(slot)
                            .arg(ap)
                            .arg(words)
                            .toUtf8();
                    const Told told = read(words);
                    ++seen[told.kind];
                    auto kit = was.Items;
                    switch (told.kind) {
                    case Told::Reload:
                    case Told::Swap:
                        QVERIFY2(now.AP == was.AP - told.cost, where);
                        // Points below nothing are always told.
                        QVERIFY2(told.leaves == (now.AP < 0), where);
                        if (told.leaves) QVERIFY2(now.AP == told.leftAP, where);
                        // A reload that changes nothing says the clip goes all the same.
                        if (told.kind == Told::Reload)
                            QVERIFY2(told.full == (now.Ammo == was.Ammo), where);
                        if (told.ammoFrom >= 0)
                            QVERIFY2(was.Ammo == told.ammoFrom && now.Ammo == told.ammoTo, where);
                        else
                            QVERIFY2(now.Ammo == was.Ammo, where);
                        if (told.kind == Told::Reload)
                            kit[armed] = 0;
                        else
                            std::swap(kit[armed], kit[slot]);
                        leaves += told.leaves;
                        break;
                    case Told::Refused:
                        QVERIFY2(told.has == was.AP && told.cost > was.AP, where);
                        [[fallthrough]];
                    case Told::NoChange:
                        QVERIFY2(now.AP == was.AP && now.Ammo == was.Ammo, where);
                        break;
                    case Told::Unread:
                        QFAIL(where.constData());
                    }
                    QVERIFY2(now.Items == kit, where);
                }
    }
    QCOMPARE(raiders, 8);
    // The squads' kit reaches every kind of words, the exchange's quirk included.
    QVERIFY(seen[Told::Reload] > 0 && seen[Told::Swap] > 0 && seen[Told::Refused] > 0 &&
            seen[Told::NoChange] > 0);
    if (scenario == int(ScenarioId::Korvath)) QVERIFY(leaves > 0);
}

QTEST_MAIN(KitWindowTests)
#include "KitWindowTests.moc"
