#pragma once

#include <string>
#include <vector>

// The expressions every benchmark measures, each written for the engine and
// for muparser ("." decimal mark, negative literals and multiplications
// written out), and the x values the graph window steps through.

struct Sample {
    const char* name;
    std::string engine;
    std::string muparser;
};

// trig, x, implicit and words200 first, then the table of shapes.
const std::vector<Sample>& samples();

// x = (i - 250) * 20 / 500 for i = 0..500, then round again: the graph
// window's sampling of its default range.
class XSteps {
public:
    double next()
    {
        const double x = (i - 250) * 20.0 / 500;
        i = i == 500 ? 0 : i + 1;
        return x;
    }

private:
    int i = 0;
};
