#include "game/display/Display.h"
#include "TinyBattle.h"

#include <gtest/gtest.h>

using namespace korvath;
using namespace korvath::testing;

namespace {

constexpr Rgb kRed = rgb(255, 0, 0);
constexpr Rgb kWhite = rgb(255, 255, 255);

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bp = makeTinyBattle();
        bp->ports.presenter = &refresh;
        drawTerrain(b());
    }
    Battle& b() { return *bp; }

    // Overwatch dot, wound dot and healer cross, as seen on the screen copy.
    Rgb overwatchDot(int x, int y) { return at(b().MapImage, x, y, 2, 2); }
    Rgb woundDot(int x, int y) { return at(b().MapImage, x, y, 2, 8); }
    Rgb crossCentre(int x, int y) { return at(b().MapImage, x, y, 25, 5); }
    Rgb crossBack(int x, int y) { return at(b().MapImage, x, y, 24, 4); }

    std::unique_ptr<Battle> bp;
    RecordingPresenter refresh;
};

TEST_F(DisplayTest, TerrainIsDrawnFromGlyphsAndCopiedWhole) {
    b().cell(3, 2).Glyph = kWallGlyph;
    drawTerrain(b());
    EXPECT_EQ(at(b().TerrainBitmap, 3, 2, 0, 0), kWallColour);
    EXPECT_EQ(at(b().TerrainBitmap, 4, 2, 0, 0), 0u);
    EXPECT_EQ(b().MapImage, b().TerrainBitmap);
}

TEST_F(DisplayTest, LivingSoldierIsDrawnAndMarksHisSquare) {
    addPiece(b(), 1, "Ash", 1, 5, 6).Frame = 3;
    b().cell(5, 6).Glyph = kWallGlyph;
    addPiece(b(), 2, "Bex", 2, 7, 6).UnderGlyph = 140;
    addPiece(b(), 3, "Empty hands", 2, 9, 6).Frame = 0;
    placePieces(b());

    const PieceRecord& ash = b().Pieces[1];
    EXPECT_EQ(ash.UnderGlyph, kWallGlyph) << "an unset UnderGlyph takes the square's glyph";
    EXPECT_EQ(b().Pieces[2].UnderGlyph, 140) << "a known UnderGlyph is kept";
    EXPECT_EQ(at(b().MapImage, 5, 6, 16, 16), soldierColour(1, 3));
    EXPECT_EQ(b().cell(5, 6).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b().cell(5, 6).Solidity, 1);
    EXPECT_EQ(at(b().MapImage, 9, 6, 16, 16), soldierColour(2, 7)) << "Frame 0: empty-handed";
    EXPECT_EQ(refresh.repaints, 1);
}

TEST_F(DisplayTest, MarkersFollowWoundsOverwatchAndHealingItems) {
    b().EquipmentTypes[4] = equipment("Medikit", "Misc", "wounds");
    b().EquipmentTypes[5] = equipment("Rifle", "Firearm", "bullet");
    addPiece(b(), 1, "Full", 1, 2, 2, 5, 5).Items[1] = 5;
    addPiece(b(), 2, "Hurt", 1, 4, 2, 4, 5);
    addPiece(b(), 3, "Watcher", 1, 6, 2).Overwatch = true;
    addPiece(b(), 4, "Medic", 1, 8, 2).Items[6] = 4; // carried in the last slot, not in hand
    placePieces(b());

    const Rgb plain = soldierColour(1, 1);
    EXPECT_EQ(woundDot(2, 2), plain) << "full wounds show no dot";
    EXPECT_EQ(woundDot(4, 2), kRed) << "one wound lost shows the dot";
    EXPECT_EQ(overwatchDot(4, 2), plain);
    EXPECT_EQ(overwatchDot(6, 2), kWhite);
    EXPECT_EQ(woundDot(6, 2), plain);
    EXPECT_EQ(crossCentre(8, 2), kRed);
    EXPECT_EQ(crossBack(8, 2), kWhite);
    EXPECT_EQ(at(b().MapImage, 8, 2, 27, 7), kWhite) << "the white square ends before (28, 8)";
    EXPECT_EQ(at(b().MapImage, 8, 2, 28, 8), plain);
    EXPECT_EQ(crossCentre(2, 2), plain) << "a weapon is no healing item";
    // The markers are part of the terrain picture that shots look at.
    EXPECT_EQ(at(b().TerrainBitmap, 4, 2, 2, 8), kRed);
}

