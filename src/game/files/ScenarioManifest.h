#pragma once
#include <array>
#include <string>

namespace korvath {

class TextFile;

// What the front screen needs to start a scenario: the settings it fixes
// before the battle window reads the scenario's files, the name the player
// knows it by, and its text and picture on the front screen.
struct ScenarioManifest {
    std::string Title;
    std::string ScenarioName; // base name of the scenario's files
    std::string BlocksFile;   // the tiles bitmap
    std::string UnitsFile;    // the soldier pictures
    int ObjectiveX = 0;
    int ObjectiveY = 0;
    std::string FrontText; // the front screen's text; empty: none
    std::string Picture;   // the front screen's picture; empty: drawn from the map
    bool operator==(const ScenarioManifest&) const = default;
};

// The two scenarios that come with the game: Korvath Tamberhold and the
// Starship Vexlar F-242. Their files lie in the game folder's scenarios/ and
// graphics/, the front texts in scenarios/, the pictures in graphics/.
const std::array<ScenarioManifest, 2>& shippedScenarios();

// A player's scenario is a folder holding its files and this manifest.
constexpr const char* kManifestFile = "scenario.txt";

// The manifest's lines: "Korvath scenario", then KEY<TAB>VALUE for Title,
// ScenarioName, BlocksFile, UnitsFile, ObjectiveX, ObjectiveY and, if
// wanted, FrontText and Picture. Every name is a plain file name of the
// folder: nothing that could lead out of it. Throws DataError naming the file
// and line.
ScenarioManifest readManifest(TextFile& file);
std::string manifestText(const ScenarioManifest& m);

// A name the game may build file names from: letters, digits, '_' and '-'.
bool isScenarioName(const std::string& name);
// A file of the folder itself: not empty, no '/' or '\', not "." or "..",
// not hidden, no control characters.
bool isPlainFileName(const std::string& name);

} // namespace korvath
