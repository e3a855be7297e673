#pragma once
#include <string>

namespace korvath {

// The game folder: the working directory when it holds scenarios/, otherwise
// the folder of the executable when it does; then the installed game's folder
// (../share/korvath from the executable's folder) when that holds scenarios/;
// failing all, the folder of the executable.
std::string findAppDir(const std::string& executablePath);

// Is dir the game folder of an installed game (share/korvath)? That folder
// belongs to the system's packages: nothing of the player's is written there.
bool isInstalledGameFolder(const std::string& dir);

// The running program's own file (found through /proc), argv0 when that
// cannot be read. argv[0] alone names no folder for a program found on PATH.
std::string executablePath(const char* argv0);

// Turns a game path written with backslashes ("\scenarios\korvath.map") into a
// real path below base. Each component is matched without regard to case, so
// "KorvathIntroPic.bmp" and "korvathIntroPic.bmp" name the same file; a
// component that does not exist yet keeps the spelling given.
std::string gamePath(const std::string& base, const std::string& backslashPath);

bool fileExists(const std::string& path);

// path itself, or the entry of its folder whose name differs from the last
// component only in case ("save_korvath.txt" for "save_korvath.Txt").
std::string matchFileIgnoringCase(const std::string& path);

// Letters compared without regard to case.
bool sameIgnoringCase(const std::string& a, const std::string& b);
bool endsWithIgnoringCase(const std::string& text, const std::string& suffix);

} // namespace korvath
