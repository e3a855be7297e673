// A battle played through the command registry is written down as it goes;
// the headless driver plays the recording to the very same state.
#include "game/commands/Recording.h"
#include "Script.h"
#include "StateJson.h"
#include "TestData.h"
#include "engine/DataError.h"
#include "game/commands/Playback.h"
#include "game/commands/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace korvath {
namespace {

// The time of day moves on at every question, so every reseed differs.
struct MovingClock : Clock {
    int now = 10 * 3600 * 1000;
    uint32_t ticks() override { return 0; }
    int msSinceMidnight() override { return now += 1237; }
};

// Gives the battle a command at some of the waits in which the window lets
// input through, as a player clicking while a soldier walks or falls.
struct ImpatientPlayer : Presenter {
    Battle* b = nullptr;
    std::map<int, std::vector<std::string>> at; // by the how-manyth such wait
    int waits = 0;
    void beat(Beat beat) override {
        if (!timingOf(beat).letMessagesRun) return;
        if (auto it = at.find(++waits); it != at.end()) runCommand(*b, it->second);
    }
    void repaint() override {}
    void letMessagesRun() override {}
};

std::vector<std::vector<std::string>> raid(const std::string& savedSet) {
    std::vector<std::vector<std::string>> c;
    const int stars[8][2] = {{9, 22}, {11, 22}, {7, 24}, {13, 24},
                             {9, 25}, {11, 25}, {7, 27}, {13, 27}};
    for (int i = 0; i < 8; ++i) {
        c.push_back({"row", std::to_string(i)});
        c.push_back({"square", std::to_string(stars[i][0]), std::to_string(stars[i][1])});
    }
    for (int turn = 0; turn < 4; ++turn) {
        for (int man = 0; man < 8; ++man) {
            c.push_back({"button", "Next"});
            c.push_back({"hover", "900", "700"});
            c.push_back({"square", std::to_string(30 + man % 3), std::to_string(23 + man % 2)});
            c.push_back({"button", man % 2 ? "QuickShot" : "AimedShot"});
            c.push_back({"square", "44", "24"});
            c.push_back({"button", "Cancel"});
            if (man == 7) c.push_back({"button", "Overwatch"});
        }
        if (turn == 1) c.push_back({"menu", "Savegame", savedSet});
        c.push_back({"button", "EndTurn"});
    }
    c.push_back({"menu", "Loadgame", savedSet});
    c.push_back({"button", "EndTurn"});
    return c;
}

json withoutPorts(json j) {
    for (const char* k : {"sounds", "messages", "ticks", "pictures"}) j.erase(k);
    return j;
}

json replayHeadless(const std::string& script) {
    std::ostringstream out, err;
    ScriptRunner runner(KORVATH_GAME_DIR, out, err);
    std::istringstream in(script + "dump map\n");
    EXPECT_EQ(runner.run(in, "the recording"), 0) << err.str();
    return json::parse(out.str());
}

TEST(Recording, PlaysBackToTheSameBattleWithItsReseedsInputMeanwhileAndSaves) {
    test::TempDir saves;
    const std::string savedSet = (saves.path / "raid game_korvath.map").string();
    Battle b;
    b.AppDir = KORVATH_GAME_DIR;
    if (!fs::exists(fs::path(b.AppDir) / "scenarios")) GTEST_SKIP() << "no game folder built";
    HeadlessPorts ports;
    MovingClock clock;
    ImpatientPlayer player;
    Recording recording;
    ports.attach(b);
    b.ports.clock = &clock;
    b.ports.presenter = &player;
    b.ports.watcher = &recording;
    player.b = &b;
    player.at = {{3, {"menu", "ShowWounds"}}, {40, {"square", "12", "22"}}, {41, {"key", "n"}}};

    b.rng.setSeed(4242);
    chooseScenario(b, ScenarioId::Korvath, 3);
    createBattle(b);
    recording.battleBegins(b, 4242);
    showBattle(b);
    runCommand(b, {"activate"});
    for (const auto& words : raid(savedSet))
        if (b.windowOpen) runCommand(b, words);
    ASSERT_TRUE(b.windowOpen) << "the raid should still be on";
    ASSERT_GE(player.waits, 41) << "the impatient clicks never came";

    json played = battleJson(b, true, false);
    played["seed"] = b.rng.seed();
    played["draws"] = b.rng.draws();
    showTexts(played);

    const std::string script = recording.script();
    EXPECT_NE(script.find("\nmeanwhile "), std::string::npos) << script;
    EXPECT_NE(script.find("\ntime "), std::string::npos);
    EXPECT_NE(script.find("\"" + savedSet + "\""), std::string::npos) << "a path with a space";
    // Hovers that change nothing are left out.
    EXPECT_EQ(script.find("hover 900 700\nhover"), std::string::npos);

    // The window reads the same recording step by step.
    std::istringstream whole(script);
    const ReplayScript read = readReplay(whole, "recording");
    EXPECT_EQ(read.seed, 4242u);
    EXPECT_EQ(read.difficulty, 3);
    size_t later = 0, timed = 0;
    for (const ReplayStep& s : read.steps) {
        later += s.meanwhile.size();
        timed += !s.times.empty();
    }
    EXPECT_EQ(later, 3u);
    EXPECT_GT(timed, 10u);

    // The replay saves and loads aside: the player's set is never touched.
    fs::remove_all(saves.path);
    const json replayed = replayHeadless(script);
    EXPECT_FALSE(fs::exists(savedSet));
    const json r = withoutPorts(replayed);
    if (r != played && std::getenv("KORVATH_KEEP_REPLAY")) {
        std::ofstream("/tmp/rt_played.json") << played.dump(1);
        std::ofstream("/tmp/rt_replayed.json") << r.dump(1);
        std::ofstream("/tmp/rt_script.kvs") << script;
    }
    EXPECT_TRUE(r == played) << "the replay ends elsewhere; see the differences above";
}

TEST(Recording, ABadReplayIsRefusedNamingItsLine) {
    const struct {
        const char* text;
        int line;
        const char* says;
    } cases[] = {
        {"start korvath\njump 3 4\n", 2, "unknown command \"jump\""},
        {"start korvath\nsquare 3 x\n", 2, "Y is not a whole number"},
        {"start korvath\nclick 2560 10\n", 2, "outside the map"},
        {"start korvath\nsquare 0 10\n", 2, "outside the map"},
        {"start korvath\nbutton\n", 2, "usage: button NAME"},
        {"start korvath\ndump map\n", 2, "is for korvath-headless"},
        {"replay 2\nstart korvath\n", 1, "another version"},
        {"seed -1\nstart korvath\n", 1, "0..4294967295"},
        {"start korvath 9\n", 1, "1..8"},
        {"start korvath\nmeanwhile 1 button Next\n", 2, "follows a command"},
        {"start korvath\nbutton Next\nmeanwhile 0 key a\n", 3, "1 or more"},
        {"start korvath\ntime 25:00:00.000\n", 2, "HH:MM:SS.mmm"},
        {"start korvath\nmenu Loadgame \"open\n", 2, "closing quote"},
        {"button Next\n", 1, "before the battle"},
        {"# nothing\n", 0, "never starts"},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        try {
            readReplay(in, "bad.kvs");
            ADD_FAILURE() << c.text << " was read";
        } catch (const DataError& e) {
            EXPECT_EQ(e.line(), c.line) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            EXPECT_EQ(e.file(), "bad.kvs");
        }
    }
}

TEST(Recording, WordsWithSpacesQuotesAndHashesSurviveTheRoundTrip) {
    for (const std::string w : {"plain", "two words", "a#b", "say \"hi\"", "back\\slash", ""}) {
        const auto back = scriptWords("menu Loadgame " + quotedWord(w) + " # note");
        ASSERT_EQ(back.size(), 3u) << w;
        EXPECT_EQ(back[2], w);
    }
    EXPECT_THROW(scriptWords("menu Loadgame \"open"), std::invalid_argument);
    EXPECT_EQ(parseTimeOfDay(formatTimeOfDay(86399999)), 86399999);
    EXPECT_EQ(parseTimeOfDay("24:00:00.000"), -1);
    EXPECT_EQ(parseTimeOfDay("10:00:00.000x"), -1);
}

} // namespace
} // namespace korvath
