// Instructions per sample, where wall time on a shared machine says little:
// bench/run runs this under callgrind, collecting only inside the counted*
// functions, each of which takes 10 sweeps of the graph window's 501 x.
//   instruction_count                      lists the samples' names
//   instruction_count each|evaluate|muparser NAME   prints how many samples
// it counted (muparser only where it was found), and the build of the steps
// that ran them (engine/Steps.cpp chooses; CALC_STEPS_BUILD asks). A sweep
// before counting compiles the program and binds the library calls.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef CALC_HAVE_MUPARSER
#include <muParser.h>
#endif

#include "bench/Samples.h"
#include "engine/Expression.h"
#include "engine/Steps.h"

namespace {

constexpr int kSweeps = 10;
constexpr std::size_t kSamples = 501;

std::vector<double> sweep()
{
    std::vector<double> xs(kSamples);
    XSteps steps;
    for (double& x : xs)
        x = steps.next();
    return xs;
}

// The sum, printed, so that nothing is left out as unused.
[[gnu::noinline]] double countedEach(Expression& e, const std::vector<double>& xs,
                                     std::vector<double>& values, int sweeps)
{
    double sum = 0;
    for (int s = 0; s < sweeps; ++s) {
        e.evaluateEach(xs.data(), values.data(), xs.size(), 0, 0, 0);
        sum += values[0];
    }
    return sum;
}

[[gnu::noinline]] double countedEvaluate(Expression& e, const std::vector<double>& xs, int sweeps)
{
    double sum = 0;
    for (int s = 0; s < sweeps; ++s)
        for (const double x : xs)
            sum += e.evaluate(x, 0, 0, 0);
    return sum;
}

#ifdef CALC_HAVE_MUPARSER
[[gnu::noinline]] double countedMuparser(mu::Parser& parser, double& x,
                                         const std::vector<double>& xs, int sweeps)
{
    double sum = 0;
    for (int s = 0; s < sweeps; ++s)
        for (const double v : xs) {
            x = v;
            sum += parser.Eval();
        }
    return sum;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (argc == 1) {
        for (const Sample& sample : samples())
            std::printf("%s\t%s\n", sample.name, sample.engine.c_str());
        return 0;
    }
    const Sample* sample = nullptr;
    for (const Sample& s : samples())
        if (argc == 3 && s.name == std::string(argv[2]))
            sample = &s;
    if (sample == nullptr) {
        std::fprintf(stderr, "usage: instruction_count [each|evaluate|muparser NAME]\n");
        return 2;
    }
    const std::vector<double> xs = sweep();
    std::vector<double> values(xs.size());
    const std::string kind = argv[1];
    double sum = 0;
    if (kind == "each" || kind == "evaluate") {
        Expression e(sample->engine.c_str());
        for (const double x : xs) // compiles the program
            sum += e.evaluate(x, 0, 0, 0);
        sum +=
            kind == "each" ? countedEach(e, xs, values, kSweeps) : countedEvaluate(e, xs, kSweeps);
#ifdef CALC_HAVE_MUPARSER
    } else if (kind == "muparser") {
        double x = 0;
        mu::Parser parser;
        parser.DefineVar("x", &x);
        parser.SetExpr(sample->muparser);
        for (const double v : xs) {
            x = v;
            sum += parser.Eval();
        }
        sum += countedMuparser(parser, x, xs, kSweeps);
#endif
    } else {
        std::fprintf(stderr, "no such kind: %s\n", argv[1]);
        return 2;
    }
    std::printf("%d samples (sum %g) by the %s build\n", kSweeps * static_cast<int>(kSamples), sum,
                steps::chosenBuild().name);
    return 0;
}
