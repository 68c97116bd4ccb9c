// The curve's sound read back as a listener hears it: pitch, side, clicks and
// silences.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

#include "graph/Sonification.h"
#include "platform/Sound.h"

namespace {

using Samples = std::vector<std::int16_t>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
static_assert(Sonification::kSampleRate == Sound::kSampleRate &&
              Sonification::kChannels == Sound::kChannels);

// The frames from..to seconds: one channel (0 left, 1 right), or both added;
// with a frame of silence before and after.
std::vector<double> wave(const Samples& sound, double from, double to, int which = -1)
{
    std::vector<double> out{0};
    for (auto f = std::size_t(from * 44100);
         f < std::min(sound.size() / 2, std::size_t(to * 44100)); ++f)
        out.push_back(which < 0 ? sound[2 * f] + sound[2 * f + 1] : sound[2 * f + which]);
    out.push_back(0);
    return out;
}

double pitch(const Samples& sound, double from, double to)
{
    const auto w = wave(sound, from, to);
    int crossings = 0;
    for (std::size_t k = 2; k + 1 < w.size(); ++k)
        crossings += (w[k - 1] < 0) != (w[k] < 0);
    return crossings / 2.0 / (to - from);
}

double power(const Samples& sound, double from, double to, int which)
{
    const auto w = wave(sound, from, to, which);
    return std::inner_product(w.begin(), w.end(), w.begin(), 0.0);
}

// Sharp bends of the wave more than 10 ms apart: clicks, and pops where a
// level or a pitch jumped.
int clicks(const Samples& sound)
{
    const auto w = wave(sound, 0, 1000);
    int found = 0;
    for (std::size_t k = 2, last = 0; k < w.size(); ++k) {
        if (std::abs(w[k] - 2 * w[k - 1] + w[k - 2]) > 1000) {
            found += found == 0 || k - last > 441;
            last = k;
        }
    }
    return found;
}

// Runs of a hundred columns of one value each.
std::vector<double> runs(std::initializer_list<double> levels)
{
    std::vector<double> values;
    for (const double level : levels)
        values.insert(values.end(), 100, level);
    return values;
}

TEST(SonificationTest, PitchRisesTwoOctavesUpTheScreenAndSoundMovesLeftToRight)
{
    const double expected[] = {220, 440, 880};
    for (const bool mirrored : {false, true}) {
        const Samples sound =
            Sonification::sweep(runs({1, 2.5, 4}), mirrored ? 4 : 1, mirrored ? 1 : 4, 3);
        ASSERT_EQ(sound.size(), 2u * 3 * 44100);
        for (int third = 0; third < 3; ++third) {
            const double hz = expected[mirrored ? 2 - third : third];
            EXPECT_NEAR(pitch(sound, third + 0.3, third + 0.7), hz, 0.03 * hz) << third;
        }
        EXPECT_GT(power(sound, 0, 0.1, 0), 20 * power(sound, 0, 0.1, 1));
        EXPECT_GT(power(sound, 2.9, 3, 1), 20 * power(sound, 2.9, 3, 0));
    }
    const Samples note = Sonification::tone(2.5, 1, 4, 0.25, 0.1);
    ASSERT_EQ(note.size(), 8820u);
    EXPECT_NEAR(pitch(note, 0.01, 0.09), 440, 0.03 * 440);
    EXPECT_GT(power(note, 0, 0.1, 0), 4 * power(note, 0, 0.1, 1));
    EXPECT_EQ(clicks(note), 0);
    EXPECT_EQ(Sonification::tone(kNaN, 1, 4, 0.25, 0.1), Samples(8820));
}

TEST(SonificationTest, OneClickAtEachChangeOfSignNoPopAtAGapAndNothingAtFullScale)
{
    const struct {
        std::vector<double> values;
        double low, high;
        int clicks;
    } rows[] = {
        {runs({0.5, -0.5, kNaN, 0.5, -0.5}), -1, 1, 2}, // none across the gap
        {runs({-0.5, 0, 0.5, 0, 0.5}), -1, 1, 1},       // zeros bridged; a touch is no crossing
        {runs({5, -5, HUGE_VAL}), -1, 1, 0},            // poles
        {runs({0.5, -0.5}), 1, 4, 1},                   // below the view
    };
    for (const auto& row : rows)
        EXPECT_EQ(clicks(Sonification::sweep(row.values, row.low, row.high, 2.5)), row.clicks);
    EXPECT_EQ(power(Sonification::sweep(rows[0].values, -1, 1, 2.5), 1.01, 1.49, -1), 0);

    // Clicks on every column, each left out where it would overlap the last.
    std::vector<double> zigzag(2000, 0.5);
    for (std::size_t i = 0; i < zigzag.size(); i += 2)
        zigzag[i] = i == 8 ? -HUGE_VAL : -0.5;
    int loudest = 0;
    for (const std::int16_t sample : Sonification::sweep(zigzag, -1, 1, 1))
        loudest = std::max(loudest, std::abs(sample));
    EXPECT_LT(loudest, 0.95 * 32767);
    EXPECT_GT(loudest, 0.6 * 32767);
}

} // namespace
