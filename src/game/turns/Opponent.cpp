#include "game/turns/Opponent.h"
#include "game/state/Pieces.h"

#include "game/combat/Overwatch.h"
#include "game/combat/Shooting.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"
#include "game/turns/Walking.h"

#include <vector>

namespace korvath {

namespace {

// Seen enemies further away than this are not shot at from the spot.
constexpr int kShootingDistance = 100;
// The objective is only defended against enemies this close to it.
constexpr int kObjectiveRadius = 15;

int quickShotCost(const BattleState& b, int i) {
    return b.item(b.Pieces[i].Items[1]).QuickShotAP;
}

// A soldier with nothing in his hand, or a weapon whose quick shot costs
// nothing, would never run out of points to fire with: he does not fire.
bool canFire(const BattleState& b, int i) {
    return b.Pieces[i].Items[1] != 0 && quickShotCost(b, i) > 0;
}

// NearestEnemy as seen from another square: the soldier stands there for the
// length of the search, which tests sight from where he is recorded.
int nearestEnemyFrom(Battle& b, int i, Square at, bool& seen, int& target) {
    TemporaryMove there(b, i, at.x, at.y);
    return NearestEnemy(b, i, at.x, at.y, seen, target, &b);
}

// The view follows a walker who comes within two squares of its edge.
void keepInView(Battle& b, int m) {
    const PieceRecord& p = b.Pieces[m];
    const int right = b.view.right;
    const int bottom = b.view.bottom;
    const int px = p.X * kSquare, py = p.Y * kSquare;
    if (px > right - 64 || px < right - viewWidth(b) + 64 || py > bottom - 64 ||
        py < bottom - viewHeight(b) + 64)
        FocusPiece(b, m);
}

} // namespace

void computerPieceTurn(Battle& b, int i) {
    if (!isPiece(b, i)) return;
    PieceRecord& p = b.Pieces[i];
    bool moved = true;

    FocusPiece(b, i);
    bool seen = false;
    int target = 0;
    int d = NearestEnemy(b, i, p.X, p.Y, seen, target, &b);
    if (!p.Overwatch && d < kShootingDistance && seen && canFire(b, i)) ShootEnemy(b, i, target);
    // Every step below may end with him dead (reaction fire, a blast): the
    // dead do nothing more.
    if (!p.alive()) return;

    // Peek round the corners: below, above, left, right.
    if (!seen) {
        const Square peeks[] = {{p.X, p.Y + 1}, {p.X, p.Y - 1}, {p.X - 1, p.Y}, {p.X + 1, p.Y}};
        for (const Square s : peeks) {
            if (seen) break;
            if (!Battle::onMap(s.x, s.y) || b.cell(s.x, s.y).Solidity != 0) continue;
            d = nearestEnemyFrom(b, i, s, seen, target);
        }
    }

    // How far this soldier is willing to go for an enemy this turn: 8 to 28 squares.
    const int reach = 8 + b.rng.random(21);
    if (!p.Overwatch && d < reach) AdvanceTowards(b, i, target, moved);
    if (!p.alive()) return;

    // The enemy nearest the objective is dealt with if he comes close to it.
    d = NearestEnemy(b, i, b.ObjectiveX, b.ObjectiveY, seen, target, &b);
    if (d < kObjectiveRadius && !p.Overwatch && d < reach) AdvanceTowards(b, i, target, moved);
    if (!p.alive()) return;

    // Now and then a soldier who found no way to his enemy goes after
    // someone he heard moving.
    if (b.rng.random(6) + 1 == 1) {
        const int slot = b.rng.random(5) + 1;
        if (b.RecentPieces[slot] != 0 && !moved) AdvanceTowards(b, i, b.RecentPieces[slot], moved);
    }
    if (!p.alive()) return;

    // Nobody in sight: wait for them on overwatch.
    if (!p.Overwatch && quickShotCost(b, i) <= p.AP && !seen &&
        !(isPiece(b, target) && ICanSeeTheEnemy(b, i, target, &b)))
        p.Overwatch = true;
}

void dumpNodeGrid(BattleState& b) {
    if (!b.nodeGridVisible) return;
    for (int y = 1; y <= kMapHeight; ++y)
        for (int x = 1; x <= kMapWidth; ++x) b.NodeGrid[x][y] = b.MapGrid[x][y].PathCost;
}

namespace {

// One advance of computer soldier m on a target, as it goes.
struct Advance {
    Battle& b;
    int m;
    PieceRecord& p;
    int shotCost;
    std::vector<Square> path; // entry 1 next to the target; the walk starts at the far end
    int count = 0;            // the path's last entry, the next step
    int k = 0;                // the walk ends on this entry
    bool seen = false;        // the last search of this advance saw an enemy
    int t = 0;                // ... and this one
    bool stepped = false;
    bool walking = false; // still walking when the last step was taken or refused
    int stepCost = 0;     // of the last step taken or refused
    Square back;          // the square the last step came from

