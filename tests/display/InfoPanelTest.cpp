#include "game/display/InfoPanel.h"
#include "TinyBattle.h"

#include <gtest/gtest.h>

using namespace korvath;
using namespace korvath::testing;

namespace {

std::vector<std::string> rowsOf(const Control& c) {
    std::vector<std::string> out;
    for (const auto& r : c.rows) out.push_back(r.empty() ? "<no cell>" : r[0]);
    return out;
}

class InfoPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bp = makeTinyBattle();
        Battle& g = *bp;
        g.EquipmentTypes[1] = equipment("Unarmed", "Weapon");
        g.EquipmentTypes[3] = equipment("Autogun", "Firearm", "", 4, 9);
        g.EquipmentTypes[5] = equipment("Clip", "Ammo");
        g.EquipmentTypes[12] = equipment("Medikit", "Misc");
    }
    Battle& b() { return *bp; }
    std::unique_ptr<Battle> bp;
};

TEST_F(InfoPanelTest, StatsFillEveryLabelAndTheEquipmentGrid) {
    PieceRecord& p = addPiece(b(), 2, "Korrin", 1, 4, 4, 7, 9);
    p.AP = 21;
    p.Attack = 40;
    p.Shoot = 55;
    p.Strength = 3;
    p.Toughness = 4;
    p.Endurance = 6;
    p.Cool = 70;
    p.Fatigue = 2;
    p.Ammo = 12;
    p.Items = {0, 3, 0, 5, 0, 0, 12};
    b().statusLine = "Walking...";
    ShowPieceStats(b(), 2);

    const Controls c = controlsOf(b());
    EXPECT_EQ(c.NameLabel.text, "Korrin");
    EXPECT_EQ(c.ActionPointsLabel.text, "21");
    EXPECT_EQ(c.WSlabel.text, "40");
    EXPECT_EQ(c.BSlabel.text, "55");
    EXPECT_EQ(c.Strengthlabel.text, "3");
    EXPECT_EQ(c.ToughLabel.text, "4");
    EXPECT_EQ(c.WoundsLabel.text, "7");
    EXPECT_EQ(c.EnduranceLabel.text, "6");
    EXPECT_EQ(c.CoolLabel.text, "70");
    EXPECT_EQ(c.FatigueLabel.text, "2");
    EXPECT_EQ(c.AmmoLabel.text, "12");
    EXPECT_EQ(c.WeaponLabel.text, "Autogun");
    EXPECT_EQ(c.QuickShotLabel.text, "4");
    EXPECT_EQ(c.AimedShotLabel.text, "9");
    EXPECT_EQ(rowsOf(c.EquipGrid),
              (std::vector<std::string>{"Autogun", "", "Clip", "", "", "Medikit"}));
    EXPECT_EQ(c.InfoLabel.text, "Walking...") << "not on overwatch: the status line stays";

    p.Overwatch = true;
    ShowPieceStats(b(), 2);
    EXPECT_EQ(controlsOf(b()).InfoLabel.text, "** overwatch **");
}

TEST_F(InfoPanelTest, EmptyHandShowsNoWeaponAndZeroCosts) {
    addPiece(b(), 1, "Bare", 1, 4, 4);
    ShowPieceStats(b(), 1);
    const Controls c = controlsOf(b());
    EXPECT_EQ(c.WeaponLabel.text, "");
    EXPECT_EQ(c.QuickShotLabel.text, "0");
    EXPECT_EQ(c.AimedShotLabel.text, "0");
    EXPECT_EQ(rowsOf(c.EquipGrid), std::vector<std::string>(6, ""));
}

TEST_F(InfoPanelTest, NoSoldierLeavesThePanelAlone) {
    b().Pieces[0].Name = "never shown";
    addPiece(b(), 3, "", 1, 4, 4);
    for (int i : {0, 3, 161}) ShowPieceStats(b(), i);
    EXPECT_EQ(controlsOf(b()).NameLabel.text, "");
    EXPECT_EQ(controlsOf(b()).WeaponLabel.text, "Actions");
}

TEST_F(InfoPanelTest, FloorItemComesFirstThenTheBodiesItemsInSlotOrder) {
    addPiece(b(), 1, "Searcher", 1, 6, 6).UnderGlyph = kItemGlyph;
    PieceRecord& body = addPiece(b(), 2, "Body", 2, 6, 6, 0, 5);
    body.Items = {0, 1, 3, 0, 5, 0, 3}; // bare hands are not offered
    addPiece(b(), 3, "Elsewhere", 2, 7, 6, 0, 5).Items[1] = 3;
    addPiece(b(), 4, "Overkilled", 2, 6, 6, -3, 5).Items[1] = 3;
    addPiece(b(), 5, "Wounded", 2, 6, 6, 2, 5).Items[1] = 5;
    FillPickList(b(), 1);

    EXPECT_EQ(rowsOf(controlsOf(b()).PickItems),
              (std::vector<std::string>{"Medikit", "Autogun", "Clip", "Autogun"}));
    ASSERT_EQ(b().PickList.size(), 4u);
    EXPECT_EQ(b().PickList[0].item, 12);
    EXPECT_EQ(b().PickList[0].owner, 0);
    EXPECT_EQ(b().PickList[0].slot, 0);
    EXPECT_EQ(b().PickList[1].item, 3);
    EXPECT_EQ(b().PickList[1].owner, 2);
    EXPECT_EQ(b().PickList[1].slot, 2);
    EXPECT_EQ(b().PickList[2].slot, 4);
    EXPECT_EQ(b().PickList[3].slot, 6);
    EXPECT_EQ(controlsOf(b()).PickItems.row, 0);
    EXPECT_TRUE(controlsOf(b()).PickUpButton.enabled);
}

TEST_F(InfoPanelTest, PickListIsRebuiltAndTheButtonFollowsIt) {
    PieceRecord& me = addPiece(b(), 1, "Searcher", 1, 6, 6);
    me.UnderGlyph = kFloorGlyph;
    addPiece(b(), 2, "Body", 2, 6, 6, 0, 5).Items[3] = 5;
    FillPickList(b(), 1);
    EXPECT_EQ(rowsOf(controlsOf(b()).PickItems), (std::vector<std::string>{"Clip"}));
    EXPECT_EQ(controlsOf(b()).PickItems.row, 0) << "a body's items alone also select row 0";
    EXPECT_TRUE(controlsOf(b()).PickUpButton.enabled);

    // Only bare hands left on the body: nothing to offer.
    b().Pieces[2].Items = {0, 1, 0, 0, 0, 0, 0};
    FillPickList(b(), 1);
    EXPECT_TRUE(controlsOf(b()).PickItems.rows.empty());
    EXPECT_TRUE(b().PickList.empty());
    EXPECT_EQ(controlsOf(b()).PickItems.row, -1);
    EXPECT_FALSE(controlsOf(b()).PickUpButton.enabled);
}

TEST_F(InfoPanelTest, OnlyItemTilesCountAsFloorItems) {
    PieceRecord& me = addPiece(b(), 1, "Searcher", 1, 6, 6);
    b().Glyphs[141].Action = "replace_131";
    b().Glyphs[142].Action = "items";
    b().Glyphs[143].Action = "item_5";
    for (int g : {141, 142}) {
        me.UnderGlyph = g;
        FillPickList(b(), 1);
        EXPECT_TRUE(b().PickList.empty()) << g;
    }
    me.UnderGlyph = 143;
    FillPickList(b(), 1);
    EXPECT_EQ(rowsOf(controlsOf(b()).PickItems), (std::vector<std::string>{"Clip"}));
}

} // namespace
