#include "ForecastJson.h"

#include "game/commands/WalkQuestions.h"

namespace korvath {

namespace {

nlohmann::json oddsJson(const ForecastShot& s) {
    if (!s.odds.known) return nullptr;
    return {{"hit", s.odds.hit}, {"kill", s.odds.kill}, {"loaded", s.loaded}};
}

} // namespace

nlohmann::json forecastJson(const BattleState& b, int x, int y) {
    const WalkForecast f = forecastAt(b, x, y);
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
    for (const ThreatSquare& t : fireLanes(b))
        list.push_back({{"square", {t.square.x, t.square.y}}, {"watchers", t.watchers}});
    return {{"threats", list}};
}

} // namespace korvath
