#include "game/combat/Impacts.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

// Finding where an item's bad data came from, so the player can mend the file.
namespace korvath {

namespace {

// The line of the scenario description whose equipment fields match `e`;
// 0 when the file cannot be read or no line matches (a loaded game, say).
int equipmentLine(const std::string& path, const EquipmentType& e) {
    try {
        TextFile f = TextFile::load(path);
        while (!f.atEnd()) {
            const std::string line = f.readLine();
            const auto fields = splitTabs(line, 14);
            if (fields.size() == 14 && fields[0].substr(0, 20) == e.Name &&
                fields[4] == e.DamageDice && fields[13] == e.TraceColour)
                return f.lineNumber();
        }
    } catch (const DataError&) {
    }
    return 0;
}

} // namespace

void reportEquipmentError(Battle& b, int item, const std::string& reason) {
    const std::string path = gamePath(b.AppDir, "\\scenarios\\" + b.ScenarioName + "Desc.txt");
    const std::string text = DataError(path, equipmentLine(path, b.item(item)), reason).what();
    if (!b.dataErrorsShown.insert(text).second) return;
    b.warning(text);
}

} // namespace korvath
