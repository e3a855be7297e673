#include "game/files/Autosave.h"

#include "game/files/SavedGame.h"

#include <filesystem>
#include <vector>

namespace korvath {

std::string autosaveBase(const std::string& folder, int n) {
    return (std::filesystem::path(folder) / ("autosave" + std::to_string(n))).string();
}

void autosave(const BattleState& b, const std::string& folder, const SaveFiles& files) {
    const std::string& scenario = b.ScenarioName;
    // What is on the disk counts, a save cut short included.
    finishInterruptedSaves(folder, files);
    // The new battle as autosave1, each older set one place back: nine files
    // through one commit record, so that the three sets change as one.
    std::vector<FileToWrite> out;
    const auto newest = savedGameFiles(autosaveBase(folder, 1), scenario);
    auto contents = savedGameContents(b);
    for (int k = 0; k < 3; ++k) out.push_back({newest[k], std::move(contents[k])});
    std::vector<std::array<std::string, 3>> emptied;
    for (int n = 1; n < kAutosaves; ++n) {
        const auto from = savedGameFiles(autosaveBase(folder, n), scenario);
        const auto to = savedGameFiles(autosaveBase(folder, n + 1), scenario);
        bool whole = true;
        for (const auto& f : from) whole = whole && files.exists(f);
        if (!whole) {
            emptied.push_back(to); // nothing sound to move there
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            const std::string bytes = files.read(from[k]);
            out.push_back({to[k], {bytes.begin(), bytes.end()}});
        }
    }
    const std::string record = (std::filesystem::path(folder) / "autosave").string();
    writeAsWhole(out, commitRecordName(record, scenario), files);
    // A set whose place had nothing to take: its ".map" goes first, so the
    // dialog never offers a part of it.
    for (const auto& names : emptied)
        for (int k = 2; k >= 0; --k) files.remove(names[k]);
    files.syncFolder(folder);
}

} // namespace korvath
