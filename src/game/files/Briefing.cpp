#include "game/files/Briefing.h"

#include "engine/Paths.h"
#include "engine/TextFile.h"
#include "game/files/ScenarioPaths.h"

namespace korvath {

std::vector<std::string> briefingLines(const BattleState& b) {
    std::vector<std::string> out;
    TextFile f = TextFile::load(scenarioFilePath(b, b.ScenarioName + "Desc.txt"));
    while (!f.atEnd() && f.readLine() != ": Scenario Description") {
    }
    while (!f.atEnd()) {
        std::string line = f.readLine();
        if (line == ": end of scenario description") break;
        out.push_back(std::move(line));
    }
    return out;
}

std::string briefingPicturePath(const BattleState& b) {
    if (!b.ScenarioFolder.empty()) {
        // A player's scenario may bring its own; else the Vexlar's, the common one.
        const std::string own = ownGraphicsFilePath(b, b.ScenarioName + "IntroPic.bmp");
        return own.empty() ? gamePath(b.AppDir, "\\graphics\\KorvathIntroPic.bmp") : own;
    }
    if (b.ScenarioName == "korvath")
        return gamePath(b.AppDir, "\\graphics\\" + b.ScenarioName + "IntroPic.bmp");
    if (b.ScenarioName == "vexlar") return gamePath(b.AppDir, "\\graphics\\KorvathIntroPic.bmp");
    return {};
}

std::string scenarioTitle(const BattleState& b) {
    return b.ScenarioTitle.empty() ? b.ScenarioName : b.ScenarioTitle;
}

} // namespace korvath
