#pragma once
#include "game/state/BattleState.h"

// Questions about the soldiers' table that every rule asks.
namespace korvath {

// An index of the table, 1..160.
constexpr bool validIndex(int i) {
    return i >= 1 && i <= kMaxPieces;
}
// A record in use: a valid index and a name.
bool isPiece(const BattleState& b, int i);
// Record i, or an empty record for an index outside the table.
const PieceRecord& pieceOrNone(const BattleState& b, int i);
// Is a living soldier of `side` / of any other side than `side` on (x, y)?
bool livingOfSideOn(const BattleState& b, int side, int x, int y);
bool livingEnemyOn(const BattleState& b, int side, int x, int y);
// The living soldier on square (x, y), the first in the table; 0 when none.
int livingSoldierAt(const BattleState& b, int x, int y);
// The picture of row `picture`, column `frame` of the soldier pictures; an
// empty picture outside the rows 1..16 and frames 1..8.
const Raster& unitPicture(const BattleState& b, int picture, int frame);
// Is any soldier of `side` alive?
bool anyAlive(const BattleState& b, int side);
// Puts soldier i on another square for as long as it lives, and back
// after: the computer looks round from squares he might step to, and sight is
// tested from where a soldier is recorded. Nothing else is touched.
class TemporaryMove {
  public:
    TemporaryMove(BattleState& b, int i, int x, int y) : p_(b.Pieces[i]), x_(p_.X), y_(p_.Y) {
        p_.X = x;
        p_.Y = y;
    }
    ~TemporaryMove() {
        p_.X = x_;
        p_.Y = y_;
    }
    TemporaryMove(const TemporaryMove&) = delete;
    TemporaryMove& operator=(const TemporaryMove&) = delete;

  private:
    PieceRecord& p_;
    int x_, y_;
};

// The centre pixel of a square's column or row (X*32 - 16).
constexpr int squareCentre(int square) {
    return square * kSquare - kSquare / 2;
}

} // namespace korvath
