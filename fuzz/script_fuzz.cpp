// korvath-headless scripts, run by the script driver on the fuzz game folder.
// A bad command must end in a script error (status 2); nothing may crash,
// hang or read out of bounds.
//
// So that every input stays quick and harmless, the script is trimmed first:
// at most 60 lines, "repeat" counts of at most 2 (a repeat inside another
// runs once), at most three "button EndTurn", a saved game's path always in
// the game folder's savedgames/ and a save never over a quick-start game. A
// first line "start SCENARIO [DIFFICULTY]" costs nothing: each such battle is
// started once and copied.
#include "FuzzSupport.h"
#include "Script.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <sstream>

using namespace korvath;

namespace {

std::ostream discard(nullptr);
std::unique_ptr<ScriptRunner> runner;
std::map<std::string, std::unique_ptr<Battle>> started; // "korvath 3" -> the battle

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

const Battle& startedBattle(const std::string& key) {
    auto& b = started[key];
    if (!b) {
        ScriptRunner r(fuzz::gameFolder().string(), discard, discard);
        std::istringstream start("start " + key + "\n");
        if (r.run(start, "start") != 0) abort();
        b = std::make_unique<Battle>(r.battle());
    }
    return *b;
}

struct Script {
    std::string text;
    std::string start = "korvath 3"; // the battle it begins with
    bool saves = false;
};

Script trimmed(std::string_view input) {
    Script s;
    std::istringstream in{std::string(input)};
    int depth = 0, lines = 0, commands = 0, endTurns = 0;
    for (std::string line; lines < 60 && std::getline(in, line); ++lines) {
        auto w = words(line);
        if (!w.empty() && commands++ == 0) {
            if (const std::string key = startKey(w); !key.empty()) {
                s.start = key;
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
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    runner = std::make_unique<ScriptRunner>(fuzz::gameFolder().string(), discard, discard);
    startedBattle("korvath 3");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Script s = trimmed({reinterpret_cast<const char*>(data), size});
    // The same runner each time (its pictures' memory is reused), as new.
    runner->ports() = HeadlessPorts();
    runner->battle() = startedBattle(s.start);
    runner->ports().attach(runner->battle());
    std::istringstream script(s.text);
    runner->run(script, "fuzz.kvs");
    if (s.saves) fuzz::resetGameFolder();
    return 0;
}
