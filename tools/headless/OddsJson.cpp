#include "OddsJson.h"

#include "game/commands/ArmedOdds.h"

namespace korvath {

namespace {

using Json = nlohmann::ordered_json;

Json shotJson(const ShotOdds& s) {
    Json outcomes = Json::array(), burnt = Json::array();
    for (const SoldierOdds& o : s.soldiers) {
        if (o.hit > 0)
            outcomes.push_back({{"end", "Soldier"},
                                {"soldier", o.soldier},
                                {"p", o.hit},
                                {"wounded", o.wounded},
                                {"killed", o.killed},
                                {"friend", o.friendly}});
        if (o.burnt > 0)
            burnt.push_back({{"soldier", o.soldier},
                             {"friend", o.friendly},
                             {"p", o.burnt},
                             {"wounded", o.burntWounded},
                             {"killed", o.burntKilled}});
    }
    for (const StopOdds& o : s.obstacles)
        outcomes.push_back({{"end", "Obstacle"},
                            {"x", o.square.x},
                            {"y", o.square.y},
                            {"p", o.p},
                            {"destroyed", o.destroyed},
                            {"glyph", o.glyph}});
    if (s.spent > 0) outcomes.push_back({{"end", "Spent"}, {"p", s.spent}});
    if (s.offMap > 0) outcomes.push_back({{"end", "OffMap"}, {"p", s.offMap}});
    Json j = {{"shooter", s.shooter}, {"kind", "shot"},     {"outcomes", outcomes},
              {"victory", s.victory}, {"target", s.target}, {"exact", s.exact}};
    if (!s.events.empty()) {
        Json events = Json::array();
        for (const EventOdds& e : s.events) events.push_back({{"event", e.name}, {"p", e.p}});
        j["events"] = events;
    }
    if (!burnt.empty()) j["burnt"] = burnt;
    if (!s.fire.empty()) {
        Json fire = Json::array();
        for (const SquareOdds& f : s.fire)
            fire.push_back({{"x", f.square.x}, {"y", f.square.y}, {"p", f.p}});
        j["fire"] = fire;
    }
    return j;
}

Json blowJson(const BlowOdds& o) {
    return {{"shooter", o.attacker}, {"kind", "blow"},       {"target", o.target},
            {"lands", o.lands},      {"parried", o.parried}, {"wounded", o.wounded},
            {"killed", o.killed}};
}

} // namespace

nlohmann::ordered_json oddsJson(const BattleState& b, int mx, int my) {
    const ArmedOdds odds = armedOdds(b, mx, my);
    switch (odds.kind) {
    case ArmedOdds::Shot:
        return {{"odds", shotJson(odds.shot)}};
    case ArmedOdds::Blow:
        return {{"odds", blowJson(odds.blow)}};
    case ArmedOdds::None:
        break;
    }
    return {{"odds", nullptr}};
}

} // namespace korvath
