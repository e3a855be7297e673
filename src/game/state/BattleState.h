#pragma once
#include "engine/Random.h"
#include "engine/Raster.h"
#include "game/state/EventFile.h"
#include "game/state/Records.h"
#include "game/state/Shown.h"

#include <array>
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

// The shot a click on the map fires: which of the two shot buttons is down.
enum class ArmedShot { None, Aimed, Quick };

// Numbers for the summary at the end of a battle. Never saved.
struct BattleTally {
    int shotsFired = 0; // by the player's side
    int hits = 0;       // of those, shots that struck a soldier of the other side
    // Counted when the battle window closes, before the soldier table is emptied.
    bool counted = false;
    bool decided = false; // the battle was over (won or lost) when it closed
    bool won = false;
    int turns = 0;
    int operativesKilled = 0;
    int raidersLost = 0;
};

// Rules that must not run inside themselves, and their depth.
enum class Rule { Command, EndTurn, Count };

// A walker may enter an open square, a square a soldier stands on, and a door
// ("access"), whatever its class.
constexpr bool passableSquare(int solidity, bool door) {
    return solidity < 2 || door;
}

// Everything the rules read and write: the scenario settings, the tables, the
// turn and the flags, the game's generator and the terrain picture whose
// pixels the shots read, and what the window shows of them (Shown). Only rules
// write it; the window shows it. A copy of it is the whole battle.
struct BattleState : Shown {
    BattleState();

    // ---- Scenario settings (chosen on the front screen) ----
    std::string AppDir;
    std::string ScenarioName;
    std::string BlocksFile;
    std::string UnitsFile;
    // A player's own scenario: the folder its files are in (empty for the two
    // that come with the game) and the name the player knows it by.
    std::string ScenarioFolder;
    std::string ScenarioTitle;
    uint8_t VsComputer = 1;
    uint8_t HumanSide = Side::Raiders;
    uint8_t CurrentSide = Side::Raiders;
    std::array<std::string, 5> SideNames{};
    uint8_t Difficulty = 3;
    uint8_t ObjectiveX = 0;
    uint8_t ObjectiveY = 0;
    std::array<TurnEvents, kMaxEvents + 1> TurnEventList{};
    // The event files of TurnEventList and of the "event..." glyphs, read with the scenario.
    EventFiles eventFiles;

    // ---- Tables ----
    std::array<PieceRecord, kMaxPieces + 1> Pieces{};
    // Squares 1..80 x 1..50 with a zero border on every side (0 and 81, 0 and 51).
    std::array<std::array<MapCell, kMapHeight + 2>, kMapWidth + 2> MapGrid{};
    std::array<EquipmentType, kMaxEquipment + 1> EquipmentTypes{};
    std::array<GlyphRecord, kMaxGlyphs + 1> Glyphs{};
    // UnitPictures[row 1..16][frame 1..8]
    std::array<std::array<Raster, kPictureFrames + 1>, kPictureRows + 1> UnitPictures{};
    // The whole battlefield as the shots and the sight of the discs see it.
    Raster TerrainBitmap;
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

    // ---- Rule state the window only shows ----
    ArmedShot armedShot = ArmedShot::None;
    bool deploying = false;   // the deployment list is up
    bool sightTraces = false; // the developer's sight traces (lasts for the whole run)
    // The three marker switches of the Options menu.
    bool showWounds = true, showOverwatch = true, showHealers = true;
    // The shields of the actions bar: a hit halved / cancelled by toughness.
    bool hitHalved = false, hitCancelled = false;
    // The battle's numbers for its summary.
    BattleTally tally;
    // The battle is over and its window is to close once the running command ends.
    bool closeRequested = false;
    // True while a battle window exists (between creation and closing).
    bool windowOpen = false;
    bool developerMode = false; // KORVATH_DEVELOPER=1 shows the hidden Options entries
    // The node grid window: shown or not, and its cells [X 1..80][Y 1..50].
    bool nodeGridVisible = false;
    std::array<std::array<int32_t, kMapHeight + 1>, kMapWidth + 1> NodeGrid{};
    // Bad data met during play (a weapon's damage dice …) is told to the player once.
    std::set<std::string> dataErrorsShown;
    // Names (without ".wav") of the waves in the loaded collection.
    std::set<std::string> waveNames;
    // How deep each guarded rule is running now (RuleGuard).
    std::array<int, static_cast<size_t>(Rule::Count)> running{};

    // ---- The terrain picture's bookkeeping ----
    // For each square (row-major, from 0), what was last drawn there (0:
    // nothing known; a soldier's look, or a glyph) and the terrain square's
    // change count right after: the same drawn again on an untouched square
    // changes nothing and is skipped. The pictures drawn from must not
    // change while this is kept (forgetDrawings()).
    struct DrawnLook {
        uint64_t look = 0;
        uint32_t terrain = 0;
    };
    std::vector<DrawnLook> drawnLooks;
    // The terrain's squares as a shot last saved them, to erase its trace
    // again (made when first needed), and each square's change count then.
    struct ShotShadow {
        std::vector<Raster> squares;
        std::vector<uint32_t> versions;
    } shotShadow;
    void forgetDrawings() {
        drawnLooks.clear();
        shotShadow = {};
    }

    // ---- Helpers used everywhere ----
    MapCell& cell(int x, int y) { return MapGrid[x][y]; }
    // Any square, also off the grid: outside reads as the zero border.
    MapCell cellAt(int x, int y) const { return inGrid(x, y) ? MapGrid[x][y] : MapCell{}; }
    static bool onMap(int x, int y) {
        return x >= 1 && x <= kMapWidth && y >= 1 && y <= kMapHeight;
    }
    // The map with its border of one square on every side.
    static bool inGrid(int x, int y) {
        return x >= 0 && y >= 0 && x <= kMapWidth + 1 && y <= kMapHeight + 1;
    }
    bool isDoor(int glyph) const { return this->glyph(glyph).Action == "access"; }
    // May a walk be ordered onto square (x, y), or lead over it?
    bool passable(int x, int y) const {
        const MapCell c = cellAt(x, y);
        return passableSquare(c.Solidity, isDoor(c.Glyph));
    }
    // The equipment type in a slot; index 0 or out of range is the empty item.
    const EquipmentType& item(int index) const {
        return index >= 1 && index <= kMaxEquipment ? EquipmentTypes[index] : EquipmentTypes[0];
    }
    const GlyphRecord& glyph(int index) const {
        return index >= 1 && index <= kMaxGlyphs ? Glyphs[index] : Glyphs[0];
    }
    // Draw a glyph's picture onto TerrainBitmap at square (X, Y).
    void drawGlyph(int x, int y, int glyph);
};

// Sets a square's Solidity from a glyph; glyphs outside 1..156 keep the stored value.
void CalculateSolidity(BattleState& b, int x, int y, int glyph);

// Marks a guarded rule as running for as long as it runs, however it ends.
// nested() tells whether it was running already when this one began.
class RuleGuard {
  public:
    RuleGuard(BattleState& b, Rule rule) : depth_(b.running[static_cast<size_t>(rule)]) {
        ++depth_;
    }
    ~RuleGuard() { --depth_; }
    RuleGuard(const RuleGuard&) = delete;
    RuleGuard& operator=(const RuleGuard&) = delete;
    bool nested() const { return depth_ > 1; }

  private:
    int& depth_;
};

inline bool ruleRunning(const BattleState& b, Rule rule) {
    return b.running[static_cast<size_t>(rule)] > 0;
}

} // namespace korvath
