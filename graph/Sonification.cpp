// The curve's sound, worked out in one channel and then placed between the
// two: a sine whose phase runs on through every change of pitch, so that the
// pitch glides without a jump in the wave; a level that moves toward where it
// should be no faster than a fade; clicks added on top.

#include "graph/Sonification.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Sonification {
namespace {

constexpr double kLowPitch = 220; // Hz, at the bottom of the view
constexpr double kOctaves = 2;    // from the bottom of the view to its top
constexpr double kLevel = 0.5;    // of full scale
constexpr double kOutsideLevel = 0.25;
constexpr double kFadeFrames = 0.005 * kSampleRate;
// Loud enough to stand out, and a tone at full level with a click on top
// stays below full scale. Above every pitch of the curve, so heard apart.
constexpr double kClickLevel = 0.4;
constexpr double kClickPitch = 3000; // Hz
constexpr std::size_t kClickFrames = 3 * kSampleRate / 1000;
constexpr double kLongest = 60; // seconds
constexpr double kTwoPi = 6.283185307179586;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Where a value sounds: its height in the view, 0 at the bottom and 1 at the
// top, clamped, and on which side of the view it lies.
struct Place {
    bool has = false; // the function has a value there
    int side = 0;     // -1 below the view, 1 above, 0 within
    double height = 0;
};

Place place(double y, double low, double high)
{
    if (std::isnan(y))
        return {};
    double height = (y - low) / (high - low);
    if (std::isnan(height)) // the view's height or the value overflowed
        height = 0.5;
    return {true, height < 0 ? -1 : height > 1 ? 1 : 0, std::clamp(height, 0.0, 1.0)};
}

double levelAt(const Place& where)
{
    if (!where.has)
        return 0;
    return where.side == 0 ? kLevel : kOutsideLevel;
}

std::size_t framesOf(double seconds)
{
    if (!(seconds > 0))
        return 0;
    return static_cast<std::size_t>(std::lround(std::min(seconds, kLongest) * kSampleRate));
}

class Voice {
public:
    double next(double height, double target)
    {
        const double step = kLevel / kFadeFrames;
        level += std::clamp(target - level, -step, step);
        phase += kTwoPi * kLowPitch * std::exp2(kOctaves * height) / kSampleRate;
        if (phase >= kTwoPi)
            phase -= kTwoPi;
        return level * std::sin(phase);
    }

private:
    double phase = 0;
    double level = 0; // starts silent: the sound fades in
};

void fadeOut(std::vector<double>& mono)
{
    const auto frames = std::min(mono.size(), static_cast<std::size_t>(kFadeFrames));
    for (std::size_t k = 0; k < frames; ++k)
        mono[mono.size() - 1 - k] *= static_cast<double>(k) / static_cast<double>(frames);
}

void addClick(std::vector<double>& mono, std::size_t start)
{
    for (std::size_t k = 0; k < kClickFrames && start + k < mono.size(); ++k) {
        const auto at = static_cast<double>(k);
        const double window = 0.5 - 0.5 * std::cos(kTwoPi * at / kClickFrames);
        mono[start + k] += kClickLevel * window * std::sin(kTwoPi * kClickPitch * at / kSampleRate);
    }
}

// A click where the line between two values of opposite signs crosses zero
// (values of 0 between them are bridged; a gap is not). One that would
// overlap the click before it is left out, so that clicks never add up.
void addClicks(std::vector<double>& mono, const std::vector<double>& values,
               const std::vector<Place>& places)
{
    std::size_t clear = 0;    // the first frame after the last click
    std::size_t last = kNone; // the last column with a value other than 0
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!places[i].has)
            last = kNone;
        if (!places[i].has || values[i] == 0)
            continue;
        if (last != kNone && (values[last] < 0) != (values[i] < 0) &&
            places[last].side * places[i].side != -1) {
            double t = values[last] / (values[last] - values[i]);
            if (!std::isfinite(t))
                t = 0.5;
            const double column =
                static_cast<double>(last) + 0.5 + t * static_cast<double>(i - last);
            const double middle =
                column / static_cast<double>(values.size()) * static_cast<double>(mono.size());
            const double half = kClickFrames / 2.0;
            const auto start = static_cast<std::size_t>(std::max(middle - half, 0.0));
            if (start >= clear) {
                addClick(mono, start);
                clear = start + kClickFrames;
            }
        }
        last = i;
    }
}

// Places the sound from one position to another across its length, with the
// same power at every position.
std::vector<std::int16_t> stereo(const std::vector<double>& mono, double from, double to)
{
    std::vector<std::int16_t> samples;
    samples.reserve(mono.size() * kChannels);
    for (std::size_t f = 0; f < mono.size(); ++f) {
        const double position =
            from + (to - from) * (static_cast<double>(f) + 0.5) / static_cast<double>(mono.size());
        const double angle = position * kTwoPi / 4;
        for (const double gain : {std::cos(angle), std::sin(angle)}) {
            const double sample = std::clamp(mono[f] * gain, -1.0, 1.0) * 32767;
            samples.push_back(static_cast<std::int16_t>(std::lround(sample)));
        }
    }
    return samples;
}

} // namespace

std::vector<std::int16_t> sweep(const std::vector<double>& values, double low, double high,
                                double seconds)
{
    std::vector<Place> places;
    places.reserve(values.size());
    for (const double y : values)
        places.push_back(place(y, low, high));
    std::vector<double> mono(framesOf(seconds));
    const std::size_t columns = values.size();
    Voice voice;
    double height = 0.5; // over a gap the pitch stays where it was
    for (std::size_t f = 0; f < mono.size() && columns > 0; ++f) {
        // Each column sounds for its share of the time; between the middles
        // of two neighbours with values the pitch glides from one to the other.
        const double at = (static_cast<double>(f) + 0.5) * static_cast<double>(columns) /
                          static_cast<double>(mono.size());
        const std::size_t i = std::min(static_cast<std::size_t>(at), columns - 1);
        const double apart = at - (static_cast<double>(i) + 0.5);
        const std::size_t next = apart < 0 ? i - 1 : i + 1; // past either end when none
        if (places[i].has) {
            height = places[i].height;
            if (next < columns && places[next].has)
                height += (places[next].height - height) * std::abs(apart);
        }
        mono[f] = voice.next(height, levelAt(places[i]));
    }
    addClicks(mono, values, places);
    fadeOut(mono);
    return stereo(mono, 0, 1);
}

std::vector<std::int16_t> tone(double y, double low, double high, double position, double seconds)
{
    const Place here = place(y, low, high);
    std::vector<double> mono(framesOf(seconds));
    Voice voice;
    for (double& sample : mono)
        sample = voice.next(here.height, levelAt(here));
    fadeOut(mono);
    position = std::isnan(position) ? 0.5 : std::clamp(position, 0.0, 1.0);
    return stereo(mono, position, position);
}

} // namespace Sonification
