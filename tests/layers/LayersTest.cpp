// The layers of the source tree: engine, then the game's folders in the
// order state, files and display, combat, turns, commands, the scenario
// editor's model, then the front ends. A file includes only what lies
// before it (files and display do not include each other), the rules never
// see Qt, no source file is longer than 500 lines, and the display never
// marks a square.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSource = KORVATH_SOURCE_DIR;

// The layer of a source file, or -1 outside the layered tree.
int layerOf(const std::string& path) {
    static const std::vector<std::pair<std::string, int>> layers = {
        {"src/engine/", 0},        {"src/game/state/", 1},  {"src/game/files/", 2},
        {"src/game/display/", 2},  {"src/game/combat/", 3}, {"src/game/turns/", 4},
        {"src/game/commands/", 5}, {"src/game/editor/", 6}, {"src/ui/", 7},
        {"src/app/", 8},           {"tools/headless/", 7}};
    for (const auto& [prefix, rank] : layers)
        if (path.rfind(prefix, 0) == 0) return rank;
    return -1;
}

std::vector<std::string> sourceFiles() {
    std::vector<std::string> out;
    for (const char* root : {"src", "tools"})
        for (const auto& e : fs::recursive_directory_iterator(kSource / root)) {
            const auto ext = e.path().extension();
            if (ext == ".cpp" || ext == ".h")
                out.push_back(fs::relative(e.path(), kSource).string());
        }
    return out;
}

std::vector<std::string> includes(const std::string& file) {
    static const std::regex include(R"re(^\s*#include\s*[<"]([^">]+)[">])re");
    std::vector<std::string> out;
    std::ifstream in(kSource / file);
    std::smatch m;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, m, include)) out.push_back(m[1]);
    return out;
}

} // namespace

TEST(Layers, IncludesRunOneWayAndTheRulesNeverSeeQt) {
    for (const std::string& file : sourceFiles()) {
        const int own = layerOf(file);
        if (own < 0) continue;
        for (const std::string& inc : includes(file)) {
            const int other = layerOf((inc.rfind("engine/", 0) == 0 || inc.rfind("game/", 0) == 0 ||
                                       inc.rfind("ui/", 0) == 0)
                                          ? "src/" + inc
                                          : std::string());
            if (other < 0) {
                if (own <= 6) EXPECT_NE(inc.rfind("Q", 0), 0u) << file << " includes " << inc;
                continue;
            }
            EXPECT_LE(other, own) << file << " includes " << inc;
            // files and display stand side by side.
            if (other == own && own == 2)
                EXPECT_EQ(("src/" + inc).substr(0, 14), file.substr(0, 14))
                    << file << " includes " << inc;
        }
    }
}

TEST(Layers, NoSourceFileIsLongerThanFiveHundredLines) {
    for (const std::string& file : sourceFiles()) {
        std::ifstream in(kSource / file);
        int lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        EXPECT_LE(lines, 500) << file;
    }
}

// Which squares the soldiers hold is the rules' to say (markHeldSquares): the
// drawing only draws, and never marks a square.
TEST(Layers, TheDisplayNeverMarksASquare) {
    static const std::regex marking(R"re(\b(Glyph|Solidity)\s*=[^=])re");
    for (const std::string& file : sourceFiles()) {
        if (file.rfind("src/game/display/", 0) != 0) continue;
        std::ifstream in(kSource / file);
        int n = 0;
        for (std::string line; std::getline(in, line);) {
            ++n;
            EXPECT_FALSE(std::regex_search(line, marking)) << file << ":" << n << ": " << line;
        }
    }
}
