#include "game/turns/WalkForecast.h"
#include "game/state/Pieces.h"

#include "game/combat/Flight.h"
#include "game/combat/Overwatch.h"
#include "game/combat/ShotOdds.h"
#include "game/combat/Sight.h"
#include "game/display/Display.h"

#include <cmath>
#include <deque>

namespace korvath {

namespace {

// The walk's dry mode: the walker, the squares he passes and their pictures
// live here, laid over the battle in a ground of their own.
struct DryWalk {
    const BattleState& b;
    int i;
    FlightGround ground;
    PieceRecord walker;          // his record as the walk changes it
    std::deque<Raster> pictures; // the squares' looks as the walk leaves them
    std::vector<ForecastShot> shots;

    DryWalk(const BattleState& battle, int walkerIndex)
        : b(battle), i(walkerIndex), ground(battle), walker(battle.Pieces[walkerIndex]) {}

    Square at() { return {walker.X, walker.Y}; }
    int ap() { return walker.AP; }
    // The walk worked out ahead takes him to have the wounds to live through it.
    bool alive() { return walker.Wounds >= 1; }
    int solidity(Square s) { return ground.cell(s.x, s.y).Solidity; }
    bool enemyOn(Square s) {
        for (int k = 1; k <= kMaxPieces; ++k) {
            const PieceRecord& p = b.Pieces[k];
            const Point there = ground.square(k);
            if (p.Side != b.HumanSide && there.x == s.x && there.y == s.y && p.Wounds > 0)
                return true;
        }
        return false;
    }
    void openOwnSquare() {
        MapCell c = ground.cell(walker.X, walker.Y);
        c.Solidity = 0;
        ground.change(walker.X, walker.Y, c);
    }

    // Square (x, y) as drawPieces leaves it: the bodies on it, then the
    // living, over what lay there.
    const Raster* lookOf(int x, int y, const Raster& under) {
        Raster& r = pictures.emplace_back(kSquare, kSquare, 0);
        r.draw(under, 0, 0);
        auto listed = [&](auto f) {
            for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
                const Point there = ground.square(k);
                if (there.x == x && there.y == y) f(k == i ? walker : b.Pieces[k]);
            }
        };
        listed([&](const PieceRecord& p) {
            if (p.Wounds < 1) r.draw(unitPicture(b, p.Picture, kDeadFrame), 0, 0);
        });
        listed([&](const PieceRecord& p) {
            if (p.Side > 0 && p.Wounds > 0) paintLivingLook(b, p, r, 0, 0);
        });
        return &r;
    }
    // markHeldSquares on one square.
    MapCell held(int x, int y, MapCell c) {
        bool someone = false, living = false;
        for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
            const Point there = ground.square(k);
            if (there.x != x || there.y != y) continue;
            someone = true;
            living = living || (b.Pieces[k].Side > 0 && b.Pieces[k].Wounds > 0);
        }
        if (!someone) return c;
        c.Solidity = living ? 1 : 0;
        c.Glyph = kOccupiedGlyph;
        return c;
    }

    // stepOnto and placePieces, on the scratch squares.
    bool step(Square next, int cost) {
        const Square left = at();
        MapCell from = ground.cell(left.x, left.y);
        from.Glyph = static_cast<uint8_t>(walker.UnderGlyph);
        from.Solidity = b.isDoor(walker.UnderGlyph) ? 3 : 0;
        walker.X = next.x;
        walker.Y = next.y;
        walker.AP -= cost;
        ground.moveSoldier(i, next.x, next.y);
        MapCell here = ground.cell(next.x, next.y);
        const bool enteredOccupied = here.Solidity == 1;
        walker.UnderGlyph = here.Glyph == kOccupiedGlyph ? kFloorGlyph : here.Glyph;
        here.Glyph = kOccupiedGlyph;
        here.Solidity = 1;
        const Raster& glyphPicture = b.glyph(from.Glyph).Picture;
        Raster under(kSquare, kSquare, 0);
        under.blit(b.TerrainBitmap, (left.x - 1) * kSquare, (left.y - 1) * kSquare, kSquare,
                   kSquare, 0, 0);
        under.draw(glyphPicture, 0, 0);
        ground.change(left.x, left.y, held(left.x, left.y, from), lookOf(left.x, left.y, under));
        ground.change(next.x, next.y, held(next.x, next.y, here),
                      lookOf(next.x, next.y, unitPicture(b, walker.Picture, walker.Frame)));
        return enteredOccupied;
    }

