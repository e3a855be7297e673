#pragma once
#include "game/state/Records.h"

#include <cmath>

// The roundings of ray and shot geometry, one set for sight, the shot's flight
// and the view that follows it, so that a predicted shot meets exactly what a
// real one would.
namespace korvath::pixel_math {

inline int trunc(double v) {
    return static_cast<int>(v);
}
inline int nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}
// Pixel coordinate to square number (1-based), dividing toward zero.
inline int squareOf(int pixel) {
    return pixel / kSquare + 1;
}

} // namespace korvath::pixel_math
