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

// One block of kLanes x on its way through the steps: where each level of the
// stack has its values, and which lanes are undefined. Each function is the
// work of one kind of step; the values on top go into the top level's room
// (the bottom level's is the values' place where the block is whole).
class Block {
public:
    Block(const Lanes& lanes, const double* x, double* bottom, Marks& marks)
        : lanes(lanes), source(lanes.sources), x(x), bottom(bottom), marks(marks)
    {
    }

    // Push: the cell's values onto the stack.
    void push(std::uint32_t cell)
    {
        ++top;
        source[top] = cellLevel(cell, top);
    }

    // Add, Subtract...: f of the two values on top, in their place.
    template <class F> void onTwo(F f)
    {
        eachLane(room(top - 1), source[top - 1], source[top], f);
        source[top - 1] = room(top - 1);
        --top;
    }

    // AddCell, SubtractCell...: f of the value on top and the cell.
    template <class F> void onCell(std::uint32_t cell, F f)
    {
        withCell(cell, [&](auto b) { eachLane(room(top), source[top], b, f); });
        source[top] = room(top);
    }

    // Sin, Cos...: f of the value on top.
    template <class F> void onTop(F f)
    {
        eachLane(room(top), source[top], f);
        source[top] = room(top);
    }

    // Sqrt, Log, Ln: f of the value on top, not called where its argument is
    // out of its domain: its error handling in the library costs more than the
    // function.
    template <class U, class F> void onDefined(U undefinedFor, F f)
    {
        markTop(undefinedFor);
        onTop([=](double a) { return undefinedFor(a) ? 0.0 : f(a); });
    }

    // Marks the lanes where the value on top, or the cell, is undefinedFor.
    template <class U> void markTop(U undefinedFor) { mark(source[top], undefinedFor); }
    template <class U> void markCell(std::uint32_t cell, U undefinedFor)
    {
        withCell(cell, [&](auto in) { mark(in, undefinedFor); });
    }

    void wholePower(int n)
    {
        wholePowers(room(top), source[top], n);
        source[top] = room(top);
    }

    void pushWholePower(std::uint32_t cell, int n)
    {
        ++top;
        wholePowers(room(top), cellLevel(cell, top), n);
        source[top] = room(top);
    }

    template <class F> void pushQuotient(std::uint32_t cell, std::uint32_t divisorCell, F divide)
    {
        ++top;
        withCell(divisorCell, [&](auto divisor) {
            mark(divisor, undefinedDivisor);
            withCell(cell, [&](auto a) { eachLane(room(top), a, divisor, divide); });
        });
        source[top] = room(top);
    }

