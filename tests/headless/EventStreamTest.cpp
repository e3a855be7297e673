// The battle events the headless driver lists ("events on") against what the
// battle itself shows in the dumps around them: every shot spends a round,
// every death is a soldier fallen, every broken object and force field is on
// the map, every scenario event brought its soldiers, and the log tells the
// same shots, hits and deaths.
#include "Script.h"
#include "SquadOnStars.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <sstream>

using nlohmann::json;

namespace korvath {
namespace {

// The eight Raiders on the start stars of Korvath Tamberhold.
const std::string kDeployed =
    "events on\nstart korvath 3\ntime 10:15:30.250\nseed 12345\n" + test::kKorvathSquadOnStars;

// The sergeant with the rail cannon on square (x, y), a marksman.
std::string sergeantOn(int x, int y) {
    const std::string at = std::to_string(x) + " " + std::to_string(y);
    return "set piece 1 X " + std::to_string(x) + "\nset piece 1 Y " + std::to_string(y) +
           "\nset piece 1 AP 99\nset piece 1 Items1 6\nset piece 1 Ammo 4\nset piece 1 Shoot 100\n"
           "set cell " +
           at + " Glyph 255\nset cell " + at + " Solidity 1\ndump map\nsquare " + at +
           "\nbutton AimedShot\n";
}

struct Situation {
    const char* name;
    std::string script;
    std::set<std::string> shown; // the events it must show
};

const Situation kSituations[] = {
    {"the gate breaks, its warden falls and the Operatives answer",
     kDeployed + "set piece 1 Items1 6\ndump map\nsquare 13 24\nbutton QuickShot\nsquare 27 24\n"
                 "dump map\n"
                 "time 10:15:41.000\nsquare 32 24\ndump map\nbutton Cancel\nsquare 13 27\n"
                 "button Overwatch\nbutton EndTurn\ndump map\n",
     {"ShotFired", "ShotStopped", "ObjectDestroyed", "Damage", "Death", "Reaction", "WalkStep",
      "TurnBegins"}},
    {"the comms relay's last square brings the alarm squad",
     kDeployed + sergeantOn(69, 15) +
         "square 69 10\ndump map\nsquare 70 10\nsquare 69 11\ndump map\nsquare 70 11\ndump map\n",
     {"ObjectDestroyed", "ScenarioEvent"}},
    {"a hit on the generator switches its field off",
     kDeployed + sergeantOn(40, 24) + "square 44 24\ndump map\n",
     {"ForceFieldDown"}},
    {"ten turns of the Operatives against a squad that only waits",
     kDeployed + "dump map\nrepeat 10\nbutton EndTurn\ndump map\nend\n",
     {"ShotFired", "Death", "ScenarioEvent", "TurnBegins"}},
};

std::vector<json> play(const std::string& script) {
    std::istringstream in(script);
    std::ostringstream out, err;
    ScriptRunner runner(KORVATH_GAME_DIR, out, err);
    EXPECT_EQ(runner.run(in, "events.kvs"), 0) << err.str();
    std::vector<json> dumps;
    std::istringstream lines(out.str());
    for (std::string l; std::getline(lines, l);) dumps.push_back(json::parse(l));
    return dumps;
}

std::map<int, json> piecesOf(const json& dump) {
    std::map<int, json> out;
    for (const json& p : dump["Pieces"]) out[p["index"].get<int>()] = p;
    return out;
}

int glyphAt(const json& dump, const json& square) {
    return dump["map"]["Glyph"][square[1].get<int>() - 1][square[0].get<int>() - 1];
}

int linesWith(const json& dump, size_t from, const std::string& text) {
    int n = 0;
    for (size_t k = from; k < dump["log"].size(); ++k)
        n += dump["log"][k].get<std::string>().find(text) != std::string::npos;
    return n;
}

// What happened between two dumps, as the events say and as the battle shows.
void checkBetween(const json& before, const json& after, std::set<std::string>& shown) {
    const json& events = after["events"];
    std::map<int, int> shots;
    std::set<int> deaths;
    int fieldSquares = 0, arrived = 0, damageLines = 0, deathLines = 0, announced = 0;
    bool scenarioEvent = false;
    int shooter = 0;     // of the last shot fired
    bool stopped = true; // and it has stopped
    for (const json& e : events) {
        const std::string kind = e["event"];
        shown.insert(kind);
        if (kind == "ShotFired") {
            EXPECT_TRUE(stopped) << "a shot began before the last one stopped";
            shooter = e["shooter"];
            stopped = false;
            ++shots[shooter];
        } else if (kind == "ShotStopped") {
            EXPECT_EQ(e["shooter"].get<int>(), shooter);
            stopped = true;
        } else if (kind == "Damage") {
            damageLines += e["harm"] == "flames" || (e["harm"] == "shot" && e["done"] != 0);
        } else if (kind == "Death") {
            EXPECT_TRUE(deaths.insert(e["soldier"].get<int>()).second);
            deathLines += e["harm"] != "blow";
        } else if (kind == "ObjectDestroyed") {
            EXPECT_EQ(e["glyphAfter"], 131);
            EXPECT_TRUE(scenarioEvent || glyphAt(after, e["square"]) == 131 ||
                        glyphAt(after, e["square"]) == 255);
        } else if (kind == "ForceFieldDown") {
            fieldSquares += e["squares"].get<int>();
        } else if (kind == "ScenarioEvent") {
            scenarioEvent = true;
            arrived += e["reinforcements"].get<int>();
        } else if (kind == "Reaction") {
            announced += !e["endOfWalk"].get<bool>();
        }
    }
    EXPECT_TRUE(stopped) << "a shot that never stopped";

    const auto was = piecesOf(before), is = piecesOf(after);
    EXPECT_EQ(is.size(), was.size() + arrived) << "soldiers who arrived";
    for (const auto& [i, p] : is) {
        const auto old = was.find(i);
        if (old == was.end()) continue;
        // Every shot spends one round of the shooter's weapon (an event reloads them all).
        if (!scenarioEvent)
            EXPECT_EQ(old->second["Ammo"].get<int>() - p["Ammo"].get<int>(), shots[i])
                << "shots of soldier " << i;
        const bool fell = old->second["Wounds"] > 0 && p["Wounds"] == 0;
        EXPECT_EQ(fell, deaths.count(i) == 1) << "soldier " << i;
    }
    int fieldsGone = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 80; ++x) {
            const int was = before["map"]["Glyph"][y][x], is = after["map"]["Glyph"][y][x];
            fieldsGone += (was == 46 || was == 47) && is == 131;
        }
    // A scenario event may change the map as it likes.
    if (!scenarioEvent) EXPECT_EQ(fieldsGone, fieldSquares);
    const size_t logFrom = before["log"].size();
    EXPECT_EQ(linesWith(after, logFrom, " has been shot, taking "), damageLines);
    EXPECT_EQ(linesWith(after, logFrom, " is dead."), deathLines);
    EXPECT_EQ(linesWith(after, logFrom, " sees opponent and fires."), announced);
}

TEST(EventStream, TellsWhatTheBattleShows) {
    for (const Situation& s : kSituations) {
        SCOPED_TRACE(s.name);
        const std::vector<json> dumps = play(s.script);
        ASSERT_GE(dumps.size(), 2u);
        std::set<std::string> shown;
        for (size_t k = 1; k < dumps.size(); ++k) checkBetween(dumps[k - 1], dumps[k], shown);
        for (const std::string& kind : s.shown) EXPECT_EQ(shown.count(kind), 1u) << kind;
        // The animation's own moments stay out of the list.
        EXPECT_EQ(shown.count("ShotSegment") + shown.count("ShotEnded"), 0u);
    }
}

// The battle feed tells each shot in one line with its end, each death and
// each turn, as the events of the same battle do.
TEST(EventStream, TheFeedTellsEveryShotDeathAndTurn) {
    for (const Situation* s : {&kSituations[0], &kSituations[3]}) {
        SCOPED_TRACE(s->name);
        const std::vector<json> out = play(s->script + "feed\n");
        ASSERT_FALSE(out.empty());
        const json& feed = out.back()["feed"];
        std::map<std::string, int> events;
        for (size_t k = 0; k + 1 < out.size(); ++k)
            for (const json& e : out[k]["events"]) ++events[e["event"].get<std::string>()];
        std::map<std::string, int> lines;
        for (const json& l : feed) {
            const std::string text = l["text"];
            const bool shot = text.find(" fires") != std::string::npos ||
                              text.find(" reacts to ") != std::string::npos;
            lines["shot"] += shot;
            if (shot)
                EXPECT_TRUE(text.find("\u2014 hits ") != std::string::npos ||
                            text.find("\u2014 misses") != std::string::npos)
                    << text;
            lines["dead"] += text.size() > 8 && text.substr(text.size() - 8) == " is dead";
            lines["turn"] += text.rfind("Turn ", 0) == 0;
        }
        EXPECT_GT(lines["shot"], 0);
        EXPECT_EQ(lines["shot"], events["ShotFired"]);
        EXPECT_EQ(lines["dead"], events["Death"]);
        EXPECT_EQ(lines["turn"], events["TurnBegins"]);
    }
}

} // namespace
} // namespace korvath
