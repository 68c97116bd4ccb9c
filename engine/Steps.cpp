// Which build of the steps' loops runs (see Steps.h), and linking steps for
// it. Compiled once, for the baseline instruction set.

#include "engine/Steps.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace steps {
namespace {

// Chosen not by an ifunc, whose chooser would run before the sanitizers'
// runtime is up. Any thread may choose, always the same.
std::atomic<const Build*> chosen{nullptr};

// Valgrind preloads its core into every program it runs. Version 3.19 tells
// the program that the processor has AVX2 and FMA, but gets some of their
// comparisons wrong (a NaN equal to zero), and the FMA build's results with
// them: under valgrind, the baseline build runs.
bool underValgrind()
{
    const char* const preloaded = std::getenv("LD_PRELOAD");
    return preloaded != nullptr && std::strstr(preloaded, "/vgpreload_core") != nullptr;
}

[[gnu::cold, gnu::noinline]] const Build& choose()
{
    static constexpr Build withBaseline{"baseline", baseline::run, baseline::runLanes,
                                        baseline::codes};
    const Build* build = &withBaseline;
#if defined(CALC_STEPS_FMA_BUILT)
    static constexpr Build withFma{"fma", fma::run, fma::runLanes, fma::codes};
    __builtin_cpu_init();
    // CALC_STEPS_BUILD=fma asks for the FMA build even under valgrind (whose
    // instruction counts are those of the code run), any other value for the
    // baseline; neither gets the FMA build on a processor without it.
    const char* const asked = std::getenv("CALC_STEPS_BUILD");
    const bool fmaWanted = asked != nullptr ? std::strcmp(asked, "fma") == 0 : !underValgrind();
    if (fmaWanted && __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2"))
        build = &withFma;
#endif
    chosen.store(build, std::memory_order_relaxed);
    return *build;
}

} // namespace

const Build& chosenBuild()
{
    const Build* const build = chosen.load(std::memory_order_relaxed);
    return build != nullptr ? *build : choose();
}

double pushedValue(const Step* first, double* cell, double* /*stack*/)
{
    return cell[first->cell];
}

std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error)
{
    return chosenBuild().runLanes(first, lanes, xs, values, n, error);
}

void link(Step* first, const Build& build)
{
    const void* const* const codes = build.codes();
    for (Step* s = first;; ++s) {
        s->code = codes[static_cast<std::size_t>(s->op)];
        if (s->op == Op::End || s->op == Op::Fail)
            return;
        if (s->op == Op::PushQuotient || s->op == Op::MultiplyAdd)
            ++s; // its second slot, passed over
    }
}

} // namespace steps
