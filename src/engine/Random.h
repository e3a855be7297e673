#pragma once
#include <cstdint>

namespace korvath {

// The game's one random generator: a 32-bit linear congruential sequence.
// Shots and sight depend on its exact values, so it must never be swapped for
// a library generator.
class Random {
  public:
    uint32_t seed() const { return seed_; }
    void setSeed(uint32_t s) { seed_ = s; }
    // How many numbers have been drawn since the process started: scripts and
    // tests pin the order of the game's dice with it.
    uint64_t draws() const { return draws_; }

    // A whole number 0..n-1 (0 when n <= 0).
    int random(int n) {
        seed_ = seed_ * 134775813u + 1u;
        ++draws_;
        if (n <= 0) return 0;
        return static_cast<int>((static_cast<uint64_t>(static_cast<uint32_t>(n)) * seed_) >> 32);
    }

    // A percentile roll, 1..100.
    int percentile() { return random(100) + 1; }

    // Reseed from the time of day, given in milliseconds since midnight.
    void reseedFromTimeOfDay(int msSinceMidnight) {
        seed_ = static_cast<uint32_t>(msSinceMidnight);
    }

  private:
    uint32_t seed_ = 0;
    uint64_t draws_ = 0;
};

} // namespace korvath
