// Which build of the steps' loops runs (see StepsBuild.h): chosen on the first
// call by what the processor has, the rest of the program keeping the
// baseline instruction set.

#include "engine/Steps.h"

#include <atomic>

namespace steps {
namespace {

struct Build {
    Run one;
    decltype(&baseline::runLanes) lanes;
};

// Not by an ifunc, whose chooser would run before the sanitizers' runtime is
// up. Any thread may choose, always the same.
std::atomic<const Build*> chosenBuild{nullptr};

[[gnu::cold, gnu::noinline]] const Build& choose()
{
    static constexpr Build withBaseline{baseline::run, baseline::runLanes};
    const Build* build = &withBaseline;
#if defined(CALC_STEPS_FMA_BUILT)
    static constexpr Build withFma{fma::run, fma::runLanes};
    __builtin_cpu_init();
    if (__builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2"))
        build = &withFma;
#endif
    chosenBuild.store(build, std::memory_order_relaxed);
    return *build;
}

const Build& chosen()
{
    const Build* const build = chosenBuild.load(std::memory_order_relaxed);
    return build != nullptr ? *build : choose();
}

} // namespace

Run chosenRun()
{
    return chosen().one;
}

double pushedValue(const Step* first, double* cell, double* /*stack*/)
{
    return cell[first->cell];
}

std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error)
{
    return chosen().lanes(first, lanes, xs, values, n, error);
}

void link(Step* first)
{
    chosenRun()(first, nullptr, nullptr);
}

} // namespace steps
