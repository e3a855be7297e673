#include "Opponent.h"

#include "DeveloperAids.h"
#include "Display.h"
#include "Movement.h"
#include "Overwatch.h"
#include "Shooting.h"
#include "Sight.h"

#include <array>
#include <cstdlib>

namespace korvath {

namespace {

// A search gives up after this many steps back from the target.
constexpr int kLongestBacktrack = 250;
// Seen enemies further away than this are not shot at from the spot.
constexpr int kShootingDistance = 100;
// The objective is only defended against enemies this close to it.
constexpr int kObjectiveRadius = 15;
constexpr int kEmptyHandFrame = 7;

constexpr int kStepPause = 20;
constexpr int kShotPause = 150;
constexpr int kStepBackPause = 350;

struct Square {
    int x = 0;
    int y = 0;
};

bool isPiece(const Battle& b, int i) {
    return i >= 1 && i <= kMaxPieces && !b.Pieces[i].Name.empty();
}

bool adjacent(int ax, int ay, int bx, int by) {
    return std::abs(ax - bx) <= 1 && std::abs(ay - by) <= 1;
}

int quickShotCost(const Battle& b, int i) {
    return b.item(b.Pieces[i].Items[1]).QuickShotAP;
}

// A soldier with nothing in his hand, or a weapon whose quick shot costs
// nothing, would never run out of points to fire with: he does not fire.
bool canFire(const Battle& b, int i) {
    return b.Pieces[i].Items[1] != 0 && quickShotCost(b, i) > 0;
}

void pause(Battle& b, int ms, bool letMessagesRun) {
    if (b.ports.clock) b.ports.clock->wait(ms, letMessagesRun);
}

// NearestEnemy as seen from another square: the soldier stands there for the
// length of the search, which tests sight from where he is recorded.
int nearestEnemyFrom(Battle& b, int i, Square at, bool& seen, int& target) {
    PieceRecord& p = b.Pieces[i];
    const int oldX = p.X, oldY = p.Y;
    p.X = at.x;
    p.Y = at.y;
    const int d = NearestEnemy(b, i, at.x, at.y, seen, target);
    p.X = oldX;
    p.Y = oldY;
    return d;
}

void drawSoldier(Battle& b, const PieceRecord& p) {
    if (p.Picture < 1 || p.Picture > kPictureRows) return;
    const int frame = p.Frame >= 1 && p.Frame <= kPictureFrames ? p.Frame : kEmptyHandFrame;
    b.TerrainBitmap.draw(b.UnitPictures[p.Picture][frame], (p.X - 1) * kSquare,
                         (p.Y - 1) * kSquare);
    b.copySquare(p.X, p.Y);
}

// One step of a computer soldier onto (to): his old square gets back what lay
// under him, he pays the step and marks the new square as occupied. Returns
// whether another soldier already stood there.
bool stepOnto(Battle& b, int m, Square to, int cost) {
    PieceRecord& p = b.Pieces[m];
    MapCell& from = b.cell(p.X, p.Y);
    from.Glyph = static_cast<uint8_t>(p.UnderGlyph);
    from.Solidity = b.glyph(p.UnderGlyph).Action == "access" ? 3 : 0;
    b.drawGlyph(p.X, p.Y, from.Glyph);
    b.copySquare(p.X, p.Y);
    if (b.ports.clock) b.ports.clock->processMessages();

    p.X = to.x;
    p.Y = to.y;
    p.AP -= cost;
    MapCell& here = b.cell(to.x, to.y);
    const bool enteredOccupied = here.Solidity == 1;
    p.UnderGlyph = here.Glyph == kOccupiedGlyph ? kFloorGlyph : here.Glyph;
    here.Glyph = kOccupiedGlyph;
    here.Solidity = 1;
    drawSoldier(b, p);
    return enteredOccupied;
}

// The view follows a walker who comes within two squares of its edge.
void keepInView(Battle& b, int m) {
    const PieceRecord& p = b.Pieces[m];
    const int right = b.controls.ScrollTop.position;
    const int bottom = b.controls.ScrollSide.position;
    const int px = p.X * kSquare, py = p.Y * kSquare;
    if (px > right - 64 || px < right - kMapPanelWidth + 64 || py > bottom - 64 ||
        py < bottom - kMapPanelHeight + 64)
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
    int d = NearestEnemy(b, i, p.X, p.Y, seen, target);
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
    d = NearestEnemy(b, i, b.ObjectiveX, b.ObjectiveY, seen, target);
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
        !(isPiece(b, target) && ICanSeeTheEnemy(b, i, target)))
        p.Overwatch = true;
}

void AdvanceTowards(Battle& b, int m, int target, bool& moved) {
    moved = true;
    if (!isPiece(b, m) || !b.Pieces[m].alive()) return;
    PieceRecord& p = b.Pieces[m];
    const int shotCost = quickShotCost(b, m);

    bool seen = false; // the last search of this advance saw an enemy
    int t = target;
    bool stepped = false;
    bool walking = false;
    int stepCost = 0;
    Square back{p.X, p.Y};

    // The whole trace is kept, however long, so a long path is walked from
    // its real first square.
    std::array<Square, kLongestBacktrack + 1> path{};
    int count = 0;

    const bool reachable = isPiece(b, target) &&
                           Battle::onMap(b.Pieces[target].X, b.Pieces[target].Y) &&
                           Battle::onMap(p.X, p.Y);
    if (reachable) {
        const Square goal{b.Pieces[target].X, b.Pieces[target].Y};
        FillPathCosts(b, p.X, p.Y, goal.x, goal.y);
        dumpNodeGrid(b);

        // Trace back from the target along the cheapest squares.
        static constexpr Square order[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                           {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
        Square cur = goal;
        for (;;) {
            Square best = cur;
            int bestCost = 999;
            for (const Square o : order) {
                const int nx = cur.x + o.x, ny = cur.y + o.y;
                if (!Battle::onMap(nx, ny)) continue;
                const int cost = b.cell(nx, ny).PathCost;
                if (cost != 0 && cost < bestCost) {
                    bestCost = cost;
                    best = {nx, ny};
                }
            }
            path[++count] = best;
            cur = best;
            if (adjacent(cur.x, cur.y, p.X, p.Y) || count >= kLongestBacktrack || p.AP <= 1) break;
        }
    }

    if (!reachable || count >= kLongestBacktrack) {
        moved = false;
    } else {
        // The walk ends on the first free square counted from the target's end.
        int k = count;
        for (int j = 1; j <= count - 1; ++j)
            if (b.cell(path[j].x, path[j].y).Solidity == 0) {
                k = j;
                break;
            }

        // Plan to stop short and keep the points for a shot when the
        // destination will show an enemy.
        bool shootPlan = false;
        if (p.AP > count) {
            int d = nearestEnemyFrom(b, m, path[k], seen, t);
            shootPlan = (seen && p.AP - 2 * count <= shotCost) || (!seen && d < 3);
        }

        walking = true;
        do {
            const Square next = path[count];
            stepCost = (next.x != p.X && next.y != p.Y) ? 3 : 2;
            bool tookStep = false;
            bool enteredOccupied = false;
            if (p.AP <= stepCost) {
                walking = false;
            } else {
                back = {p.X, p.Y};
                enteredOccupied = stepOnto(b, m, next, stepCost);
                keepInView(b, m);
                placePieces(b);
                pause(b, kStepPause, true);
                tookStep = stepped = true;
            }
            --count;
            if (tookStep) {
                NearestEnemy(b, m, p.X, p.Y, seen, t);
                if (seen) walking = false;
                // Short of points, he does not walk into an obstacle square.
                if (count > 0 && b.cell(path[count].x, path[count].y).Solidity > 0 && p.AP <= 4 &&
                    !enteredOccupied)
                    walking = false;
            }
            DrawOverheadMap(b);
            if (shootPlan && p.AP - shotCost > 0 && p.AP - shotCost <= 3) {
                walking = false;
                p.Overwatch = true;
            }
        } while (walking && p.AP > 1 && count > 0 && count >= k);
    }

    FocusPiece(b, m);
    placePieces(b);
    // The Raiders on overwatch get their chance at him.
    if (seen && isPiece(b, t)) CheckOverWatch(b, t, m);

    // Fire from where he stands while he sees somebody and has the points.
    // He always looks round once, also when the walk has just put him on
    // overwatch (then he holds his fire): the look costs a die of its own.
    // A soldier killed by his own shot (a blast next to him) fires no more.
    auto stillFiring = [&] { return p.alive() && canFire(b, m) && !p.Overwatch; };
    if (p.alive() && canFire(b, m)) {
        bool again = false;
        do {
            NearestEnemy(b, m, p.X, p.Y, seen, t);
            bool spent = true;
            while (spent && seen && isPiece(b, t) && p.AP >= shotCost && b.Pieces[t].Wounds > 0 &&
                   stillFiring()) {
                const int before = p.AP;
                ShootEnemy(b, m, t);
                pause(b, kShotPause, false);
                // A shot refused for want of a target would be asked for forever.
                spent = p.AP < before;
            }
            again = spent && seen && p.AP >= shotCost && stillFiring();
        } while (again);
    }

    // Step back out of the line of fire to where he came from.
    if (stepped && p.AP >= stepCost && p.alive() && adjacent(back.x, back.y, p.X, p.Y) &&
        b.cell(back.x, back.y).Solidity == 0) {
        stepOnto(b, m, back, stepCost);
        FocusPiece(b, m);
        if (walking) pause(b, kStepBackPause, false);
    }
}

} // namespace korvath
