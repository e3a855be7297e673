// How the battle window looks: the colour-blind palette keeps the aids'
// colours apart for red-green colour blindness, the normal palette is the
// game's own, and the panel holds at every text size in the smallest window.
#include "RealBattleWindow.h"
#include "ui/BattleAids.h"
#include "ui/look/Palette.h"
#include "ui/look/WindowLook.h"

#include <QImage>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QtTest>

#include <array>
#include <cmath>

using namespace korvath;
using namespace korvath::uitest;

namespace {

// ---- colour vision: sRGB -> (simulated dichromacy) -> CIELAB -> CIEDE2000 ----

using Vec = std::array<double, 3>;
using Matrix = std::array<Vec, 3>;

// Machado, Oliveira and Fernandes (2009), severity 1.0, on linear RGB.
constexpr Matrix kNormalSight = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};

double linear(int c) {
    const double v = c / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

Vec labSeen(const QColor& c, const Matrix& m) {
    const Vec rgb = {linear(c.red()), linear(c.green()), linear(c.blue())};
    Vec s{};
    for (int i = 0; i < 3; ++i)
        s[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    const double x = (0.4124564 * s[0] + 0.3575761 * s[1] + 0.1804375 * s[2]) / 0.95047;
    const double y = 0.2126729 * s[0] + 0.7151522 * s[1] + 0.0721750 * s[2];
    const double z = (0.0193339 * s[0] + 0.1191920 * s[1] + 0.9503041 * s[2]) / 1.08883;
    auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double deltaE2000(const Vec& p, const Vec& q) {
    const double deg = M_PI / 180;
    const double c1 = std::hypot(p[1], p[2]), c2 = std::hypot(q[1], q[2]);
    const double cb7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cb7 / (cb7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * p[1], a2 = (1 + g) * q[1];
    const double c1p = std::hypot(a1, p[2]), c2p = std::hypot(a2, q[2]);
    auto hue = [&](double b, double a) {
        return a == 0 && b == 0 ? 0.0 : std::fmod(std::atan2(b, a) / deg + 360, 360);
    };
    const double h1 = hue(p[2], a1), h2 = hue(q[2], a2);
    double dh = 0;
    if (c1p * c2p != 0) {
        dh = h2 - h1;
        if (dh > 180) dh -= 360;
        if (dh < -180) dh += 360;
    }
    const double dL = q[0] - p[0], dC = c2p - c1p;
    const double dH = 2 * std::sqrt(c1p * c2p) * std::sin(dh * deg / 2);
    const double lb = (p[0] + q[0]) / 2, cbp = (c1p + c2p) / 2;
    double hb = h1 + h2;
    if (c1p * c2p != 0)
        hb = std::abs(h1 - h2) <= 180 ? (h1 + h2) / 2
             : h1 + h2 < 360          ? (h1 + h2 + 360) / 2
                                      : (h1 + h2 - 360) / 2;
    const double t = 1 - 0.17 * std::cos((hb - 30) * deg) + 0.24 * std::cos(2 * hb * deg) +
                     0.32 * std::cos((3 * hb + 6) * deg) - 0.20 * std::cos((4 * hb - 63) * deg);
    const double dTheta = 30 * std::exp(-std::pow((hb - 275) / 25, 2));
    const double cbp7 = std::pow(cbp, 7);
    const double rc = 2 * std::sqrt(cbp7 / (cbp7 + std::pow(25.0, 7)));
    const double sl = 1 + 0.015 * (lb - 50) * (lb - 50) / std::sqrt(20 + (lb - 50) * (lb - 50));
    const double sc = 1 + 0.045 * cbp, sh = 1 + 0.015 * cbp * t;
    const double rt = -std::sin(2 * dTheta * deg) * rc;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dC / sc) * (dH / sh));
}

// Every colour the aids and markers choose, with what it means. Colours of
// one meaning may be alike (told apart by shape or place); any two
// meanings must stay apart.
struct Role {
    const char* name;
    QColor Palette::*colour;
    const char* meaning;
};
const Role kRoles[] = {
    {"walkAffordable", &Palette::walkAffordable, "safe"},
    {"walkTooDear", &Palette::walkTooDear, "warning"},
    {"walkUnderFire", &Palette::walkUnderFire, "enemy fire"},
    {"fireLine", &Palette::fireLine, "the shot"},
    {"friendInTheWay", &Palette::friendInTheWay, "warning"},
    {"enemyInTheWay", &Palette::enemyInTheWay, "enemy"},
    {"obstacle", &Palette::obstacle, "object"},
    {"shotMark", &Palette::shotMark, "mark"},
    {"seenEnemy", &Palette::seenEnemy, "enemy"},
    {"oddsFriend", &Palette::oddsFriend, "warning"},
    {"oddsTarget", &Palette::oddsTarget, "enemy"},
    {"oddsEnemy", &Palette::oddsEnemy, "enemy"},
    {"oddsObject", &Palette::oddsObject, "object"},
    {"fireLane", &Palette::fireLane, "enemy fire"},
    {"overwatchMarker", &Palette::overwatchMarker, "mark"},
    {"woundMarker", &Palette::woundMarker, "warning"},
    {"healerBack", &Palette::healerBack, "mark"},
    {"healerCross", &Palette::healerCross, "safe"},
};

// The least CIEDE2000 distance between two meanings, as one sight sees them.
std::pair<double, QString> closestMeanings(const Palette& p, const Matrix& sight) {
    std::pair<double, QString> least{1e9, {}};
    for (const Role& a : kRoles)
        for (const Role& b : kRoles) {
            if (QLatin1String(a.meaning) >= QLatin1String(b.meaning)) continue;
            const double d = deltaE2000(labSeen(p.*a.colour, sight), labSeen(p.*b.colour, sight));
            if (d < least.first) least = {d, QStringLiteral("%1/%2").arg(a.name, b.name)};
        }
    return least;
}

} // namespace

class LookTests : public QObject {
    Q_OBJECT
  private slots:
    void coloursStayApartForRedGreenBlindness_data();
    void coloursStayApartForRedGreenBlindness();
    void normalPaletteIsTheGamesOwn();
    void markersCoverTheGamesOwnOnTheWindowOnly_data();
    void markersCoverTheGamesOwnOnTheWindowOnly();
    void settingsPageAndMenuAgree();
    void panelHoldsAtEveryTextSize_data();
    void panelHoldsAtEveryTextSize();
};

void LookTests::coloursStayApartForRedGreenBlindness_data() {
    QTest::addColumn<int>("sight");
    QTest::newRow("normal sight") << 0;
    QTest::newRow("deuteranopia") << 1;
    QTest::newRow("protanopia") << 2;
}

void LookTests::coloursStayApartForRedGreenBlindness() {
    QFETCH(int, sight);
    const Matrix& m = sight == 0 ? kNormalSight : sight == 1 ? kDeuteranopia : kProtanopia;
    const auto [safe, pair] = closestMeanings(palette(PaletteChoice::ColourBlind), m);
    const auto [normal, normalPair] = closestMeanings(palette(PaletteChoice::Normal), m);
    qInfo("least ΔE2000: colour-blind palette %.1f (%s), normal palette %.1f (%s)", safe,
          qPrintable(pair), normal, qPrintable(normalPair));
    QVERIFY2(safe >= 20, qPrintable(pair));
    // Within one meaning the colour-blind palette keeps to one colour.
    for (const Role& a : kRoles)
        for (const Role& b : kRoles)
            if (QLatin1String(a.meaning) == QLatin1String(b.meaning))
                QCOMPARE(palette(PaletteChoice::ColourBlind).*a.colour,
                         palette(PaletteChoice::ColourBlind).*b.colour);
}

void LookTests::normalPaletteIsTheGamesOwn() {
    const Palette& p = palette(PaletteChoice::Normal);
    QVERIFY(!p.shapes);
    const std::pair<QColor, QColor> colours[] = {
        {p.walkAffordable, QColor(70, 230, 70)},    {p.walkTooDear, QColor(240, 60, 50)},
        {p.walkUnderFire, QColor(255, 150, 40)},    {p.walkDimmed, QColor(60, 60, 60, 230)},
        {p.fireLine, QColor(255, 220, 60)},         {p.friendInTheWay, QColor(255, 40, 40)},
        {p.enemyInTheWay, QColor(70, 230, 70)},     {p.obstacle, QColor(255, 150, 40)},
        {p.seenEnemy, QColor(255, 230, 90)},        {p.shotMark, QColor(255, 255, 255)},
        {p.oddsFriend, QColor(255, 40, 40)},        {p.oddsTarget, QColor(70, 230, 70)},
        {p.oddsEnemy, QColor(200, 230, 70)},        {p.oddsObject, QColor(255, 150, 40)},
        {p.overwatchMarker, QColor(255, 255, 255)}, {p.woundMarker, QColor(255, 0, 0)},
        {p.healerBack, QColor(255, 255, 255)},      {p.healerCross, QColor(255, 0, 0)},
    };
    for (const auto& [got, want] : colours) QCOMPARE(got, want);
}

void LookTests::markersCoverTheGamesOwnOnTheWindowOnly_data() {
    QTest::addColumn<QString>("colours");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("redShown");
    QTest::newRow("normal 1x") << "ColoursNormal1"
                               << "MarkerSize1x1" << true;
    QTest::newRow("normal 2x") << "ColoursNormal1"
                               << "MarkerSize2x1" << true;
    QTest::newRow("colour-blind 1x") << "ColoursColourBlind1"
                                     << "MarkerSize1x1" << false;
    QTest::newRow("colour-blind 2x") << "ColoursColourBlind1"
                                     << "MarkerSize2x1" << false;
}

// A wounded healer on the window: the game's red wound dot and red cross
// show only in the normal palette, and the battle's own picture keeps them
// whatever the look.
void LookTests::markersCoverTheGamesOwnOnTheWindowOnly() {
    QFETCH(QString, colours);
    QFETCH(QString, size);
    QFETCH(bool, redShown);
    if (!gameBuilt()) QSKIP("no game folder");
    BattleWindow bw(ScenarioId::Korvath);
    bw.deployAll();
    const int i = bw.firstRaider();
    PieceRecord& p = bw.b.Pieces[i];
    p.Wounds = p.MaxWounds - 1;
    p.Overwatch = true;
    drawPieces(bw.b);
    bw.w->findChild<QAction*>(colours)->trigger();
    bw.w->findChild<QAction*>(size)->trigger();
    bw.w->sync(true);
    const QRect square((p.X - 1) * kSquare, (p.Y - 1) * kSquare, kSquare, kSquare);
    auto redIn = [&](auto pixel) {
        int red = 0;
        for (int y = 0; y < kSquare; ++y)
            for (int x = 0; x < kSquare; ++x) red += pixel(x, y) == rgb(255, 0, 0);
        return red;
    };
    const int inPicture = redIn(
        [&](int x, int y) { return bw.b.TerrainBitmap.pixel(square.x() + x, square.y() + y); });
    QVERIFY(inPicture >= 10);
    const QImage shown = bw.w->mapImage()->grab(square).toImage();
    const int onWindow = redIn([&](int x, int y) { return Rgb(shown.pixel(x, y) & 0xffffff); });
    QCOMPARE(onWindow > 0, redShown);
}

// The Settings dialog's page changes the same settings as the menu, and
// the menu follows it.
void LookTests::settingsPageAndMenuAgree() {
    if (!gameBuilt()) QSKIP("no game folder");
    BattleWindow bw(ScenarioId::Korvath);
    bw.w->findChild<QAction*>("ColoursNormal1")->trigger();
    bw.w->findChild<QAction*>("MarkerSize1x1")->trigger();
    Settings& settings = bw.w->aids()->settings();
    std::unique_ptr<QWidget> page(makeLookPage(
        settings, [&] { bw.w->look()->settingsChanged(); }, nullptr));
    QCOMPARE(page->findChild<QComboBox*>("LookColours")->currentIndex(), 0);
    page->findChild<QComboBox*>("LookColours")->setCurrentIndex(1);
    page->findChild<QComboBox*>("LookMarkerSize")->setCurrentIndex(1);
    QCOMPARE(settings.colours(), 1);
    QVERIFY(bw.w->findChild<QAction*>("ColoursColourBlind1")->isChecked());
    QVERIFY(bw.w->findChild<QAction*>("MarkerSize2x1")->isChecked());
    QVERIFY(bw.w->aids()->markers()->drawing());
}

void LookTests::panelHoldsAtEveryTextSize_data() {
    QTest::addColumn<QString>("entry");
    QTest::newRow("small") << "TextSmall1";
    QTest::newRow("normal") << "TextNormal1";
    QTest::newRow("large") << "TextLarge1";
}

// Every label of the information panel and the actions bar, the status
// bar's message and the log: none cut, none over another.
void LookTests::panelHoldsAtEveryTextSize() {
    QFETCH(QString, entry);
    if (!gameBuilt()) QSKIP("no game folder");
    BattleWindow bw(ScenarioId::Korvath);
    auto* log = bw.control<QPlainTextEdit>("WhatisHappening");
    bw.w->findChild<QAction*>("TextNormal1")->trigger();
    const int designedLog = QFontInfo(log->font()).pixelSize();
    bw.w->findChild<QAction*>(entry)->trigger();
    bw.deployAll();
    bw.clickSquare(bw.b.Pieces[bw.firstRaider()].X, bw.b.Pieces[bw.firstRaider()].Y);
    const QSize smallest = ClientArea::kSmallestSize;
    bw.w->resize(smallest + QSize(0, bw.w->height() - bw.w->centralWidget()->height()));
    QTRY_COMPARE(bw.w->centralWidget()->size(), smallest);
    bw.w->sync();
    const int shownLog = QFontInfo(log->font()).pixelSize();
    QVERIFY(entry == "TextSmall1"   ? shownLog < designedLog
            : entry == "TextLarge1" ? shownLog > designedLog
                                    : shownLog == designedLog);

    std::vector<QLabel*> labels;
    for (const char* parent : {"PiecesInfoPanel", "GameControls"})
        for (QLabel* l : bw.control(parent)->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (l->isVisible() && !l->text().isEmpty()) labels.push_back(l);
    QVERIFY(labels.size() >= 20);
    for (QLabel* l : labels) {
        const QString text =
            l->property("fullText").isValid() ? l->property("fullText").toString() : l->text();
        const int flags = l->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
        const QRect room = l->contentsRect();
        const QRect need =
            QFontMetrics(l->font()).boundingRect(QRect(0, 0, room.width(), 1000), flags, text);
        QVERIFY2(l->text() == text && need.width() <= room.width() &&
                     need.height() <= room.height(),
                 qPrintable(l->objectName() + ": " + text));
    }
    for (QLabel* a : labels)
        for (QLabel* b : labels) {
            if (a >= b) continue;
            const QRect ra(a->mapTo(bw.w, QPoint()), a->size());
            const QRect rb(b->mapTo(bw.w, QPoint()), b->size());
            QVERIFY2(!ra.intersects(rb), qPrintable(a->text() + " / " + b->text()));
        }
    // The status bar holds a line of its text.
    auto* status = bw.control<QStatusBar>("StatusArea");
    status->showMessage("Heal Kira Sol: +4 wounds, 5 AP");
    QVERIFY(status->height() >= QFontMetrics(status->font()).height());
}

QTEST_MAIN(LookTests)
#include "LookTests.moc"
