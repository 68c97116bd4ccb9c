// The loop that runs a program's steps for one x. This file and Lanes.cpp are
// compiled twice: as they are, for the processors of the baseline instruction
// set, and by StepsFma.cpp with FMA instructions, which makes whole powers
// cheap. A call to run or runLanes takes the build the processor can run,
// chosen on the first call; the rest of the program keeps the baseline
// instruction set. Neither contracts a*b + c into one rounding
// (-ffp-contract=off, for the whole tree): every result is the one the steps'
// separate operations round to.

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/StepValues.h"
#include "engine/Steps.h"

namespace steps {
namespace {

[[noreturn, gnu::cold, gnu::noinline]] void raise(const std::exception_ptr& failure)
{
    std::rethrow_exception(failure);
}

// A row of run's table: where the steps of an Op start.
struct Code {
    Op op;
    const void* label;
};

// Row i holds Op i, and there is a row for every Op up to End, the last.
template <std::size_t n> constexpr bool indexedByOp(const Code (&table)[n])
{
    for (std::size_t i = 0; i < n; ++i)
        if (static_cast<std::size_t>(table[i].op) != i)
            return false;
    return n == static_cast<std::size_t>(Op::End) + 1;
}

// The labels alone, one pointer apart, so that a jump indexes them directly.
template <std::size_t n> constexpr std::array<const void*, n> labelsOf(const Code (&table)[n])
{
    std::array<const void*, n> labels{};
    for (std::size_t i = 0; i < n; ++i)
        labels[i] = table[i].label;
    return labels;
}

} // namespace

// The divisor, and a function's argument, are tested before the value under
// them is touched.
//
// Each step ends in its own jump to the next one (labels as values, which gcc
// and clang have): one shared jump, as a switch in a loop makes, is guessed
// wrong by the processor far more often, the library calls in between
// blurring its history, and that cost as much as the steps themselves.
//
// Called with no cell, it links the steps instead.
double CALC_VARIANT(run)(const Step* const first, double* const cell, double* const stack)
{
    // Indexed by Op: each row names its Op, and a row out of place fails to
    // compile.
    static constexpr Code table[] = {
        {Op::Push, &&push},
        {Op::Add, &&add},
        {Op::Subtract, &&subtract},
        {Op::Multiply, &&multiply},
        {Op::Divide, &&divide},
        {Op::Power, &&power},
        {Op::AddCell, &&addCell},
        {Op::SubtractCell, &&subtractCell},
        {Op::MultiplyCell, &&multiplyCell},
        {Op::DivideCell, &&divideCell},
        {Op::PowerCell, &&powerCell},
        {Op::WholePower, &&wholePower},
        {Op::PushWholePower, &&pushWholePower},
        {Op::PushQuotient, &&pushQuotient},
        {Op::MultiplyAdd, &&multiplyAdd},
        {Op::Sin, &&sin},
        {Op::Cos, &&cos},
        {Op::Tan, &&tan},
        {Op::Sqrt, &&sqrt},
        {Op::Log, &&log},
        {Op::Ln, &&ln},
        {Op::TestDivisor, &&testDivisor},
        {Op::Fail, &&fail},
        {Op::End, &&end},
    };
    static_assert(indexedByOp(table), "every Op has its row, in the order of Op");
    static constexpr auto start = labelsOf(table);
    if (cell == nullptr) {
        for (auto* s = const_cast<Step*>(first);; ++s) { // link's own steps
            s->code = start[static_cast<std::size_t>(s->op)];
            if (s->op == Op::End || s->op == Op::Fail)
                return 0;
        }
    }
    // The analyzer cannot see the codes linked, so it jumps anywhere and runs off the steps.
    // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage)
    const auto code = [](const Step* s) { return s->code; };

    const Step* step = first;
    double* top = stack; // the value under the accumulator's is at top[-1]
    double a = cell[0];  // the accumulator: the value on top
    goto* code(step);
push:
    *top++ = a;
    a = cell[step->cell];
    goto* code(++step);
add:
    a = *--top + a;
    goto* code(++step);
subtract:
    a = *--top - a;
    goto* code(++step);
multiply:
    a = *--top * a;
    goto* code(++step);
divide:
    if (undefinedDivisor(a))
        goto undefined;
    a = *--top / a;
    goto* code(++step);
power:
    --top;
    a = std::pow(*top, a);
    goto* code(++step);
addCell:
    a += cell[step->cell];
    goto* code(++step);
subtractCell:
    a -= cell[step->cell];
    goto* code(++step);
multiplyCell:
    a *= cell[step->cell];
    goto* code(++step);
divideCell:
    if (undefinedDivisor(cell[step->cell]))
        goto undefined;
    a /= cell[step->cell];
    goto* code(++step);
powerCell:
    a = std::pow(a, cell[step->cell]);
    goto* code(++step);
wholePower:
    a = wholePower(a, step->exponent);
    goto* code(++step);
pushWholePower:
    *top++ = a;
    a = wholePower(cell[step->cell], step->exponent);
    goto* code(++step);
pushQuotient:
    if (undefinedDivisor(cell[step->other]))
        goto undefined;
    *top++ = a;
    a = cell[step->cell] / cell[step->other];
    goto* code(++step);
multiplyAdd:
    a *= cell[step->cell];
    a += cell[step->other];
    goto* code(++step);
sin:
    a = std::sin(a);
    goto* code(++step);
cos:
    a = std::cos(a);
    goto* code(++step);
tan:
    if (undefinedTan(a))
        goto undefined;
    a = std::tan(a);
    goto* code(++step);
sqrt:
    if (undefinedRoot(a))
        goto undefined;
    a = std::sqrt(a);
    goto* code(++step);
log:
    if (undefinedLog(a))
        goto undefined;
    a = std::log(a);
    goto* code(++step);
ln:
    if (undefinedLog(a))
        goto undefined;
    a = naturalLog(a);
    goto* code(++step);
testDivisor:
    if (undefinedDivisor(a))
        goto undefined;
    goto* code(++step);
fail:
    raise(step->failure);
undefined:
    return cell[kErrorCell];
end:
    return a;
}

#if !defined(CALC_STEPS_FMA)
namespace {

struct Build {
    Run one;
    decltype(&runLanesBaseline) lanes;
};

// The build that runs the steps, chosen on the first call by what the
// processor has: not by an ifunc, whose chooser would run before the
// sanitizers' runtime is up. Any thread may choose, always the same.
std::atomic<const Build*> chosenBuild{nullptr};

[[gnu::cold, gnu::noinline]] const Build& choose()
{
    static constexpr Build baseline{runBaseline, runLanesBaseline};
    const Build* build = &baseline;
#if defined(CALC_STEPS_FMA_BUILT)
    static constexpr Build withFma{runFma, runLanesFma};
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
#endif

double CALC_VARIANT(wholePower)(double b, int n)
{
    return wholePower(b, n);
}

} // namespace steps
