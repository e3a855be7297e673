#include "game/commands/SaveLoad.h"

#include "engine/DataError.h"
#include "engine/Paths.h"

#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/files/EventFiles.h"

#include <filesystem>

namespace korvath {

namespace {

bool containsIgnoringCase(const std::string& text, const std::string& what) {
    for (size_t at = 0; at + what.size() <= text.size(); ++at)
        if (sameIgnoringCase(text.substr(at, what.size()), what)) return true;
    return false;
}

void replaceAll(std::string& s, const std::string& what) {
    if (what.empty()) return;
    for (size_t at; (at = s.find(what)) != std::string::npos;) s.erase(at, what.size());
}

// A save cut short in any folder the dialog shows is finished (or undone)
// before the player sees the sets there.
void finishInterruptedSavesIn(const FileQuestion& q) {
    finishInterruptedSaves(q.initialDir);
    for (const auto& folder : q.otherFolders) finishInterruptedSaves(folder);
}

FileQuestion savedGameQuestion(const Battle& b) {
    FileQuestion q{savedGamesFolder(b), "Saved Games|*" + b.ScenarioName + ".map", "*.map", {}};
    for (const auto& saves : {gamePath(b.AppDir, "\\savedgames"), userSavedGamesFolder()})
        if (const std::string folder = scenarioSaves(b, saves); folder != q.initialDir)
            q.otherFolders.push_back(folder);
    return q;
}

} // namespace

void applySavedGame(Battle& b, const SavedGame& g) {
    // A saved game holds no history: nothing before the load can be taken back.
    b.undo.end(UndoBarrier::Loaded);
    for (auto& p : b.Pieces) {
        p.Name.clear();
        p.X = 0;
    }
    b.TurnNumber = g.turnNumber;
    // The summary counts the shots of the battle as loaded.
    b.tally = {};
    for (int i = 1; i <= kMaxPieces; ++i) b.Pieces[i] = g.pieces[i];
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) b.MapGrid[x][y] = g.map[x][y];

    // The event files are read afresh with the set, as when the battle began.
    b.eventFiles = readEventFiles(b);

    b.PieceSelected = false;
    // Nothing of the abandoned battle stays shown or armed: the loaded one
    // starts with nobody selected (a shot left armed would be fired by
    // whoever has that soldier's number in the loaded battle).
    b.FireMode = b.HandFightMode = false;
    b.armedShot = ArmedShot::None;
    b.SelectedItemSlot = 0;
    b.panel = PanelTexts{};
    b.portrait = Portrait{};
    b.actionButtons = ActionButtons::all(false);
    b.dropOffered = false;
    b.PickList.clear();
    b.pickRow = b.equipRow = -1;
    b.cursor = b.mapCursor = CursorShape::Default;
    endDeployment(b);
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) {
            b.drawGlyph(x, y, b.cell(x, y).Glyph);
            CalculateSolidity(b, x, y, b.cell(x, y).Glyph);
        }
    placePieces(b);
    b.play("prompt");
    b.copyAll();
    DrawOverheadMap(b);
}

void saveClick(Battle& b) {
    if (!b.ports.dialogs) return;
    const FileQuestion question = savedGameQuestion(b);
    finishInterruptedSavesIn(question);
    std::string name = b.ports.dialogs->saveFile(question);
    if (b.ports.watcher) b.ports.watcher->fileChosen(name);
    if (name.empty()) return;
    const std::string chosen = name;
    // Only the file's own name loses the scenario and the ".map": the folders
    // on the way keep theirs.
    const size_t slash = name.find_last_of('/') + 1;
    std::string file = name.substr(slash);
    replaceAll(file, "_" + b.ScenarioName);
    replaceAll(file, ".map");
    name = name.substr(0, slash) + file;
    b.cursor = CursorShape::Hourglass;
    b.play("save");
    try {
        writeSavedGame(b, name);
    } catch (const DataError& e) {
        b.cursor = CursorShape::Default;
        b.warning("The game could not be saved as " + chosen + ".\n\n" + e.what());
        return;
    }
    b.information("Game has been saved");
    b.cursor = CursorShape::Default;
}

void LoadClick(Battle& b) {
    if (!b.ports.dialogs) return;
    const FileQuestion question = savedGameQuestion(b);
    finishInterruptedSavesIn(question);
    const std::string name = b.ports.dialogs->openFile(question);
    if (b.ports.watcher) b.ports.watcher->fileChosen(name);
    if (name.empty() || !containsIgnoringCase(name, ".map")) return;
    // The set holds no more than soldiers, squares and the turn: its tiles and
    // equipment come from the scenario being played, so a game saved in the
    // other scenario would be drawn with the wrong pictures.
    const std::string suffix = "_" + b.ScenarioName + ".map";
    if (!endsWithIgnoringCase(name, suffix)) {
        b.warning("The game could not be loaded: " + name +
                  " is not a saved game of this scenario (its name must end in " + suffix + ").");
        return;
    }
    b.cursor = CursorShape::Hourglass;
    b.play("load");
    // The companion files are found like every other game file, whatever
    // the case of their names.
    const std::string base = name.substr(0, name.size() - 4);
    std::unique_ptr<SavedGame> g;
    try {
        const std::filesystem::path folder = std::filesystem::path(name).parent_path();
        finishInterruptedSaves(folder.empty() ? std::string(".") : folder.string());
        g = readSavedGame(matchFileIgnoringCase(base + ".Txt"),
                          matchFileIgnoringCase(base + ".dat"), name);
    } catch (const DataError& e) {
        // Nothing of the running battle has changed.
        b.cursor = CursorShape::Default;
        b.warning(std::string("The game could not be loaded: ") + e.what());
        return;
    }
    applySavedGame(b, *g);
    b.cursor = CursorShape::Default;
    b.information("Game has been loaded");
}

} // namespace korvath
