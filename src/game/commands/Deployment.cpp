#include "game/commands/Deployment.h"
#include "game/state/Pieces.h"

#include "game/commands/Commands.h"
#include "game/commands/Inventory.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/display/InfoPanel.h"

#include <charconv>

namespace korvath {

namespace {

// Column 0 of a placed soldier's row.
const char* const kPlacedMark = "----";
constexpr int kEmptyHandFrame = 7;

// The soldier still waiting to be placed in row `row` of the deployment list
// (column 1 holds his index); 0 for a placed row or a row that names nobody.
int waitingSoldier(const Battle& b, int row) {
    const auto& rows = b.controls.PlaceMenGrid.rows;
    if (row < 0 || row >= static_cast<int>(rows.size()) || rows[row].size() < 2) return 0;
    if (rows[row][0] == kPlacedMark) return 0;
    const std::string& cell = rows[row][1];
    int i = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), i);
    if (ec != std::errc{} || end != cell.data() + cell.size()) return 0;
    if (!isPiece(b, i)) return 0;
    return i;
}

// The portrait goes dark for a moment and comes back with soldier i.
void showPortrait(Battle& b, int i) {
    const PieceRecord& p = b.Pieces[i];
    b.controls.whatManPicture = 0;
    b.repaint();
    b.beat(Beat::PortraitBlink);
    b.controls.whatManPicture = p.Picture >= 1 && p.Picture <= kPictureRows ? p.Picture : 0;
    b.whatManFrame = p.Frame >= 1 && p.Frame <= kPictureFrames ? p.Frame : kEmptyHandFrame;
    b.repaint();
}

} // namespace

void PlaceMenGridClick(Battle& b, int row) {
    Control& grid = b.controls.PlaceMenGrid;
    if (!b.deploying) {
        EquipGridClick(b, row);
        return;
    }
    // A click below the last row picks nothing.
    if (row < 0 || row >= static_cast<int>(grid.rows.size())) return;
    grid.row = row;

    if (const int i = waitingSoldier(b, row)) {
        b.play("select");
        b.PieceSelected = true;
        showPortrait(b, i);
        ShowPieceStats(b, i);
        b.controls.SolAPlabel.text = "AP = " + std::to_string(b.Pieces[i].AP);
        DrawOverheadMap(b);
    } else {
        // He is on the map already: the pick is dropped.
        b.PieceSelected = false;
    }
    b.controls.cursor = CursorShape::Default;
    b.SelectedItemSlot = 0;
    b.controls.DropItem.enabled = false;
}

void placePickedSoldier(Battle& b, int tx, int ty) {
    Control& grid = b.controls.PlaceMenGrid;
    if (!b.deploying || !b.PieceSelected || !Battle::onMap(tx, ty) ||
        b.cell(tx, ty).Glyph != kStartStarGlyph)
        return;
    const int i = waitingSoldier(b, grid.row);
    if (i == 0) return;
    b.play("prompt");

    // The star is used up.
    b.cell(tx, ty).Glyph = kFloorGlyph;
    b.drawGlyph(tx, ty, kFloorGlyph);
    b.PieceSelected = false;
    b.controls.cursor = CursorShape::Default;

    PieceRecord& p = b.Pieces[i];
    p.X = tx;
    p.Y = ty;
    p.UnderGlyph = kFloorGlyph;
    redrawSoldierSquare(b, i);
    b.cell(tx, ty).Glyph = kOccupiedGlyph;
    b.repaint();
    grid.rows[grid.row][0] = kPlacedMark;

    if (b.SelectedPiece > 0) --b.SelectedPiece;
    const bool lastPlaced = b.SelectedPiece == 0;
    if (lastPlaced) {
        b.play("TurnFinished");
        endDeployment(b);
        tell(b, TurnBegins{b.TurnNumber, b.HumanSide});
    }
    placePieces(b);
    if (lastPlaced) b.playerTurnBegins();
}

} // namespace korvath