TEST_F(DisplayTest, MarkerSwitchesRemoveAndRestoreAllMarkers) {
    b().EquipmentTypes[4] = equipment("Medikit", "Misc", "wounds");
    addPiece(b(), 1, "Hurt", 1, 4, 2, 4, 5);
    addPiece(b(), 2, "Hurt too", 2, 10, 9, 1, 3);
    PieceRecord& medic = addPiece(b(), 3, "Medic", 1, 8, 2);
    medic.Items[2] = 4;
    medic.Overwatch = true;
    placePieces(b());
    const int scrollBefore = b().view.right;

    ShowWoundsClick(b());
    EXPECT_FALSE(b().showWounds);
    EXPECT_EQ(woundDot(4, 2), soldierColour(1, 1));
    EXPECT_EQ(woundDot(10, 9), soldierColour(2, 1));
    EXPECT_EQ(b().view.right, scrollBefore) << "nobody selected: view stays";
    ShowWoundsClick(b());
    EXPECT_TRUE(b().showWounds);
    EXPECT_EQ(woundDot(4, 2), kRed);
    EXPECT_EQ(woundDot(10, 9), kRed);

    ShowOverwatchClick(b());
    EXPECT_EQ(overwatchDot(8, 2), soldierColour(1, 1));
    EXPECT_EQ(crossCentre(8, 2), kRed) << "other markers unaffected";
    ShowMediKitClick(b());
    EXPECT_EQ(crossCentre(8, 2), soldierColour(1, 1));
    ShowOverwatchClick(b());
    ShowMediKitClick(b());
    EXPECT_EQ(overwatchDot(8, 2), kWhite);
    EXPECT_EQ(crossCentre(8, 2), kRed);
}

TEST_F(DisplayTest, MarkerSwitchRefocusesTheSelectedSoldier) {
    addPiece(b(), 1, "Ash", 1, 30, 20);
    b().SelectedPiece = 1;
    placePieces(b());
    ShowWoundsClick(b());
    EXPECT_EQ(b().view.right, 30 * 32 + 355);
    EXPECT_EQ(b().view.bottom, 20 * 32 + 259);
}

TEST_F(DisplayTest, DeadBodyLiesOpenAndIsCoveredByTheLiving) {
    addPiece(b(), 1, "Body", 2, 3, 3, 0, 5).Picture = 4;
    // A living soldier listed before a body on his own square still ends on top.
    addPiece(b(), 2, "Stander", 1, 6, 3);
    addPiece(b(), 3, "Under him", 2, 6, 3, -2, 5);
    b().cell(3, 3).Solidity = 1; // as left by the living soldier he was
    placePieces(b());

    EXPECT_EQ(at(b().MapImage, 3, 3, 10, 10), soldierColour(4, kDeadFrame));
    EXPECT_EQ(b().cell(3, 3).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b().cell(3, 3).Solidity, 0);
    EXPECT_EQ(b().Pieces[1].UnderGlyph, 0) << "bodies keep their UnderGlyph untouched";

    EXPECT_EQ(at(b().TerrainBitmap, 6, 3, 10, 10), soldierColour(1, 1));
    EXPECT_EQ(b().cell(6, 3).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b().cell(6, 3).Solidity, 1);
}

TEST_F(DisplayTest, DrawingStopsAtTheFirstFreeRecordAndSkipsUnplacedSoldiers) {
    addPiece(b(), 1, "Waiting", 1, 0, 0);
    addPiece(b(), 2, "Placed", 1, 2, 2);
    addPiece(b(), 4, "Beyond the gap", 1, 5, 5);
    placePieces(b());
    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 0, 0), soldierColour(1, 1));
    EXPECT_EQ(at(b().TerrainBitmap, 5, 5, 0, 0), 0u);
    EXPECT_EQ(b().cell(5, 5).Glyph, kFloorGlyph);
    EXPECT_EQ(b().Pieces[1].UnderGlyph, 0);
}

