#include "game/editor/RecordLines.h"

#include "engine/TextFile.h"
#include "game/state/Fields.h"

namespace korvath {

namespace {

template <typename R>
std::string lineOf(const std::vector<Field<R>>& fields, size_t columns, const R& r,
                   const std::string& old) {
    std::vector<std::string> f = old.empty() ? std::vector<std::string>{} : splitTabs(old, columns);
    f.resize(columns);
    for (size_t column = 0; column < columns; ++column) {
        const auto filled = fieldsOfColumn(fields, static_cast<int>(column));
        if (filled.empty()) continue;
        const auto* field = filled[0];
        if (field->kind == FieldKind::Text) {
            const std::string& t = field->text(r);
            // A longer text the record keeps only the start of stays whole.
            if (f[column].substr(0, field->maxLength ? field->maxLength : std::string::npos) != t)
                f[column] = t;
            continue;
        }
        int was = 0;
        const int now = field->get(r);
        if (!parseInt(f[column], was) || was != now) f[column] = std::to_string(now);
    }
    std::string line;
    for (size_t i = 0; i < f.size(); ++i) line += (i ? "\t" : "") + f[i];
    return line;
}

} // namespace

std::string unitLine(const PieceRecord& p, const std::string& old) {
    return lineOf(pieceFields(), 23, p, old);
}

std::string equipmentLine(const EquipmentType& e, const std::string& old) {
    return lineOf(equipmentFields(), 14, e, old);
}

} // namespace korvath
