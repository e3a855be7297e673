#include "game/combat/Events.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/files/ScenarioFiles.h"

#include <optional>

// Scenario events: a small file beside the scenario that changes squares of
// the map and brings in reinforcements, read when its turn comes or when its
// objective is destroyed.
namespace korvath {

namespace {

void letMessagesRun(Battle& b) {
    b.letMessagesRun();
}

int soldiersListed(const Battle& b) {
    int n = 0;
    for (int i = 1; i <= kMaxPieces; ++i) n += !b.Pieces[i].Name.empty();
    return n;
}

int squaresChanged(const Battle& b, const decltype(BattleState::MapGrid)& before) {
    int n = 0;
    for (int x = 1; x <= kMapWidth; ++x)
        for (int y = 1; y <= kMapHeight; ++y) n += b.MapGrid[x][y].Glyph != before[x][y].Glyph;
    return n;
}

// "column TAB row TAB glyph". Checked whole before anything changes.
void applyMapChange(Battle& b, const TextFile& f, const std::string& line) {
    const auto fields = splitTabs(line, 3);
    if (fields.size() != 3)
        f.fail("a map change needs column, row and glyph separated by tabs: \"" + line + "\"");
    const int x = f.toInt(fields[0], "the column");
    const int y = f.toInt(fields[1], "the row");
    const int g = f.toInt(fields[2], "the glyph");
    if (!Battle::onMap(x, y))
        f.fail("the square " + std::to_string(x) + ", " + std::to_string(y) +
               " is outside the map (1..80, 1..50)");
    if (g < 1 || g > kMaxGlyphs) f.fail("the glyph " + std::to_string(g) + " is not 1..255");
    b.cell(x, y).Glyph = static_cast<uint8_t>(g);
    CalculateSolidity(b, x, y, g);
}

// One reinforcement line: stored in the first free soldier slot from `slot`
// on, unless the piece comes only at a higher difficulty.
void addReinforcement(Battle& b, const TextFile& f, const std::string& line, int& slot) {
    PieceRecord p = parseUnitLine(f, line);
    p.Frame = b.item(p.Items[1]).HeldFrame;
    p.UnderGlyph = kFloorGlyph;
    if (p.MinDifficulty > b.Difficulty) return;
    if (!Battle::onMap(p.X, p.Y))
        f.fail(p.Name + " would arrive on " + std::to_string(p.X) + ", " + std::to_string(p.Y) +
               ", outside the map (1..80, 1..50)");
    while (slot <= kMaxPieces && !b.Pieces[slot].Name.empty()) ++slot;
    if (slot > kMaxPieces) f.fail("no free soldier slot is left for " + p.Name);
    b.Pieces[slot] = std::move(p);
}

// Reads the file's sections in order. A bad line stops the reading there;
// what came before it stays in effect.
void readSections(Battle& b, TextFile& f) {
    std::string line = f.readLine();
    if (line == ":Mapchanges") {
        f.readLine(); // heading
        line = f.readLine();
        do {
            letMessagesRun(b);
            applyMapChange(b, f, line);
            line = f.readLine();
            b.log("Some a structure has changed.");
        } while (line != ":EndMapChanges");
    }
    line = f.readLine();
    if (line == ":Reinforcements") {
        line = f.readLine();
        int slot = 1;
        do {
            letMessagesRun(b);
            addReinforcement(b, f, line, slot);
            line = f.readLine();
        } while (line != ":EndReinforcements" && !line.empty());
        b.log("Reinforcements Arrive!.");
    }
}

} // namespace

void RunEventFile(Battle& b, const std::string& name) {
    const std::string path = gamePath(b.AppDir, "\\scenarios\\" + b.ScenarioName + name + ".txt");
    std::optional<TextFile> file;
    try {
        file = TextFile::load(path);
    } catch (const DataError& e) {
        b.warning(e.what()); // the map and the soldiers stay as they were
        return;
    }
    const auto mapBefore = b.MapGrid;
    const int listedBefore = soldiersListed(b);
    try {
        readSections(b, *file);
    } catch (const DataError& e) {
        b.warning(e.what());
    }
    const ScenarioEventRun run{name, squaresChanged(b, mapBefore),
                               soldiersListed(b) - listedBefore};

    // Every living soldier's weapon in hand is fully loaded again.
    for (int i = 1; i <= kMaxPieces; ++i) {
        PieceRecord& p = b.Pieces[i];
        if (p.Wounds <= 0) continue;
        p.Frame = b.item(p.Items[1]).HeldFrame;
        p.Ammo = b.item(p.Items[1]).Capacity;
    }
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) b.drawGlyph(x, y, b.cell(x, y).Glyph);
    placePieces(b);
    tell(b, run);
}

} // namespace korvath
