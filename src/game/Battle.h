#pragma once
#include "Controls.h"
#include "Ports.h"
#include "Records.h"
#include "engine/Random.h"
#include "engine/Raster.h"

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace korvath {

// One entry of the "On the ground" list.
struct PickEntry {
    int item = 0;  // equipment type
    int owner = 0; // soldier carrying it, 0 = lying on the floor
    int slot = 0;  // owner's slot 1..6, 0 for a floor item
};

// The whole game: scenario settings, battle tables and flags, pictures and the
// controls of the battle window. One lives for the process; tests make their own.
struct Battle {
    Battle();

    // ---- Scenario settings (chosen on the front screen) ----
    std::string AppDir;
    std::string ScenarioName;
    std::string BlocksFile;
    std::string UnitsFile;
    uint8_t VsComputer = 1;
    uint8_t HumanSide = 1;
    uint8_t CurrentSide = 1;
    std::array<std::string, 5> SideNames{};
    uint8_t Difficulty = 3;
    uint8_t ObjectiveX = 0;
    uint8_t ObjectiveY = 0;
    std::array<TurnEvents, kMaxEvents + 1> TurnEventList{};

    // ---- Tables ----
    std::array<PieceRecord, kMaxPieces + 1> Pieces{};
    // Squares 1..80 x 1..50 with a zero border on every side (0 and 81, 0 and 51).
    std::array<std::array<MapCell, kMapHeight + 2>, kMapWidth + 2> MapGrid{};
    std::array<EquipmentType, kMaxEquipment + 1> EquipmentTypes{};
    std::array<GlyphRecord, kMaxGlyphs + 1> Glyphs{};
    // UnitPictures[row 1..16][frame 1..8]
    std::array<std::array<Raster, kPictureFrames + 1>, kPictureRows + 1> UnitPictures{};
    Raster TerrainBitmap;
    Raster MapImage;
    Raster OverHeadMapImage{240, 150};
    std::array<double, 361> CosTable{};
    std::array<double, 361> SinTable{};

    // ---- Battle flags ----
    int32_t TurnNumber = 1;
    uint8_t SelectedPiece = 0;
    bool PieceSelected = false;
    bool HumanTurn = false;
    bool FireMode = false;
    bool HandFightMode = false;
    bool MapClicksEnabled = true;
    bool StopRequested = false;
    bool GameOver = false;
    uint8_t SelectedItemSlot = 0;
    std::array<uint8_t, 6> RecentPieces{}; // slots 1..5
    uint8_t RecentIndex = 1;
    std::vector<PickEntry> PickList; // entries numbered from 1 in list order: PickList[n-1]

    Random rng;
    Controls controls;
    Ports ports;

    // ---- Rule state beyond the window's own flags ----
    bool EndTurnRunning = false; // a second End Turn while the computer moves is ignored
    bool developerMode = false;  // KORVATH_DEVELOPER=1 shows the hidden Options entries
    // Bad data met during play (a weapon's damage dice …) is told to the player once.
    std::set<std::string> dataErrorsShown;
    // The shield pictures of the actions bar: a hit halved / cancelled by toughness.
    bool defenseShieldVisible = false, defenseShieldExcludeVisible = false;
    // The node grid window: shown or not, and its cells [X 1..80][Y 1..50].
    bool nodeGridVisible = false;
    std::array<std::array<int32_t, kMapHeight + 1>, kMapWidth + 1> NodeGrid{};

    // Names (without ".wav") of the waves in the loaded collection.
    std::set<std::string> waveNames;
    // True while a battle window exists (between creation and closing).
    bool windowOpen = false;
    // Frame of the deployment portrait: UnitPictures[controls.whatManPicture][whatManFrame].
    int whatManFrame = 0;

    // ---- Helpers used everywhere ----
    MapCell& cell(int x, int y) { return MapGrid[x][y]; }
    // Any square, also off the grid: outside reads as the zero border.
    MapCell cellAt(int x, int y) const {
        if (x < 0 || y < 0 || x > kMapWidth + 1 || y > kMapHeight + 1) return {};
        return MapGrid[x][y];
    }
    static bool onMap(int x, int y) {
        return x >= 1 && x <= kMapWidth && y >= 1 && y <= kMapHeight;
    }
    // The equipment type in a slot; index 0 or out of range is the empty item.
    const EquipmentType& item(int index) const {
        return index >= 1 && index <= kMaxEquipment ? EquipmentTypes[index] : EquipmentTypes[0];
    }
    const GlyphRecord& glyph(int index) const {
        return index >= 1 && index <= kMaxGlyphs ? Glyphs[index] : Glyphs[0];
    }

    void log(const std::string& line) { controls.log(line); }
    void play(const std::string& name) {
        if (ports.sound) ports.sound->play(name);
    }
    void information(const std::string& text) {
        if (ports.dialogs) ports.dialogs->information(text);
    }

    // ---- The screen copy ----
    // Rectangle of MapImage changed since the window last painted it.
    struct Dirty {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool empty() const { return right <= left || bottom <= top; }
    } dirty;
    void markDirty(int left, int top, int right, int bottom);
    // Copy square (X, Y) / the whole picture from TerrainBitmap to MapImage.
    // Copying the whole picture copies only the squares where the two may
    // differ: the screen comes out the same, pixel for pixel.
    void copySquare(int x, int y);
    void copyAll();
    // Both pictures new and blank, 2560 x 1600; nothing known to be in sync.
    void resetPictures();
    // Are square (X, Y)'s pixels the same on both pictures, as far as the
    // pictures' change counts tell?
    bool squareInSync(int x, int y) const;

    // For each square (row-major, from 0): the change counts of its tile on
    // TerrainBitmap and MapImage when the two were last made equal there.
    struct SyncedTile {
        uint32_t terrain = 0, screen = 0;
    };
    std::vector<SyncedTile> syncedTiles;
    // For each square, what was last drawn there (0: nothing known; a
    // soldier's look from placePieces, or a glyph) and the terrain tile's
    // change count right after: the same drawn again on an untouched square
    // changes nothing and is skipped. The pictures drawn from must not change
    // while this is kept: resetPictures() forgets it.
    struct DrawnLook {
        uint64_t look = 0;
        uint32_t terrain = 0;
    };
    std::vector<DrawnLook> drawnLooks;
    // The terrain's squares as a shot last saved them, to erase its trace
    // again (made when first needed), and the terrain's change count of each
    // square when it was saved (0: never).
    struct ShotShadow {
        std::vector<Raster> squares;
        std::vector<uint32_t> versions;
    } shotShadow;
    // The overhead map as last drawn: each cell's colour, and the picture's
    // change counts right after, so that only changed cells are filled again.
    struct Overhead {
        std::vector<Rgb> colours;
        std::vector<uint32_t> tiles;
    } overhead;
    // Draw a glyph's picture onto TerrainBitmap at square (X, Y).
    void drawGlyph(int x, int y, int glyph);
};

// Sets a square's Solidity from a glyph; glyphs outside 1..156 keep the stored value.
void CalculateSolidity(Battle& b, int x, int y, int glyph);

} // namespace korvath
