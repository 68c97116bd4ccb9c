// The engine's evaluate, one graph sample per iteration: every call converts
// the text anew, exactly as the graph window pays for each point.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/Samples.h"
#include "engine/Expression.h"

namespace {

void evaluate(benchmark::State& state, const Sample& sample)
{
    Expression e;
    e.setText(sample.engine);
    if (!e.validate()) {
        state.SkipWithError("the engine refuses the expression");
        return;
    }
    XSteps steps;
    for (auto _ : state)
        benchmark::DoNotOptimize(e.evaluate(steps.next(), 0, 0, 0));
}

const bool registered = [] {
    for (const Sample& sample : samples())
        benchmark::RegisterBenchmark(("evaluate/" + std::string(sample.name)).c_str(), evaluate,
                                     sample);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