    // CheckOverWatch's judgement of every watcher, in its order.
    bool reactionFire(int steps) {
        const int target = nearestComputerSoldier(b, walker.X, walker.Y);
        if (target == 0 || walker.UnderGlyph == kOccupiedGlyph) return false;
        const int watchSide = b.Pieces[target].Side;
        bool fired = false;
        for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
            const WatchJudgement j = judgeWatcher(ground, watchSide, k, i);
            if (j.reply != WatchReply::Fires) continue;
            // The first to fire paints every soldier as a target disc: the
            // later ones look along their lines at the discs.
            if (!fired) showDiscs();
            fired = true;
            shots.push_back({steps, k, j.angle, 1, b.Pieces[k].Ammo > 0, {}});
        }
        return fired;
    }
    bool stopRequested() { return b.StopRequested; }
    void afterStep() {}

    // DrawTargetDiscs on the scratch squares.
    void showDiscs() {
        for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
            const PieceRecord& p = k == i ? walker : b.Pieces[k];
            if (p.X == 0 || p.Wounds <= 0 || !BattleState::onMap(p.X, p.Y)) continue;
            Raster& r = pictures.emplace_back(kSquare, kSquare, 0);
            r.blit(b.TerrainBitmap, (p.X - 1) * kSquare, (p.Y - 1) * kSquare, kSquare, kSquare, 0,
                   0);
            paintTargetDisc(b, p, r);
            ground.change(p.X, p.Y, ground.cell(p.X, p.Y), &r);
        }
    }
};

} // namespace

namespace {

std::string percent(double p) {
    return std::to_string(static_cast<int>(std::lround(p * 100))) + "%";
}

// "Trooper Dask fires (hit 58%, kill 22%)", each shooter in turn.
std::string shooters(const BattleState& b, const std::vector<ForecastShot>& shots) {
    std::string out;
    for (size_t k = 0; k < shots.size(); ++k) {
        const ForecastShot& s = shots[k];
        if (k > 0) out += k + 1 == shots.size() ? " and " : ", ";
        out += b.Pieces[s.watcher].Name + " fires";
        if (!s.loaded)
            out += " (empty weapon)";
        else if (s.odds.known)
            out += " (hit " + percent(s.odds.hit) + ", kill " + percent(s.odds.kill) + ")";
    }
    return out;
}

} // namespace

std::string forecastLine(const BattleState& b, const WalkForecast& f) {
    if (!f.walks) return {};
    std::string line;
    if (!f.reactions.empty())
        line = "Stops after step " + std::to_string(f.steps) + " of " +
               std::to_string(f.path.size()) + ": " + shooters(b, f.reactions);
    if (!f.endOfWalk.empty())
        line +=
            (line.empty() ? "At the end of the walk " : "; at the end ") + shooters(b, f.endOfWalk);
    if (line.empty()) return "Walk is safe from reaction fire";
    if (f.oddsKnown && f.survives < 1) line += "; survives " + percent(f.survives);
    return line;
}

const char* stopName(WalkStop why) {
    switch (why) {
    case WalkStop::Reaction:
        return "reaction";
    case WalkStop::Points:
        return "points";
    case WalkStop::Enemy:
        return "enemy";
    case WalkStop::End:
    case WalkStop::Fallen:
    case WalkStop::Halted:
        break;
    }
    return "end";
}

ShotChances exactShotChances(const FlightGround& ground, int shooter, double angle, bool strays,
                             int target) {
    const ShotOdds o = shotOdds(ground, shooter, angle, strays);
    const SoldierOdds* s = o.of(target);
    return {true, s ? s->hit : 0, o.deathOf(target)};
}

