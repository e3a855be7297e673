#include "sound/Synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace korvath::assets;
using namespace korvath::assets::synth;

namespace {

constexpr double kTwoPi = 6.283185307179586;

double peakOf(const Buffer& b, size_t from = 0) {
    double p = 0;
    for (size_t i = from; i < b.size(); ++i) p = std::max(p, std::abs(b[i]));
    return p;
}

double crossingsPerSecond(const Buffer& b) {
    int n = 0;
    for (size_t i = 1; i < b.size(); ++i) n += (b[i - 1] < 0) != (b[i] < 0);
    return n / (b.size() * kDt);
}

// Steady-state gain of a filter for a sine at hz, skipping its settling time.
double gainAt(double hz, const std::function<double(double)>& filter) {
    Osc osc;
    const Buffer out = render(0.5, [&](double) { return filter(osc.sine(hz)); });
    return peakOf(out, out.size() / 2);
}

} // namespace

TEST(Synth, FinishRemovesOffsetFadesAndScales) {
    Osc osc;
    const Buffer raw = render(0.5, [&](double) { return 0.5 + 0.3 * osc.sine(300.0); });
    const Buffer done = finish(raw, 0.7);
    double sum = 0;
    for (double x : done) sum += x;
    EXPECT_NEAR(sum / done.size(), 0.0, 1e-3);
    EXPECT_NEAR(peakOf(done), 0.7, 1e-9);
    EXPECT_NEAR(done.front(), 0.0, 1e-9);
    EXPECT_NEAR(done.back(), 0.0, 1e-9);
}

TEST(Synth, OscillatorsRunAtTheirPitchWithoutOvershoot) {
    const std::function<double(Osc&)> waves[] = {
        [](Osc& o) { return o.sine(441.0); }, [](Osc& o) { return o.triangle(441.0); },
        [](Osc& o) { return o.saw(441.0); }, [](Osc& o) { return o.square(441.0, 0.5); }};
    for (const auto& wave : waves) {
        Osc osc(0.1);
        const Buffer b = render(1.0, [&](double) { return wave(osc); });
        EXPECT_NEAR(crossingsPerSecond(b), 882.0, 10.0);
        EXPECT_LT(peakOf(b), 1.3);
        EXPECT_GT(peakOf(b), 0.8);
    }
    Osc glottis;
    const Buffer pulse = render(0.1, [&](double) { return glottis.glottal(200.0); });
    EXPECT_GE(*std::min_element(pulse.begin(), pulse.end()), 0.0);
    EXPECT_LE(peakOf(pulse), 1.0);
}

TEST(Synth, FiltersPassAndStopTheRightBands) {
    Svf lp, lp2, bp, bp2;
    EXPECT_NEAR(gainAt(100.0, [&](double x) { return lp.lowpass(x, 500.0); }), 1.0, 0.05);
    EXPECT_LT(gainAt(5000.0, [&](double x) { return lp2.lowpass(x, 500.0); }), 0.02);
    // Band-pass output is scaled to unit gain at the centre, whatever the resonance.
    EXPECT_NEAR(gainAt(1000.0, [&](double x) { return bp.bandpass(x, 1000.0, 8.0); }), 1.0, 0.05);
    EXPECT_LT(gainAt(4000.0, [&](double x) { return bp2.bandpass(x, 1000.0, 8.0); }), 0.1);
    OnePole a, b;
    EXPECT_NEAR(gainAt(50.0, [&](double x) { return a.lowpass(x, 1000.0); }), 1.0, 0.05);
    EXPECT_LT(gainAt(8000.0, [&](double x) { return b.lowpass(x, 200.0); }), 0.05);
}

TEST(Synth, NoiseIsRepeatableBoundedAndCentred) {
    Noise a(42), b(42), c(43);
    double sum = 0;
    bool differs = false;
    for (int i = 0; i < 100000; ++i) {
        const double x = a.white();
        ASSERT_EQ(x, b.white());
        differs |= x != c.white();
        ASSERT_GE(x, -1.0);
        ASSERT_LE(x, 1.0);
        sum += x;
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(sum / 100000, 0.0, 0.01);
}