    Advance(Battle& battle, int mover, int target)
        : b(battle), m(mover), p(battle.Pieces[mover]), shotCost(quickShotCost(battle, mover)),
          t(target), back{p.X, p.Y} {}

    // The cost flood to the target and the trace back towards the mover.
    // False when there is no way.
    bool plan() {
        if (!isPiece(b, t) || !Battle::onMap(b.Pieces[t].X, b.Pieces[t].Y) ||
            !Battle::onMap(p.X, p.Y))
            return false;
        const Square start{p.X, p.Y}, goal{b.Pieces[t].X, b.Pieces[t].Y};
        FillPathCosts(b, start.x, start.y, goal.x, goal.y);
        if (b.nodeGridVisible) {
            dumpNodeGrid(b);
            b.repaint();
        }
        path = tracePathBack(b, goal, false, p.AP, [&](Square at) { return adjacent(at, start); });
        count = static_cast<int>(path.size()) - 1;
        if (count >= kLongestTrace) return false;
        // The walk ends on the first free square counted from the target's end.
        k = count;
        for (int j = 1; j <= count - 1; ++j)
            if (b.cell(path[j].x, path[j].y).Solidity == 0) {
                k = j;
                break;
            }
        return true;
    }

    // Stop short and keep the points for a shot when the destination will
    // show an enemy.
    bool shootPlan() {
        if (p.AP <= count) return false;
        const int d = nearestEnemyFrom(b, m, path[k], seen, t);
        return (seen && p.AP - 2 * count <= shotCost) || (!seen && d < 3);
    }

    void walk(bool keepShot) {
        walking = true;
        do {
            const Square next = path[count];
            stepCost = korvath::stepCost({p.X, p.Y}, next);
            bool tookStep = false, enteredOccupied = false;
            if (p.AP <= stepCost) {
                walking = false;
            } else {
                back = {p.X, p.Y};
                enteredOccupied = stepOnto(b, m, next, stepCost);
                keepInView(b, m);
                placePieces(b);
                b.beat(Beat::WalkStep);
                tookStep = stepped = true;
            }
            --count;
            if (tookStep) {
                NearestEnemy(b, m, p.X, p.Y, seen, t, &b);
                if (seen) walking = false;
                // Short of points, he does not walk into an obstacle square.
                if (count > 0 && b.cell(path[count].x, path[count].y).Solidity > 0 && p.AP <= 4 &&
                    !enteredOccupied)
                    walking = false;
            }
            DrawOverheadMap(b);
            if (keepShot && p.AP - shotCost > 0 && p.AP - shotCost <= 3) {
                walking = false;
                p.Overwatch = true;
            }
        } while (walking && p.AP > 1 && count > 0 && count >= k);
    }

    // Fire from where he stands while he sees somebody and has the points.
    // He always looks round once, also when the walk has just put him on
    // overwatch (then he holds his fire): the look costs a die of its own.
    // A soldier killed by his own shot (a blast next to him) fires no more.
    void fire() {
        auto stillFiring = [&] { return p.alive() && canFire(b, m) && !p.Overwatch; };
        if (!p.alive() || !canFire(b, m)) return;
        bool again = false;
        do {
            NearestEnemy(b, m, p.X, p.Y, seen, t, &b);
            bool spent = true;
            while (spent && seen && isPiece(b, t) && p.AP >= shotCost && b.Pieces[t].Wounds > 0 &&
                   stillFiring()) {
                const int before = p.AP;
                ShootEnemy(b, m, t);
                b.beat(Beat::ComputerShot);
                // A shot refused for want of a target would be asked for forever.
                spent = p.AP < before;
            }
            again = spent && seen && p.AP >= shotCost && stillFiring();
        } while (again);
    }

    // Step back out of the line of fire to where he came from.
    void stepBack() {
        if (!stepped || p.AP < stepCost || !p.alive() || !adjacent(back, {p.X, p.Y}) ||
            b.cell(back.x, back.y).Solidity != 0)
            return;
        stepOnto(b, m, back, stepCost);
        FocusPiece(b, m);
        if (walking) b.beat(Beat::ComputerStepBack);
    }
};

} // namespace

void AdvanceTowards(Battle& b, int m, int target, bool& moved) {
    moved = true;
    if (!isPiece(b, m) || !b.Pieces[m].alive()) return;
    Advance a(b, m, target);
    if (a.plan())
        a.walk(a.shootPlan());
    else
        moved = false;

    FocusPiece(b, m);
    placePieces(b);
    // The Raiders on overwatch get their chance at him.
    if (a.seen && isPiece(b, a.t)) CheckOverWatch(b, a.t, m);
    a.fire();
    a.stepBack();
}

} // namespace korvath
