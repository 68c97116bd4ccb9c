// The same expressions in muparser, for scale: (a) parsed again for every
// sample, as the engine does, and (b) parsed once and evaluated many times.
// Before measuring, each translation is checked against the engine over the
// whole x range, so both sides compute the same thing.

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <string>
#include <utility>

#include "bench/Samples.h"
#include "engine/Expression.h"

namespace {

bool sameValues(const Sample& sample, mu::Parser& parser, double& x)
{
    Expression e;
    e.setText(sample.engine);
    if (!e.validate())
        return false;
    XSteps steps;
    for (int i = 0; i <= 500; ++i) {
        x = steps.next();
        const double ours = e.evaluate(x, 0, 0, 0);
        const double theirs = parser.Eval();
        // Where the engine gives its error value (1/0, ln of a negative) muparser gives inf or NaN.
        if (ours == static_cast<double>(e.errorValue) && !std::isfinite(theirs))
            continue;
        if (!(std::fabs(ours - theirs) <= 1e-9 * std::fmax(1.0, std::fabs(ours))))
            return false;
    }
    return true;
}

// Fills the parser with the sample; false (and the benchmark skipped) when
// muparser refuses it or disagrees with the engine.
bool prepare(benchmark::State& state, const Sample& sample, mu::Parser& parser, double& x)
{
    try {
        parser.DefineVar("x", &x);
        parser.SetExpr(sample.muparser);
        if (sameValues(sample, parser, x))
            return true;
        state.SkipWithError("muparser and the engine disagree");
    } catch (const mu::Parser::exception_type& error) {
        state.SkipWithError(error.GetMsg().c_str());
    }
    return false;
}

enum class Parse { EachSample, Once };

void muparser(benchmark::State& state, const Sample& sample, Parse parse)
{
    double x = 0;
    mu::Parser parser;
    if (!prepare(state, sample, parser, x))
        return;
    XSteps steps;
    for (auto _ : state) {
        x = steps.next();
        if (parse == Parse::EachSample)
            parser.SetExpr(sample.muparser);
        benchmark::DoNotOptimize(parser.Eval());
    }
}

const bool registered = [] {
    for (const auto& [prefix, parse] :
         {std::pair{"muparserParseEach/", Parse::EachSample}, {"muparserParseOnce/", Parse::Once}})
        for (const Sample& sample : samples())
            benchmark::RegisterBenchmark((prefix + std::string(sample.name)).c_str(), muparser,
                                         sample, parse);
    return true;
}();

} // namespace
