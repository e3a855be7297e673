// The golden battles: each script here plays a whole battle from a fixed
// time of day and seed, and the state it dumps at the end must match the
// stored NAME.golden to the byte. A difference is a change of the game's
// rules (or of the order of its dice); with KORVATH_GOLDEN_WRITE=1 the test
// writes the stored states anew instead, for a change that is meant.
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

std::vector<fs::path> goldenScripts() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(KORVATH_GOLDEN_DIR))
        if (e.path().extension() == ".kvs") out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

// Plain values, or plain rows of them (a soldier, a control, a map row).
bool flat(const json& j, int depth = 0) {
    return std::all_of(j.begin(), j.end(), [&](const json& e) {
        return !e.is_structured() || (depth == 0 && e.is_array() && flat(e, 1));
    });
}

// One key or element a line, a soldier or a row of numbers on one line: a
// change shows in a diff as the few lines it touches.
void write(std::ostream& out, const json& j, int indent) {
    const std::string pad(2 * (indent + 1), ' '), close(2 * indent, ' ');
    if (j.is_object() && !j.empty() && (indent == 0 || !flat(j))) {
        out << "{\n";
        for (auto it = j.begin(); it != j.end(); ++it) {
            out << pad << json(it.key()).dump() << ": ";
            write(out, it.value(), indent + 1);
            out << (std::next(it) == j.end() ? "\n" : ",\n");
        }
        out << close << "}";
    } else if (j.is_array() && !j.empty() && !flat(j)) {
        out << "[\n";
        for (size_t i = 0; i < j.size(); ++i) {
            out << pad;
            write(out, j[i], indent + 1);
            out << (i + 1 == j.size() ? "\n" : ",\n");
        }
        out << close << "]";
    } else {
        out << j.dump();
    }
}

std::string play(const fs::path& script) {
    korvath::test::TempDir dir;
    const fs::path out = dir.path / "out.json";
    const std::string cmd = std::string("\"") + KORVATH_HEADLESS + "\" --data \"" +
                            KORVATH_GAME_DIR + "\" \"" + script.string() + "\" >\"" + out.string() +
                            "\"";
    if (std::system(cmd.c_str()) != 0) return "the script failed";
    std::ostringstream text;
    std::istringstream lines(korvath::test::readFile(out));
    for (std::string l; std::getline(lines, l);) {
        write(text, json::parse(l), 0);
        text << "\n";
    }
    return text.str();
}

class GoldenBattle : public ::testing::TestWithParam<fs::path> {};

} // namespace

TEST_P(GoldenBattle, EndsInTheStoredState) {
    if (!fs::exists(fs::path(KORVATH_GAME_DIR) / "scenarios"))
        GTEST_SKIP() << "the game folder is not built";
    const fs::path stored = fs::path(GetParam()).replace_extension(".golden");
    const std::string state = play(GetParam());
    if (const char* w = std::getenv("KORVATH_GOLDEN_WRITE"); w && std::string(w) == "1") {
        std::ofstream(stored, std::ios::binary) << state;
        return;
    }
    ASSERT_TRUE(fs::exists(stored)) << stored << " is missing: cmake --build build --target golden";
    // Not EXPECT_EQ on the texts: a failure would print two 60 kB states.
    const std::string expected = korvath::test::readFile(stored);
    if (state == expected) return;
    std::istringstream a(expected), b(state);
    std::string la, lb;
    int line = 0;
    while (std::getline(a, la) && std::getline(b, lb) && la == lb) ++line;
    FAIL() << stored.filename() << " differs first at line " << line + 1 << ":\n  stored: " << la
           << "\n  played: " << lb;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenBattle, ::testing::ValuesIn(goldenScripts()),
                         [](const auto& info) { return info.param.stem().string(); });
