#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

// The steps a Program (Program.h) is compiled into, and the loops that run
// them. There are two loops: run, for one x (RunOne.cpp), which goes from
// step to step through the code address each step carries; and runLanes, for
// many x (RunLanes.cpp), which takes a block of 64 x through each step before
// the next. Both read the same steps and compute through the same functions
// (StepValues.h), so that each x gives the same bits either way. Each loop is
// built twice (StepsBuild.h, engine/CMakeLists.txt): steps::baseline for any
// x86-64 and steps::fma with FMA and AVX2, whose whole powers are cheap. On
// the first call Steps.cpp chooses the build the processor can run (the
// baseline under valgrind), and every call takes that one: a Program links its
// steps for the chosen build (link), keeps the build's run to call inline
// from evaluate, and calls runLanes, which passes the call to the build's own.
//
// The steps work on an accumulator that holds the top of the stack; a step
// that reads a cell takes its value from cell[step.cell]: x, y, z, ans, the
// error value, then the constants.
namespace steps {

constexpr std::uint32_t kErrorCell = 4;     // given where a result is undefined
constexpr std::uint32_t kFirstConstant = 5; // the cells before are written for each run

enum class Op : unsigned char {
    Push, // the value in the step's cell
    Add,  // the two top values
    Subtract,
    Multiply,
    Divide,
    Power,
    AddCell, // the top value and the step's cell
    SubtractCell,
    MultiplyCell,
    DivideCell,
    PowerCell,
    WholePower, // the top value to the step's exponent, a whole number from 2 to 16
    // Two steps in one, each giving exactly what the two give in turn:
    PushWholePower, // Push, then WholePower
    PushQuotient,   // Push, then DivideCell by the cell in the next slot
    MultiplyAdd,    // MultiplyCell, then AddCell of the cell in the next slot (rounded twice)
    Sin,
    Cos,
    Tan,
    Sqrt,
    Log,
    Ln,
    TestDivisor, // the error value for a zero or NaN top value
    Fail,        // raises the failure in the next slot
    End,         // the last: the table of labels is checked against it
};

// A step, or the second slot of a step that takes two: PushQuotient and
// MultiplyAdd keep the DivideCell or AddCell step they were made from, whose
// cell is their second one, and a Fail step the failure it raises. A run
// passes over a second slot.
struct Step {
    constexpr Step(Op op = Op::End, std::uint32_t cell = 0, std::uint8_t exponent = 0)
        : op(op), exponent(exponent), cell(cell)
    {
    }

    Op op;
    std::uint8_t exponent; // of the WholePower steps
    std::uint32_t cell;    // where the value of a Push or a ...Cell step is
    union {
        const void* code = nullptr;        // where run's code for op starts, once linked
        const std::exception_ptr* failure; // in the slot after a Fail step
    };
};
static_assert(sizeof(Step) == 16, "a long text's program costs 16 bytes a step");

// The loop that gives the value of the steps from first on, or
// cell[kErrorCell] where a result is undefined; a Fail step raises its failure.
// cell[0] is x; stack is the bottom of the values under the accumulator, as
// deep as the steps need. The accumulator starts as x, so a program's first
// step, a Push of x, may be left out (first one on, stack one higher).
using Run = double (*)(const Step* first, double* cell, double* stack);

// A Run for steps that are a Push and the End: the value pushed.
double pushedValue(const Step* first, double* cell, double* stack);

// Samples run side by side: runLanes goes through the steps once for each
// block of kLanes x, each step working out all of them.
constexpr std::size_t kLanes = 64;

// What runLanes reads, and where it keeps its blocks of values.
struct Lanes {
    const double* cells; // the steps' cells but x
    double* levels;      // kLanes values for each level of the stack
    // where each level's values are: in its room, or x's
    const double** sources;
    double* lastX; // kLanes: the last x, the block filled up with the last of them
};

// The deepest stack runLanes is given room for; deeper programs run x by x.
constexpr std::size_t kMostLevels = 512;

// What a Run gives for x = xs[0], xs[1], ..., xs[n - 1], into values[i], with
// the cells and the room in lanes, up to the first x whose run would raise its
// failure: returns the number of values given. The values after those are
// left undefined. values may be xs itself; otherwise the two do not overlap.
// The steps need not be linked.
using RunLanes = std::size_t (*)(const Step* first, const Lanes& lanes, const double* xs,
                                 double* values, std::size_t n, double error);

// One build of the loops.
struct Build {
    const char* name; // "baseline" or "fma"
    Run run;          // over steps this build linked, and no other's
    RunLanes runLanes;
    const void* const* (*codes)(); // where run's code for each Op starts
};

// The build this processor runs, chosen on the first call (Steps.cpp).
const Build& chosenBuild();

// Sets the code of each step from first on, up to an End or a Fail, to the
// build's run's code for its op: steps must be linked before run runs them.
void link(Step* first, const Build& build);

// runLanes of the chosen build.
std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error);

// The two builds' own functions (StepsBuild.h), each in its namespace: the
// second only where the processor has FMA and AVX2. wholePowerOf(b, n) is b^n
// for a whole n from 2 to 16 as the steps compute it, bit for bit
// std::pow(b, n): for power_check, which checks that claim.
namespace baseline {
double run(const Step* first, double* cell, double* stack);
std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error);
const void* const* codes();
double wholePowerOf(double b, int n);
} // namespace baseline
namespace fma {
double run(const Step* first, double* cell, double* stack);
std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error);
const void* const* codes();
double wholePowerOf(double b, int n);
} // namespace fma

} // namespace steps
