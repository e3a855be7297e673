#pragma once
#include "assets/MapSource.h"
#include "assets/ScenarioText.h"

#include <QImage>

namespace korvath::assets {

// The whole battlefield (2560 x 1600) as the battle starts at the given
// difficulty: terrain from the tile sheet, soldiers from the unit sheet, the
// Raiders standing on the start stars in reading order.
QImage renderBattlefield(const TextMap& map, const QImage& tiles, const QImage& units,
                         const ScenarioText& scenario, int difficulty);

// The front screen's scenario picture (273 x 169): the battlefield shrunk, with its name.
QImage smallMap(const QImage& battlefield, const QString& title);

// The front screen's title picture (259 x 200).
QImage frontPicture();

// The briefing background (480 x 340): a light slate from (14, 66) on which
// the briefing is written in black from (25, 75).
QImage briefingPicture();

// The briefing as the player sees it: the lines written one below the other
// from (25, 75) in 9-point Verdana (or the nearest font there is), in black.
QImage briefingWithText(QImage picture, const std::vector<std::string>& lines);

} // namespace korvath::assets
