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
// Halves to even, as std::nearbyint in the default rounding mode. Adding and
// taking away 1.5 * 2^52 leaves exactly that rounding in the last place, and
// is much quicker than the library call every step of a ray makes.
inline int nearest(double v) {
    constexpr double kShift = 6755399441055744.0;
    if (v > -1e15 && v < 1e15) return static_cast<int>((v + kShift) - kShift);
    return static_cast<int>(std::nearbyint(v));
}
// Pixel coordinate to square number (1-based), dividing toward zero.
inline int squareOf(int pixel) {
    return pixel / kSquare + 1;
}

} // namespace korvath::pixel_math
