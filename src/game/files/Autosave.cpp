#include "game/files/Autosave.h"

#include "game/files/SavedGame.h"

#include <filesystem>

namespace korvath {

static_assert(kAutosaves == kRotationSets, "the autosaves are one rotation");

std::string autosaveBase(const std::string& folder, int n) {
    return (std::filesystem::path(folder) / ("autosave" + std::to_string(n))).string();
}

void autosave(const BattleState& b, const std::string& folder, const SaveFiles& files) {
    const std::string& scenario = b.ScenarioName;
    // What is on the disk counts, a rotation cut short included.
    finishInterruptedSaves(folder, files);
    // The new battle as autosave1, each older set one place back, and a place
    // whose set before it is not whole emptied: one commit, so that the three
    // sets change as one.
    const std::string base = (std::filesystem::path(folder) / "autosave").string();
    Commit rotation{rotationRecordName(base, scenario), {}, {}};
    const auto newest = savedGameFiles(autosaveBase(folder, 1), scenario);
    auto contents = savedGameContents(b);
    for (int k = 0; k < 3; ++k) rotation.written.push_back({newest[k], std::move(contents[k])});
    for (int n = 1; n < kAutosaves; ++n) {
        const auto from = savedGameFiles(autosaveBase(folder, n), scenario);
        const auto to = savedGameFiles(autosaveBase(folder, n + 1), scenario);
        bool whole = true;
        for (const auto& f : from) whole = whole && files.exists(f);
        for (int k = 0; k < 3; ++k) {
            if (!whole) {
                if (files.exists(to[k])) rotation.removed.push_back(to[k]);
                continue;
            }
            const std::string bytes = files.read(from[k]);
            rotation.written.push_back({to[k], {bytes.begin(), bytes.end()}});
        }
    }
    commitAsWhole(rotation, files);
}

} // namespace korvath
