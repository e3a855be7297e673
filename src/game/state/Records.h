#pragma once
#include "engine/Raster.h"

#include <array>
#include <cstdint>
#include <string>

namespace korvath {

// Table capacities. Every table is indexed from 1; nothing grows during a battle.
constexpr int kMaxPieces = 160;
constexpr int kMaxEquipment = 30;
constexpr int kMaxGlyphs = 255;
constexpr int kMaxEvents = 10;
constexpr int kMapWidth = 80;
constexpr int kMapHeight = 50;
constexpr int kSquare = 32;
constexpr int kMapPixelsX = kMapWidth * kSquare;  // 2560
constexpr int kMapPixelsY = kMapHeight * kSquare; // 1600
constexpr int kPictureRows = 16;
constexpr int kPictureFrames = 8;

// The two sides: the player's Raiders and the computer's Operatives.
namespace Side {
constexpr int Raiders = 1;
constexpr int Operatives = 2;
} // namespace Side

// Glyphs with a fixed meaning to the rules.
constexpr int kFloorGlyph = 131;
constexpr int kFlashGlyph = 155;
constexpr int kStartStarGlyph = 156;
constexpr int kLastTileGlyph = 156;
constexpr int kOccupiedGlyph = 255;
constexpr int kDeadFrame = 8;

// One soldier. An empty Name marks a free record; alive while Wounds > 0.
struct PieceRecord {
    std::string Name; // at most 30 characters
    int32_t Side = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t MinDifficulty = 0;
    int32_t Picture = 0;
    int32_t AP = 0;
    int32_t Attack = 0;
    int32_t Shoot = 0;
    int32_t Strength = 0;
    int32_t Toughness = 0;
    int32_t Wounds = 0;
    int32_t MaxWounds = 0;
    int32_t Endurance = 0;
    int32_t Fatigue = 0;
    int32_t Cool = 0;
    int32_t BaseAP = 0;
    std::array<int32_t, 7> Items{}; // slots 1..6; Items[1] is the item in hand
    int32_t Frame = 0;
    int32_t UnderGlyph = 0;
    bool Overwatch = false;
    int32_t TargetSize = 0;
    uint8_t Ammo = 0;

    bool alive() const { return Wounds > 0; }
    bool operator==(const PieceRecord&) const = default;
};

// One map square.
struct MapCell {
    uint8_t Glyph = 0;
    uint8_t Solidity = 0;
    int32_t PathCost = 0;
    bool operator==(const MapCell&) const = default;
};

// One kind of item.
struct EquipmentType {
    std::string Name; // at most 20 characters
    uint8_t AmmoType = 0;
    std::string Kind;
    int32_t Weight = 0;
    std::string DamageDice;
    int32_t QuickShotAP = 0;
    int32_t AimedShotAP = 0;
    int32_t Range = 0;
    uint8_t Capacity = 0;
    uint8_t HeldFrame = 0;
    std::string Effect;
    std::string Value;
    std::string TraceColour;
};

// One tile kind.
struct GlyphRecord {
    Raster Picture{kSquare, kSquare};
    std::string Description;
    std::string Action;
};

struct TurnEvents {
    int32_t Turn = 0; // in element 0: the number of events
    std::string EventName;
};

// Obstacle class of a glyph: 4 wall, 3 strong object, 2 weak object, 0 open
// floor; -1 for glyphs outside 1..156, which keep whatever was stored.
constexpr int solidityOfGlyph(int glyph) {
    if (glyph >= 1 && glyph <= 65) return 4;
    if (glyph >= 66 && glyph <= 78) return 3;
    if (glyph >= 79 && glyph <= 104) return 2;
    if (glyph >= 105 && glyph <= 156) return 0;
    return -1;
}

} // namespace korvath
