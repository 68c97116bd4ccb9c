// The loop that runs a program's steps for many x: it goes through the steps
// once for each block of kLanes x, each step working out the whole block, so
// that choosing a step costs once a block instead of once a sample, and the
// four operations run on several x in one instruction. Built twice (see
// StepsBuild.h).
//
// Each x gives what run gives for it alone, bit for bit: the same operations
// on the same values, in the same order. Where run stops at an undefined
// result, a lane goes on with whatever its steps make of it, and is marked to
// give the error value in the end; where run would raise a failure, the
// block's first lane still defined tells which x, and every x before it is
// given.

#include "engine/Steps.h"
#include "engine/StepsBuild.h" // after the headers shared with the baseline code

#include "engine/StepValues.h"

// No lane depends on another, even where a step writes over its operand; and
// four lanes a turn leave a library call's loop little more than the call.
#if defined(__clang__) // which checks for overlap itself, and warns where it cannot vectorize
#define CALC_LANES_APART _Pragma("clang loop unroll_count(4)")
#else
#define CALC_LANES_APART _Pragma("GCC ivdep") _Pragma("GCC unroll 4")
#endif

namespace steps::CALC_BUILD {
namespace {

// The lanes where a result is undefined, one word for each, all bits set.
using Marks = std::uint64_t[kLanes];

// The same value in every lane: a cell other than x, whose value a loop keeps
// in a register.
struct Same {
    double value;
    double operator[](std::size_t /*lane*/) const { return value; }
};

// In reads its lanes as in[i]: a block's values or Same.
template <class In, class F> [[gnu::always_inline]] inline void eachLane(double* out, In in, F f)
{
    CALC_LANES_APART
    for (std::size_t i = 0; i < kLanes; ++i)
        out[i] = f(in[i]);
}

template <class A, class B, class F>
[[gnu::always_inline]] inline void eachLane(double* out, A a, B b, F f)
{
    CALC_LANES_APART
    for (std::size_t i = 0; i < kLanes; ++i)
        out[i] = f(a[i], b[i]);
}

// Marks the lanes of in where undefinedFor holds.
template <class In, class F>
[[gnu::always_inline]] inline void markLanes(Marks& marks, In in, F undefinedFor)
{
    for (std::size_t i = 0; i < kLanes; ++i)
        marks[i] |= undefinedFor(in[i]) ? ~std::uint64_t{0} : 0;
}

// wholePower for each lane: the products of all the lanes side by side, then
// pow for the lanes where they prove nothing.
[[gnu::always_inline]] inline void wholePowers(double* out, const double* in, int n)
{
    if (kLargestInline < 16 && n > kLargestInline) {
        eachLane(out, in, [n](double b) { return std::pow(b, static_cast<double>(n)); });
        return;
    }
    double copy[kLanes];
    const double* base = in;
    if (out == in) { // written over as it goes
        std::copy(in, in + kLanes, copy);
        base = copy;
    }
    double high[kLanes];
    double low[kLanes];
    CALC_LANES_APART
    for (std::size_t i = 0; i < kLanes; ++i)
        square(base[i], high[i], low[i]);
    for (int k = 2; k < n; ++k) {
        CALC_LANES_APART
        for (std::size_t i = 0; i < kLanes; ++i)
            timesBase(base[i], high[i], low[i]);
    }
    std::uint64_t unproven = 0; // bit i for lane i, where pow must decide
    static_assert(kLanes <= 64, "a bit for each lane");
    CALC_LANES_APART
    for (std::size_t i = 0; i < kLanes; ++i) {
        const double s = high[i] + low[i];
        out[i] = s;
        unproven |= std::uint64_t{!powMustGive(s, low[i] - (s - high[i]))} << i;
    }
    for (; unproven != 0; unproven &= unproven - 1) {
        const auto lane = static_cast<std::size_t>(__builtin_ctzll(unproven));
        out[lane] = std::pow(base[lane], static_cast<double>(n));
    }
}

} // namespace

std::size_t runLanes(const Step* const first, const Lanes& lanes, const double* const xs,
                     double* const values, const std::size_t n, const double error)
{
    const double** const source = lanes.sources;
    Marks marks;
    for (std::size_t done = 0; done < n; done += kLanes) {
        const std::size_t count = std::min(kLanes, n - done);
        // A whole block's bottom level is its values' place, no copy at its
        // end; unless they are its x, still to be read.
        double* const bottom = count == kLanes && values != xs ? values + done : lanes.levels;
        const auto room = [&](std::ptrdiff_t level) {
            return level == 0 ? bottom : lanes.levels + level * kLanes;
        };
        const double* x = xs + done;
        if (count < kLanes) { // the last x fill the block's end
            std::fill(std::copy(x, x + count, lanes.lastX), lanes.lastX + kLanes, x[count - 1]);
            x = lanes.lastX;
        }
        // g of the cell's values: x's own, or the same in every lane.
        const auto withCell = [&](std::uint32_t cell, auto g) {
            if (cell == 0)
                g(x);
            else
                g(Same{lanes.cells[cell]});
        };
        // The cell's values as a level's: x's own, or written into the level's room.
        const auto cellLevel = [&](std::uint32_t cell, std::ptrdiff_t level) -> const double* {
            if (cell == 0)
                return x;
            std::fill_n(room(level), kLanes, lanes.cells[cell]);
            return room(level);
        };
        bool marked = false; // marks holds this block's marks
        const auto mark = [&](auto in, auto undefinedFor) {
            if (!marked)
                std::memset(marks, 0, sizeof marks);
            marked = true;
            markLanes(marks, in, undefinedFor);
        };
        std::ptrdiff_t top = -1; // the level on top
        // Each of the operations on the two values on top, or on the top one and a cell.
        const auto onTwo = [&](auto f) {
            eachLane(room(top - 1), source[top - 1], source[top], f);
            source[top - 1] = room(top - 1);
            --top;
        };
        const auto onCell = [&](const Step* step, auto f) {
            withCell(step->cell, [&](auto b) { eachLane(room(top), source[top], b, f); });
            source[top] = room(top);
        };
        const auto onTop = [&](auto f) {
            eachLane(room(top), source[top], f);
            source[top] = room(top);
        };
        // A function is not called where its argument is out of its domain:
        // its error handling in the library costs more than the function.
        const auto onDefined = [&](auto undefinedFor, auto f) {
            mark(source[top], undefinedFor);
            onTop([=](double a) { return undefinedFor(a) ? 0.0 : f(a); });
        };
        const auto add = [](double a, double b) { return a + b; };
        const auto subtract = [](double a, double b) { return a - b; };
        const auto multiply = [](double a, double b) { return a * b; };
        const auto divide = [](double a, double b) { return a / b; };
        const auto power = [](double a, double b) { return std::pow(a, b); };
        for (const Step* step = first;; ++step) {
            switch (step->op) {
            case Op::Push:
                ++top;
                source[top] = cellLevel(step->cell, top);
                continue;
            case Op::Add: onTwo(add); continue;
            case Op::Subtract: onTwo(subtract); continue;
            case Op::Multiply: onTwo(multiply); continue;
            case Op::Divide:
                mark(source[top], undefinedDivisor);
                onTwo(divide);
                continue;
            case Op::Power: onTwo(power); continue;
            case Op::AddCell: onCell(step, add); continue;
            case Op::SubtractCell: onCell(step, subtract); continue;
            case Op::MultiplyCell: onCell(step, multiply); continue;
            case Op::DivideCell:
                withCell(step->cell, [&](auto b) { mark(b, undefinedDivisor); });
                onCell(step, divide);
                continue;
            case Op::PowerCell: onCell(step, power); continue;
            case Op::WholePower:
                wholePowers(room(top), source[top], step->exponent);
                source[top] = room(top);
                continue;
            case Op::PushWholePower:
                ++top;
                wholePowers(room(top), cellLevel(step->cell, top), step->exponent);
                source[top] = room(top);
                continue;
            case Op::PushQuotient:
                ++top;
                withCell(step->other, [&](auto divisor) {
                    mark(divisor, undefinedDivisor);
                    withCell(step->cell, [&](auto a) { eachLane(room(top), a, divisor, divide); });
                });
                source[top] = room(top);
                continue;
            case Op::MultiplyAdd:
                withCell(step->cell, [&](auto by) {
                    withCell(step->other, [&](auto plus) {
                        double* const out = room(top);
                        const double* const in = source[top];
                        CALC_LANES_APART
                        for (std::size_t i = 0; i < kLanes; ++i) {
                            const double product = in[i] * by[i];
                            out[i] = product + plus[i];
                        }
                    });
                });
                source[top] = room(top);
                continue;
            case Op::Sin: onTop([](double a) { return std::sin(a); }); continue;
            case Op::Cos: onTop([](double a) { return std::cos(a); }); continue;
            case Op::Tan:
                mark(source[top], undefinedTan);
                onTop([](double a) { return std::tan(a); });
                continue;
            case Op::Sqrt:
                onDefined(undefinedRoot, [](double a) { return std::sqrt(a); });
                continue;
            case Op::Log: onDefined(undefinedLog, [](double a) { return std::log(a); }); continue;
            case Op::Ln: onDefined(undefinedLog, naturalLog); continue;
            case Op::TestDivisor: mark(source[top], undefinedDivisor); continue;
            case Op::Fail: {
                const std::size_t failed =
                    marked ? static_cast<std::size_t>(std::find(marks, marks + count, 0) - marks)
                           : 0;
                std::fill(values + done, values + done + failed, error); // all undefined
                if (failed < count)
                    return done + failed;
                break;
            }
            case Op::End: {
                const double* const result = source[top]; // the rest is left unused
                double* const out = values + done;
                if (!marked) {
                    if (result != out)
                        std::copy(result, result + count, out);
                } else if (count == kLanes) { // a whole block: side by side
                    eachLane(out, result, marks, [error](double value, std::uint64_t undefined) {
                        return undefined != 0 ? error : value;
                    });
                } else {
                    for (std::size_t i = 0; i < count; ++i)
                        out[i] = marks[i] != 0 ? error : result[i];
                }
                break;
            }
            }
            break;
        }
    }
    return n;
}

} // namespace steps::CALC_BUILD

CALC_BUILD_END
