#include "game/commands/Scenario.h"

#include "engine/Paths.h"
#include "engine/TextFile.h"
#include "game/display/Display.h"
#include "game/files/EventFiles.h"
#include "game/files/ScenarioFiles.h"
#include "game/files/ScenarioPaths.h"
#include "game/files/ScenarioPictures.h"

namespace korvath {

namespace {

// Everything read from the scenario's files before any of it is applied.
struct LoadedScenario {
    std::set<std::string> waveNames;
    TilePictures tiles;
    MapSquares map{};
    std::array<GlyphTexts, kMaxGlyphs + 1> glyphTexts;
    SoldierPictures units;
    ScenarioDescription description;
};

LoadedScenario readScenario(const Battle& b) {
    LoadedScenario s;
    const std::string& dir = b.AppDir;

    s.waveNames = readWaveNames(gamePath(dir, "\\sound\\KorvathWavs.dxw"));
    for (const char* cursor : {"\\graphics\\sword.cur", "\\graphics\\aim.cur"})
        requireCursor(gamePath(dir, cursor));
    s.tiles = readTilePictures(graphicsFilePath(b, b.BlocksFile));

    s.map = readMapFile(scenarioFilePath(b, b.ScenarioName + ".map"));

    for (int g = 0; g <= kMaxGlyphs; ++g)
        s.glyphTexts[g] = {b.Glyphs[g].Description, b.Glyphs[g].Action};
    TextFile glyphFile = TextFile::load(scenarioFilePath(b, b.ScenarioName + "GlyphDesc.txt"));
    applyGlyphFile(glyphFile, s.glyphTexts);

    s.units = readSoldierPictures(graphicsFilePath(b, b.UnitsFile));

    TextFile desc = TextFile::load(scenarioFilePath(b, b.ScenarioName + "Desc.txt"));
    s.description = readScenarioDescription(desc, b.Difficulty);
    return s;
}

void fillDeploymentList(Battle& b) {
    b.deploymentList.clear();
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X == 0 && p.Side == b.HumanSide && !p.Name.empty())
            b.deploymentList.push_back({static_cast<uint8_t>(i), false});
    }
    b.SelectedPiece = static_cast<uint8_t>(b.deploymentList.size());
    b.deploying = !b.deploymentList.empty();
    if (b.deploymentList.empty()) endDeployment(b);
}

// Opens the view on the start stars, so the player sees where to deploy
// without hunting for them.
void showLandingZone(Battle& b) {
    long sumX = 0, sumY = 0, stars = 0;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x)
            if (b.cell(x, y).Glyph == kStartStarGlyph) {
                sumX += x;
                sumY += y;
                ++stars;
            }
    if (stars == 0) return;
    ScrollToPoint(b, static_cast<int>(sumX * kSquare / stars) - kSquare / 2,
                  static_cast<int>(sumY * kSquare / stars) - kSquare / 2);
}

// The summary's numbers, counted before the soldier table is emptied.
void countTheBattle(Battle& b) {
    BattleTally& t = b.tally;
    t.counted = true;
    t.turns = b.TurnNumber;
    t.operativesKilled = t.raidersLost = 0;
    bool raidersLeft = false, operativesLeft = false;
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.Name.empty()) continue;
        const bool alive = p.Wounds > 0;
        if (p.Side == b.HumanSide) {
            raidersLeft |= alive;
            t.raidersLost += !alive;
        } else {
            operativesLeft |= alive;
            t.operativesKilled += !alive;
        }
    }
    t.decided = b.GameOver || !raidersLeft || !operativesLeft;
    t.won = t.decided && raidersLeft;
}

} // namespace

void chooseScenario(Battle& b, const ScenarioManifest& m, const std::string& folder,
                    int difficulty) {
    b.Difficulty = static_cast<uint8_t>(std::clamp(difficulty, 1, 8));
    b.ScenarioName = m.ScenarioName;
    b.BlocksFile = m.BlocksFile;
    b.UnitsFile = m.UnitsFile;
    b.ObjectiveX = static_cast<uint8_t>(m.ObjectiveX);
    b.ObjectiveY = static_cast<uint8_t>(m.ObjectiveY);
    b.ScenarioFolder = folder;
    b.ScenarioTitle = m.Title;
    b.VsComputer = 1;
    b.HumanSide = Side::Raiders;
    b.SideNames[Side::Raiders] = "Raiders";
    b.SideNames[Side::Operatives] = "Operatives";
}

void chooseScenario(Battle& b, ScenarioId which, int difficulty) {
    chooseScenario(b, shippedScenarios()[which == ScenarioId::Korvath ? 0 : 1], {}, difficulty);
}

