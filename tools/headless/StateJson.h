#pragma once
#include "game/state/Battle.h"

#include <nlohmann/json.hpp>

namespace korvath {

// The battle as one JSON object, keyed by the game's own names. The caller
// adds what it recorded (sounds, messages, ticks).
nlohmann::json battleJson(Battle& b, bool withMap, bool withGlyphs);
nlohmann::json pieceJson(const PieceRecord& p);
// Every text in it as the window shows it (shownText): the dump is always
// valid UTF-8, whatever bytes the files held.
void showTexts(nlohmann::json& j);

} // namespace korvath
