#include "game/commands/Deployment.h"
#include "TestData.h"
#include "game/commands/Commands.h"
#include "game/commands/Scenario.h"
#include "game/state/HeadlessPorts.h"

#include <gtest/gtest.h>

namespace korvath::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;
using Sounds = std::vector<std::string>;

// A freshly opened battle of the small test scenario: Raider One and Raider
// Two wait to be placed; start stars at (10, 10), (11, 10) and (30, 30).
class Deployment : public ::testing::Test {
  protected:
    void SetUp() override {
        TestScenario s;
        s.glyph[30][30] = kStartStarGlyph;
        s.write(dir.path);
        b.AppDir = dir.path.string();
        ports.attach(b);
        chooseScenario(b, ScenarioId::Korvath, 3);
        createBattle(b);
        showBattle(b);
        activateBattle(b);
        ports.sounds.clear();
    }

    void clickSquare(int x, int y) {
        ShiftState s;
        s.left = true;
        MapImageMouseDown(b, MouseButton::Left, s, x * kSquare - 16, y * kSquare - 16);
    }

    Rgb terrainAt(int x, int y) const {
        return b.TerrainBitmap.pixel((x - 1) * kSquare + 16, (y - 1) * kSquare + 16);
    }

    TempDir dir;
    Battle b;
    HeadlessPorts ports;
};

TEST_F(Deployment, PickingShowsTheSoldier) {
    ASSERT_EQ(controlsOf(b).PlaceMenGrid.rows, (Rows{{"Raider One", "1"}, {"Raider Two", "2"}}));
    b.Pieces[2].AP = 17;
    b.SelectedItemSlot = 3;
    b.dropOffered = true;
    const uint32_t before = ports.ticks();

    PlaceMenGridClick(b, 1);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_EQ(controlsOf(b).PlaceMenGrid.row, 1);
    EXPECT_EQ(ports.sounds, Sounds{"select"});
    EXPECT_EQ(controlsOf(b).SolAPlabel.text, "AP = 17");
    EXPECT_EQ(controlsOf(b).NameLabel.text, "Raider Two");
    EXPECT_EQ(b.portrait.picture, b.Pieces[2].Picture);
    EXPECT_EQ(b.portrait.frame, b.Pieces[2].Frame);
    // The portrait blinks for 50 ms.
    EXPECT_EQ(ports.ticks() - before, 50u);
    EXPECT_EQ(b.SelectedItemSlot, 0);
    EXPECT_FALSE(controlsOf(b).DropItem.enabled);
    EXPECT_EQ(b.cursor, CursorShape::Default);
    // Still deploying: the counter is untouched.
    EXPECT_EQ(b.SelectedPiece, 2);
}

TEST_F(Deployment, PlacingOnAStar) {
    PlaceMenGridClick(b, 0);
    ports.sounds.clear();
    clickSquare(10, 10);

    const PieceRecord& p = b.Pieces[1];
    EXPECT_EQ(p.X, 10);
    EXPECT_EQ(p.Y, 10);
    EXPECT_EQ(p.UnderGlyph, kFloorGlyph);
    EXPECT_EQ(b.cell(10, 10).Glyph, kOccupiedGlyph);
    EXPECT_EQ(b.cell(10, 10).Solidity, 1);
    EXPECT_EQ(controlsOf(b).PlaceMenGrid.rows[0][0], "----");
    EXPECT_EQ(b.SelectedPiece, 1);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(ports.sounds, Sounds{"prompt"});
    // He is drawn over the star, and the screen shows him.
    EXPECT_NE(terrainAt(10, 10), tileColour(kStartStarGlyph));
    EXPECT_EQ(b.MapImage.pixel(9 * 32 + 16, 9 * 32 + 16), terrainAt(10, 10));
    EXPECT_TRUE(b.deploying);

    // A second soldier cannot go onto the same square.
    PlaceMenGridClick(b, 1);
    ports.sounds.clear();
    clickSquare(10, 10);
    EXPECT_EQ(b.Pieces[2].X, 0);
    EXPECT_EQ(ports.sounds, Sounds{"beep"});
    EXPECT_FALSE(b.PieceSelected);
}

