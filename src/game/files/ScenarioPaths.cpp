#include "game/files/ScenarioPaths.h"

#include "engine/Paths.h"
#include "game/files/ScenarioFolders.h"

namespace korvath {

std::string scenarioFileOf(const std::string& appDir, const std::string& folder,
                           const std::string& name) {
    if (folder.empty()) return gamePath(appDir, "\\scenarios\\" + name);
    return fileInFolder(folder, name);
}

std::string graphicsFileOf(const std::string& appDir, const std::string& folder,
                           const std::string& name) {
    if (!folder.empty()) {
        const std::string own = fileInFolder(folder, name);
        if (fileExists(own)) return own;
    }
    return gamePath(appDir, "\\graphics\\" + name);
}

std::string scenarioFilePath(const BattleState& b, const std::string& name) {
    return scenarioFileOf(b.AppDir, b.ScenarioFolder, name);
}

std::string graphicsFilePath(const BattleState& b, const std::string& name) {
    return graphicsFileOf(b.AppDir, b.ScenarioFolder, name);
}

std::string ownGraphicsFilePath(const BattleState& b, const std::string& name) {
    if (b.ScenarioFolder.empty()) return gamePath(b.AppDir, "\\graphics\\" + name);
    const std::string own = fileInFolder(b.ScenarioFolder, name);
    return fileExists(own) ? own : std::string();
}

} // namespace korvath
