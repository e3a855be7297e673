#include "game/combat/DamageDice.h"
#include "game/state/Pieces.h"

#include "engine/DataError.h"
#include "engine/Paths.h"
#include "engine/TextFile.h"

// The damage dice of the item in hand, and where an item's bad data came
// from, so the player can mend the file.
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

// Tells the player, once per text, that equipment type `item` holds bad data,
// naming the scenario file and the line the item comes from.
void reportEquipmentError(BattleState& b, const Ports& ports, int item, const std::string& reason) {
    const std::string path = gamePath(b.AppDir, "\\scenarios\\" + b.ScenarioName + "Desc.txt");
    const std::string text = DataError(path, equipmentLine(path, b.item(item)), reason).what();
    if (!b.dataErrorsShown.insert(text).second) return;
    ports.warning(text);
}

} // namespace

bool parseDamageDice(const std::string& text, int& n, int& m) {
    const size_t d = text.find('d');
    if (d == std::string::npos) return false;
    const std::string left = text.substr(0, d), right = text.substr(d + 1);
    auto digits = [](const std::string& s) {
        return !s.empty() && s.size() <= 7 &&
               s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(left) || !digits(right)) return false;
    n = std::stoi(left);
    m = std::stoi(right);
    return n >= 1 && n <= 1000 && m >= 1 && m <= 1000000;
}

int RollDamage(BattleState& b, const Ports& ports, int soldier) {
    const int itemIndex = validIndex(soldier) ? b.Pieces[soldier].Items[1] : 0;
    const std::string& text = b.item(itemIndex).DamageDice;
    int n = 1, m = 4;
    if (!text.empty() && !parseDamageDice(text, n, m)) {
        reportEquipmentError(b, ports, itemIndex,
                             b.item(itemIndex).Name + ": the damage \"" + text +
                                 "\" is not of the form NdM (such as 2d6); it does no damage");
        return 0;
    }
    int sum = 0;
    for (int k = 0; k < n; ++k) sum += b.rng.random(m) + 1;
    return sum;
}

} // namespace korvath
