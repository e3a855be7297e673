#include "game/files/Autosave.h"

#include "game/files/SavedGame.h"

#include <filesystem>

namespace korvath {

std::string autosaveBase(const std::string& folder, int n) {
    return (std::filesystem::path(folder) / ("autosave" + std::to_string(n))).string();
}

void autosave(const BattleState& b, const std::string& folder, const SaveFiles& files) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    finishInterruptedSaves(folder, files);
    // A set is what its ".map" shows in the dialog. Each set moves with its
    // ".map" going last, and the set it replaces loses its ".map" first: cut
    // short anywhere, no set in the dialog mixes two turns.
    for (int n = kAutosaves - 1; n >= 1; --n) {
        const auto from = savedGameFiles(autosaveBase(folder, n), b.ScenarioName);
        const auto to = savedGameFiles(autosaveBase(folder, n + 1), b.ScenarioName);
        if (!files.exists(from[2])) continue;
        files.remove(to[2]);
        for (int k = 0; k < 3; ++k) {
            if (files.exists(from[k]))
                files.rename(from[k], to[k], to[k]);
            else
                files.remove(to[k]);
        }
        files.syncFolder(folder);
    }
    writeSavedGame(b, autosaveBase(folder, 1), files);
}

} // namespace korvath
