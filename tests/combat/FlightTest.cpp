// The shot's flight as a value: a copy taken where it meets an object flies
// on from there over a ground of its own, where the object has fallen, and
// ends as the shot ends on a field where the object never stood.
#include "game/combat/Flight.h"
#include "ShotBattle.h"
#include "game/combat/ShotPath.h"

#include <limits>

namespace korvath::testing {
namespace {

constexpr int kBarrel = 80; // Solidity 2: one hit in two breaks it

struct FlightTest : ShotTest {
    FlightTest() {
        soldier(1, "Raider", 1, 10, 10);
        soldier(2, "Operative", 2, 18, 11);
        b.Glyphs[kBarrel].Picture = Raster(kSquare, kSquare, rgb(120, 80, 40));
        ready();
        DrawTargetDiscs(b);
    }
    void barrel(bool standing) {
        b.cell(14, 10) = {static_cast<uint8_t>(standing ? kBarrel : kFloorGlyph),
                          static_cast<uint8_t>(standing ? 2 : 0), 0};
        b.drawGlyph(14, 10, standing ? kBarrel : kFloorGlyph);
    }
};

// Flies on without dice, as the line of fire does: where it stops.
ShotStop flyOn(ShotFlight f, const FlightGround& ground) {
    ShotStop out;
    for (FlightMoment m; (m = f.next(ground)) != FlightMoment::Ended;) {
        const Impact met = impactAt(ground, f.probeX(), f.probeY());
        const bool meets = (m == FlightMoment::ObstacleProbe && met.kind == Impact::Obstacle) ||
                           (m == FlightMoment::SoldierProbe && met.kind == Impact::Soldier);
        if (!meets) continue;
        out.end = met.kind == Impact::Soldier ? ShotEnd::Soldier : ShotEnd::Obstacle;
        out.soldier = met.soldier;
        out.x = f.probeX() / kSquare + 1;
        out.y = f.probeY() / kSquare + 1;
        f.stop();
    }
    if (!f.stopped()) out.end = f.end() == FlightEnd::OffMap ? ShotEnd::OffMap : ShotEnd::Spent;
    out.px = f.x();
    out.py = f.y();
    return out;
}

TEST_F(FlightTest, ACopyFliesOnOverItsOwnChangedSquare) {
    const double x0 = shotStartX(b.Pieces[1]), y0 = shotStartY(b.Pieces[1]);
    // Aims through the barrel, some of them on to the Operative behind it.
    for (const int degree : {0, 3, 5, 7, 8, 358}) {
        SCOPED_TRACE(degree);
        barrel(false);
        const ShotStop never = predictShot(b, 1, degree, x0, y0);
        barrel(true);
        const Raster terrain = b.TerrainBitmap;

        // Up to the first meeting with the barrel.
        const FlightGround ground(b);
        ShotFlight flight(b, 1, degree, x0, y0);
        FlightMoment m;
        while ((m = flight.next(ground)) != FlightMoment::Ended)
            if ((m == FlightMoment::ObstacleProbe || m == FlightMoment::SoldierProbe) &&
                impactAt(ground, flight.probeX(), flight.probeY()).kind == Impact::Obstacle)
                break;
        ASSERT_NE(m, FlightMoment::Ended) << "the barrel is never met";

        // It falls, in this branch only: drawn as floor, or still showing its picture.
        const Raster* floor = &b.Glyphs[kFloorGlyph].Picture;
        for (const Raster* shows : {floor, static_cast<const Raster*>(nullptr)}) {
            FlightGround fallen = ground;
            fallen.change(14, 10, {static_cast<uint8_t>(kFloorGlyph), 0, 0}, shows);
            const ShotStop after = flyOn(flight, fallen);
            EXPECT_EQ(int(after.end), int(never.end));
            EXPECT_EQ(after.soldier, never.soldier);
            EXPECT_EQ(after.px, never.px);
            EXPECT_EQ(after.py, never.py);
        }
        // The other branch: it stands, and stops the shot where the line of fire says.
        const ShotStop standing = predictShot(b, 1, degree, x0, y0);
        if (m == FlightMoment::ObstacleProbe) {
            EXPECT_EQ(int(standing.end), int(ShotEnd::Obstacle));
            EXPECT_EQ(standing.x, 14);
            EXPECT_EQ(standing.y, 10);
        }
        // Neither branch touched the battle.
        EXPECT_EQ(b.cell(14, 10).Glyph, kBarrel);
        EXPECT_TRUE(b.TerrainBitmap == terrain);
    }
}

// A range of any size, however the scenario writes it, only ends at the map's edge.
TEST_F(FlightTest, TheLongestRangeEndsAtTheMapsEdge) {
    b.EquipmentTypes[kRifle].Range = std::numeric_limits<int32_t>::max();
    const ShotStop s = predictShot(b, 1, 180, shotStartX(b.Pieces[1]), shotStartY(b.Pieces[1]));
    EXPECT_EQ(int(s.end), int(ShotEnd::OffMap));
}

} // namespace
} // namespace korvath::testing
