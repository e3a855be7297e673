#pragma once
#include <QColor>

namespace korvath {

// The colours of everything the battle window draws over the map: the aids'
// lines and marks and the soldiers' overwatch, wounds and healer markers.
// The normal palette is the game's own; the colour-blind safe one never lets
// red against green alone carry a meaning: its colours stay apart for
// red-green colour blindness, and its marks add shapes (a friend in the way
// crossed, the target ringed, a stop square a diamond).
enum class PaletteChoice { Normal, ColourBlind };

struct Palette {
    // The walk: the path he can afford, the one he cannot, the reaction
    // fire it would meet, and the part of the path he would not walk.
    QColor walkAffordable, walkTooDear, walkUnderFire, walkDimmed;
    // The armed shot: its line, what stops it, the moment's mark where a
    // shot stopped, and the enemies a soldier of the player's sees.
    QColor fireLine, friendInTheWay, enemyInTheWay, obstacle, shotMark, seenEnemy;
    // The shot odds' marks.
    QColor oddsFriend, oddsTarget, oddsEnemy, oddsObject;
    // The squares the enemy's overwatch covers.
    QColor fireLane;
    // The soldiers' markers.
    QColor overwatchMarker, woundMarker, healerBack, healerCross;
    // The marks carry shapes as well as colours, captions are written in
    // white beside a bar of their colour.
    bool shapes = false;
};

const Palette& palette(PaletteChoice choice);

// How the battle window looks, as the player chose it.
enum class TextSize { Small, Normal, Large };
struct Look {
    PaletteChoice colours = PaletteChoice::Normal;
    int markerScale = 1; // 1 or 2: the markers and the aids' marks
    TextSize text = TextSize::Normal;
    const Palette& palette() const { return korvath::palette(colours); }
    bool operator==(const Look&) const = default;
};

// How much larger or smaller than designed the panel's, the log's, the
// status bar's and the feed's text is.
double textScale(TextSize size);

} // namespace korvath
