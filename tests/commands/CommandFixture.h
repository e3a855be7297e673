#pragma once
#include "TinyBattle.h"
#include "game/commands/Commands.h"
#include "game/display/Display.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korvath::testing {

// What the map click handed over to, in order: "blow 100 200", "walk 5 6 query" ...
inline std::vector<std::string>& actionsTaken() {
    static std::vector<std::string> calls;
    return calls;
}

constexpr int kRifle = 1; // Firearm, quick shot 4 AP, aimed shot 8 AP
constexpr int kBlade = 2; // Weapon, a blow costs 3 AP
constexpr int kMedikit = 3;
constexpr int kAccessGlyph = 120;

// A battle after deployment: Ann (rifle) at (5, 5), Bob (blade) at (7, 5),
// both of the human side, and the enemy Cid at (20, 20). The actions of the
// map click are replaced by recorders.
class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        actionsTaken().clear();
        battle = makeTinyBattle();
        Battle& g = *battle;
        ports.attach(g);
        g.EquipmentTypes[kRifle] = equipment("Laser Rifle", "Firearm", "", 4, 8);
        g.EquipmentTypes[kBlade] = equipment("Blade", "Weapon", "", 3, 3);
        g.EquipmentTypes[kMedikit] = equipment("Medikit", "Misc", "wounds");
        g.Glyphs[kFloorGlyph].Description = "Floor";
        g.Glyphs[kAccessGlyph].Action = "access";
        soldier(1, "Ann", 1, 5, 5, kRifle);
        soldier(2, "Bob", 1, 7, 5, kBlade);
        soldier(3, "Cid", 2, 20, 20, kRifle);
        g.cell(9, 9) = {static_cast<uint8_t>(kWallGlyph), 4, 0};
        g.deploying = false;
        placePieces(g);
    }

    PieceRecord& soldier(int i, const std::string& name, int side, int x, int y, int item) {
        PieceRecord& p = addPiece(*battle, i, name, side, x, y);
        p.Items[1] = item;
        p.AP = 20;
        p.Ammo = 10;
        return p;
    }

    static void record(const char* what, int a, int b) {
        actionsTaken().push_back(std::string(what) + " " + std::to_string(a) + " " +
                                 std::to_string(b));
    }

    // A press of the left button (or only the right one) on square (x, y)'s centre.
    void clickSquare(int x, int y, bool right = false, bool shiftKey = false) {
        ShiftState s;
        (right ? s.right : s.left) = true;
        s.shift = shiftKey;
        MapImageMouseDown(*battle, right ? MouseButton::Right : MouseButton::Left, s,
                          x * kSquare - 16, y * kSquare - 16, recorders);
    }

    // The actions of the map click replaced by recorders.
    static constexpr MapClickActions recorders{
        [](Battle&, int mx, int my) { record("blow", mx, my); },
        [](Battle&, int mx, int my) { record("shot", mx, my); },
        [](Battle&, int tx, int ty, bool query) { record(query ? "query" : "walk", tx, ty); },
        [](Battle&, int mx, int my) { record("heal", mx, my); },
        [](Battle&, int tx, int ty) { record("place", tx, ty); }};

    // The controls as the window shows them now.
    Controls shown() const { return controlsOf(*battle); }

    // Selects soldier i by clicking him and forgets the sounds so far.
    void select(int i) {
        clickSquare(battle->Pieces[i].X, battle->Pieces[i].Y);
        ASSERT_TRUE(battle->PieceSelected);
        ASSERT_EQ(battle->SelectedPiece, i);
        ports.sounds.clear();
        actionsTaken().clear();
    }

    std::vector<std::string> log() const { return battle->messageLog; }

    std::unique_ptr<Battle> battle;
    HeadlessPorts ports;
};

using Calls = std::vector<std::string>;
using Sounds = std::vector<std::string>;

} // namespace korvath::testing
