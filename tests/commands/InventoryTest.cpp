#include "game/commands/Inventory.h"
#include "KitBattle.h"

using namespace korvath;
using namespace korvath::testing;

namespace {

using GridTest = KitTest;

std::vector<int> itemsOf(const PieceRecord& p) {
    return {p.Items.begin() + 1, p.Items.end()};
}

TEST_F(GridTest, FirstClickArmsTheRowAndEndsMoveMode) {
    EquipGridClick(b(), 2);
    EXPECT_EQ(b().SelectedItemSlot, 3);
    EXPECT_FALSE(b().PieceSelected);
    EXPECT_EQ(b().cursor, CursorShape::HandPoint);
    EXPECT_TRUE(controlsOf(b()).DropItem.enabled);
    EXPECT_EQ(controlsOf(b()).EquipGrid.row, 2);
    EXPECT_EQ(sounds(), Sounds{});

    // Clicking the same row again does nothing but disarm it.
    EquipGridClick(b(), 2);
    EXPECT_EQ(b().SelectedItemSlot, 0);
    EXPECT_EQ(b().cursor, CursorShape::Default);
    EXPECT_FALSE(controlsOf(b()).DropItem.enabled);
    EXPECT_EQ(itemsOf(soldier()), (std::vector<int>{kRifle, kClip, 0, 0, 0, 0}));
    EXPECT_EQ(soldier().AP, 20);
    EXPECT_EQ(sounds(), Sounds{});
}

TEST_F(GridTest, ReloadCostsTheWeaponsWeightPlusTwo) {
    // Rifle of weight 2 in the hand, clip in slot 2.
    b().log("earlier line");
    soldier().AP = 3;
    EquipGridClick(b(), 1);
    EquipGridClick(b(), 0);
    EXPECT_EQ(log(), Lines{"not enough action points to load weapon"});
    EXPECT_EQ(sounds(), Sounds{"beep"});
    EXPECT_EQ(soldier().AP, 3);
    EXPECT_EQ(soldier().Ammo, 2);
    EXPECT_EQ(soldier().Items[2], kClip);
    EXPECT_EQ(b().SelectedItemSlot, 0);

    soldier().AP = 4;
    EquipGridClick(b(), 1);
    EquipGridClick(b(), 0);
    EXPECT_EQ(log(), Lines{"Weapon is reloaded"});
    EXPECT_EQ(sounds(), Sounds{"LoadMag"});
    EXPECT_EQ(soldier().AP, 0);
    // The magazine's capacity, not the rifle's 12.
    EXPECT_EQ(soldier().Ammo, 20);
    EXPECT_EQ(soldier().Items[2], 0);
    EXPECT_EQ(controlsOf(b()).EquipGrid.rows[1], std::vector<std::string>{""});
    EXPECT_EQ(controlsOf(b()).ActionPointsLabel.text, "0");
    EXPECT_FALSE(controlsOf(b()).DropItem.enabled);
}

TEST_F(GridTest, ReloadingAWeaponInThePackStillSetsTheShotsInHand) {
    soldier().Items = {0, kAxe, kClip, kRifle, 0, 0, 0};
    soldier().Ammo = 0;
    EquipGridClick(b(), 1);
    EquipGridClick(b(), 2);
    EXPECT_EQ(soldier().Ammo, 20);
    EXPECT_EQ(soldier().AP, 16);
    EXPECT_EQ(itemsOf(soldier()), (std::vector<int>{kAxe, 0, kRifle, 0, 0, 0}));
}

TEST_F(GridTest, UnsuitableSecondClicksDoNothing) {
    soldier().Items = {0, kRifle, kSlugs, 0, kFloorClip, kMedikit, kClip};
    const PieceRecord before = soldier();
    const auto unchanged = [&] {
        EXPECT_EQ(soldier(), before);
        EXPECT_EQ(sounds(), Sounds{});
        EXPECT_EQ(log(), Lines{});
        EXPECT_EQ(b().SelectedItemSlot, 0);
    };
    // An empty row first, then the rifle.
    EquipGridClick(b(), 2);
    EquipGridClick(b(), 0);
    unchanged();
    // Slugs of calibre 3 on a calibre 1 rifle, and a clip on a medikit.
    EquipGridClick(b(), 1);
    EquipGridClick(b(), 0);
    unchanged();
    EquipGridClick(b(), 5);
    EquipGridClick(b(), 4);
    unchanged();
    // A calibre 0 magazine on an empty slot: there is no weapon to load.
    EquipGridClick(b(), 3);
    EquipGridClick(b(), 2);
    unchanged();
}

TEST_F(GridTest, ExchangeBringsAWeaponToHandAndRefillsFromTheMovedItem) {
    soldier().Items = {0, kRifle, 0, kAxe, 0, 0, 0};
    soldier().AP = 10;
    soldier().Ammo = 3;

    // Rifle out to slot 3, axe into the hand. Check: the axe's weight 3 + 2;
    // price: the rifle's weight 2 + 2.
    EquipGridClick(b(), 0);
    EquipGridClick(b(), 2);
    EXPECT_EQ(sounds(), Sounds{"select"});
    EXPECT_EQ(itemsOf(soldier()), (std::vector<int>{kAxe, 0, kRifle, 0, 0, 0}));
    EXPECT_EQ(soldier().AP, 6);
    EXPECT_EQ(soldier().Ammo, 12);
    EXPECT_EQ(soldier().Frame, 5);
    EXPECT_EQ(controlsOf(b()).WeaponLabel.text, "Power Axe");
    EXPECT_EQ(controlsOf(b()).EquipGrid.rows[2], std::vector<std::string>{"Pulse Rifle"});
    EXPECT_EQ(at(b().TerrainBitmap, 10, 10, 16, 16), soldierColour(1, 5));
    Controls c = controlsOf(b());
    EXPECT_TRUE(c.HandFightIcon.enabled);
    EXPECT_FALSE(c.SnapFireIcon.enabled || c.AimedFireIcon.enabled || c.OverwatchIcon.enabled);

    // And back: the rifle comes back full.
    soldier().Ammo = 0;
    EquipGridClick(b(), 2);
    EquipGridClick(b(), 0);
    EXPECT_EQ(itemsOf(soldier()), (std::vector<int>{kRifle, 0, kAxe, 0, 0, 0}));
    EXPECT_EQ(soldier().AP, 2);
    EXPECT_EQ(soldier().Ammo, 12);
    EXPECT_EQ(soldier().Frame, 1);
    c = controlsOf(b());
    EXPECT_EQ(sounds(), Sounds{"select"});
    EXPECT_FALSE(c.HandFightIcon.enabled);
    EXPECT_TRUE(c.SnapFireIcon.enabled && c.AimedFireIcon.enabled && c.OverwatchIcon.enabled);

    // Too few points to take the axe back: checked against what is in slot 3.
    EquipGridClick(b(), 0);
    EquipGridClick(b(), 2);
    EXPECT_EQ(log(), Lines{"not enough action points to exchange items"});
    EXPECT_EQ(sounds(), Sounds{"beep"});
    EXPECT_EQ(itemsOf(soldier()), (std::vector<int>{kRifle, 0, kAxe, 0, 0, 0}));
    EXPECT_EQ(soldier().AP, 2);
}

TEST_F(GridTest, MovingAHeavyItemIntoAnEmptySlotMayOverspend) {
    soldier().Items = {0, kCannon, 0, 0, 0, 0, 0};
    soldier().AP = 2;
    EquipGridClick(b(), 0);
    EquipGridClick(b(), 3);
    EXPECT_EQ(itemsOf(soldier()), (std::vector<int>{0, 0, 0, kCannon, 0, 0}));
    EXPECT_EQ(soldier().AP, -6);
    EXPECT_EQ(soldier().Ammo, 4);
    // Bare hands now: only the hand-to-hand button.
    EXPECT_TRUE(controlsOf(b()).HandFightIcon.enabled);
    EXPECT_FALSE(controlsOf(b()).SnapFireIcon.enabled);
}

TEST_F(GridTest, WithNobodyInThePanelTheSecondClickOnlyDisarms) {
    b().SelectedPiece = 0;
    b().actionButtons.handFight = false;
    EquipGridClick(b(), 0);
    EquipGridClick(b(), 1);
    EXPECT_EQ(b().SelectedItemSlot, 0);
    EXPECT_FALSE(controlsOf(b()).DropItem.enabled);
    EXPECT_FALSE(controlsOf(b()).HandFightIcon.enabled);
    EXPECT_EQ(b().Pieces[0], PieceRecord{});
    EXPECT_EQ(sounds(), Sounds{});
}

} // namespace
