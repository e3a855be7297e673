#include "game/combat/ShotPath.h"
#include "game/state/Pieces.h"
#include "game/state/PixelMath.h"

#include "game/combat/Flight.h"
#include "game/combat/Sight.h"

namespace korvath {

namespace {

using pixel_math::squareOf;
using pixel_math::trunc;

} // namespace

int unscatteredDegree(const PieceRecord& shooter, int mx, int my) {
    double angle = Bearing(shotStartX(shooter), shotStartY(shooter), mx, my);
    if (angle < 0) angle += 360;
    if (angle > 360) angle -= 360;
    return trunc(angle);
}

ShotStop predictShot(const BattleState& b, int i, int d, double x0, double y0) {
    ShotStop out;
    if (!isPiece(b, i)) return out;
    auto stopAt = [&](ShotEnd end, int px, int py) {
        out.end = end;
        out.x = squareOf(px);
        out.y = squareOf(py);
    };
    // The dry run of the flight: a meeting is only looked at, and no object breaks.
    const FlightGround ground(b);
    ShotFlight flight(b, i, d, x0, y0);
    flight.meetingsOnly();
    for (FlightMoment m; (m = flight.next(ground)) != FlightMoment::Ended;) {
        if (m != FlightMoment::ObstacleProbe && m != FlightMoment::SoldierProbe) continue;
        const Impact met = impactAt(ground, flight.probeX(), flight.probeY());
        if (m == FlightMoment::ObstacleProbe && met.kind == Impact::Obstacle) {
            stopAt(ShotEnd::Obstacle, flight.probeX(), flight.probeY());
            flight.stop();
        }
        if (m == FlightMoment::SoldierProbe && met.kind == Impact::Soldier) {
            stopAt(ShotEnd::Soldier, flight.probeX(), flight.probeY());
            out.soldier = met.soldier;
            flight.stop();
        }
    }
    if (!flight.stopped())
        stopAt(flight.end() == FlightEnd::OffMap ? ShotEnd::OffMap : ShotEnd::Spent,
               trunc(flight.x()), trunc(flight.y()));
    out.px = flight.x();
    out.py = flight.y();
    return out;
}

std::string describeShot(const ShotStopped& s) {
    switch (s.end) {
    case ShotEnd::Obstacle:
        return s.what.empty() ? "Stopped" : "Stopped by " + s.what;
    case ShotEnd::Soldier:
        return "Hit " + s.what;
    case ShotEnd::Spent:
        return "Out of range";
    case ShotEnd::OffMap:
        return "Left the map";
    case ShotEnd::None:
        break;
    }
    return {};
}

} // namespace korvath
