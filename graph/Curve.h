#pragma once

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

private:
    int& samples;
    bool read = false;
    double ans = 0;
    double z = 0;
    double y = 0;
};
