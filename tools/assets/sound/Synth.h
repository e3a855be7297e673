#pragma once
#include "WaveFile.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// A small sound-making kit: everything runs sample by sample at kSampleRate,
// and nothing depends on the clock or on global state, so every effect comes
// out the same on every run.
namespace korvath::assets::synth {

using Buffer = std::vector<double>;

constexpr double kDt = 1.0 / kSampleRate;

inline std::size_t frames(double seconds) {
    return static_cast<std::size_t>(seconds * kSampleRate + 0.5);
}
inline double timeOf(std::size_t i) {
    return static_cast<double>(i) * kDt;
}

// Adds src into dst starting at the given time, scaled by gain; dst grows as needed.
void mixInto(Buffer& dst, const Buffer& src, double atSeconds = 0.0, double gain = 1.0);
// Fills seconds of sound with f(t), called once per sample in time order (so
// f may keep oscillator and filter state).
template <class F> Buffer render(double seconds, F&& f) {
    Buffer b(frames(seconds));
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = f(timeOf(i));
    return b;
}

// Soft saturation that keeps small signals linear and rounds off big ones.
void saturate(Buffer& b, double drive);

// White noise from a fixed-seed xorshift generator: a given seed always gives
// the same stream.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    uint32_t next();
    double white(); // uniform in -1..1
    // Brown-ish noise: integrated white noise with a slow leak back to zero.
    double brown();

  private:
    uint32_t state_;
    double brown_ = 0.0;
};

// A phase-accumulating oscillator; the frequency may change on every sample.
// Sawtooth and square are band-limited (poly-BLEP) and the triangle is built
// from its harmonics, so high notes do not alias.
class Osc {
  public:
    explicit Osc(double phase = 0.0) : phase_(phase) {}
    double sine(double hz);
    double triangle(double hz);
    double saw(double hz);
    double square(double hz, double duty = 0.5);
    // A glottal-like pulse: a smooth rise and a sharp fall once per period,
    // rich in harmonics the way a voice is.
    double glottal(double hz, double openQuotient = 0.6);

  private:
    double advance(double hz);
    double phase_;
};

// A piecewise-linear envelope through (time, level) points; before the first
// point and after the last it holds their levels.
class Envelope {
  public:
    Envelope(std::initializer_list<std::pair<double, double>> points);
    double at(double t) const;

  private:
    std::vector<std::pair<double, double>> pts_;
};

// An exponential decay after an attack ramp: 0 before start, rising linearly
// over attack, then falling by a factor e every tau seconds.
double strike(double t, double start, double attack, double tau);
// A linear glide from a to b over [t0, t1], holding outside.
double glide(double t, double t0, double t1, double a, double b);
// The same glide along a logarithmic scale (for pitches).
double glideLog(double t, double t0, double t1, double a, double b);

// One-pole low-pass; the cutoff may change on every sample.
class OnePole {
  public:
    double lowpass(double x, double hz);
    double highpass(double x, double hz) { return x - lowpass(x, hz); }

  private:
    double y_ = 0.0;
};

// A two-pole state-variable filter: low-, band- and high-pass from one
// structure, stable while its cutoff and resonance move.
class Svf {
  public:
    // band is scaled to unit gain at the centre frequency.
    struct Out {
        double low, band, high;
    };
    // q is the resonance: 0.707 is flat, larger values ring.
    Out run(double x, double hz, double q);
    double lowpass(double x, double hz, double q = 0.707) { return run(x, hz, q).low; }
    double bandpass(double x, double hz, double q = 1.0) { return run(x, hz, q).band; }
    double highpass(double x, double hz, double q = 0.707) { return run(x, hz, q).high; }

  private:
    double ic1_ = 0.0, ic2_ = 0.0;
};

// Equal-tempered pitch of a MIDI note number (69 = A 440 Hz).
double noteHz(double midi);

} // namespace korvath::assets::synth
