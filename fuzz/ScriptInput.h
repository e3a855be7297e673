#pragma once
// Scripts and replays made quick and harmless for fuzzing, shared by the
// script and replay targets.
#include "game/state/Battle.h"

#include <string>
#include <string_view>

namespace korvath::fuzz {

// The script is trimmed: at most 60 lines, "repeat" counts of at most 2 (a
// repeat inside another runs once), at most three "button EndTurn", a saved
// game's path always in the game folder's savedgames/ and a save never over a
// quick-start game. The battle's "start SCENARIO [DIFFICULTY]" (the first one
// before any command but "seed", "time" and "replay") costs nothing: each
// such battle is started once and copied (startedBattle).
struct TrimmedScript {
    std::string text;      // without the battle's start
    std::string withStart; // with it, where it stood
    std::string start = "korvath 3";
    bool saves = false; // the game folder needs sweeping afterwards
};
TrimmedScript trimmedScript(std::string_view input);

// The battle "start KEY" makes on the fuzz game folder, made at the first call.
const Battle& startedBattle(const std::string& key);

// Plays `text` on the fuzz program's one script driver (its pictures' memory
// is reused), from a copy of the battle s started, its output discarded; then
// sweeps the game folder when the script saved.
void playScript(const TrimmedScript& s, const std::string& text);

} // namespace korvath::fuzz
