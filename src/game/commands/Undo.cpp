#include "game/commands/Undo.h"

#include <algorithm>

namespace korvath {

namespace {

using Words = std::vector<std::string>;

bool sameDeployment(const BattleState& a, const BattleState& b) {
    return a.deploymentRow == b.deploymentRow &&
           std::equal(a.deploymentList.begin(), a.deploymentList.end(), b.deploymentList.begin(),
                      b.deploymentList.end(),
                      [](const DeploymentEntry& x, const DeploymentEntry& y) {
                          return x.piece == y.piece && x.placed == y.placed;
                      });
}

bool sameSquares(const BattleState& a, const BattleState& b) {
    for (int x = 0; x <= kMapWidth + 1; ++x)
        for (int y = 0; y <= kMapHeight + 1; ++y)
            if (a.MapGrid[x][y].Glyph != b.MapGrid[x][y].Glyph ||
                a.MapGrid[x][y].Solidity != b.MapGrid[x][y].Solidity)
                return false;
    return true;
}

// Did the command change anything a player would want back? (A click on
// nothing, a disabled button: no step.)
bool changedTheBattle(const BattleState& a, const BattleState& b) {
    return !(a.Pieces == b.Pieces && a.SelectedPiece == b.SelectedPiece &&
             a.PieceSelected == b.PieceSelected && a.FireMode == b.FireMode &&
             a.HandFightMode == b.HandFightMode && a.armedShot == b.armedShot &&
             a.deploying == b.deploying && sameDeployment(a, b) &&
             a.SelectedItemSlot == b.SelectedItemSlot && a.equipRow == b.equipRow &&
             a.pickRow == b.pickRow && a.equipmentShown == b.equipmentShown &&
             a.showWounds == b.showWounds && a.showOverwatch == b.showOverwatch &&
             a.showHealers == b.showHealers && a.rng.draws() == b.rng.draws() &&
             a.messageLog.size() == b.messageLog.size() && a.statusLine == b.statusLine &&
             sameSquares(a, b));
}

// The turn is no longer the one the step began in.
bool turnMovedOn(const BattleState& a, const BattleState& b) {
    return a.TurnNumber != b.TurnNumber || a.HumanTurn != b.HumanTurn ||
           (a.deploying && !b.deploying) || b.GameOver || !b.windowOpen;
}

std::string nameOf(const BattleState& b, int piece) {
    return piece >= 1 && piece <= kMaxPieces ? b.Pieces[piece].Name : std::string();
}

// What the menu calls the step: "Dax Moreno's walk".
std::string describe(const BattleState& a, const BattleState& b, const Words& words) {
    for (size_t k = 0; k < a.deploymentList.size() && k < b.deploymentList.size(); ++k)
        if (!a.deploymentList[k].placed && b.deploymentList[k].placed)
            return "placing " + nameOf(b, b.deploymentList[k].piece);
    const std::string what = words.size() > 1 ? words[1] : "";
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord &p = a.Pieces[i], &q = b.Pieces[i];
        if (p == q) continue;
        const std::string name = q.Name + "'s ";
        if (p.X != q.X || p.Y != q.Y) return name + "walk";
        if (p.Overwatch != q.Overwatch) return name + "overwatch";
        if (what == "PickUp") return name + "pick up";
        if (what == "DropItem") return name + "drop";
        if (p.Items != q.Items || p.Ammo != q.Ammo) return name + "kit";
    }
    if (a.SelectedPiece != b.SelectedPiece || a.PieceSelected != b.PieceSelected)
        return b.PieceSelected ? "selecting " + nameOf(b, b.SelectedPiece) : "the selection";
    if (a.showWounds != b.showWounds || a.showOverwatch != b.showOverwatch ||
        a.showHealers != b.showHealers)
        return "the markers";
    if (a.armedShot != b.armedShot || a.HandFightMode != b.HandFightMode) return "arming";
    if (words[0] == "button" || words[0] == "menu" || words[0] == "key") return "the " + what;
    return "the " + words[0];
}

} // namespace

UndoScope::Kind UndoScope::kindOf(const Words& w) {
    const std::string& name = w[0];
    const std::string what = w.size() > 1 ? w[1] : "";
    if (name == "undo" || name == "redo") return Kind::Itself;
    if (name == "hover" || name == "scroll" || name == "view") return Kind::Passing;
    if (name == "menu" && what == "Savegame") return Kind::Passing;
    // A load, the battle's life, the floors recomposed, the developer's aids.
    if (name == "activate") return Kind::Ending;
    if (name == "menu" && what != "ShowWounds" && what != "ShowOverwatch" && what != "ShowHealers")
        return Kind::Ending;
    return Kind::Step;
}

UndoScope::UndoScope(Battle& b, const Words& words)
    : b_(b), words_(words), kind_(kindOf(words)), outermost_(b.undo.commandBegins()) {
    if (!outermost_) return; // part of the command under way
    if (kind_ == Kind::Step) b_.undo.open(b_, b_);
    if (kind_ == Kind::Passing) b_.undo.watchFromLast(b_, b_);
}

void UndoScope::finished() {
    finished_ = true;
    if (!outermost_) return;
    UndoHistory& h = b_.undo;
    switch (kind_) {
    case Kind::Itself:
        return;
    case Kind::Passing:
        return h.stopWatchingLast(b_, b_);
    case Kind::Ending:
        return h.end(words_.size() > 1 && words_[1] == "Loadgame" ? UndoBarrier::Loaded
                                                                  : UndoBarrier::Other);
    case Kind::Step:
        break;
    }
    const BattleState& before = h.before();
    if (h.heardBarrier() != UndoBarrier::None) return h.end(h.heardBarrier());
    if (turnMovedOn(before, b_)) return h.end(UndoBarrier::TurnBegan);
    if (h.lostTrack(b_, b_)) return h.end(UndoBarrier::Other);
    if (!h.picturesChanged() && !changedTheBattle(before, b_)) return h.drop(b_, b_);
    h.keep(b_, b_, describe(before, b_, words_));
}

UndoScope::~UndoScope() {
    if (outermost_ && !finished_) b_.undo.end(UndoBarrier::Other);
    b_.undo.commandEnds();
}

void undoLast(Battle& b) {
    if (b.undo.outermost()) b.undo.undo(b, b);
}

void redoLast(Battle& b) {
    if (b.undo.outermost()) b.undo.redo(b, b);
}

std::string barrierText(UndoBarrier why) {
    switch (why) {
    case UndoBarrier::Shot:
        return "A shot was fired: it cannot be taken back";
    case UndoBarrier::Blow:
        return "A blow was struck: it cannot be taken back";
    case UndoBarrier::Treatment:
        return "A wound was treated: it cannot be taken back";
    case UndoBarrier::ScenarioEvent:
        return "A scenario event has run: it cannot be taken back";
    case UndoBarrier::TurnBegan:
        return "Nothing done yet this turn";
    case UndoBarrier::Loaded:
        return "Nothing done since the game was loaded";
    case UndoBarrier::None:
    case UndoBarrier::Other:
        break;
    }
    return "Nothing to undo";
}

UndoEntries undoEntries(const Battle& b) {
    UndoEntries e;
    e.undoOn = b.windowOpen && b.undo.canUndo();
    e.redoOn = b.windowOpen && b.undo.canRedo();
    if (e.undoOn)
        e.undoText = "Undo " + b.undo.nextUndo();
    else
        e.undoTip = barrierText(b.undo.barrier());
    if (e.redoOn) e.redoText = "Redo " + b.undo.nextRedo();
    return e;
}

} // namespace korvath
