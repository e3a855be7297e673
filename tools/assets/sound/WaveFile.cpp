#include "WaveFile.h"
#include "LittleEndian.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvath::assets {

namespace {

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

} // namespace

std::vector<double> finish(std::vector<double> s, double peak, double fadeInMs, double fadeOutMs) {
    if (s.empty()) return s;

    // A gentle high-pass at about 10 Hz takes out DC and sub-sonic drift
    // without touching anything audible.
    const double r = 1.0 - 2.0 * std::numbers::pi * 10.0 / kSampleRate;
    double prevIn = 0.0, prevOut = 0.0;
    for (double& x : s) {
        const double y = x - prevIn + r * prevOut;
        prevIn = x;
        prevOut = y;
        x = y;
    }
    // Raised-cosine fades at both ends.
    const size_t n = s.size();
    const size_t in = std::min(n / 2, static_cast<size_t>(fadeInMs * kSampleRate / 1000.0));
    const size_t out = std::min(n / 2, static_cast<size_t>(fadeOutMs * kSampleRate / 1000.0));
    std::vector<double> window(n, 1.0);
    for (size_t i = 0; i < in; ++i)
        window[i] = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / in);
    for (size_t i = 0; i < out; ++i)
        window[n - 1 - i] = 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) / out);

    // Whatever offset the filter left (mostly from its own start) goes too;
    // it is taken out in the shape of the window so the ends stay at zero.
    double sum = 0.0, weight = 0.0;
    for (size_t i = 0; i < n; ++i) {
        s[i] *= window[i];
        sum += s[i];
        weight += window[i];
    }
    const double offset = sum / weight;
    for (size_t i = 0; i < n; ++i) s[i] -= offset * window[i];

    double loudest = 0.0;
    for (double x : s) loudest = std::max(loudest, std::abs(x));
    if (loudest > 0.0) {
        const double gain = peak / loudest;
        for (double& x : s) x *= gain;
    }
    return s;
}

std::vector<uint8_t> encodeWav(const std::vector<double>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2); // bytes per second
    put16(out, 2);               // bytes per frame
    put16(out, 16);              // bits per sample
    putTag(out, "data");
    put32(out, dataBytes);
    for (double x : samples) {
        const double v = std::clamp(x, -1.0, 1.0) * 32767.0;
        const auto q = static_cast<int16_t>(std::lround(v));
        put16(out, static_cast<uint16_t>(q));
    }
    return out;
}

} // namespace korvath::assets
