#include "game/combat/Shooting.h"
#include "ShotBattle.h"

namespace korvath::testing {
namespace {

int centre(int square) {
    return square * kSquare - 16;
}

using AimTest = ShotTest;

TEST_F(AimTest, MarksmenNeverStrayAndStraysWrapIntoTheCircle) {
    b.rng.setSeed(12345);
    const Aim straight = AimDeviation(b.rng, 47.5, 100);
    EXPECT_EQ(straight.angle, 47.5);
    EXPECT_FALSE(straight.strayed);
    Random oneDraw;
    oneDraw.setSeed(12345);
    oneDraw.random(100);
    EXPECT_EQ(b.rng.seed(), oneDraw.seed()); // only the accuracy roll was made

    // A Shoot of 0 always strays; two zeros give the widest turn to the left.
    b.rng.setSeed(seedWhere([](Random& r) {
        r.random(100);
        return r.random(10) == 0 && r.random(10) == 0;
    }));
    const Aim left = AimDeviation(b.rng, 3, 0);
    EXPECT_EQ(left.angle, 354); // 3 - 10 + 1 = -6
    EXPECT_TRUE(left.strayed);
    EXPECT_EQ(left.stray, -9);

    b.rng.setSeed(seedWhere([](Random& r) {
        r.random(100);
        return r.random(10) == 9 && r.random(10) == 9;
    }));
    EXPECT_EQ(AimDeviation(b.rng, 358, 0).angle, 7); // 358 - 10 + 19 = 367
}

TEST(TraceColour, IsAWholeNumberWrittenBlueGreenRed) {
    EquipmentType w;
    w.TraceColour = "255";
    EXPECT_EQ(traceColour(w), rgb(255, 0, 0));
    w.TraceColour = "16711680";
    EXPECT_EQ(traceColour(w), rgb(0, 0, 255));
    for (const char* bad : {"", "red", "12x", "-5", " 255", "99999999999"}) {
        w.TraceColour = bad;
        EXPECT_FALSE(traceColour(w).has_value()) << bad;
    }
}

using FireButtons = ShotTest;

TEST_F(FireButtons, ArmFireModeForAFirearmAndRefuseAnythingElse) {
    soldier(1, "Raider", 1, 10, 10);
    soldier(2, "Operative", 2, 15, 10);
    ready();
    b.SelectedPiece = 1;
    b.PieceSelected = true;
    b.HandFightMode = true;
    b.SelectedItemSlot = 3;

    FireButtonClick(b, FireButton::Aimed);
    EXPECT_EQ(b.armedShot, ArmedShot::Aimed);
    EXPECT_NE(b.armedShot, ArmedShot::Quick);
    EXPECT_TRUE(b.FireMode);
    EXPECT_FALSE(b.HandFightMode);
    EXPECT_EQ(b.SelectedItemSlot, 0);
    EXPECT_EQ(b.cursor, CursorShape::Aim);
    // The enemy is now a target disc on the screen, not his picture.
    EXPECT_NE(at(b.MapImage, 15, 10, 16, 16), soldierColour(2, 1));
    EXPECT_EQ(at(b.MapImage, 15, 10, 1, 1), 0u);

    FireButtonClick(b, FireButton::Quick);
    EXPECT_NE(b.armedShot, ArmedShot::Aimed);
    EXPECT_EQ(b.armedShot, ArmedShot::Quick);
    FireButtonClick(b, FireButton::None);
    EXPECT_EQ(b.armedShot, ArmedShot::Quick);
    EXPECT_TRUE(log().empty());

    b.FireMode = false;
    b.Pieces[1].Items[1] = kBlade;
    FireButtonClick(b, FireButton::Aimed);
    EXPECT_FALSE(b.FireMode);
    EXPECT_EQ(log(), std::vector<std::string>{"You cannot shoot with that"});
}

using FireBulletTest = ShotTest;

// A shot straight along a row flies until the first segment that ends beyond
// its range: 15 pixels a segment, so Range 15 (480 pixels) still flies a 33rd
// segment (to 495) and Range 14 (448) stops after the 30th (450).
TEST_F(FireBulletTest, AShotAlongARowEndsAfterTheSegmentThatPassesItsRange) {
    soldier(1, "Raider", 1, 10, 10);
    wall(26, 10); // its first pixel is 481 pixels from the start
    ready();
    const Raster terrain = b.TerrainBitmap;
    const Raster screen = b.MapImage;

    b.EquipmentTypes[kRifle].Range = 14;
    b.MapClicksEnabled = false;
    FireBullet(b, 1, 0, 319, centre(10), 0, 0);
    EXPECT_FALSE(played("explode"));
    EXPECT_TRUE(b.TerrainBitmap == terrain);
    EXPECT_TRUE(b.MapImage == screen);
    EXPECT_TRUE(b.MapClicksEnabled);

    b.EquipmentTypes[kRifle].Range = 15;
    FireBullet(b, 1, 0, 319, centre(10), 0, 0);
    EXPECT_TRUE(played("explode"));
    EXPECT_EQ(b.cell(26, 10).Glyph, kWallGlyph); // walls do not break
}

TEST_F(FireBulletTest, AShotWithoutDirectionTablesEndsInsteadOfHanging) {
    soldier(1, "Raider", 1, 10, 10);
    ready();
    b.CosTable = {};
    b.SinTable = {};
    b.MapClicksEnabled = false;
    FireBullet(b, 1, 0, centre(10), centre(10), 0, 0);
    EXPECT_TRUE(b.MapClicksEnabled);
}

TEST_F(FireBulletTest, TheTraceIsDrawnInTheWeaponsColourAndDottedForArcWeapons) {
    soldier(1, "Raider", 1, 10, 10);
    ready();
    auto longestTrace = [&] {
        int longest = 0;
        ports.onRepaint = [&] {
            int n = 0;
            for (int x = 0; x < kMapPixelsX; ++x)
                n += b.MapImage.pixel(x, centre(10)) == rgb(255, 0, 0);
            longest = std::max(longest, n);
        };
        FireBullet(b, 1, 0, centre(10), centre(10), 0, 0);
        return longest;
    };
    EXPECT_EQ(longestTrace(), 15); // one segment shows as a short dash
    b.EquipmentTypes[kRifle].AmmoType = 7;
    EXPECT_EQ(longestTrace(), 8);
    EXPECT_EQ(b.MapImage.pixel(centre(12), centre(10)), 0u); // and it is gone afterwards
}

// Shots at an Operative five squares to the right of the Raider.
struct HitTest : ShotTest {
    HitTest() {
        soldier(1, "Raider", 1, 10, 10);
        PieceRecord& t = soldier(2, "Operative", 2, 15, 10, kBlade);
        t.Overwatch = true;
        soldier(3, "Second Operative", 2, 20, 10);
        ready();
        DrawTargetDiscs(b);
        ports.onWait = [this](int ms) {
            if (ms == 500) {
                shieldAtPause = b.hitHalved;
                excludeAtPause = b.hitCancelled;
            }
        };
    }
    // The damage dice are rolled first, then the toughness roll.
    void seedToughnessRoll(int dice, int sides, const std::function<bool(int)>& wanted) {
        b.rng.setSeed(seedWhere([&](Random& r) {
            for (int i = 0; i < dice; ++i) r.random(sides);
            return wanted(r.random(10) + 1);
        }));
    }
    void shoot() { FireBullet(b, 1, 0, centre(10), centre(10), centre(15), centre(10)); }
    bool shieldAtPause = false, excludeAtPause = false;
};

TEST_F(HitTest, AToughnessRollOfOneCancelsTheHitButStillEndsOverwatchAndTheShot) {
    b.Pieces[2].Toughness = 4;
    seedToughnessRoll(1, 6, [](int roll) { return roll == 1; });
    shoot();
    const PieceRecord& t = b.Pieces[2];
    EXPECT_EQ(t.Wounds, 5);
    EXPECT_FALSE(t.Overwatch);
    EXPECT_TRUE(logged("No damage done"));
    EXPECT_FALSE(logged("Operative has been shot, taking 0 points of damage."));
    EXPECT_TRUE(played("dizzy2"));
    EXPECT_TRUE(excludeAtPause);
    EXPECT_FALSE(shieldAtPause);
    EXPECT_FALSE(b.hitCancelled); // hidden again after the shot
    EXPECT_EQ(ports.waitsOf(900), 1);
    EXPECT_EQ(ports.waitsOf(50), 0);
    EXPECT_EQ(b.Pieces[3].Wounds, 5); // the one behind is safe
}

TEST_F(HitTest, ToughnessHalvesTheDamage) {
    b.EquipmentTypes[kRifle].DamageDice = "5d1";
    b.Pieces[2].Toughness = 11; // halves on every roll but 1
    seedToughnessRoll(5, 1, [](int roll) { return roll != 1; });
    shoot();
    EXPECT_EQ(b.Pieces[2].Wounds, 3);
    EXPECT_EQ(log(),
              (std::vector<std::string>{"Damage reduced due to toughness",
                                        "Operative has been shot, taking 2 points of damage."}));
    EXPECT_TRUE(shieldAtPause);
    EXPECT_TRUE(played("dizzy1"));
    EXPECT_EQ(ports.waitsOf(50), 2); // the hit flashes once for each point
}

TEST_F(HitTest, DamageEqualToTheWoundsKills) {
    b.EquipmentTypes[kRifle].DamageDice = "5d1";
    b.Pieces[2].Toughness = 0;
    b.Pieces[2].Items = {0, kBlade, kRifle, 0, 0, 0, 0};
    seedToughnessRoll(5, 1, [](int roll) { return roll != 1; });
    shoot();
    const PieceRecord& t = b.Pieces[2];
    EXPECT_EQ(t.Wounds, 0);
    EXPECT_EQ(t.Frame, kDeadFrame);
    EXPECT_EQ(t.Items, (std::array<int32_t, 7>{})); // a dead Operative leaves nothing
    EXPECT_EQ(log(),
              (std::vector<std::string>{"Operative has been shot, taking 5 points of damage.",
                                        "Operative is dead."}));
    EXPECT_TRUE(played("dead"));
    EXPECT_EQ(b.cell(15, 10).Solidity, 0);
    EXPECT_EQ(ports.waitsOf(50), 5);
    EXPECT_EQ(ports.waitsOf(600), 1);
}

TEST_F(HitTest, ASoldierWithMoreWoundsThanTheDamageSurvives) {
    b.EquipmentTypes[kRifle].DamageDice = "5d1";
    b.Pieces[2].Toughness = 0;
    b.Pieces[2].Wounds = 6;
    seedToughnessRoll(5, 1, [](int roll) { return roll != 1; });
    shoot();
    EXPECT_EQ(b.Pieces[2].Wounds, 1);
    EXPECT_EQ(b.Pieces[2].Frame, 1);
    EXPECT_FALSE(logged("Operative is dead."));
}

TEST_F(HitTest, ADeadRaiderKeepsHisEquipment) {
    std::swap(b.Pieces[1].Side, b.Pieces[2].Side); // the Operative shoots the Raider now
    b.Pieces[2].Items = {0, kBlade, kRifle, 0, 0, 0, 0};
    b.EquipmentTypes[kRifle].DamageDice = "9d1";
    seedToughnessRoll(9, 1, [](int roll) { return roll != 1; });
    shoot();
    EXPECT_EQ(b.Pieces[2].Wounds, 0);
    EXPECT_EQ(b.Pieces[2].Items[2], kRifle);
}

// The player's shot: the Raider is selected with the quick shot armed.
struct HumanShot : ShotTest {
    HumanShot() {
        soldier(1, "Raider", 1, 10, 10);
        soldier(2, "Operative", 2, 10, 30);
        ready();
        b.SelectedPiece = 1;
        b.PieceSelected = true;
        FireButtonClick(b, FireButton::Quick);
    }
    void clickAt(int x, int y) { fireClick(b, centre(x), centre(y)); }
};

TEST_F(HumanShot, ReseedsFromTheClockPaysAndStaysArmed) {
    ports.times.set({45296789});
    clickAt(40, 10); // open floor: the shot meets nothing
    const PieceRecord& p = b.Pieces[1];
    EXPECT_EQ(p.Ammo, 9);
    EXPECT_EQ(p.AP, 16);
    Random expected;
    expected.setSeed(45296789);
    expected.random(100); // the accuracy roll, and nothing more
    EXPECT_EQ(b.rng.seed(), expected.seed());
    EXPECT_TRUE(played("fire"));
    EXPECT_TRUE(b.FireMode);
    EXPECT_EQ(b.armedShot, ArmedShot::Quick);
    EXPECT_TRUE(b.MapClicksEnabled);
    EXPECT_EQ(controlsOf(b).AmmoLabel.text, "9");

    // The aimed shot costs its own price, of which only the low byte counts.
    b.EquipmentTypes[kRifle].AimedShotAP = 256 + 8;
    FireButtonClick(b, FireButton::Aimed);
    clickAt(40, 10);
    EXPECT_EQ(p.AP, 8);
    EXPECT_EQ(b.armedShot, ArmedShot::Aimed);
}

TEST_F(HumanShot, RefusalsOnlyExplainThemselves) {
    PieceRecord& p = b.Pieces[1];
    p.AP = 3;
    clickAt(40, 10);
    p.AP = 20;
    p.Ammo = 0;
    clickAt(40, 10);
    // Enough for a quick shot but not for the armed aimed one: nothing at all.
    p.Ammo = 5;
    p.AP = 6;
    FireButtonClick(b, FireButton::Aimed);
    clickAt(40, 10);
    EXPECT_EQ(log(), (std::vector<std::string>{"not enough action points",
                                               "Weapon has run out of ammunition"}));
    EXPECT_EQ(ports.sounds, (std::vector<std::string>{"select", "select"}));
    EXPECT_EQ(p.AP, 6);
    EXPECT_EQ(p.Ammo, 5);

    // Outside the human turn or during deployment the click is no shot at all.
    b.HumanTurn = false;
    p.AP = 3;
    clickAt(40, 10);
    b.HumanTurn = true;
    b.deploying = true;
    clickAt(40, 10);
    EXPECT_EQ(log().size(), 2u);
}

TEST_F(HumanShot, AFlamerRoarsInsteadOfFiringAndLeavesTheFloorBurning) {
    const Rgb burning = rgb(250, 120, 0);
    for (int g = 92; g <= 94; ++g) b.Glyphs[g].Picture = Raster(kSquare, kSquare, burning);
    b.Pieces[1].Items[1] = kFlamer;
    FireButtonClick(b, FireButton::Quick);
    clickAt(40, 10);
    EXPECT_FALSE(played("fire"));
    EXPECT_TRUE(played("flames"));
    EXPECT_EQ(b.Pieces[1].AP, 12);
    // Range 7 is 224 pixels: the jet stops at 230, and the burst steps back
    // half a square, which puts its middle on square 17.
    for (int x = 16; x <= 18; ++x)
        for (int y = 9; y <= 11; ++y) {
            EXPECT_GE(b.cell(x, y).Glyph, 92) << x << "," << y;
            EXPECT_LE(b.cell(x, y).Glyph, 94) << x << "," << y;
            EXPECT_EQ(at(b.TerrainBitmap, x, y, 16, 16), burning) << x << "," << y;
        }
    EXPECT_EQ(b.cell(15, 10).Glyph, kFloorGlyph);
    EXPECT_EQ(b.cell(19, 10).Glyph, kFloorGlyph);
    // The jet drawn along the way is gone from the terrain picture.
    EXPECT_EQ(at(b.TerrainBitmap, 13, 10, 16, 16), 0u);
}

TEST_F(HumanShot, DestroyingMardokWinsAndDisarms) {
    b.GameOver = true; // as the victory tile leaves it
    clickAt(40, 10);
    EXPECT_EQ(ports.messages, std::vector<std::string>{"You have won. Mardok has been destroyed."});
    EXPECT_FALSE(b.FireMode);
    EXPECT_NE(b.armedShot, ArmedShot::Quick);
    EXPECT_EQ(b.cursor, CursorShape::Default);
    EXPECT_TRUE(played("SignOff"));
    EXPECT_TRUE(b.MapClicksEnabled);
}

TEST_F(HumanShot, ABadTraceColourIsReportedAndTheShotGoesOn) {
    b.EquipmentTypes[kRifle].TraceColour = "bright";
    clickAt(40, 10);
    ASSERT_EQ(ports.messages.size(), 1u);
    EXPECT_NE(ports.messages[0].find("Laser Rifle"), std::string::npos);
    EXPECT_NE(ports.messages[0].find("bright"), std::string::npos);
    EXPECT_EQ(b.Pieces[1].Ammo, 9);
    EXPECT_TRUE(b.FireMode);
}

TEST_F(HumanShot, ASoldierKilledByHisOwnFlamesShootsNoMore) {
    b.Pieces[1].Wounds = 0;
    clickAt(40, 10);
    EXPECT_EQ(b.Pieces[1].Ammo, 10);
    EXPECT_FALSE(played("fire"));
}

// The Operatives' shot, in their own turn.
struct ComputerShot : ShotTest {
    ComputerShot() {
        b.HumanTurn = false;
        soldier(1, "Raider", 1, 10, 10);
        soldier(2, "Operative", 2, 10, 20).Shoot = 100;
    }
};

TEST_F(ComputerShot, AnEmptyWeaponStillCostsTheShot) {
    b.Pieces[2].Ammo = 0;
    ready();
    ShootEnemy(b, 2, 0);
    EXPECT_EQ(ports.sounds, std::vector<std::string>{"fire"});
    EXPECT_EQ(log(), std::vector<std::string>{"Operative's weapon is no longer loaded."});
    EXPECT_EQ(b.Pieces[2].AP, 16);
}

TEST_F(ComputerShot, NoShotWithoutSightOrActionPoints) {
    wall(10, 15);
    ready();
    ShootEnemy(b, 2, 1);
    EXPECT_EQ(b.Pieces[2].AP, 20);

    b.cell(10, 15) = {kFloorGlyph, 0, 0};
    b.drawGlyph(10, 15, kFloorGlyph);
    b.Pieces[2].AP = 3;
    ShootEnemy(b, 2, 1);
    EXPECT_EQ(b.Pieces[2].AP, 3);
    EXPECT_EQ(b.Pieces[2].Ammo, 10);
    EXPECT_TRUE(ports.sounds.empty());

    b.Pieces[2].AP = 4;
    ShootEnemy(b, 2, 1);
    EXPECT_EQ(b.Pieces[2].AP, 0);
    EXPECT_EQ(b.Pieces[2].Ammo, 9);
}

} // namespace
} // namespace korvath::testing