TEST_F(DisplayTest, PlacePiecesCopiesOnlyTheSoldiersSquares) {
    addPiece(b(), 1, "West", 1, 3, 4);
    addPiece(b(), 2, "East", 2, 9, 7);
    addPiece(b(), 3, "Body", 2, 5, 10, 0, 5);
    b().dirty = {};
    const Rgb stale = rgb(1, 2, 3);
    b().MapImage.fill(stale);
    placePieces(b());

    EXPECT_EQ(b().dirty.left, 2 * 32);
    EXPECT_EQ(b().dirty.top, 3 * 32);
    EXPECT_EQ(b().dirty.right, 9 * 32);
    EXPECT_EQ(b().dirty.bottom, 10 * 32);
    EXPECT_EQ(at(b().MapImage, 3, 4, 0, 0), soldierColour(1, 1));
    EXPECT_EQ(at(b().MapImage, 5, 10, 31, 31), soldierColour(2, kDeadFrame));
    EXPECT_EQ(at(b().MapImage, 4, 4, 0, 0), stale) << "squares without soldiers are not copied";
    EXPECT_EQ(at(b().MapImage, 40, 40, 0, 0), stale);
}

class TargetDiscTest : public DisplayTest {
  protected:
    // Pixels of square (x, y) along its middle row that are not terrain.
    int discWidth(int x, int y) {
        int n = 0;
        for (int dx = 0; dx < 32; ++dx) n += at(b().TerrainBitmap, x, y, dx, 16) != 0;
        return n;
    }
};

TEST_F(TargetDiscTest, DiscDiameterFollowsTargetSize) {
    addPiece(b(), 1, "Even", 1, 2, 2).TargetSize = 10;
    addPiece(b(), 2, "Odd", 1, 4, 2).TargetSize = 11;
    addPiece(b(), 3, "None", 1, 6, 2).TargetSize = 0;
    placePieces(b());
    DrawTargetDiscs(b());

    EXPECT_EQ(discWidth(2, 2), 10);
    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 11, 16), kTargetDiscOutline);
    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 20, 16), kTargetDiscOutline);
    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 16, 16), rgb(128, 0, 0));
    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 16, 4), 0u) << "soldier picture replaced by the tile";
    EXPECT_EQ(discWidth(4, 2), 10) << "an odd size gives a disc one pixel narrower";
    EXPECT_EQ(discWidth(6, 2), 0) << "size 0: only the bare tile is left";
    EXPECT_EQ(at(b().TerrainBitmap, 6, 2, 16, 16), 0u);
    EXPECT_EQ(b().MapImage, b().TerrainBitmap);
}

TEST_F(TargetDiscTest, DiscsShowTheSideAndRestoreTheTileUnderneath) {
    addPiece(b(), 1, "Blue", 2, 2, 2).TargetSize = 20;
    addPiece(b(), 2, "Stranger", 7, 4, 2).TargetSize = 20; // no colour of his own
    addPiece(b(), 3, "On a wall", 3, 6, 2).TargetSize = 8;
    addPiece(b(), 4, "Grey", 4, 8, 2).TargetSize = 8;
    addPiece(b(), 5, "Body", 1, 10, 2, 0, 5).TargetSize = 20;
    placePieces(b());
    b().Pieces[3].UnderGlyph = kWallGlyph;
    DrawTargetDiscs(b());

    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 16, 16), rgb(0, 0, 255));
    EXPECT_EQ(at(b().TerrainBitmap, 4, 2, 16, 16), rgb(0, 0, 255)) << "keeps the last colour";
    EXPECT_EQ(at(b().TerrainBitmap, 6, 2, 16, 16), rgb(0, 128, 0));
    EXPECT_EQ(at(b().TerrainBitmap, 6, 2, 1, 1), kWallColour);
    EXPECT_EQ(at(b().TerrainBitmap, 8, 2, 16, 16), rgb(192, 192, 192));
    EXPECT_EQ(at(b().TerrainBitmap, 10, 2, 16, 16), soldierColour(1, kDeadFrame))
        << "bodies are not targets";

    placePieces(b());
    EXPECT_EQ(at(b().TerrainBitmap, 2, 2, 16, 16), soldierColour(2, 1)) << "discs go away";
}

class OverheadTest : public DisplayTest {
  protected:
    Rgb cellColour(int x, int y) {
        return b().OverHeadMapImage.pixel((x - 1) * 3 + 2, (y - 1) * 3 + 2);
    }
};

