#include "game/state/Pieces.h"

namespace korvath {

bool isPiece(const BattleState& b, int i) {
    return validIndex(i) && !b.Pieces[i].Name.empty();
}

const PieceRecord& pieceOrNone(const BattleState& b, int i) {
    static const PieceRecord none;
    return validIndex(i) ? b.Pieces[i] : none;
}

bool livingOfSideOn(const BattleState& b, int side, int x, int y) {
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.Side == side && p.X == x && p.Y == y && p.Wounds > 0) return true;
    }
    return false;
}

bool livingEnemyOn(const BattleState& b, int side, int x, int y) {
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.Side != side && p.X == x && p.Y == y && p.Wounds > 0) return true;
    }
    return false;
}

int livingSoldierAt(const BattleState& b, int x, int y) {
    for (int i = 1; i <= kMaxPieces; ++i) {
        const PieceRecord& p = b.Pieces[i];
        if (p.X == x && p.Y == y && p.Wounds > 0) return i;
    }
    return 0;
}

const Raster& unitPicture(const BattleState& b, int picture, int frame) {
    static const Raster none;
    if (picture < 1 || picture > kPictureRows || frame < 1 || frame > kPictureFrames) return none;
    return b.UnitPictures[picture][frame];
}

bool anyAlive(const BattleState& b, int side) {
    for (int i = 1; i <= kMaxPieces; ++i)
        if (b.Pieces[i].Side == side && b.Pieces[i].Wounds > 0) return true;
    return false;
}

} // namespace korvath
