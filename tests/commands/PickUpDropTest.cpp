#include "KitBattle.h"
#include "game/commands/Inventory.h"
#include "game/display/Display.h"
#include "game/display/InfoPanel.h"

using namespace korvath;
using namespace korvath::testing;

namespace {

class PickUpTest : public KitTest {
  protected:
    std::vector<std::string> listRows() {
        std::vector<std::string> out;
        for (const auto& r : controlsOf(b()).PickItems.rows) out.push_back(r.at(0));
        return out;
    }
};

TEST_F(PickUpTest, OnlyTheKilledOfferTheirKitAndItIsTakenFromTheBody) {
    PieceRecord& dead = addPiece(b(), 2, "Vask", 2, 10, 10, 0, 8);
    dead.Items = {0, kUnarmed, kCannon, 0, kSlugs, 0, 0};
    // Below zero is not "killed": this one offers nothing.
    PieceRecord& odd = addPiece(b(), 3, "Odd", 2, 10, 10, -1, 8);
    odd.Items = {0, kAxe, 0, 0, 0, 0, 0};
    placePieces(b());
    FillPickList(b(), 1);
    EXPECT_EQ(listRows(), (std::vector<std::string>{"Rail Cannon", "Rail Slugs"}));

    PickItemsChange(b(), 1);
    EXPECT_EQ(controlsOf(b()).PickItems.row, 1);
    PickItemsChange(b(), 5); // no such row: the choice stays
    EXPECT_EQ(controlsOf(b()).PickItems.row, 1);

    PickUpButtonClick(b());
    EXPECT_EQ(soldier().Items[3], kSlugs);
    EXPECT_EQ(dead.Items[4], 0);
    EXPECT_EQ(soldier().AP, 20);
    EXPECT_EQ(sounds(), Sounds{"beep"});
    EXPECT_EQ(listRows(), std::vector<std::string>{"Rail Cannon"});
    EXPECT_EQ(controlsOf(b()).EquipGrid.rows[2], std::vector<std::string>{"Rail Slugs"});
    EXPECT_EQ(odd.Items[1], kAxe);
}

TEST_F(PickUpTest, AnItemOnTheFloorLeavesPlainFloorBehind) {
    soldier().UnderGlyph = kKitFloorGlyph;
    placePieces(b());
    FillPickList(b(), 1);
    ASSERT_EQ(listRows(), std::vector<std::string>{"Pulse Clip"});
    PickUpButtonClick(b());
    EXPECT_EQ(soldier().Items[3], kClip);
    EXPECT_EQ(soldier().UnderGlyph, kFloorGlyph);
    // He still stands there, so the square keeps its occupied mark.
    EXPECT_EQ(b().cell(10, 10).Glyph, kOccupiedGlyph);
    EXPECT_TRUE(listRows().empty());
    EXPECT_FALSE(controlsOf(b()).PickUpButton.enabled);
}

TEST_F(PickUpTest, WithEverySlotFullTheItemStaysWhereItLies) {
    soldier().Items = {0, kRifle, kClip, kClip, kClip, kClip, kMedikit};
    const PieceRecord before = soldier();
    soldier().UnderGlyph = kKitFloorGlyph;
    PieceRecord& dead = addPiece(b(), 2, "Vask", 2, 10, 10, 0, 8);
    dead.Items = {0, kAxe, 0, 0, 0, 0, 0};
    FillPickList(b(), 1);

    PickUpButtonClick(b()); // the floor clip
    PickItemsChange(b(), 1);
    PickUpButtonClick(b()); // the dead man's axe
    EXPECT_EQ(sounds(), (Sounds{"beep", "beep"}));
    EXPECT_EQ(soldier().Items, before.Items);
    EXPECT_EQ(soldier().UnderGlyph, kKitFloorGlyph);
    EXPECT_EQ(dead.Items[1], kAxe);
}

TEST_F(PickUpTest, NothingChosenOrAnOutdatedListTakesNothing) {
    PieceRecord& dead = addPiece(b(), 2, "Vask", 2, 10, 10, 0, 8);
    dead.Items = {0, kAxe, 0, 0, 0, 0, 0};
    FillPickList(b(), 1);
    b().pickRow = -1;
    PickUpButtonClick(b());
    EXPECT_EQ(sounds(), Sounds{});
    EXPECT_EQ(dead.Items[1], kAxe);

    // The list still shows Korrin's square, but the panel moved on to Lenn,
    // who stands elsewhere: the axe is out of his reach.
    addPiece(b(), 4, "Lenn", 1, 30, 30).Items = {0, kRifle, 0, 0, 0, 0, 0};
    b().SelectedPiece = 4;
    b().pickRow = 0;
    PickUpButtonClick(b());
    EXPECT_EQ(dead.Items[1], kAxe);
    EXPECT_EQ(b().Pieces[4].Items[2], 0);
    EXPECT_EQ(sounds(), Sounds{"beep"});
    EXPECT_TRUE(listRows().empty());
}

TEST_F(PickUpTest, DroppingTheItemInHandLeavesHimEmptyHanded) {
    placePieces(b());
    EquipGridClick(b(), 0);
    DropItemClick(b());
    EXPECT_EQ(soldier().Items[1], 0);
    EXPECT_EQ(soldier().Frame, 7);
    EXPECT_EQ(soldier().AP, 20);
    EXPECT_FALSE(b().PieceSelected);
    EXPECT_EQ(b().cursor, CursorShape::Default);
    EXPECT_EQ(controlsOf(b()).WeaponLabel.text, "");
    EXPECT_EQ(at(b().TerrainBitmap, 10, 10, 16, 16), soldierColour(1, 7));
    // Gone for good: nothing lies on the floor to take.
    FillPickList(b(), 1);
    EXPECT_TRUE(listRows().empty());
}

TEST_F(PickUpTest, BareHandsEmptySlotsAndNoArmedRowCannotBeDropped) {
    soldier().Items = {0, kUnarmed, 0, kClip, 0, 0, 0};
    DropItemClick(b()); // nothing armed
    b().SelectedItemSlot = 1;
    DropItemClick(b());
    b().SelectedItemSlot = 2;
    DropItemClick(b());
    EXPECT_EQ(soldier().Items, (std::array<int32_t, 7>{0, kUnarmed, 0, kClip, 0, 0, 0}));
    EXPECT_TRUE(b().PieceSelected);
    b().SelectedItemSlot = 3;
    DropItemClick(b());
    EXPECT_EQ(soldier().Items[3], 0);
    EXPECT_EQ(soldier().Frame, 1);
}

} // namespace
