#pragma once
#include "TinyBattle.h"

#include <functional>
#include <memory>

namespace korvath::testing {

// A tiny walled battle with one Raider and one Operative far apart, neither
// carrying anything, and the human about to press End Turn.
struct TurnBattle {
    TurnBattle() : b(makeTinyBattle()) {
        ports.attach(*b);
        b->windowOpen = true;
        // Walls all round, as every real map has.
        for (int x = 1; x <= kMapWidth; ++x)
            for (int y = 1; y <= kMapHeight; ++y)
                if (x == 1 || y == 1 || x == kMapWidth || y == kMapHeight) wall(x, y);
        b->ObjectiveX = 70;
        b->ObjectiveY = 45;
        b->EquipmentTypes[1] = equipment("Laser Rifle", "Firearm", "", 6, 9);
        b->EquipmentTypes[1].Capacity = 10;
        b->EquipmentTypes[1].Range = 20;
        b->EquipmentTypes[1].HeldFrame = 1;
        b->EquipmentTypes[1].DamageDice = "2d6";
        b->EquipmentTypes[1].TraceColour = "255";
        raider(1, 5, 5);
        operative(2, 75, 5);
    }

    PieceRecord& raider(int i, int x, int y) { return soldier(i, "Raider", 1, x, y); }
    PieceRecord& operative(int i, int x, int y) { return soldier(i, "Guard", 2, x, y); }

    PieceRecord& soldier(int i, const std::string& name, int side, int x, int y) {
        PieceRecord& p = addPiece(*b, i, name + " " + std::to_string(i), side, x, y);
        p.BaseAP = 20;
        p.AP = 20;
        p.Strength = 4;
        p.Fatigue = 1;
        p.Shoot = 50;
        p.Toughness = 4;
        p.TargetSize = 18;
        p.UnderGlyph = kFloorGlyph;
        b->cell(x, y) = {kOccupiedGlyph, 1, 0};
        return p;
    }

    // Moves soldier i to another square, leaving plain floor behind.
    void move(int i, int x, int y) {
        PieceRecord& p = b->Pieces[i];
        b->cell(p.X, p.Y) = {kFloorGlyph, 0, 0};
        p.X = x;
        p.Y = y;
        b->cell(x, y) = {kOccupiedGlyph, 1, 0};
    }

    // A wall square the rules see as one: wall glyph and its solidity.
    void wall(int x, int y) { b->cell(x, y) = {kWallGlyph, 4, 0}; }

    std::unique_ptr<Battle> b;
    WatchingPorts ports;
};

} // namespace korvath::testing
