#pragma once
#include "TinyBattle.h"
#include "game/display/Display.h"

#include <gtest/gtest.h>

#include <functional>

namespace korvath::testing {

constexpr int kRifle = 1;
constexpr int kBlade = 2;
constexpr int kFlamer = 3;

// A tiny battle of open black floor, a rifle, a blade and a flamer.
struct ShotTest : ::testing::Test {
    std::unique_ptr<Battle> owner = makeTinyBattle();
    Battle& b = *owner;
    WatchingPorts ports;
    EventLog heard; // the battle events told

    ShotTest() {
        ports.attach(b);
        b.ports.events = &heard;
        b.deploying = false;
        b.Glyphs[kFlashGlyph].Picture = Raster(kSquare, kSquare, rgb(255, 255, 0));
        EquipmentType& rifle = b.EquipmentTypes[kRifle];
        rifle = equipment("Laser Rifle", "Firearm", "none", 4, 8);
        rifle.DamageDice = "1d6";
        rifle.Range = 20;
        rifle.TraceColour = "255"; // red, written 0x00BBGGRR
        rifle.AmmoType = 1;
        b.EquipmentTypes[kBlade] = equipment("Blade", "Weapon", "none", 4, 4);
        b.EquipmentTypes[kBlade].DamageDice = "1d6";
        EquipmentType& flamer = b.EquipmentTypes[kFlamer];
        flamer = equipment("Flamer", "Firearm", "Flames", 8, 10);
        flamer.DamageDice = "2d6";
        flamer.Range = 7;
        flamer.TraceColour = "36095";
    }

    PieceRecord& soldier(int i, const std::string& name, int side, int x, int y,
                         int item = kRifle) {
        PieceRecord& p = addPiece(b, i, name, side, x, y);
        p.Items[1] = item;
        p.AP = 20;
        p.Ammo = 10;
        p.Shoot = 100;
        p.TargetSize = 20;
        return p;
    }

    void wall(int x, int y) {
        b.cell(x, y) = {static_cast<uint8_t>(kWallGlyph), 4, 0};
        b.drawGlyph(x, y, kWallGlyph);
    }

    // Draws everybody and makes the screen copy match the terrain picture.
    void ready() {
        placePieces(b);
        b.copyAll();
    }

    const std::vector<std::string>& log() const { return b.messageLog; }
    bool logged(const std::string& line) const {
        return std::find(log().begin(), log().end(), line) != log().end();
    }
    bool played(const std::string& name) const {
        return std::find(ports.sounds.begin(), ports.sounds.end(), name) != ports.sounds.end();
    }
};

// The first seed from which the game's generator gives the wanted draws.
inline uint32_t seedWhere(const std::function<bool(Random&)>& wanted) {
    for (uint32_t s = 1; s < 1000000; ++s) {
        Random r;
        r.setSeed(s);
        if (wanted(r)) return s;
    }
    ADD_FAILURE() << "no seed found";
    return 0;
}

} // namespace korvath::testing
