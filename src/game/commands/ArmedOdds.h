#pragma once
#include "game/combat/BlowOdds.h"
#include "game/combat/ShotOdds.h"

#include <string>
#include <vector>

// The question the odds aid asks at the pointer: what the selected soldier's
// armed shot or blow would do if the map were clicked at this pixel, decided
// by the same conditions as the click. It only reads the battle.
namespace korvath {

struct ArmedOdds {
    enum Kind { None, Shot, Blow } kind = None;
    ShotOdds shot;
    BlowOdds blow;
};

// None where the click would fire no shot and strike no enemy.
ArmedOdds armedOdds(const BattleState& b, int mx, int my);

// The odds in words, most likely first: for a shot, the chances for the
// soldier on the square aimed at ("Hit 62% · kill 31%", or the likeliest end
// when nobody stands there) and then every other outcome ("Friend Dask in the
// way 8%", "Stopped by Thorn bush 20%", "Out of range 4%"); for a blow one
// line, "Lands 45% · parried 25% · kill 12%". Empty for None.
std::vector<std::string> oddsLines(const BattleState& b, const ArmedOdds& odds);
// 62%, and <1% for a chance too small to round up to one.
std::string chanceText(double p);

} // namespace korvath
