#include "game/state/Fields.h"

#include <cstring>
#include <limits>

namespace korvath {

namespace {

template <typename R, auto M> int32_t read(const R& r) {
    return static_cast<int32_t>(r.*M);
}
template <typename R, auto M> void write(R& r, int32_t v) {
    using T = std::remove_reference_t<decltype(r.*M)>;
    r.*M = static_cast<T>(v);
}
template <typename R, auto M> const std::string& readText(const R& r) {
    return r.*M;
}
template <typename R, auto M> void writeText(R& r, const std::string& v) {
    r.*M = v;
}
template <int Slot> int32_t readItem(const PieceRecord& r) {
    return r.Items[Slot];
}
template <int Slot> void writeItem(PieceRecord& r, int32_t v) {
    r.Items[Slot] = v;
}

constexpr int32_t kAny = std::numeric_limits<int32_t>::max();

template <typename R, auto M>
Field<R> number(const char* name, int column, int offset, int32_t min = -kAny - 1,
                int32_t max = kAny) {
    return {
        name, FieldKind::Number, read<R, M>, write<R, M>, nullptr, nullptr, column, offset, 0, min,
        max};
}
template <typename R, auto M> Field<R> byte(const char* name, int column, int offset) {
    return {name,   FieldKind::Byte, read<R, M>, write<R, M>, nullptr, nullptr,
            column, offset,          0,          0,           255};
}
template <typename R, auto M>
Field<R> text(const char* name, int column, size_t maxLength, int offset = -1) {
    return {name,   FieldKind::Text, nullptr,  nullptr, readText<R, M>, writeText<R, M>,
            column, offset,          maxLength};
}
template <int Slot> PieceField item(const char* name) {
    // Items fill columns 17..22 of a unit line, 4 bytes each from byte 96.
    return {name,      FieldKind::Number,   readItem<Slot>, writeItem<Slot>, nullptr, nullptr,
            15 + Slot, 96 + 4 * (Slot - 1), 0,              0,               kMaxEquipment};
}

using P = PieceRecord;

// The soldier record: the unit line's columns (Name first; Wounds fills
// MaxWounds too), the 140-byte saved record's layout (Name: a length byte and
// 30 characters) and the values the rules can use: a position on the map or
// 0 for one not placed, a picture row and frame of the soldier pictures,
// items of the equipment table, a target disc no wider than three squares,
// and points and skills well inside what their sums and differences can hold.
// Every record the game writes, empty ones included, lies within them.
constexpr int32_t kSkill = 1000, kWounds = 10000;
const std::vector<PieceField> kPieceFields = {
    text<P, &P::Name>("Name", 0, 30, 0),
    number<P, &P::Side>("Side", 1, 32, 0, 4),
    number<P, &P::X>("X", 2, 36, 0, kMapWidth),
    number<P, &P::Y>("Y", 3, 40, 0, kMapHeight),
    number<P, &P::MinDifficulty>("MinDifficulty", 4, 44, 0, 99),
    number<P, &P::Picture>("Picture", 5, 48, 0, kPictureRows),
    number<P, &P::AP>("AP", 6, 52, -kSkill, kSkill),
    number<P, &P::Attack>("Attack", 8, 56, -kSkill, kSkill),
    number<P, &P::Shoot>("Shoot", 9, 60, -kSkill, kSkill),
    number<P, &P::Strength>("Strength", 10, 64, -kSkill, kSkill),
    number<P, &P::Toughness>("Toughness", 11, 68, -kSkill, kSkill),
    number<P, &P::Wounds>("Wounds", 12, 72, -kWounds, kWounds),
    number<P, &P::MaxWounds>("MaxWounds", 12, 76, -kWounds, kWounds),
    number<P, &P::Endurance>("Endurance", 13, 80, -kSkill, kSkill),
    number<P, &P::Fatigue>("Fatigue", 14, 84, -kSkill, kSkill),
    number<P, &P::Cool>("Cool", 15, 88, -kSkill, kSkill),
    number<P, &P::BaseAP>("BaseAP", 7, 92, -kSkill, kSkill),
    item<1>("Items1"),
    item<2>("Items2"),
    item<3>("Items3"),
    item<4>("Items4"),
    item<5>("Items5"),
    item<6>("Items6"),
    number<P, &P::Frame>("Frame", -1, 120, 0, kPictureFrames),
    number<P, &P::UnderGlyph>("UnderGlyph", -1, 124, 0, kMaxGlyphs),
    {"Overwatch", FieldKind::Flag, read<P, &P::Overwatch>, write<P, &P::Overwatch>, nullptr,
     nullptr, -1, 128, 0, 0, 1},
    number<P, &P::TargetSize>("TargetSize", 22, 132, 0, 3 * kSquare),
    byte<P, &P::Ammo>("Ammo", -1, 136),
};

// A map square: the 8-byte record of map files and saved maps.
const std::vector<CellField> kCellFields = {
    byte<MapCell, &MapCell::Glyph>("Glyph", -1, 0),
    byte<MapCell, &MapCell::Solidity>("Solidity", -1, 1),
    number<MapCell, &MapCell::PathCost>("PathCost", -1, 4),
};

using E = EquipmentType;

// An equipment line's columns (column 12 is read and ignored), with the
// values the rules can use: weights, costs and reach that no sum of them
// can overflow.
const std::vector<EquipmentField> kEquipmentFields = {
    text<E, &E::Name>("Name", 0, 20),
    byte<E, &E::AmmoType>("AmmoType", 1, -1),
    text<E, &E::Kind>("Kind", 2, 0),
    number<E, &E::Weight>("Weight", 3, -1, 0, kSkill),
    text<E, &E::DamageDice>("DamageDice", 4, 0),
    number<E, &E::AimedShotAP>("AimedShotAP", 5, -1, 0, kSkill),
    number<E, &E::QuickShotAP>("QuickShotAP", 6, -1, 0, kSkill),
    number<E, &E::Range>("Range", 7, -1, 0, kSkill),
    byte<E, &E::Capacity>("Capacity", 8, -1),
    byte<E, &E::HeldFrame>("HeldFrame", 9, -1),
    text<E, &E::Effect>("Effect", 10, 0),
    text<E, &E::Value>("Value", 11, 0),
    text<E, &E::TraceColour>("TraceColour", 13, 0),
};

} // namespace

const std::vector<PieceField>& pieceFields() {
    return kPieceFields;
}
const std::vector<CellField>& cellFields() {
    return kCellFields;
}
const std::vector<EquipmentField>& equipmentFields() {
    return kEquipmentFields;
}

int itemSlotOf(const PieceField& f) {
    return std::strncmp(f.name, "Items", 5) == 0 ? f.name[5] - '0' : 0;
}

} // namespace korvath
