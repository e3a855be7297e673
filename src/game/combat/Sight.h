#pragma once
#include "game/state/BattleState.h"
#include "game/state/Screen.h"

namespace korvath {

class FlightGround;

// Is there a living enemy of `side` on square (x, y)? found gets its index or 0.
bool IsEnemy(const BattleState& b, int side, int x, int y, int& found);
// Can soldier viewer see soldier target? A ray for every whole degree marches
// from the viewer's centre in 8-pixel steps to the first occupied square and
// looks 10 pixels further; the target is seen when that point lies in the
// middle of his square. With the developer's sight-trace view on, the rays
// marched are painted white on `traces` (the screen copy) when one is given.
bool ICanSeeTheEnemy(const BattleState& b, int viewer, int target, Screen* traces = nullptr);
// The geometry of that test alone: would the viewer's rays show a soldier
// standing in the middle of square (x, y)? It asks nobody's side, so it also
// tells what a Raider sees in his own turn (the full test, as the game asks
// it, only ever names Raiders as the ones seen). False off the map and on
// the viewer's own square.
bool SightReachesSquare(const BattleState& b, int viewer, int x, int y);
// The same test done literally, ray by ray over all 360 degrees: the reference
// for the fast one, and the developer's trace view paints what it marches.
bool ICanSeeTheEnemyByMarch(const BattleState& b, int viewer, int target, Screen* traces = nullptr);
// A one-pixel ray over TerrainBitmap; true when the first soldier met is an enemy.
bool TraceShotLine(const BattleState& b, int shooter, int& hitX, int& hitY, double angle,
                   double startX, double startY);
int PieceDistance(const BattleState& b, int a, int c);
// Distance in squares from (x, y) to the nearest living enemy of `piece`;
// 1000 (and target 1000) when there is none. It draws from the generator (the
// order the soldiers are looked at); sight paints its traces on `traces`.
int NearestEnemy(BattleState& b, int piece, int x, int y, bool& visible, int& target,
                 Screen* traces = nullptr);
// The same questions asked of a ground of their own (a walk worked out
// ahead moves its walker there and changes the squares he passed), read
// instead of the battle's squares, pixels and soldiers' places.
bool IsEnemy(const FlightGround& g, int side, int x, int y, int& found);
bool ICanSeeTheEnemy(const FlightGround& g, int viewer, int target);
bool TraceShotLine(const FlightGround& g, int shooter, int& hitX, int& hitY, double angle,
                   double startX, double startY);
int PieceDistance(const FlightGround& g, int a, int c);
// The human turn's nearest enemy: the computer soldier strictly nearest to
// (x, y), looked for in index order whatever order the draw chose; 0 when
// none lives. It draws nothing.
int nearestComputerSoldier(const BattleState& b, int x, int y);
// Direction in degrees 0..360 from pixel (sx, sy) to pixel (tx, ty).
double Bearing(double sx, double sy, double tx, double ty);

} // namespace korvath
