#include "game/combat/Events.h"

#include "engine/DataError.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/files/EventFiles.h"

// Scenario events: a small file beside the scenario that changes squares of
// the map and brings in reinforcements, run when its turn comes or when its
// objective is destroyed. The file was read with the scenario; here its
// changes are made, in the order and with the pauses of reading it line by line.
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

// A reinforcement arrives in the first free soldier slot from `slot` on,
// unless he comes only at a higher difficulty. Returns why he cannot arrive,
// empty when he did or stayed away.
std::string arrive(Battle& b, const EventFile& file, const EventFile::Arrival& a, int& slot) {
    PieceRecord p = a.piece;
    p.Frame = b.item(p.Items[1]).HeldFrame;
    p.UnderGlyph = kFloorGlyph;
    if (p.MinDifficulty > b.Difficulty) return {};
    const auto fail = [&](const std::string& reason) {
        return DataError(file.path, a.line, reason).what();
    };
    if (!Battle::onMap(p.X, p.Y))
        return fail(p.Name + " would arrive on " + std::to_string(p.X) + ", " +
                    std::to_string(p.Y) + ", outside the map (1..80, 1..50)");
    while (slot <= kMaxPieces && !b.Pieces[slot].Name.empty()) ++slot;
    if (slot > kMaxPieces) return fail("no free soldier slot is left for " + p.Name);
    b.Pieces[slot] = std::move(p);
    return {};
}

// The file's changes in file order, the window's messages let run before
// each entry (and before the bad line that ends the file, if any). Returns
// the error that stopped them, empty when none; what came before it stays.
std::string makeChanges(Battle& b, const EventFile& file) {
    const auto badLine = [&] {
        if (!file.badLine.empty()) letMessagesRun(b);
        return file.badLine;
    };
    for (const EventFile::MapChange& c : file.mapChanges) {
        letMessagesRun(b);
        b.cell(c.x, c.y).Glyph = static_cast<uint8_t>(c.glyph);
        CalculateSolidity(b, c.x, c.y, c.glyph);
        b.log("Some a structure has changed.");
    }
    if (!file.reinforcementSection) return badLine();
    int slot = 1;
    for (const EventFile::Arrival& a : file.arrivals) {
        letMessagesRun(b);
        if (std::string error = arrive(b, file, a, slot); !error.empty()) return error;
    }
    if (std::string error = badLine(); !error.empty()) return error;
    b.log("Reinforcements Arrive!.");
    return {};
}

} // namespace

void RunEventFile(Battle& b, const std::string& name) {
    const auto found = b.eventFiles.find(name);
    if (found == b.eventFiles.end()) {
        b.warning(
            DataError(b.ScenarioName + name + ".txt", 0, "the event was not read with the scenario")
                .what());
        return;
    }
    const EventFile& file = found->second;
    if (!file.unreadable.empty()) {
        b.warning(file.unreadable); // the map and the soldiers stay as they were
        return;
    }
    const auto mapBefore = b.MapGrid;
    const int listedBefore = soldiersListed(b);
    if (const std::string error = makeChanges(b, file); !error.empty()) b.warning(error);
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
