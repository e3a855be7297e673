#pragma once
// Shared by the fuzz targets: inputs made of several files, and a scratch
// game folder to load them from.
#include "game/state/Battle.h"
#include "game/state/HeadlessPorts.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace korvath::fuzz {

// An input holding several files: each starts with a line "==> NAME <==";
// the newline before the next such line belongs to no file. Bytes before the
// first header are kept under "".
std::map<std::string, std::string> splitParts(std::string_view input);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view bytes);

// The folder of the fuzz sources: corpora, dictionaries, past crashes.
std::filesystem::path sourceDir();

// A game folder in a fresh temporary folder (below $TMPDIR), removed at exit:
// plain pictures, sounds and cursors drawn here, the two real scenarios and
// their event files from the seed corpora, and the quick-start games.
const std::filesystem::path& gameFolder();

// Removes everything below the game folder that gameFolder() did not put
// there (saves made by a script).
void resetGameFolder();

// One set of recording ports for the whole run, and emptying its records
// before each input, so that they never grow.
HeadlessPorts& ports();
void resetPorts();

// A korvath battle at difficulty 8 on the game folder, its window shown and
// the quick-start squad deployed, wired to ports().
std::unique_ptr<Battle> deployedBattle();

// What a player does first in a battle that a file has just changed: shows
// the wounds, the overwatch and the healers, picks the next soldiers and arms
// an aimed shot, which draws every soldier's target disc. Buttons are pressed
// only while enabled and shown, as in the window. All of it is quick.
void lookAround(Battle& b);

} // namespace korvath::fuzz
