// Repeatable noise for the floor art: the same pixel gives the same number in
// every build, so the floors come out byte for byte the same.
#pragma once
#include "engine/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korvath::assets::noise {

inline uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// A number in [0, 1) for a lattice point.
inline double rnd(int x, int y, uint32_t seed) {
    return (hash(x, y, seed) >> 8) / double(1 << 24);
}

inline double smooth(double t) {
    return t * t * (3 - 2 * t);
}

// Smooth noise in [0, 1) with features `scale` pixels apart.
inline double value(double x, double y, double scale, uint32_t seed) {
    x /= scale;
    y /= scale;
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const double fx = smooth(x - ix), fy = smooth(y - iy);
    const double a = rnd(ix, iy, seed), b = rnd(ix + 1, iy, seed);
    const double c = rnd(ix, iy + 1, seed), d = rnd(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

// Several octaves of value noise, each half the size of the one before.
inline double fractal(double x, double y, double scale, int octaves, uint32_t seed) {
    double sum = 0, weight = 0, w = 1;
    for (int i = 0; i < octaves; ++i, w *= 0.5, scale *= 0.5) {
        sum += w * value(x, y, scale, seed + static_cast<uint32_t>(i) * 101u);
        weight += w;
    }
    return sum / weight;
}

// Cells around jittered points `size` pixels apart: the distances to the
// nearest and second nearest point, the nearest point's cell and where the
// pixel lies from that point.
struct Cells {
    double nearest = 1e9, second = 1e9;
    int cx = 0, cy = 0;
    double dx = 0, dy = 0;
};

inline Cells cells(double x, double y, double size, uint32_t seed, double jitter = 0.8) {
    Cells c;
    const int gx = static_cast<int>(std::floor(x / size)),
              gy = static_cast<int>(std::floor(y / size));
    for (int j = gy - 1; j <= gy + 1; ++j)
        for (int i = gx - 1; i <= gx + 1; ++i) {
            const double px = (i + 0.5 + (rnd(i, j, seed) - 0.5) * jitter) * size;
            const double py = (j + 0.5 + (rnd(i, j, seed + 7) - 0.5) * jitter) * size;
            const double d = std::hypot(x - px, y - py);
            if (d < c.nearest) {
                c.second = c.nearest;
                c.nearest = d;
                c.cx = i;
                c.cy = j;
                c.dx = x - px;
                c.dy = y - py;
            } else if (d < c.second) {
                c.second = d;
            }
        }
    return c;
}

inline double clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

// 0 below a, 1 above b, smooth between.
inline double step(double a, double b, double v) {
    return smooth(clamp01((v - a) / (b - a)));
}

// A colour as three numbers 0..255 that may be scaled and mixed freely.
struct Tone {
    double r = 0, g = 0, b = 0;
    Tone operator*(double k) const { return {r * k, g * k, b * k}; }
    Tone operator+(const Tone& o) const { return {r + o.r, g + o.g, b + o.b}; }
};

inline Tone mix(const Tone& a, const Tone& b, double t) {
    return a * (1 - t) + b * t;
}

// Never black: a black pixel would read as no floor at all.
inline Rgb pixel(const Tone& t) {
    auto c = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 3, 255); };
    return rgb(c(t.r), c(t.g), c(t.b));
}

} // namespace korvath::assets::noise
