#pragma once
#include "game/state/Battle.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace korvath::combat {

constexpr Rgb kWallPixels = rgb(90, 90, 90);
constexpr int kWall = 10;   // Solidity 4
constexpr int kCrate = 70;  // Solidity 3
constexpr int kBarrel = 80; // Solidity 2

struct Recorder : Sound, Dialogs, Clock, Presenter {
    std::vector<std::string> sounds, messages;
    int processed = 0;
    void play(const std::string& name) override { sounds.push_back(name); }
    void information(const std::string& text) override { messages.push_back(text); }
    std::string openFile(const FileQuestion&) override { return {}; }
    std::string saveFile(const FileQuestion&) override { return {}; }
    uint32_t ticks() override { return 0; }
    int msSinceMidnight() override { return 0; }
    void beat(Beat) override {}
    void repaint() override {}
    void letMessagesRun() override { ++processed; }
};

// An open 80 x 50 field of black floor, every glyph drawn in its own flat
// colour (floor black), the direction tables filled, nobody on it yet.
struct Field {
    std::unique_ptr<Battle> battle = std::make_unique<Battle>();
    Battle& b = *battle;
    Recorder rec;

    Field() {
        b.TerrainBitmap = Raster(kMapPixelsX, kMapPixelsY);
        b.MapImage = Raster(kMapPixelsX, kMapPixelsY);
        for (int g = 1; g <= kMaxGlyphs; ++g)
            b.Glyphs[g].Picture =
                Raster(kSquare, kSquare, g == kFloorGlyph ? 0 : rgb(g, 255 - g, 77));
        for (int row = 1; row <= kPictureRows; ++row)
            for (int f = 1; f <= kPictureFrames; ++f)
                b.UnitPictures[row][f] = Raster(kSquare, kSquare, rgb(200, row * 10, f * 20));
        for (int d = 0; d <= 360; ++d) {
            b.CosTable[d] = std::cos(d * std::numbers::pi / 180.0);
            b.SinTable[d] = std::sin(d * std::numbers::pi / 180.0);
        }
        for (int x = 1; x <= kMapWidth; ++x)
            for (int y = 1; y <= kMapHeight; ++y) b.cell(x, y) = {kFloorGlyph, 0, 0};
        b.HumanTurn = true;
        b.ports.sound = &rec;
        b.ports.dialogs = &rec;
        b.ports.clock = &rec;
        b.ports.presenter = &rec;
    }

    // A square of glyph g with its Solidity, drawn on the terrain picture.
    void put(int x, int y, int g) {
        b.cell(x, y).Glyph = static_cast<uint8_t>(g);
        CalculateSolidity(b, x, y, g);
        b.drawGlyph(x, y, g);
    }

    // A living soldier standing on (x, y), marked on the map as the display does.
    PieceRecord& soldier(int i, int side, int x, int y, int wounds = 5) {
        PieceRecord& p = b.Pieces[i];
        p.Name = (side == 1 ? "Raider " : "Guard ") + std::to_string(i);
        p.Side = side;
        p.X = x;
        p.Y = y;
        p.Wounds = p.MaxWounds = wounds;
        p.Picture = side;
        p.Frame = 1;
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
