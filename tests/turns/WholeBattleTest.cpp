// Whole battles on the real scenarios: the battle_*.kvs scripts place the
// Raiders and then only end turns. Played twice, a battle must come out the
// same to the byte, and it must end decided or after its thirty turns.
#include "TestData.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::vector<fs::path> battleScripts() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(KORVATH_SCRIPT_DIR)) {
        const std::string name = e.path().filename().string();
        if (name.rfind("battle_", 0) == 0 && e.path().extension() == ".kvs")
            out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The built game folder; KORVATH_TEST_GAME_DIR points elsewhere when the
// folder of this build is not made (rules-only builds).
fs::path gameFolder() {
    if (const char* dir = std::getenv("KORVATH_TEST_GAME_DIR")) return dir;
    return KORVATH_GAME_DIR;
}

struct Played {
    int status = -1;
    std::string out;
};

Played play(const fs::path& script, const fs::path& dir) {
    const fs::path out = dir / "out.json";
    const std::string cmd = std::string("\"") + KORVATH_HEADLESS + "\" --data \"" +
                            gameFolder().string() + "\" \"" + script.string() + "\" >\"" +
                            out.string() + "\" 2>/dev/null";
    const int rc = std::system(cmd.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, korvath::test::readFile(out)};
}

class WholeBattle : public ::testing::TestWithParam<fs::path> {};

} // namespace

TEST_P(WholeBattle, PlaysToTheSameEndEveryTime) {
    if (!fs::exists(gameFolder() / "scenarios")) GTEST_SKIP() << "the game folder is not built";
    korvath::test::TempDir one, two;
    const Played first = play(GetParam(), one.path);
    const Played second = play(GetParam(), two.path);
    ASSERT_EQ(first.status, 0);
    ASSERT_EQ(second.status, 0);
    EXPECT_TRUE(first.out == second.out) << "the two runs differ";

    std::vector<json> dumps;
    std::istringstream lines(first.out);
    for (std::string l; std::getline(lines, l);) dumps.push_back(json::parse(l));
    ASSERT_EQ(dumps.size(), 31u);
    EXPECT_FALSE(dumps.front()["controls"]["PlaceMenGrid"]["visible"].get<bool>());

    uint64_t ticks = 0;
    for (size_t n = 1; n < dumps.size(); ++n) {
        SCOPED_TRACE("after End Turn " + std::to_string(n));
        const json& d = dumps[n];
        EXPECT_GE(d["ticks"].get<uint64_t>(), ticks);
        ticks = d["ticks"].get<uint64_t>();
        if (d["Pieces"].empty()) continue; // the battle is over and its window closed
        EXPECT_TRUE(d["HumanTurn"].get<bool>());
        EXPECT_EQ(d["TurnNumber"].get<int>(), static_cast<int>(n) + 1);
        for (const json& p : d["Pieces"]) {
            if (p["Wounds"].get<int>() <= 0) continue;
            EXPECT_GE(p["X"].get<int>(), 1) << p["Name"];
            EXPECT_LE(p["X"].get<int>(), 80) << p["Name"];
            EXPECT_GE(p["Y"].get<int>(), 1) << p["Name"];
            EXPECT_LE(p["Y"].get<int>(), 50) << p["Name"];
            if (p["Side"].get<int>() == 1) {
                EXPECT_FALSE(p["Overwatch"].get<bool>());
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, WholeBattle, ::testing::ValuesIn(battleScripts()),
                         [](const auto& info) { return info.param.stem().string(); });
