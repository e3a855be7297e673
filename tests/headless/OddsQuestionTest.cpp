// The "odds" question of the headless driver on the real battle: a JSON line
// for the armed shot whose chances add up to one, null when nothing is
// armed, and a battle that plays on exactly as if nobody had asked.
#include "Script.h"
#include "SquadOnStars.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

using nlohmann::json;

namespace korvath {
namespace {

// The eight Raiders on the start stars, the sergeant with the rail cannon
// armed: {ASK} marks where the questions go.
const std::string kGate =
    "start korvath 3\ntime 10:15:30.250\n" + test::kKorvathSquadOnStars + R"(set piece 1 Items1 6
{ASK}square 13 24
button AimedShot
{ASK}square 27 24
dump map
time 10:15:41.000
{ASK}square 27 24
dump map
)";

std::vector<json> play(std::string script, const std::string& ask) {
    for (size_t at; (at = script.find("{ASK}")) != std::string::npos;) script.replace(at, 5, ask);
    std::istringstream in(script);
    std::ostringstream out, err;
    ScriptRunner runner(KORVATH_GAME_DIR, out, err);
    EXPECT_EQ(runner.run(in, "odds.kvs"), 0) << err.str();
    std::vector<json> lines;
    std::istringstream text(out.str());
    for (std::string l; std::getline(text, l);) lines.push_back(json::parse(l));
    return lines;
}

TEST(OddsQuestion, AnswersForTheArmedShotAndChangesNothing) {
    const std::vector<json> plain = play(kGate, "");
    const std::vector<json> asked = play(kGate, "odds 860 760\nodds 400 1200\nodds 2000 40\n");
    std::vector<json> dumps, odds;
    for (const json& j : asked) (j.contains("odds") ? odds : dumps).push_back(j);
    EXPECT_EQ(dumps, plain);

    ASSERT_EQ(odds.size(), 9u);
    // Nothing armed before the button, and after the first shot an aimed
    // shot costs more than the points he has left: a click would not fire.
    for (int k : {0, 1, 2, 6, 7, 8}) EXPECT_TRUE(odds[k]["odds"].is_null()) << k;
    for (int k = 3; k < 6; ++k) {
        const json& o = odds[k]["odds"];
        ASSERT_EQ(o["kind"], "shot");
        EXPECT_EQ(o["shooter"], 1);
        double sum = 0;
        for (const json& end : o["outcomes"]) sum += end["p"].get<double>();
        EXPECT_NEAR(sum, 1, 1e-9);
    }
    // Straight down, the Raider below him is in the way of nearly every shot.
    const json& down = odds[4]["odds"]["outcomes"][0];
    EXPECT_EQ(down["end"], "Soldier");
    EXPECT_EQ(down["soldier"], 2);
    EXPECT_EQ(down["friend"], true);
    EXPECT_GT(down["p"].get<double>(), 0.9);
}

} // namespace
} // namespace korvath
