#pragma once
#include "TinyBattle.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

namespace korvath::testing {

// Equipment of the kit tests, by index.
enum Kit {
    kUnarmed = 1,
    kRifle = 2,     // Firearm, calibre 1, weight 2, 12 shots
    kClip = 3,      // Ammo for calibre 1, 20 shots
    kMedikit = 4,   // Misc, heals 10, weight 2
    kAxe = 5,       // Weapon, weight 3, 7d1 damage, blow costs 5
    kCannon = 6,    // Firearm, calibre 3, weight 6
    kSlugs = 7,     // Ammo for calibre 3
    kFloorClip = 8, // Ammo for calibre 0
};

constexpr int kKitFloorGlyph = 140; // a floor tile showing a clip lying there

// A tiny battle with a stock of kit, headless ports that record sounds, and
// the human side's soldier 1 selected at (10, 10).
class KitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bp = makeTinyBattle();
        Battle& g = *bp;
        ports.attach(g);
        g.HumanSide = 1;
        auto& e = g.EquipmentTypes;
        e[kUnarmed] = equipment("Unarmed", "Weapon", "", 4);
        e[kUnarmed].DamageDice = "1d3";
        e[kUnarmed].HeldFrame = 7;
        e[kRifle] = equipment("Pulse Rifle", "Firearm", "", 5, 7);
        e[kRifle].AmmoType = 1;
        e[kRifle].Weight = 2;
        e[kRifle].Capacity = 12;
        e[kRifle].HeldFrame = 1;
        e[kClip] = equipment("Pulse Clip", "Ammo");
        e[kClip].Value = "1";
        e[kClip].Weight = 1;
        e[kClip].Capacity = 20;
        e[kClip].HeldFrame = 6;
        e[kMedikit] = equipment("Medikit", "Misc", "wounds");
        e[kMedikit].Value = "10";
        e[kMedikit].Weight = 2;
        e[kMedikit].HeldFrame = 6;
        e[kAxe] = equipment("Power Axe", "Weapon", "", 5);
        e[kAxe].Weight = 3;
        e[kAxe].DamageDice = "7d1";
        e[kAxe].HeldFrame = 5;
        e[kCannon] = equipment("Rail Cannon", "Firearm", "", 9, 12);
        e[kCannon].AmmoType = 3;
        e[kCannon].Weight = 6;
        e[kCannon].Capacity = 4;
        e[kCannon].HeldFrame = 3;
        e[kSlugs] = equipment("Rail Slugs", "Ammo");
        e[kSlugs].Value = "3";
        e[kSlugs].Capacity = 4;
        e[kFloorClip] = equipment("Odd Clip", "Ammo");
        e[kFloorClip].Value = "0";
        e[kFloorClip].Capacity = 9;
        g.Glyphs[kKitFloorGlyph].Action = "item_3";

        PieceRecord& p = addPiece(g, 1, "Korrin", 1, 10, 10, 10, 10);
        p.AP = 20;
        p.Items = {0, kRifle, kClip, 0, 0, 0, 0};
        p.Ammo = 2;
        g.SelectedPiece = 1;
        g.PieceSelected = true;
    }

    Battle& b() { return *bp; }
    PieceRecord& soldier(int i = 1) { return bp->Pieces[i]; }
    // Sounds since the last call.
    std::vector<std::string> sounds() {
        auto s = ports.sounds;
        ports.sounds.clear();
        return s;
    }
    std::vector<std::string> log() const { return bp->messageLog; }

    std::unique_ptr<Battle> bp;
    HeadlessPorts ports;
};

using Sounds = std::vector<std::string>;
using Lines = std::vector<std::string>;

} // namespace korvath::testing
