#include "game/files/ScenarioManifest.h"

#include "engine/DataError.h"
#include "engine/TextFile.h"

#include <cctype>

#include <map>

namespace korvath {

const std::array<ScenarioManifest, 2>& shippedScenarios() {
    static const std::array<ScenarioManifest, 2> shipped = {{
        {"Korvath Tamberhold", "korvath", "blocks.bmp", "UnitsOriginal.bmp", 54, 27, "Korvath.txt",
         "korvathSmallMap.jpg"},
        {"Starship Vexlar F-242", "vexlar", "Vexlar_blocks.bmp", "UnitsOriginal.bmp", 38, 41,
         "vexlar.txt", "vexlarSmallMap.jpg"},
    }};
    return shipped;
}

bool isScenarioName(const std::string& name) {
    if (name.empty() || name.size() > 40) return false;
    for (const char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') return false;
    return true;
}

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 120 || name[0] == '.') return false;
    for (const char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 32) return false;
    return true;
}

namespace {

enum class Kind { Text, Name, File, Column, Row };

struct Key {
    std::string ScenarioManifest::*text = nullptr;
    int ScenarioManifest::*number = nullptr;
    Kind kind;
    bool required;
};

const std::map<std::string, Key>& keys() {
    using M = ScenarioManifest;
    static const std::map<std::string, Key> k = {
        {"Title", {&M::Title, nullptr, Kind::Text, true}},
        {"ScenarioName", {&M::ScenarioName, nullptr, Kind::Name, true}},
        {"BlocksFile", {&M::BlocksFile, nullptr, Kind::File, true}},
        {"UnitsFile", {&M::UnitsFile, nullptr, Kind::File, true}},
        {"ObjectiveX", {nullptr, &M::ObjectiveX, Kind::Column, true}},
        {"ObjectiveY", {nullptr, &M::ObjectiveY, Kind::Row, true}},
        {"FrontText", {&M::FrontText, nullptr, Kind::File, false}},
        {"Picture", {&M::Picture, nullptr, Kind::File, false}},
    };
    return k;
}

// The order the game writes them in.
const char* const kOrder[] = {"Title",      "ScenarioName", "BlocksFile", "UnitsFile",
                              "ObjectiveX", "ObjectiveY",   "FrontText",  "Picture"};

void checkValue(const TextFile& file, const std::string& key, const Key& k,
                const std::string& value, ScenarioManifest& m) {
    switch (k.kind) {
    case Kind::Text:
        if (value.empty()) file.fail(key + " is empty");
        m.*k.text = value;
        return;
    case Kind::Name:
        if (!isScenarioName(value))
            file.fail(key + " \"" + value +
                      "\" must be 1 to 40 letters, digits, '_' or '-' (it names the files)");
        m.*k.text = value;
        return;
    case Kind::File:
        if (!isPlainFileName(value))
            file.fail(key + " \"" + value + "\" is not a file of the scenario's own folder");
        m.*k.text = value;
        return;
    case Kind::Column:
    case Kind::Row: {
        const int v = file.toInt(value, key.c_str());
        const int most = k.kind == Kind::Column ? 80 : 50;
        if (v < 1 || v > most)
            file.fail(key + " is " + std::to_string(v) + ", must be 1.." + std::to_string(most));
        m.*k.number = v;
        return;
    }
    }
}

} // namespace

ScenarioManifest readManifest(TextFile& file) {
    if (file.readLine() != "Korvath scenario")
        file.fail("the first line must be \"Korvath scenario\"");
    ScenarioManifest m;
    std::map<std::string, bool> seen;
    while (!file.atEnd()) {
        const std::string line = file.readLine();
        if (line.empty() || line[0] == ';') continue;
        const auto f = splitTabs(line, 2);
        if (f.size() != 2) file.fail("expected KEY<TAB>VALUE");
        const auto it = keys().find(f[0]);
        if (it == keys().end()) file.fail("unknown key \"" + f[0] + "\"");
        if (seen[f[0]]) file.fail(f[0] + " is given twice");
        seen[f[0]] = true;
        checkValue(file, f[0], it->second, f[1], m);
    }
    for (const auto& [key, k] : keys())
        if (k.required && !seen[key])
            throw DataError(file.name(), 0, "the manifest does not give " + key);
    return m;
}

std::string manifestText(const ScenarioManifest& m) {
    std::string out = "Korvath scenario\n";
    for (const char* key : kOrder) {
        const Key& k = keys().at(key);
        const std::string value = k.text ? m.*k.text : std::to_string(m.*k.number);
        if (!value.empty()) out += std::string(key) + "\t" + value + "\n";
    }
    return out;
}

} // namespace korvath
