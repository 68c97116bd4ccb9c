#pragma once

#include <cstdint>
#include <vector>

// The curve as sound, for exploring it without sight. Height is pitch: the
// bottom of the view sounds at 220 Hz and its top two octaves up, at 880 Hz,
// on an exponential scale, so that equal steps up the screen are equal
// musical steps. Left to right is the stereo position. A value above or below
// the view sounds at the end of the range, at half the loudness, so that the
// curve is heard leaving the picture; where there is no value (NaN) there is
// silence. A short click marks each place where y changes sign. Every start
// and end, of the sound and of each gap, fades over 5 ms, so nothing pops,
// and no sample reaches full scale.
//
// Samples are signed 16-bit, two channels interleaved (left, right), at
// kSampleRate frames a second. low and high are the values of y at the bottom
// and the top edge of the picture: in a mirrored view high is below low, and
// the pitch still rises toward the top of the screen.
namespace Sonification {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;

// The visible curve swept from left to right in the given seconds (at most a
// minute): values[i] is y at pixel column i, NaN where it has none, and
// infinities lie beyond the view. No click where the curve leaves the view at
// one edge and comes back at the other: that is a pole, not a zero.
std::vector<std::int16_t> sweep(const std::vector<double>& values, double low, double high,
                                double seconds);

// One point: the pitch of y, at position 0 (left) to 1 (right); silence of
// the same length where y is NaN.
std::vector<std::int16_t> tone(double y, double low, double high, double position, double seconds);

} // namespace Sonification
