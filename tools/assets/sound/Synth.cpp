#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvath::assets::synth {

namespace {

constexpr double kPi = std::numbers::pi;

// Poly-BLEP correction that rounds off a step at phase 0 of a unit-phase
// oscillator advancing by dp per sample.
double blep(double p, double dp) {
    if (p < dp) {
        const double t = p / dp;
        return t + t - t * t - 1.0;
    }
    if (p > 1.0 - dp) {
        const double t = (p - 1.0) / dp;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

} // namespace

void mixInto(Buffer& dst, const Buffer& src, double atSeconds, double gain) {
    const size_t start = frames(atSeconds);
    if (dst.size() < start + src.size()) dst.resize(start + src.size(), 0.0);
    for (size_t i = 0; i < src.size(); ++i) dst[start + i] += gain * src[i];
}

void saturate(Buffer& b, double drive) {
    const double norm = std::tanh(drive);
    for (double& x : b) x = std::tanh(drive * x) / norm;
}

uint32_t Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Noise::white() {
    return static_cast<double>(next()) / 2147483647.5 - 1.0;
}

double Noise::brown() {
    brown_ = 0.995 * brown_ + 0.06 * white();
    return brown_;
}

double Osc::advance(double hz) {
    const double p = phase_;
    phase_ += hz * kDt;
    phase_ -= std::floor(phase_);
    return p;
}

double Osc::sine(double hz) {
    return std::sin(2.0 * kPi * advance(hz));
}

double Osc::triangle(double hz) {
    // Summed from its odd harmonics, stopping short of the Nyquist limit.
    const double p = advance(hz);
    double v = 0.0, sign = 1.0;
    for (int k = 1; k <= 15 && k * hz < 0.45 * kSampleRate; k += 2, sign = -sign)
        v += sign * std::sin(2.0 * kPi * k * p) / (k * k);
    return v * 8.0 / (kPi * kPi);
}

double Osc::saw(double hz) {
    const double dp = std::min(0.5, hz * kDt);
    const double p = advance(hz);
    return 2.0 * p - 1.0 - blep(p, dp);
}

double Osc::square(double hz, double duty) {
    const double dp = std::min(0.5, hz * kDt);
    const double p = advance(hz);
    double v = p < duty ? 1.0 : -1.0;
    v += blep(p, dp);
    double q = p - duty;
    q -= std::floor(q);
    v -= blep(q, dp);
    return v;
}

double Osc::glottal(double hz, double openQuotient) {
    const double p = advance(hz);
    if (p >= openQuotient) return 0.0;
    // Rosenberg pulse: a raised-cosine opening for two thirds of the open
    // phase, then a quick quarter-cosine closing.
    const double rise = openQuotient * 0.66;
    if (p < rise) return 0.5 - 0.5 * std::cos(kPi * p / rise);
    return std::cos(0.5 * kPi * (p - rise) / (openQuotient - rise));
}

Envelope::Envelope(std::initializer_list<std::pair<double, double>> points) : pts_(points) {}

double Envelope::at(double t) const {
    if (pts_.empty()) return 0.0;
    if (t <= pts_.front().first) return pts_.front().second;
    for (size_t i = 1; i < pts_.size(); ++i) {
        const auto& [t1, v1] = pts_[i];
        if (t < t1) {
            const auto& [t0, v0] = pts_[i - 1];
            return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
        }
    }
    return pts_.back().second;
}

double strike(double t, double start, double attack, double tau) {
    const double u = t - start;
    if (u < 0.0) return 0.0;
    if (u < attack) return u / attack;
    return std::exp(-(u - attack) / tau);
}

double glide(double t, double t0, double t1, double a, double b) {
    if (t <= t0) return a;
    if (t >= t1) return b;
    return a + (b - a) * (t - t0) / (t1 - t0);
}

double glideLog(double t, double t0, double t1, double a, double b) {
    return std::exp(glide(t, t0, t1, std::log(a), std::log(b)));
}

double OnePole::lowpass(double x, double hz) {
    const double a = 1.0 - std::exp(-2.0 * kPi * hz * kDt);
    y_ += a * (x - y_);
    return y_;
}

Svf::Out Svf::run(double x, double hz, double q) {
    // Trapezoidal state-variable filter (Simper); cutoff kept below Nyquist.
    const double f = std::clamp(hz, 10.0, 0.45 * kSampleRate);
    const double g = std::tan(kPi * f * kDt);
    const double k = 1.0 / std::max(q, 0.05);
    const double a1 = 1.0 / (1.0 + g * (g + k));
    const double a2 = g * a1;
    const double a3 = g * a2;
    const double v3 = x - ic2_;
    const double v1 = a1 * ic1_ + a2 * v3;
    const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return {v2, k * v1, x - k * v1 - v2};
}

double noteHz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

} // namespace korvath::assets::synth
