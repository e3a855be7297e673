// Runs every *.kvs script through korvath-headless and checks the JSON it prints.
//
// Lines of a script that start with "# expect" say what must come out:
//   # expect /JSON/Pointer VALUE   the last dump so far holds VALUE (JSON) there
//   # expect-text /JSON/Pointer TEXT  the string there contains TEXT
//   # expect-status N               the driver's exit status (default 0)
//   # expect-error TEXT             standard error contains TEXT
// "# data: game" runs on the built game folder; otherwise on a small test folder.
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

struct Expectation {
    size_t dumpIndex; // number of dumps before it
    std::string pointer;
    std::string value;
    int line;
    bool substring = false;
};

std::vector<fs::path> scripts() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(KORVATH_SCRIPT_DIR))
        if (e.path().extension() == ".kvs") out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

class Script : public ::testing::TestWithParam<fs::path> {};

} // namespace

TEST_P(Script, ProducesTheExpectedState) {
    const fs::path script = GetParam();
    std::ifstream in(script);
    std::vector<Expectation> expects;
    int status = 0;
    std::vector<std::string> errors;
    bool realGame = false;
    size_t dumps = 0;
    int lineNo = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNo;
        std::istringstream words(line);
        std::string first, second;
        words >> first;
        if (first == "dump") ++dumps;
        if (first != "#") continue;
        words >> second;
        std::string rest;
        std::getline(words >> std::ws, rest);
        if (second == "expect" || second == "expect-text") {
            std::istringstream r(rest);
            Expectation e{dumps, {}, {}, lineNo, second == "expect-text"};
            r >> e.pointer;
            std::getline(r >> std::ws, e.value);
            expects.push_back(e);
        } else if (second == "expect-status") {
            status = std::stoi(rest);
        } else if (second == "expect-error") {
            errors.push_back(rest);
        } else if (second == "data:") {
            realGame = rest == "game";
        }
    }

    korvath::test::TempDir dir;
    fs::path data = dir.path / "game";
    if (realGame) {
        data = KORVATH_GAME_DIR;
        if (!fs::exists(data / "scenarios")) GTEST_SKIP() << "the game folder is not built";
    } else {
        korvath::test::TestScenario().write(data);
    }
    const fs::path out = dir.path / "out.json", err = dir.path / "err.txt";
    const std::string cmd = std::string("\"") + KORVATH_HEADLESS + "\" --data \"" + data.string() +
                            "\" \"" + script.string() + "\" >\"" + out.string() + "\" 2>\"" +
                            err.string() + "\"";
    const int rc = std::system(cmd.c_str());
    const int exitStatus = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    const std::string errText = korvath::test::readFile(err);
    EXPECT_EQ(exitStatus, status) << errText;
    for (const auto& e : errors)
        EXPECT_NE(errText.find(e), std::string::npos) << "stderr: " << errText;

    std::vector<json> states;
    std::istringstream lines(korvath::test::readFile(out));
    for (std::string l; std::getline(lines, l);) states.push_back(json::parse(l));
    for (const auto& e : expects) {
        SCOPED_TRACE(script.filename().string() + ":" + std::to_string(e.line));
        ASSERT_GE(states.size(), e.dumpIndex);
        ASSERT_GT(e.dumpIndex, 0u) << "expectation before any dump";
        const json& state = states[e.dumpIndex - 1];
        const json::json_pointer ptr(e.pointer);
        ASSERT_TRUE(state.contains(ptr)) << e.pointer;
        if (e.substring)
            EXPECT_NE(state.at(ptr).get<std::string>().find(e.value), std::string::npos)
                << state.at(ptr);
        else
            EXPECT_EQ(state.at(ptr), json::parse(e.value)) << e.pointer;
    }
}

INSTANTIATE_TEST_SUITE_P(Scripts, Script, ::testing::ValuesIn(scripts()), [](const auto& info) {
    std::string n = info.param.stem().string();
    for (char& c : n)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
});
