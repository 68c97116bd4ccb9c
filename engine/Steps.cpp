// The loop that runs a program's steps. This file is compiled twice: as it is,
// for the processors of the baseline instruction set, and by StepsFma.cpp
// with FMA instructions, which makes whole powers cheap. A call to run takes
// the one the processor can run, chosen on the first call; the rest of the
// program keeps the baseline instruction set. Neither contracts
// a*b + c into one rounding (-ffp-contract=off, for the whole tree): every
// result is the one the steps' separate operations round to.

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/Steps.h"

#ifdef CALC_STEPS_FMA
#define CALC_VARIANT(name) name##Fma
#else
#define CALC_VARIANT(name) name##Baseline
#endif

namespace steps {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kE = 2.718281828459045;

#if defined(__FMA__) || defined(__ARM_FEATURE_FMA)
constexpr int kLargestInline = 16;
#else
constexpr int kLargestInline = 2; // fma is a library call: more than one costs more than pow
#endif

// Zero or NaN, in one comparison.
bool undefinedDivisor(double a)
{
    return !std::islessgreater(a, 0.0);
}

// b^n exactly as std::pow(b, n) gives it, for a whole n from 2 to 16.
//
// h + l carries b^k as a double-double: h*b = p + fma(h, b, -p) exactly, and
// l*b joins that remainder with one rounding. Each step adds a relative error
// below 2^-53 * 2^-49 (l stays within k half-ULPs of h), so h + l is b^n within
// 2^-97 relative, 2^-44 ULP; s = h + l rounded and t = l - (s - h) (exact,
// |l| being far below |h|) leave b^n = s + t within that.
//
// glibc's pow (2.28 and later, sysdeps/ieee754/dbl-64/e_pow.c) states its
// worst-case error in round-to-nearest as 0.54 ULP: 0.511 ULP for its exp,
// plus its log's relative error of at most 1.5 * 2^-68 times |y log x|, under
// 1024 ln 2 * 1.5 * 2^-15 = 0.033 ULP. When |t| <= 7/16 of an ULP of s, every
// other double is at least 9/16 - 2^-44 of an ULP from b^n, farther than pow
// may stray, so pow returns s. That reasoning is taken only where it holds
// without a special case: s normal and between 2^-600 and 2^601 (so that every
// partial power, between b and b^n, and every remainder is exact, and nothing
// comes near underflow or overflow), and s no power of two (just below one,
// the next double down lies only half an ULP away). Everything else, zeros,
// infinities and NaNs included, and the ties, calls pow.
[[gnu::always_inline]] inline double wholePower(double b, int n)
{
    if (kLargestInline >= 16 || n <= kLargestInline) {
        double h = b;
        double l = 0;
        for (int k = 1; k < n; ++k) {
            const double p = h * b;
            l = std::fma(l, b, std::fma(h, b, -p));
            h = p;
        }
        const double s = h + l;
        const double t = l - (s - h);
        constexpr std::uint64_t kMagnitude = ~(std::uint64_t{1} << 63);
        constexpr std::uint64_t kFraction = (std::uint64_t{1} << 52) - 1;
        constexpr std::uint64_t kLowest = 1023 - 600;  // biased exponents of 2^-600 ...
        constexpr std::uint64_t kHighest = 1023 + 600; // ... and 2^600
        std::uint64_t bits = 0;
        std::memcpy(&bits, &s, sizeof bits);
        const std::uint64_t exponent = (bits & kMagnitude) >> 52;
        if (exponent - kLowest <= kHighest - kLowest && (bits & kFraction) != 0) {
            const std::uint64_t ulpBits = (exponent - 52) << 52;
            double ulp = 0;
            std::memcpy(&ulp, &ulpBits, sizeof ulp);
            if (std::fabs(t) <= 0.4375 * ulp)
                return s;
        }
    }
    return std::pow(b, static_cast<double>(n));
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
std::size_t CALC_VARIANT(run)(Step* const first, double* const cell, double* const stack,
                              const double* const xs, double* const values, const std::size_t n,
                              const double error)
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
    if (n == 0) {
        for (Step* s = first;; ++s) {
            s->code = start[static_cast<std::size_t>(s->op)];
            if (s->op == Op::End || s->op == Op::Fail)
                return 0;
        }
    }
    // The analyzer cannot see the codes linked, so it jumps anywhere and runs off the steps.
    // NOLINTNEXTLINE(clang-analyzer-core.CallAndMessage)
    const auto code = [](const Step* s) { return s->code; };

    const double* x = xs; // the x being run
    double* out = values; // where its value goes
    double* const last = values + (n - 1);
    const Step* step = first;
    double* top = stack; // the value under the accumulator's is at top[-1]
    double a = *x;       // the accumulator: the value on top
    cell[0] = a;
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
    if (std::fabs(a) == 0.5 * kPi)
        goto undefined;
    a = std::tan(a);
    goto* code(++step);
sqrt:
    if (!(a >= 0.0))
        goto undefined;
    a = std::sqrt(a);
    goto* code(++step);
log:
    if (!(a > 0.0))
        goto undefined;
    a = std::log(a);
    goto* code(++step);
ln:
    if (!(a > 0.0))
        goto undefined;
    a = std::log(a) / std::log(kE);
    goto* code(++step);
testDivisor:
    if (undefinedDivisor(a))
        goto undefined;
    goto* code(++step);
fail:
    return static_cast<std::size_t>(out - values);
undefined:
    a = error;
end:
    *out = a;
    if (out == last)
        return n;
    ++out;
    a = *++x;
    cell[0] = a;
    top = stack;
    step = first;
    goto* code(step);
}

#if !defined(CALC_STEPS_FMA)
#if defined(CALC_STEPS_FMA_BUILT)
namespace {

using Run = decltype(&runBaseline);
std::size_t choose(Step* first, double* cell, double* stack, const double* xs, double* values,
                   std::size_t n, double error);

// The build that runs the steps: chosen on the first call, by what the
// processor has. A pointer set in the program's image, not an ifunc, whose
// chooser would run before the sanitizers' runtime is up; any thread may set
// it, always to the same.
std::atomic<Run> chosen{choose};

std::size_t choose(Step* first, double* cell, double* stack, const double* xs, double* values,
                   std::size_t n, double error)
{
    __builtin_cpu_init();
    const Run build = __builtin_cpu_supports("fma") ? runFma : runBaseline;
    chosen.store(build, std::memory_order_relaxed);
    return build(first, cell, stack, xs, values, n, error);
}

} // namespace

std::size_t run(Step* first, double* cell, double* stack, const double* xs, double* values,
                std::size_t n, double error)
{
    return chosen.load(std::memory_order_relaxed)(first, cell, stack, xs, values, n, error);
}
#else
std::size_t run(Step* first, double* cell, double* stack, const double* xs, double* values,
                std::size_t n, double error)
{
    return runBaseline(first, cell, stack, xs, values, n, error);
}
#endif

void link(Step* first)
{
    run(first, nullptr, nullptr, nullptr, nullptr, 0, 0);
}
#endif

double CALC_VARIANT(wholePower)(double b, int n)
{
    return wholePower(b, n);
}

} // namespace steps
