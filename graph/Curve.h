#pragma once

#include <cstddef>
#include <vector>

// The calculator's expression as a function of x, for one redraw or one trace
// move. The calculator's y, z and ans cannot change while either runs (the
// graph window is modal and nothing it does writes them), so they are read
// once, at the first sample: where reading them for every sample would first
// fail, with the same error.
class Curve {
public:
    // Every sample taken counts in samples.
    explicit Curve(int& samples) : samples(samples) {}

    double operator()(double x);

    // The value at xs[k], asked for k = 0, 1, 2, ... in turn. Values are worked
    // out ahead, in one pass, as far as they can be; a sample that cannot be
    // (the first, or one that fails) is taken alone when it is asked for, so a
    // failure comes at the sample it comes at when sampling one by one, after
    // the samples before it have been drawn.
    double at(const std::vector<double>& xs, std::size_t k);

private:
    int& samples;
    bool read = false;
    double ans = 0;
    double z = 0;
    double y = 0;
    std::vector<double> ahead; // values worked out ahead, ahead[k] for k < ready
    std::size_t ready = 0;
};
