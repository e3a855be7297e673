#include "ForecastJson.h"

#include "game/combat/Threats.h"
#include "game/state/Pieces.h"
#include "game/turns/WalkForecast.h"

namespace korvath {

namespace {

nlohmann::json oddsJson(const ForecastShot& s) {
    if (!s.odds.known) return nullptr;
    return {{"hit", s.odds.hit}, {"kill", s.odds.kill}, {"loaded", s.loaded}};
}

// The soldier a question is asked for: the selected one, else the first
// living Raider.
int askingSoldier(const BattleState& b) {
    if (b.PieceSelected && isPiece(b, b.SelectedPiece)) return b.SelectedPiece;
    for (int i = 1; i <= kMaxPieces; ++i)
        if (b.Pieces[i].Side == b.HumanSide && b.Pieces[i].Wounds > 0) return i;
    return 0;
}

} // namespace

nlohmann::json forecastJson(const BattleState& b, int x, int y) {
    const WalkForecast f =
        b.PieceSelected ? forecastWalk(b, b.SelectedPiece, x, y, exactShotChances) : WalkForecast{};
    if (!f.walks) return {{"forecast", nullptr}};
    nlohmann::json path = nlohmann::json::array();
    for (const Square& s : f.path) path.push_back({s.x, s.y});
    nlohmann::json reactions = nlohmann::json::array(), end = nlohmann::json::array();
    for (const ForecastShot& s : f.reactions)
        reactions.push_back({{"step", s.step}, {"watcher", s.watcher}, {"odds", oddsJson(s)}});
    for (const ForecastShot& s : f.endOfWalk)
        end.push_back({{"watcher", s.watcher}, {"chance", s.chance}, {"odds", oddsJson(s)}});
    return {
        {"forecast",
         {{"walker", f.walker},
          {"path", path},
          {"cost", f.cost},
          {"stop", {{"step", f.steps}, {"square", {f.stop.x, f.stop.y}}, {"why", stopName(f.why)}}},
          {"reactions", reactions},
          {"endOfWalk", end},
          {"survives", f.oddsKnown ? nlohmann::json(f.survives) : nlohmann::json()}}}};
}

nlohmann::json threatsJson(const BattleState& b) {
    nlohmann::json list = nlohmann::json::array();
    for (const ThreatSquare& t : threatSquares(b, askingSoldier(b)))
        list.push_back({{"square", {t.square.x, t.square.y}}, {"watchers", t.watchers}});
    return {{"threats", list}};
}

} // namespace korvath
