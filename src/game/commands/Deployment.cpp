#include "game/commands/Deployment.h"
#include "game/state/Pieces.h"

#include "game/commands/Commands.h"
#include "game/commands/Inventory.h"
#include "game/commands/Scenario.h"
#include "game/display/Display.h"
#include "game/display/EventShow.h"
#include "game/display/InfoPanel.h"

namespace korvath {

namespace {

constexpr int kEmptyHandFrame = 7;

// The soldier still waiting to be placed in row `row` of the deployment list;
// 0 for a placed row or a row that names nobody.
int waitingSoldier(const BattleState& b, int row) {
    if (row < 0 || row >= static_cast<int>(b.deploymentList.size())) return 0;
    const DeploymentEntry& e = b.deploymentList[row];
    return !e.placed && isPiece(b, e.piece) ? e.piece : 0;
}

// The portrait goes dark for a moment and comes back with soldier i.
void showPortrait(Battle& b, int i) {
    const PieceRecord& p = b.Pieces[i];
    b.portrait.picture = 0;
    b.repaint();
    b.beat(Beat::PortraitBlink);
    b.portrait.picture = p.Picture >= 1 && p.Picture <= kPictureRows ? p.Picture : 0;
    b.portrait.frame = p.Frame >= 1 && p.Frame <= kPictureFrames ? p.Frame : kEmptyHandFrame;
    b.repaint();
}

} // namespace

void PlaceMenGridClick(Battle& b, int row) {
    if (!b.deploying) {
        EquipGridClick(b, row);
        return;
    }
    // A click below the last row picks nothing.
    if (row < 0 || row >= static_cast<int>(b.deploymentList.size())) return;
    b.deploymentRow = row;

    if (const int i = waitingSoldier(b, row)) {
        b.play("select");
        b.PieceSelected = true;
        showPortrait(b, i);
        ShowPieceStats(b, i);
        b.portrait.apLine = "AP = " + std::to_string(b.Pieces[i].AP);
        DrawOverheadMap(b);
    } else {
        // He is on the map already: the pick is dropped.
        b.PieceSelected = false;
    }
    b.cursor = CursorShape::Default;
    b.SelectedItemSlot = 0;
    b.dropOffered = false;
}

void placePickedSoldier(Battle& b, int tx, int ty) {
    if (!b.deploying || !b.PieceSelected || !Battle::onMap(tx, ty) ||
        b.cell(tx, ty).Glyph != kStartStarGlyph)
        return;
    const int i = waitingSoldier(b, b.deploymentRow);
    if (i == 0) return;
    b.play("prompt");

    // The star is used up.
    b.cell(tx, ty).Glyph = kFloorGlyph;
    b.drawGlyph(tx, ty, kFloorGlyph);
    b.PieceSelected = false;
    b.cursor = CursorShape::Default;

    PieceRecord& p = b.Pieces[i];
    p.X = tx;
    p.Y = ty;
    p.UnderGlyph = kFloorGlyph;
    redrawSoldierSquare(b, i);
    b.cell(tx, ty).Glyph = kOccupiedGlyph;
    b.repaint();
    b.deploymentList[b.deploymentRow].placed = true;

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