TEST_F(OverheadTest, ColoursFollowSolidityAndSide) {
    b().cell(1, 1).Solidity = 4;
    b().cell(2, 1).Solidity = 3;
    b().cell(3, 1).Solidity = 2;
    addPiece(b(), 1, "Raider", 1, 5, 1);
    addPiece(b(), 2, "Operative", 2, 6, 1);
    addPiece(b(), 3, "Fallen", 1, 9, 1, 0, 5);
    placePieces(b());
    b().cell(7, 1).Solidity = 9; // unknown class: same colour as the square before
    b().cell(11, 1).Solidity = 2;
    b().cell(12, 1).Solidity = 1; // "occupied" with nobody listed there
    DrawOverheadMap(b());

    EXPECT_EQ(cellColour(1, 1), rgb(92, 86, 73));
    EXPECT_EQ(cellColour(2, 1), rgb(128, 128, 128));
    EXPECT_EQ(cellColour(3, 1), rgb(0, 128, 128));
    EXPECT_EQ(cellColour(4, 1), rgb(35, 32, 27));
    EXPECT_EQ(cellColour(5, 1), rgb(102, 204, 0));
    EXPECT_EQ(cellColour(6, 1), rgb(255, 0, 0));
    EXPECT_EQ(cellColour(7, 1), rgb(255, 0, 0));
    EXPECT_EQ(cellColour(9, 1), rgb(35, 32, 27)) << "bodies do not show";
    EXPECT_EQ(cellColour(12, 1), rgb(0, 128, 128));
    EXPECT_EQ(cellColour(80, 50), rgb(35, 32, 27));

    // Each square is 3 x 3 pixels starting one pixel in from the top-left.
    const Raster& m = b().OverHeadMapImage;
    EXPECT_EQ(m.pixel(0, 0), 0u);
    EXPECT_EQ(m.pixel(1, 0), 0u);
    EXPECT_EQ(m.pixel(1, 1), rgb(92, 86, 73));
    EXPECT_EQ(m.pixel(3, 3), rgb(92, 86, 73));
    EXPECT_EQ(m.pixel(4, 1), rgb(128, 128, 128));
}

TEST_F(OverheadTest, SideAtSquareTakesTheFirstRecordAndIgnoresTheLast) {
    addPiece(b(), 1, "Body", 2, 5, 5, 0, 5);
    addPiece(b(), 2, "Stander", 1, 5, 5);
    EXPECT_EQ(SideAtSquare(b(), 5, 5), 2) << "dead or alive, the first record counts";
    addPiece(b(), 160, "Last", 1, 9, 9);
    EXPECT_EQ(SideAtSquare(b(), 9, 9), 0);
    addPiece(b(), 159, "Next to last", 2, 9, 9);
    EXPECT_EQ(SideAtSquare(b(), 9, 9), 2);
}

class ViewTest : public DisplayTest {
  protected:
    int left() { return b().view.right; }
    int bottom() { return b().view.bottom; }
};

TEST_F(ViewTest, FocusCentresOnTheSoldierWithinTheMap) {
    addPiece(b(), 1, "Edge", 1, 11, 8);
    addPiece(b(), 2, "Inside", 1, 12, 9);
    addPiece(b(), 3, "Corner", 1, 80, 50);
    b().view.setRight(2000);
    b().view.setBottom(1200);

    FocusPiece(b(), 1);
    EXPECT_EQ(left(), 710) << "X*32 = 352 <= 355 puts the view at its leftmost";
    EXPECT_EQ(bottom(), 518);
    EXPECT_EQ(mapImageLeft(b()), 0);
    EXPECT_EQ(mapImageTop(b()), 0);

    FocusPiece(b(), 2);
    EXPECT_EQ(left(), 12 * 32 + 355);
    EXPECT_EQ(bottom(), 9 * 32 + 259);
    EXPECT_EQ(mapImageLeft(b()), 710 - (12 * 32 + 355));

    FocusPiece(b(), 3);
    EXPECT_EQ(left(), 2560);
    EXPECT_EQ(bottom(), 1600);
    EXPECT_EQ(mapImageLeft(b()), 710 - 2560);
}

TEST_F(ViewTest, FocusWithoutASoldierLeavesTheView) {
    b().Pieces[0].X = 40; // never read
    addPiece(b(), 7, "", 1, 40, 40);
    b().view.setRight(1500);
    b().view.setBottom(900);
    for (int i : {0, 7, 161, -1}) {
        FocusPiece(b(), i);
        EXPECT_EQ(left(), 1500) << i;
        EXPECT_EQ(bottom(), 900) << i;
    }
}

