#include "Palette.h"

namespace korvath {

namespace {

Palette normalPalette() {
    Palette p;
    p.walkAffordable = QColor(70, 230, 70);
    p.walkTooDear = QColor(240, 60, 50);
    p.walkUnderFire = QColor(255, 150, 40);
    p.walkDimmed = QColor(60, 60, 60, 230);
    p.fireLine = QColor(255, 220, 60);
    p.friendInTheWay = QColor(255, 40, 40);
    p.enemyInTheWay = QColor(70, 230, 70);
    p.obstacle = QColor(255, 150, 40);
    p.shotMark = QColor(255, 255, 255);
    p.seenEnemy = QColor(255, 230, 90);
    p.oddsFriend = QColor(255, 40, 40);
    p.oddsTarget = QColor(70, 230, 70);
    p.oddsEnemy = QColor(200, 230, 70);
    p.oddsObject = QColor(255, 150, 40);
    p.fireLane = QColor(255, 150, 40);
    p.overwatchMarker = QColor(255, 255, 255);
    p.woundMarker = QColor(255, 0, 0);
    p.healerBack = QColor(255, 255, 255);
    p.healerCross = QColor(255, 0, 0);
    return p;
}

// Seven colours that stay at least 20 apart (CIEDE2000) for normal sight,
// deuteranopia and protanopia alike: they differ in lightness and along the
// blue-yellow axis, which red-green colour blindness keeps. Each meaning has
// one of them; meanings that share one are told apart by shape or place.
Palette colourBlindPalette() {
    const QColor safe(67, 175, 247);     // sky blue
    const QColor danger(207, 132, 3);    // orange
    const QColor enemyFire(143, 88, 69); // rust
    const QColor shot(255, 255, 14);     // yellow
    const QColor enemy(21, 73, 234);     // blue
    const QColor object(172, 155, 154);  // stone grey
    const QColor white(255, 255, 255);
    Palette p;
    p.walkAffordable = safe;
    p.walkTooDear = danger;
    p.walkUnderFire = enemyFire;
    p.walkDimmed = QColor(60, 60, 60, 230);
    p.fireLine = shot;
    p.friendInTheWay = danger;
    p.enemyInTheWay = enemy;
    p.obstacle = object;
    p.shotMark = white;
    p.seenEnemy = enemy;
    p.oddsFriend = danger;
    p.oddsTarget = enemy;
    p.oddsEnemy = enemy;
    p.oddsObject = object;
    p.fireLane = enemyFire;
    p.overwatchMarker = white;
    p.woundMarker = danger;
    p.healerBack = white;
    p.healerCross = safe;
    p.shapes = true;
    return p;
}

} // namespace

const Palette& palette(PaletteChoice choice) {
    static const Palette normal = normalPalette();
    static const Palette colourBlind = colourBlindPalette();
    return choice == PaletteChoice::ColourBlind ? colourBlind : normal;
}

double textScale(TextSize size) {
    switch (size) {
    case TextSize::Small:
        return 0.85;
    case TextSize::Large:
        return 1.25;
    case TextSize::Normal:
        break;
    }
    return 1.0;
}

} // namespace korvath
