#pragma once
#include <cstdint>
#include <vector>

namespace korvath::assets {

// Every effect is made at this rate and stored as 16-bit mono.
constexpr int kSampleRate = 22050;

// Makes a finished effect out of raw samples: removes any DC offset, fades the
// first fadeInMs and last fadeOutMs so the sound starts and stops without a
// click, and scales it so its loudest sample reaches peak (of full scale).
std::vector<double> finish(std::vector<double> samples, double peak, double fadeInMs = 3.0,
                           double fadeOutMs = 15.0);

// A RIFF WAV file: PCM, 16 bits, one channel, kSampleRate. Samples are
// clamped to -1..1 and rounded to the nearest step.
std::vector<uint8_t> encodeWav(const std::vector<double>& samples);

} // namespace korvath::assets
