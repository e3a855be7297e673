#pragma once
#include "game/state/Records.h"

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

// One table of fields for each record: the name the game uses for it, how it
// is read and written, the column of a scenario line that fills it and where
// it lies in a saved record. The saved-game reader and writer, the scenario
// reader, the headless dump and "set" all go through these tables, so a field
// is added in one place.
namespace korvath {

enum class FieldKind {
    Text,   // a string
    Number, // a whole number, stored in 4 bytes
    Byte,   // a whole number 0..255, stored in 1 byte
    Flag,   // true or false, stored in 1 byte as 0 or 1
};

template <typename Record> struct Field {
    const char* name;
    FieldKind kind;
    int32_t (*get)(const Record&); // numbers, bytes and flags
    void (*set)(Record&, int32_t);
    const std::string& (*text)(const Record&); // text fields
    void (*setText)(Record&, const std::string&);
    int column;           // column of the record's line in a scenario file; -1: none
    int savedOffset;      // byte offset in a saved record (text: its length byte); -1: not saved
    size_t maxLength = 0; // text: the characters kept
    // The values the rules can use; a file or a script giving another is
    // refused, so no arithmetic on a field can overflow.
    int32_t min = std::numeric_limits<int32_t>::min();
    int32_t max = std::numeric_limits<int32_t>::max();
};

using PieceField = Field<PieceRecord>;
using CellField = Field<MapCell>;
using EquipmentField = Field<EquipmentType>;

const std::vector<PieceField>& pieceFields();
const std::vector<CellField>& cellFields();
const std::vector<EquipmentField>& equipmentFields();

// The field of that name, or null.
template <typename Record>
const Field<Record>* findField(const std::vector<Field<Record>>& fields, const std::string& name) {
    for (const Field<Record>& f : fields)
        if (name == f.name) return &f;
    return nullptr;
}

// What is wrong with a field's value in r ("X is 100000000, must be 0..80"),
// or "" when it lies in its range.
template <typename R> std::string outOfRange(const Field<R>& f, const R& r) {
    if (f.kind == FieldKind::Text || !f.get) return {};
    const int32_t v = f.get(r);
    if (v >= f.min && v <= f.max) return {};
    return std::string(f.name) + " is " + std::to_string(v) + ", must be " + std::to_string(f.min) +
           ".." + std::to_string(f.max);
}
// The first field of r outside its range, described; "" when none is.
template <typename R> std::string firstOutOfRange(const std::vector<Field<R>>& fields, const R& r) {
    for (const Field<R>& f : fields)
        if (std::string problem = outOfRange(f, r); !problem.empty()) return problem;
    return {};
}

// A soldier's item slots are the fields Items1..Items6; the slot, or 0.
int itemSlotOf(const PieceField& f);

// The fields a column of a scenario line fills, in the table's order; the
// highest column any field takes.
template <typename Record>
std::vector<const Field<Record>*> fieldsOfColumn(const std::vector<Field<Record>>& fields,
                                                 int column) {
    std::vector<const Field<Record>*> out;
    for (const Field<Record>& f : fields)
        if (f.column == column) out.push_back(&f);
    return out;
}
template <typename Record> int lastColumn(const std::vector<Field<Record>>& fields) {
    int last = -1;
    for (const Field<Record>& f : fields) last = f.column > last ? f.column : last;
    return last;
}

} // namespace korvath
