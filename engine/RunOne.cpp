// The loop that runs a program's steps for one x, built twice (see
// StepsBuild.h). It does not contract a*b + c into one rounding
// (-ffp-contract=off, for the whole tree): every result is the one the steps'
// separate operations round to.

#include <cassert>

#include "engine/Steps.h"
#include "engine/StepsBuild.h" // after the headers shared with the baseline code

#include "engine/StepValues.h"

namespace steps::CALC_BUILD {
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

// Where run's code for each Op starts, which only run can tell (labels as
// values are read inside their function): run, asked with no steps, leaves
// its table here, for codes() below.
const void* const* runCodes = nullptr;

} // namespace

// The divisor, and a function's argument, are tested before the value under
// them is touched.
//
// Each step ends in its own jump to the next one (labels as values, which gcc
// and clang have): one shared jump, as a switch in a loop makes, is guessed
// wrong by the processor far more often, the library calls in between
// blurring its history, and that cost as much as the steps themselves.
double run(const Step* const first, double* const cell, double* const stack)
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
    if (first == nullptr) {
        runCodes = start.data();
        return 0;
    }
    // Steps linked by the other build would jump into its code.
    assert(std::find(start.begin(), start.end(), first->code) != start.end());
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
    if (undefinedDivisor(cell[step[1].cell]))
        goto undefined;
    *top++ = a;
    a = cell[step->cell] / cell[step[1].cell];
    goto* code(step += 2);
multiplyAdd:
    a *= cell[step->cell];
    a += cell[step[1].cell];
    goto* code(step += 2);
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
    raise(*step[1].failure);
undefined:
    return cell[kErrorCell];
end:
    return a;
}

const void* const* codes()
{
    static const void* const* const table = (run(nullptr, nullptr, nullptr), runCodes);
    return table;
}

double wholePowerOf(double b, int n)
{
    return wholePower(b, n);
}

} // namespace steps::CALC_BUILD

CALC_BUILD_END
