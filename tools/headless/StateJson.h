#pragma once
#include "game/state/Battle.h"

#include <nlohmann/json.hpp>

namespace korvath {

// The battle as one JSON object, keyed by the game's own names. The caller
// adds what it recorded (sounds, messages, ticks).
nlohmann::json battleJson(Battle& b, bool withMap, bool withGlyphs);
nlohmann::json pieceJson(const PieceRecord& p);
// One battle event as an object named by "event"; null for the animation's
// own moments (a trace segment, the end of a shot's animation).
nlohmann::json eventJson(const BattleEvent& e);
// Every text in it as the window shows it (shownText): the dump is always
// valid UTF-8, whatever bytes the files held.
void showTexts(nlohmann::json& j);

} // namespace korvath