void createBattle(Battle& b) {
    // Read and check every file first: a bad file leaves the battle untouched.
    LoadedScenario s = readScenario(b);
    b.undo.end(UndoBarrier::Other);

    b.GameOver = false;
    b.MapClicksEnabled = true;
    b.StopRequested = false;
    b.CurrentSide = b.HumanSide;
    b.FireMode = b.HandFightMode = false;
    b.PieceSelected = false;
    b.SelectedItemSlot = 0;
    b.PickList.clear();
    // A new window with its own switches; the sight traces last for the whole run.
    static_cast<Shown&>(b) = Shown{};
    b.armedShot = ArmedShot::None;
    b.showWounds = b.showOverwatch = b.showHealers = true;
    b.hitHalved = b.hitCancelled = false;
    b.tally = {};
    b.closeRequested = false;
    b.dirty = {};
    b.waveNames = std::move(s.waveNames);

    b.resetPictures();
    b.FloorArt = Raster(); // until the window asks for it
    // The view as the window first shows it; the window tells a new size.
    b.view = View::opening(kMapPanelWidth, kMapPanelHeight);

    for (int g = 1; g <= kMaxGlyphs; ++g)
        b.Glyphs[g].Picture =
            g <= kLastTileGlyph ? std::move(s.tiles[g]) : Raster(kSquare, kSquare);

    for (auto& column : b.MapGrid) column.fill(MapCell{});
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) {
            b.MapGrid[x][y] = s.map[x][y];
            CalculateSolidity(b, x, y, s.map[x][y].Glyph);
        }
    drawTerrain(b);

    for (int g = 0; g <= kMaxGlyphs; ++g) {
        b.Glyphs[g].Description = s.glyphTexts[g].Description;
        b.Glyphs[g].Action = s.glyphTexts[g].Action;
    }
    b.UnitPictures = std::move(s.units);

    for (auto& p : b.Pieces) p = PieceRecord{};
    for (size_t i = 0; i < s.description.units.size(); ++i)
        b.Pieces[i + 1] = s.description.units[i];
    for (auto& e : b.EquipmentTypes) e = EquipmentType{};
    for (size_t i = 0; i < s.description.equipment.size(); ++i)
        b.EquipmentTypes[i + 1] = s.description.equipment[i];
    for (auto& e : b.TurnEventList) e = TurnEvents{};
    if (s.description.events) {
        const auto& events = *s.description.events;
        b.TurnEventList[0].Turn = static_cast<int32_t>(events.size());
        for (size_t i = 0; i < events.size(); ++i) b.TurnEventList[i + 1] = events[i];
    }
    b.eventFiles = readEventFiles(b);

    for (int i = 1; i <= kMaxPieces; ++i) {
        PieceRecord& p = b.Pieces[i];
        if (p.Wounds <= 0) continue;
        const EquipmentType& hand = b.item(p.Items[1]);
        p.Frame = p.Items[1] == 0 ? 0 : hand.HeldFrame;
        p.Ammo = p.Items[1] == 0 ? 0 : hand.Capacity;
    }

    b.windowOpen = true;
    fillDeploymentList(b);
    placePieces(b);
    if (b.deploying) showLandingZone(b);
    b.HumanTurn = true;
    b.showRuleState();
}

void showFloorArt(Battle& b, const Raster& art) {
    b.setFloorArt(art);
    if (b.floorsShown()) b.recomposeFrom(b.TerrainBitmap);
}

void showBattle(Battle& b) {
    b.TurnNumber = 1;
    b.RecentPieces.fill(0);
    b.RecentIndex = 1;
    b.SelectedItemSlot = 0;
    b.PieceSelected = false;
}

void activateBattle(Battle& b) {
    b.play("intro");
    DrawOverheadMap(b);
    b.FireMode = false;
    b.PieceSelected = false;
}

void closeBattle(Battle& b) {
    b.undo.end(UndoBarrier::Other);
    if (b.windowOpen) countTheBattle(b);
    b.TerrainBitmap = Raster();
    b.MapImage = Raster();
    b.FloorArt = Raster();
    b.syncedTiles.clear();
    b.forgetDrawings();
    for (auto& row : b.UnitPictures)
        for (auto& pic : row) pic = Raster();
    for (auto& g : b.Glyphs) g.Picture = Raster(kSquare, kSquare);
    // The next battle starts from an empty soldier table.
    for (auto& p : b.Pieces) {
        p.Name.clear();
        p.X = 0;
    }
    b.dirty = {};
    b.windowOpen = false;
    b.closeRequested = false;
}

bool quitBattle(Battle& b) {
    if (!b.HumanTurn) {
        b.log("Wait until computer it is your turn before quiting.");
        return false;
    }
    closeBattle(b);
    return true;
}

void endDeployment(Battle& b) {
    // Cancel, End turn and the information panel come with the end of deployment.
    b.deploying = false;
    if (!b.TerrainBitmap.empty()) {
        for (int y = 1; y <= kMapHeight; ++y)
            for (int x = 1; x <= kMapWidth; ++x)
                if (b.cell(x, y).Glyph == kStartStarGlyph) {
                    b.cell(x, y).Glyph = kFloorGlyph;
                    b.drawGlyph(x, y, kFloorGlyph);
                }
        b.copyAll();
    }
}

} // namespace korvath
