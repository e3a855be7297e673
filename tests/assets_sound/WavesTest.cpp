#include "sound/Sounds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

using korvath::assets::synthesiseWaves;

namespace {

uint32_t le16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8);
}
uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return le16(b, at) | (le16(b, at + 2) << 16);
}
bool tagAt(const std::vector<uint8_t>& b, size_t at, const char* tag) {
    return b.size() >= at + 4 && std::memcmp(b.data() + at, tag, 4) == 0;
}

std::vector<double> samplesOf(const std::vector<uint8_t>& wav) {
    std::vector<double> s;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        s.push_back(static_cast<int16_t>(le16(wav, at)) / 32768.0);
    return s;
}

// Sign changes per second over part of a sound: a rough pitch measure.
double crossingRate(const std::vector<double>& s, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i) n += (s[i - 1] < 0) != (s[i] < 0);
    return n * 22050.0 / static_cast<double>(to - from);
}

} // namespace

TEST(Waves, EveryEffectIsACleanMonoPcmWave) {
    const auto waves = synthesiseWaves();
    const std::set<std::string> expected{
        "intro.wav",   "select.wav",  "beep.wav",   "prompt.wav", "fire.wav",    "flames.wav",
        "explode.wav", "dead.wav",    "dizzy1.wav", "dizzy2.wav", "LoadMag.wav", "TurnFinished.wav",
        "SignOff.wav", "ohmigod.wav", "save.wav",   "load.wav"};
    std::set<std::string> names;
    for (const auto& [name, wav] : waves) names.insert(name);
    EXPECT_EQ(names, expected);

    for (const auto& [name, wav] : waves) {
        SCOPED_TRACE(name);
        ASSERT_GE(wav.size(), 46u);
        EXPECT_TRUE(tagAt(wav, 0, "RIFF"));
        EXPECT_EQ(le32(wav, 4), wav.size() - 8);
        EXPECT_TRUE(tagAt(wav, 8, "WAVE"));
        EXPECT_TRUE(tagAt(wav, 12, "fmt "));
        EXPECT_EQ(le32(wav, 16), 16u);
        EXPECT_EQ(le16(wav, 20), 1u); // PCM
        EXPECT_EQ(le16(wav, 22), 1u); // mono
        EXPECT_EQ(le32(wav, 24), 22050u);
        EXPECT_EQ(le32(wav, 28), 44100u);
        EXPECT_EQ(le16(wav, 32), 2u);
        EXPECT_EQ(le16(wav, 34), 16u);
        EXPECT_TRUE(tagAt(wav, 36, "data"));
        EXPECT_EQ(le32(wav, 40), wav.size() - 44);
        EXPECT_EQ(wav.size() % 2, 0u);

        const auto s = samplesOf(wav);
        const double seconds = s.size() / 22050.0;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LE(seconds, 2.1);

        double peak = 0, sum = 0, squares = 0;
        for (double x : s) {
            peak = std::max(peak, std::abs(x));
            sum += x;
            squares += x * x;
        }
        EXPECT_LT(peak, 0.9) << "too close to clipping";
        EXPECT_GT(peak, 0.3) << "too quiet";
        EXPECT_GT(std::sqrt(squares / s.size()), 0.03) << "near silent";
        EXPECT_LT(std::abs(sum / s.size()), 0.001) << "DC offset";
        // Faded at both ends, so playing it does not click.
        EXPECT_LT(std::abs(s.front()), 0.01);
        EXPECT_LT(std::abs(s.back()), 0.01);
    }
}

TEST(Waves, SameBytesOnEveryRun) {
    EXPECT_EQ(synthesiseWaves(), synthesiseWaves());
}

TEST(Waves, EffectsAreDistinctAndSaveRisesWhereLoadFalls) {
    const auto waves = synthesiseWaves();
    const auto save = samplesOf(waves.at("save.wav"));
    const auto load = samplesOf(waves.at("load.wav"));
    const size_t q = save.size() / 4;
    EXPECT_GT(crossingRate(save, 3 * q, 4 * q), 1.5 * crossingRate(save, 0, q)) << "save rises";
    EXPECT_LT(crossingRate(load, 3 * q, 4 * q), crossingRate(load, 0, q) / 1.5) << "load falls";

    // No name may end up with another effect's sound.
    std::set<std::vector<uint8_t>> distinct;
    for (const auto& [name, wav] : waves) distinct.insert(wav);
    EXPECT_EQ(distinct.size(), waves.size());
}