TEST_F(ViewTest, SelectionFrameOnlyOnScreenAndOnlyInTheHumanTurn) {
    addPiece(b(), 1, "Ash", 1, 20, 20).AP = 17;
    b().panel.name = "before";
    placePieces(b());

    FocusPiece(b(), 1);
    EXPECT_EQ(at(b().MapImage, 20, 20, 1, 1), soldierColour(1, 1)) << "not selected: no frame";
    EXPECT_EQ(controlsOf(b()).NameLabel.text, "before");

    b().PieceSelected = true;
    b().HumanTurn = false;
    FocusPiece(b(), 1);
    EXPECT_EQ(at(b().MapImage, 20, 20, 1, 1), soldierColour(1, 1)) << "computer's turn";

    b().HumanTurn = true;
    b().dirty = {};
    FocusPiece(b(), 1);
    EXPECT_EQ(at(b().MapImage, 20, 20, 1, 1), 0u);
    EXPECT_EQ(at(b().MapImage, 20, 20, 2, 1), kSelectionFrameGap) << "black and white dashes";
    EXPECT_EQ(at(b().MapImage, 20, 20, 30, 29), 0u);
    EXPECT_EQ(at(b().MapImage, 20, 20, 16, 16), soldierColour(1, 1));
    EXPECT_EQ(at(b().TerrainBitmap, 20, 20, 1, 1), soldierColour(1, 1));
    EXPECT_FALSE(b().dirty.empty());
    EXPECT_EQ(controlsOf(b()).NameLabel.text, "Ash");
    EXPECT_EQ(controlsOf(b()).ActionPointsLabel.text, "17");

    b().copySquare(20, 20); // deselection repaints the square from the terrain
    EXPECT_EQ(at(b().MapImage, 20, 20, 1, 1), soldierColour(1, 1));
}

TEST_F(ViewTest, ScrollToPointUsesThePixelLikeASoldiersEdge) {
    ScrollToPoint(b(), 1000, 700);
    EXPECT_EQ(left(), 1355);
    EXPECT_EQ(bottom(), 959);
    ScrollToPoint(b(), 355, 259);
    EXPECT_EQ(left(), 710);
    EXPECT_EQ(bottom(), 518);
}

TEST_F(ViewTest, OverheadClickBringsTheSquareToTheMiddle) {
    b().view.setRight(2000);
    b().view.setBottom(1000);
    OverHeadMapMouseDown(b(), 0, 0);
    EXPECT_EQ(left(), 710);
    EXPECT_EQ(bottom(), 518);
    b().view.setRight(2000);
    OverHeadMapMouseDown(b(), 2, 2);
    EXPECT_EQ(left(), 710) << "pixels 0..2 are all square 1";
    EXPECT_EQ(bottom(), 518);

    OverHeadMapMouseDown(b(), 90, 62);
    EXPECT_EQ(left(), 30 * 32 + 355);
    EXPECT_EQ(bottom(), 20 * 32 + 259);
    OverHeadMapMouseDown(b(), 239, 149);
    EXPECT_EQ(left(), 2560);
    EXPECT_EQ(bottom(), 1600);
}

TEST_F(ViewTest, EdgeScrollingStepsOneSquareAtEachTouchedEdge) {
    RecordingPresenter clock;
    b().ports.presenter = &clock;
    b().view.setRight(1000);
    b().view.setBottom(1000);
    // Window at (100, 50), 1018 x 734.
    myidlehandler(b(), 600, 400, 100, 50, 1018, 734);
    EXPECT_EQ(left(), 1000);
    EXPECT_EQ(bottom(), 1000);
    myidlehandler(b(), 1117, 783, 100, 50, 1018, 734);
    EXPECT_EQ(left(), 1032);
    EXPECT_EQ(bottom(), 1032);
    myidlehandler(b(), 1116, 782, 100, 50, 1018, 734);
    EXPECT_EQ(left(), 1032) << "one pixel further in is not the edge";
    myidlehandler(b(), 101, 51, 100, 50, 1018, 734);
    EXPECT_EQ(left(), 1000);
    EXPECT_EQ(bottom(), 1000);
    EXPECT_EQ(clock.waits, (std::vector<int>{30, 30, 30, 30}));

    b().view.setRight(720);
    myidlehandler(b(), 0, 400, 100, 50, 1018, 734);
    EXPECT_EQ(left(), 710) << "clamped by the scroll bar";
}

} // namespace
