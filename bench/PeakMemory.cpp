// The most memory a long text costs: a text of about a million characters of
// one shape is validated, evaluated once, then swept over the graph window's
// 501 x, and the process's peak resident size is printed (the figure
// /usr/bin/time -v gives). Each shape in its own process, so that one's peak
// hides no other's: bench/peak-memory runs them all and prints the table.
//   peak_memory            lists the shapes
//   peak_memory SHAPE      prints "SHAPE KB"

#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/Samples.h"
#include "engine/Expression.h"

namespace {

constexpr std::size_t kLength = 1000000;

std::string repeat(const std::string& piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// x-(x-(...x...)) levels deep.
std::string nested(std::size_t levels)
{
    return repeat("x-(", levels) + "x" + std::string(levels, ')');
}

struct Shape {
    const char* name;
    std::string (*text)();
};

const Shape shapes[] = {
    {"sum", [] { return repeat("x+", kLength / 2 - 1) + "x"; }},         // x+x+...
    {"nested", [] { return nested((kLength - 1) / 4); }},                // x-(x-(...
    {"squares", [] { return repeat("x^2+", kLength / 4 - 1) + "x^2"; }}, // x^2+x^2+...
    // blocks of 511 levels summed, 512 with the sum: the deepest a sweep takes in blocks of x
    {"blocks", [] { return repeat(nested(510) + "+", kLength / 2042) + "x"; }},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc == 1) {
        for (const Shape& shape : shapes)
            std::printf("%s\n", shape.name);
        return 0;
    }
    const Shape* shape = nullptr;
    for (const Shape& s : shapes)
        if (argc == 2 && std::string(argv[1]) == s.name)
            shape = &s;
    if (shape == nullptr) {
        std::fprintf(stderr, "usage: peak_memory [SHAPE]\n");
        return 2;
    }
    Expression e(shape->text().c_str());
    if (!e.validate()) {
        std::fprintf(stderr, "%s: not a valid expression\n", shape->name);
        return 1;
    }
    double sum = e.evaluate(0.5, 0, 0, 0);
    std::vector<double> xs(501);
    XSteps steps;
    for (double& x : xs)
        x = steps.next();
    std::vector<double> values(xs.size());
    const std::size_t taken = e.evaluateEach(xs.data(), values.data(), xs.size(), 0, 0, 0);
    for (std::size_t i = 0; i < xs.size(); ++i)
        sum += i < taken ? values[i] : e.evaluate(xs[i], 0, 0, 0);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %ld\n", shape->name, usage.ru_maxrss); // sum printed: nothing left out
    std::fprintf(stderr, "%s: %zu characters, sum %g\n", shape->name, e.getText().size(), sum);
    return 0;
}