TEST_F(Deployment, APlacedRowDropsThePickSilently) {
    PlaceMenGridClick(b, 0);
    clickSquare(10, 10);
    PlaceMenGridClick(b, 1);
    ports.sounds.clear();
    PlaceMenGridClick(b, 0);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_TRUE(ports.sounds.empty());
    clickSquare(11, 10);
    EXPECT_EQ(b.Pieces[2].X, 0);
    EXPECT_EQ(b.cell(11, 10).Glyph, kStartStarGlyph);
}

TEST_F(Deployment, AClickOffTheStarsBeepsAndDropsThePick) {
    PlaceMenGridClick(b, 0);
    ports.sounds.clear();
    clickSquare(12, 10);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(b.Pieces[1].X, 0);
    EXPECT_EQ(ports.sounds, Sounds{"beep"});
    // The pick has to be made again.
    clickSquare(10, 10);
    EXPECT_EQ(b.Pieces[1].X, 0);
    EXPECT_EQ(b.cell(10, 10).Glyph, kStartStarGlyph);
}

TEST_F(Deployment, ClicksOutsideTheListPickNobody) {
    PlaceMenGridClick(b, 5);
    PlaceMenGridClick(b, -1);
    EXPECT_FALSE(b.PieceSelected);
    EXPECT_EQ(controlsOf(b).PlaceMenGrid.row, -1);
    EXPECT_TRUE(ports.sounds.empty());
}

TEST_F(Deployment, TheLastPlacementEndsDeployment) {
    PlaceMenGridClick(b, 1);
    clickSquare(11, 10);
    PlaceMenGridClick(b, 0);
    ports.sounds.clear();
    clickSquare(10, 10);

    EXPECT_EQ(ports.sounds, (Sounds{"prompt", "TurnFinished"}));
    EXPECT_FALSE(b.deploying);
    EXPECT_TRUE(controlsOf(b).PiecesInfoPanel.visible);
    EXPECT_TRUE(controlsOf(b).Cancelbutton.enabled);
    EXPECT_TRUE(controlsOf(b).EndTurnButton.enabled);
    EXPECT_EQ(b.SelectedPiece, 0);
    EXPECT_FALSE(b.PieceSelected);
    // The unused star is floor now, on the map, in the picture and on the screen.
    EXPECT_EQ(b.cell(30, 30).Glyph, kFloorGlyph);
    EXPECT_EQ(terrainAt(30, 30), tileColour(kFloorGlyph));
    EXPECT_EQ(b.MapImage.pixel(29 * 32 + 16, 29 * 32 + 16), tileColour(kFloorGlyph));
    for (int i : {1, 2}) {
        const PieceRecord& p = b.Pieces[i];
        EXPECT_EQ(b.cell(p.X, p.Y).Glyph, kOccupiedGlyph);
        EXPECT_EQ(b.cell(p.X, p.Y).Solidity, 1);
    }

    // The battle proper: a click on a Raider selects him.
    ports.sounds.clear();
    clickSquare(11, 10);
    EXPECT_TRUE(b.PieceSelected);
    EXPECT_EQ(b.SelectedPiece, 2);
    EXPECT_EQ(ports.sounds, Sounds{"select"});
}

TEST_F(Deployment, HoverOverAStarNamesIt) {
    MapImageMouseMove(b, 9 * 32 + 3, 9 * 32 + 3);
    EXPECT_EQ(b.hoverLine, "10 : 10  Tile 156 S:0");
    PlaceMenGridClick(b, 0);
    EXPECT_EQ(b.cursor, CursorShape::Default);
    MapImageMouseMove(b, 9 * 32 + 3, 9 * 32 + 3);
    EXPECT_EQ(b.cursor, CursorShape::HandPoint);
}

} // namespace
} // namespace korvath::test
