#include "ScriptInput.h"

#include "FuzzSupport.h"
#include "Script.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <vector>

namespace korvath::fuzz {

namespace {

std::ostream discard(nullptr);

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> w;
    std::istringstream in(line.substr(0, line.find('#')));
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

// "korvath 3" for a line "start korvath [3]"; "" for any other line.
std::string startKey(const std::vector<std::string>& w) {
    int difficulty = 3;
    if (w.size() < 2 || w.size() > 3 || w[0] != "start" || (w[1] != "korvath" && w[1] != "vexlar"))
        return {};
    if (w.size() == 3 && (!parseInt(w[2], difficulty) || difficulty < 1 || difficulty > 8))
        return {};
    return w[1] + " " + std::to_string(difficulty);
}

bool setsUp(const std::vector<std::string>& w) {
    return w[0] == "seed" || w[0] == "time" || w[0] == "replay";
}

} // namespace

const Battle& startedBattle(const std::string& key) {
    static std::map<std::string, std::unique_ptr<Battle>> started;
    auto& b = started[key];
    if (!b) {
        ScriptRunner r(gameFolder().string(), discard, discard);
        std::istringstream start("start " + key + "\n");
        if (r.run(start, "start") != 0) abort();
        b = std::make_unique<Battle>(r.battle());
    }
    return *b;
}

void playScript(const TrimmedScript& s, const std::string& text) {
    static ScriptRunner runner(gameFolder().string(), discard, discard);
    runner.adopt(startedBattle(s.start));
    std::istringstream script(text);
    runner.run(script, "fuzz.kvs");
    if (s.saves) resetGameFolder();
}

TrimmedScript trimmedScript(std::string_view input) {
    TrimmedScript s;
    std::istringstream in{std::string(input)};
    int depth = 0, lines = 0, endTurns = 0;
    bool beforeCommands = true;
    for (std::string line; lines < 60 && std::getline(in, line); ++lines) {
        auto w = words(line);
        if (!w.empty() && beforeCommands && !setsUp(w)) {
            beforeCommands = false;
            if (const std::string key = startKey(w); !key.empty()) {
                s.start = key;
                s.withStart += line + "\n";
                continue;
            }
        }
        if (!w.empty() && w[0] == "repeat") {
            int n = 0;
            if (++depth > 1) n = 1;
            if (w.size() == 2 && parseInt(w[1], n) && n >= 0)
                line = "repeat " + std::to_string(std::min(n, depth > 1 ? 1 : 2));
        } else if (!w.empty() && w[0] == "end") {
            --depth;
        } else if (w.size() >= 2 && w[0] == "button" && w[1] == "EndTurn" && ++endTurns > 3) {
            continue;
        } else if (w.size() >= 3 && w[0] == "menu" && (w[1] == "Savegame" || w[1] == "Loadgame")) {
            std::string name = w[2].substr(w[2].find_last_of('/') + 1);
            if (name.empty() || name == "." || name == "..") name = "fuzz.map";
            // Saves are named Fuzz..., so that the quick-start games stay as
            // they are for the next input; they can still be loaded.
            if (w[1] == "Savegame" || !sameIgnoringCase(name.substr(0, 10), "quickstart"))
                name = "Fuzz" + name;
            line = "menu " + w[1] + " savedgames/" + name;
            s.saves = true;
        }
        s.text += line + "\n";
        s.withStart += line + "\n";
    }
    return s;
}

} // namespace korvath::fuzz
