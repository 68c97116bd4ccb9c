// The curve's sound read back as a listener hears it: pitch, side, clicks and
// silences.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

#include "graph/Sonification.h"
#include "platform/Sound.h"

namespace {

using Samples = std::vector<std::int16_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kRate = Sonification::kSampleRate;
static_assert(Sonification::kSampleRate == Sound::kSampleRate &&
              Sonification::kChannels == Sound::kChannels);

// Both channels of the frames from..to seconds (a channel, or both added).
std::vector<double> channel(const Samples& samples, double from, double to, int which = -1)
{
    std::vector<double> out;
    for (auto f = static_cast<std::size_t>(from * kRate); f < static_cast<std::size_t>(to * kRate);
         ++f)
        out.push_back(which < 0 ? samples[2 * f] + samples[2 * f + 1] : samples[2 * f + which]);
    return out;
}

double pitch(const Samples& samples, double from, double to)
{
    const auto wave = channel(samples, from, to);
    int crossings = 0;
    for (std::size_t k = 1; k < wave.size(); ++k)
        crossings += (wave[k - 1] < 0) != (wave[k] < 0);
    return crossings / 2.0 / (to - from);
}

double power(const Samples& samples, double from, double to, int which)
{
    double sum = 0;
    for (const double sample : channel(samples, from, to, which))
        sum += sample * sample;
    return sum;
}

// Sharp bends in the wave, silence before and after it included, more than
// 10 ms apart: clicks, and pops where a level or a pitch jumped.
int clicks(const Samples& samples)
{
    auto wave = channel(samples, 0, static_cast<double>(samples.size()) / 2 / kRate);
    wave.insert(wave.begin(), 2, 0.0);
    wave.insert(wave.end(), 2, 0.0);
    int found = 0;
    std::size_t last = 0;
    for (std::size_t k = 2; k < wave.size(); ++k) {
        if (std::abs(wave[k] - 2 * wave[k - 1] + wave[k - 2]) > 1000) {
            found += found == 0 || k - last > 441; // 10 ms
            last = k;
        }
    }
    return found;
}

// Runs of equal values, each a hundred columns long.
std::vector<double> runs(std::initializer_list<double> levels)
{
    std::vector<double> values;
    for (const double level : levels)
        values.insert(values.end(), 100, level);
    return values;
}

TEST(SonificationTest, PitchRisesTwoOctavesUpTheScreenMirroredOrNot)
{
    const double expected[] = {220, 440, 880};
    for (const auto& [low, high] : {std::pair(1.0, 4.0), std::pair(4.0, 1.0)}) {
        const Samples sound = Sonification::sweep(runs({1, 2.5, 4}), low, high, 3);
        ASSERT_EQ(sound.size(), 2u * 3 * 44100);
        for (int third = 0; third < 3; ++third) {
            const double hz = expected[low < high ? third : 2 - third];
            EXPECT_NEAR(pitch(sound, third + 0.3, third + 0.7), hz, 0.03 * hz) << third;
        }
    }
    const Samples note = Sonification::tone(2.5, 1, 4, 0.25, 0.1);
    ASSERT_EQ(note.size(), 2u * 4410);
    EXPECT_NEAR(pitch(note, 0.01, 0.09), 440, 0.03 * 440);
    EXPECT_EQ(clicks(note), 0);
    EXPECT_EQ(Sonification::tone(kNaN, 1, 4, 0.25, 0.1), Samples(8820));
}

TEST(SonificationTest, LeftToRight)
{
    const Samples sound = Sonification::sweep(runs({0, 0, 0}), -1, 1, 2);
    EXPECT_GT(power(sound, 0, 0.1, 0), 20 * power(sound, 0, 0.1, 1));
    EXPECT_GT(power(sound, 1.9, 2, 1), 20 * power(sound, 1.9, 2, 0));
    const Samples note = Sonification::tone(0, -1, 1, 0.25, 0.1);
    EXPECT_GT(power(note, 0, 0.1, 0), 4 * power(note, 0, 0.1, 1));
}

TEST(SonificationTest, OneClickAtEachChangeOfSignAndNoPopAtAGap)
{
    const struct {
        std::vector<double> values;
        double low, high;
        int clicks;
    } rows[] = {
        {runs({0.5, -0.5, kNaN, 0.5, -0.5}), -1, 1, 2}, // none across the gap
        {runs({-0.5, 0, 0.5, 0, 0.5}), -1, 1, 1},       // zeros bridged; a touch is no crossing
        {runs({5, -5, std::numeric_limits<double>::infinity()}), -1, 1, 0}, // poles
        {runs({0.5, -0.5}), 1, 4, 1},                                       // below the view
    };
    for (const auto& row : rows)
        EXPECT_EQ(clicks(Sonification::sweep(row.values, row.low, row.high, 2.5)), row.clicks);

    const Samples gap = Sonification::sweep(rows[0].values, -1, 1, 2.5);
    for (const double sample : channel(gap, 1.01, 1.49))
        ASSERT_EQ(sample, 0);
}

TEST(SonificationTest, NothingReachesFullScaleNotEvenClicksOnEveryColumn)
{
    std::vector<double> zigzag(2000);
    for (std::size_t i = 0; i < zigzag.size(); ++i)
        zigzag[i] = i % 2 ? 0.5 : -0.5;
    zigzag[7] = std::numeric_limits<double>::infinity();
    int loudest = 0;
    for (const std::int16_t sample : Sonification::sweep(zigzag, -1, 1, 1))
        loudest = std::max(loudest, std::abs(sample));
    EXPECT_LT(loudest, 0.95 * 32767);
    EXPECT_GT(loudest, 0.6 * 32767); // the clicks are there
}

} // namespace
