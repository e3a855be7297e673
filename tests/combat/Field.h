#pragma once
#include "TinyBattle.h"

#include <memory>
#include <string>

namespace korvath::combat {

constexpr Rgb kWallPixels = rgb(90, 90, 90);
constexpr int kWall = 10;   // Solidity 4
constexpr int kCrate = 70;  // Solidity 3
constexpr int kBarrel = 80; // Solidity 2

// An open 80 x 50 field of black floor (the tiny battle), every glyph drawn in
// its own flat colour (floor black), nobody on it yet.
struct Field {
    std::unique_ptr<Battle> battle = testing::makeTinyBattle();
    Battle& b = *battle;
    testing::WatchingPorts rec;

    Field() {
        for (int g = 1; g <= kMaxGlyphs; ++g)
            b.Glyphs[g].Picture =
                Raster(kSquare, kSquare, g == kFloorGlyph ? 0 : rgb(g, 255 - g, 77));
        rec.attach(b);
    }

    // A square of glyph g with its Solidity, drawn on the terrain picture.
    void put(int x, int y, int g) {
        b.cell(x, y).Glyph = static_cast<uint8_t>(g);
        CalculateSolidity(b, x, y, g);
        b.drawGlyph(x, y, g);
    }

    // A living soldier standing on (x, y), marked on the map as the display does.
    PieceRecord& soldier(int i, int side, int x, int y, int wounds = 5) {
        PieceRecord& p =
            testing::addPiece(b, i, (side == 1 ? "Raider " : "Guard ") + std::to_string(i), side, x,
                              y, wounds, wounds);
        p.UnderGlyph = kFloorGlyph;
        b.cell(x, y) = {kOccupiedGlyph, 1, 0};
        b.TerrainBitmap.fillRect((x - 1) * kSquare + 8, (y - 1) * kSquare + 8, x * kSquare - 8,
                                 y * kSquare - 8, rgb(0, 0, 255));
        return p;
    }

    int addItem(int index, const std::string& name, const std::string& dice, int capacity = 0,
                int heldFrame = 1) {
        EquipmentType& e = b.EquipmentTypes[index];
        e.Name = name;
        e.DamageDice = dice;
        e.Capacity = static_cast<uint8_t>(capacity);
        e.HeldFrame = static_cast<uint8_t>(heldFrame);
        return index;
    }
};

} // namespace korvath::combat