    void multiplyAdd(std::uint32_t byCell, std::uint32_t plusCell)
    {
        withCell(byCell, [&](auto by) {
            withCell(plusCell, [&](auto plus) {
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
    }

    // Fail: how many of the block's first count lanes are undefined before
    // the first that reaches the failure.
    std::size_t undefinedBeforeFailure(std::size_t count) const
    {
        return marked ? static_cast<std::size_t>(std::find(marks, marks + count, 0) - marks) : 0;
    }

    // End: the first count values into out, the error value where undefined.
    void finish(double* out, std::size_t count, double error) const
    {
        const double* const result = source[top]; // the rest is left unused
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
    }

private:
    double* room(std::ptrdiff_t level) const
    {
        return level == 0 ? bottom : lanes.levels + level * kLanes;
    }

    // g of the cell's values: x's own, or the same in every lane.
    template <class G> void withCell(std::uint32_t cell, G g) const
    {
        if (cell == 0)
            g(x);
        else
            g(Same{lanes.cells[cell]});
    }

    // The cell's values as a level's: x's own, or written into the level's room.
    const double* cellLevel(std::uint32_t cell, std::ptrdiff_t level) const
    {
        if (cell == 0)
            return x;
        std::fill_n(room(level), kLanes, lanes.cells[cell]);
        return room(level);
    }

    template <class In, class U> void mark(In in, U undefinedFor)
    {
        if (!marked)
            std::memset(marks, 0, sizeof marks);
        marked = true;
        markLanes(marks, in, undefinedFor);
    }

    const Lanes& lanes;
    const double** const source; // of each level
    const double* const x;
    double* const bottom;
    Marks& marks;
    bool marked = false;     // marks holds this block's marks
    std::ptrdiff_t top = -1; // the level on top
};

constexpr auto add = [](double a, double b) { return a + b; };
constexpr auto subtract = [](double a, double b) { return a - b; };
constexpr auto multiply = [](double a, double b) { return a * b; };
constexpr auto divide = [](double a, double b) { return a / b; };
constexpr auto power = [](double a, double b) { return std::pow(a, b); };

// The steps from first on for one block: how many of its first count x are
// given into out, count unless one of them reaches a Fail step.
[[gnu::always_inline]] inline std::size_t runBlock(const Step* first, Block& block, double* out,
                                                   std::size_t count, double error)
{
    for (const Step* step = first;; ++step) {
        switch (step->op) {
        case Op::Push: block.push(step->cell); break;
        case Op::Add: block.onTwo(add); break;
        case Op::Subtract: block.onTwo(subtract); break;
        case Op::Multiply: block.onTwo(multiply); break;
        case Op::Divide:
            block.markTop(undefinedDivisor);
            block.onTwo(divide);
            break;
        case Op::Power: block.onTwo(power); break;
        case Op::AddCell: block.onCell(step->cell, add); break;
        case Op::SubtractCell: block.onCell(step->cell, subtract); break;
        case Op::MultiplyCell: block.onCell(step->cell, multiply); break;
        case Op::DivideCell:
            block.markCell(step->cell, undefinedDivisor);
            block.onCell(step->cell, divide);
            break;
        case Op::PowerCell: block.onCell(step->cell, power); break;
        case Op::WholePower: block.wholePower(step->exponent); break;
        case Op::PushWholePower: block.pushWholePower(step->cell, step->exponent); break;
        case Op::PushQuotient:
            block.pushQuotient(step[0].cell, step[1].cell, divide);
            ++step; // its second slot
            break;
        case Op::MultiplyAdd:
            block.multiplyAdd(step[0].cell, step[1].cell);
            ++step;
            break;
        case Op::Sin: block.onTop([](double a) { return std::sin(a); }); break;
        case Op::Cos: block.onTop([](double a) { return std::cos(a); }); break;
        case Op::Tan:
            block.markTop(undefinedTan);
            block.onTop([](double a) { return std::tan(a); });
            break;
        case Op::Sqrt: block.onDefined(undefinedRoot, [](double a) { return std::sqrt(a); }); break;
        case Op::Log: block.onDefined(undefinedLog, [](double a) { return std::log(a); }); break;
        case Op::Ln: block.onDefined(undefinedLog, naturalLog); break;
        case Op::TestDivisor: block.markTop(undefinedDivisor); break;
        case Op::Fail: {
            const std::size_t given = block.undefinedBeforeFailure(count);
            std::fill(out, out + given, error);
            return given;
        }
        case Op::End: block.finish(out, count, error); return count;
        }
    }
}

} // namespace

std::size_t runLanes(const Step* const first, const Lanes& lanes, const double* const xs,
                     double* const values, const std::size_t n, const double error)
{
    Marks marks;
    for (std::size_t done = 0; done < n; done += kLanes) {
        const std::size_t count = std::min(kLanes, n - done);
        const double* x = xs + done;
        if (count < kLanes) { // the last x fill the block's end
            std::fill(std::copy(x, x + count, lanes.lastX), lanes.lastX + kLanes, x[count - 1]);
            x = lanes.lastX;
        }
        // A whole block's bottom level is its values' place, no copy at its
        // end; unless they are its x, still to be read.
        double* const bottom = count == kLanes && values != xs ? values + done : lanes.levels;
        Block block(lanes, x, bottom, marks);
        const std::size_t given = runBlock(first, block, values + done, count, error);
        if (given < count)
            return done + given;
    }
    return n;
}

} // namespace steps::CALC_BUILD

CALC_BUILD_END
