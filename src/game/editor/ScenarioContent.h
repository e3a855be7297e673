#pragma once
#include "engine/Raster.h"
#include "engine/WallJoins.h"
#include "game/editor/LinedText.h"
#include "game/files/CommitRecord.h"
#include "game/files/SavedGame.h"
#include "game/files/ScenarioFiles.h"
#include "game/files/ScenarioManifest.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace korvath {

// Everything of a scenario the editor changes, as the game's own files hold
// it: its manifest, the map, the glyph description, the scenario description,
// the event files (by event name: the file is ScenarioName + name + ".txt")
// and the front screen's text. Lines nobody changed are written back as
// they were read.
struct ScenarioContent {
    ScenarioManifest manifest;
    MapSquares map{};
    LinedText glyphDesc;
    LinedText desc;
    std::map<std::string, LinedText> events;
    LinedText frontText;
    bool operator==(const ScenarioContent&) const = default;
};

// What the editor shows a scenario with, and the files it carries along
// unchanged: pictures of its own in its folder (tiles, soldiers, the front
// picture, the briefing picture).
struct ScenarioPictures {
    std::array<Raster, kLastTileGlyph + 1> tiles; // glyphs 1..156
    std::array<std::array<Raster, kPictureFrames + 1>, kPictureRows + 1> units;
    WallJoins joins;                                     // empty for a tile set without
    std::map<std::string, std::vector<uint8_t>> carried; // file name -> bytes
    std::vector<uint8_t> introPicture;                   // ScenarioName + "IntroPic.bmp"
};

// Reading: a shipped scenario (0 Korvath, 1 Vexlar) from the game folder, or
// a player's scenario from its folder. Throws DataError naming the file and
// line, as the game would refuse it.
ScenarioContent readShippedScenario(const std::string& appDir, int index);
ScenarioContent readScenarioContent(const std::string& folder);
// The names of the events a scenario uses: those it schedules and those its
// event tiles (glyphs whose action begins "event") name.
std::vector<std::string> eventNames(const ScenarioContent& c);

// The tiles, soldier pictures and wall joins of the manifest's pictures, and
// the pictures of its own in `folder` ("" for none).
ScenarioPictures readScenarioPictures(const std::string& appDir, const std::string& folder,
                                      const ScenarioManifest& m);

// The files of the scenario, ready to be written into `folder` as one: the
// manifest, map, glyph and scenario descriptions, event files, front text,
// the front picture (drawn from the map unless the scenario brings its own)
// and the pictures it carries.
std::vector<FileToWrite> scenarioFiles(const ScenarioContent& c, const ScenarioPictures& p,
                                       const std::string& folder);
// Writes them as a whole (as saved games are written): cut short at any
// moment, the folder holds the old scenario or the new one, never a mix.
void writeScenario(const ScenarioContent& c, const ScenarioPictures& p, const std::string& folder,
                   const SaveFiles& files = diskFiles());

// The front picture's name and size when drawn from the map.
constexpr const char* kDrawnPicture = "front.bmp";
constexpr const char* kFrontTextFile = "front.txt";

} // namespace korvath