namespace {

// Could soldier i be ordered to walk to (tx, ty) at all?
bool orderable(const BattleState& b, int i, int tx, int ty) {
    if (!validIndex(i)) return false;
    const PieceRecord& p = b.Pieces[i];
    return !p.Name.empty() && p.Wounds >= 1 && BattleState::onMap(p.X, p.Y) &&
           BattleState::onMap(tx, ty) && b.passable(tx, ty) && !b.GameOver &&
           (p.X != tx || p.Y != ty);
}

} // namespace

WalkForecast forecastWalk(const BattleState& b, int i, int tx, int ty, const ReactionOdds& odds) {
    if (!orderable(b, i, tx, ty)) return {};
    PathCostGrid costs;
    computePathCosts(b, b.Pieces[i].X, b.Pieces[i].Y, tx, ty, costs);
    return forecastWalk(b, i, tx, ty, odds, costs);
}

WalkForecast forecastWalk(const BattleState& b, int i, int tx, int ty, const ReactionOdds& odds,
                          const PathCostGrid& costs) {
    WalkForecast out;
    if (!orderable(b, i, tx, ty)) return out;
    out.walker = i;
    const PieceRecord& p = b.Pieces[i];

    const WalkPlan plan = planWalk(
        b, [&costs](int x, int y) { return costs[y * kCostGridWidth + x]; }, p, tx, ty);
    out.cost = costs[ty * kCostGridWidth + tx];
    if (!plan.go || startRefused(b, plan, p.AP)) return out;
    out.walks = true;
    // Steps stop at the 100th entry: the walk never takes one beyond it.
    for (int k = plan.n; k >= 1; --k) out.path.push_back(plan.path[k]);

    DryWalk walk(b, i);
    if (plan.n >= plan.last) out.why = walkSteps(walk, plan, out.steps);
    out.stop = walk.at();
    out.reactions = walk.shots;

    // The end of the walk: when the nearest Operative sees him, every
    // watcher who does fires once, without a stray and without paying.
    const int spotter = nearestComputerSoldier(b, walk.walker.X, walk.walker.Y);
    if (endOfMoveSpotted(walk.ground, spotter, i))
        for (int k = 1; k <= kMaxPieces && !b.Pieces[k].Name.empty(); ++k) {
            int spent = 0, fired = 0;
            for (const ForecastShot& s : out.reactions)
                if (s.watcher == k) {
                    spent += b.item(b.Pieces[k].Items[1]).QuickShotAP;
                    ++fired;
                }
            if (!endOfMoveFires(walk.ground, k, i, nullptr, spent)) continue;
            const Point from = walk.ground.square(k);
            const double a = Bearing(squareCentre(from.x), squareCentre(from.y),
                                     squareCentre(out.stop.x), squareCentre(out.stop.y));
            out.endOfWalk.push_back({0, k, a, 1, b.Pieces[k].Ammo > fired, {}});
        }

    // Each shot's odds over the map as it stands when he fires; what one
    // shot breaks is not carried to the next.
    auto addOdds = [&](ForecastShot& s, bool strays) {
        if (!odds || !s.loaded) {
            s.odds.known = !s.loaded;
            out.oddsKnown = out.oddsKnown && s.odds.known;
            return;
        }
        s.odds = odds(walk.ground, s.watcher, s.angle, strays, i);
        out.oddsKnown = out.oddsKnown && s.odds.known;
        out.survives *= 1 - s.chance * s.odds.kill;
    };
    // Every reaction shot flies over the soldiers drawn as discs.
    if (out.reactions.empty() && !out.endOfWalk.empty()) walk.showDiscs();
    for (ForecastShot& s : out.reactions) addOdds(s, true);
    for (ForecastShot& s : out.endOfWalk) addOdds(s, false);
    if (!out.oddsKnown) out.survives = 1;
    return out;
}

} // namespace korvath
