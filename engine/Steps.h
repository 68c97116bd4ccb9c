#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>

// The steps a Program is compiled into, and the loop that runs them. The
// steps work on an accumulator that holds the top of the stack; a step that
// reads a cell takes its value from cell[step.cell]: x, y, z, ans, the error
// value, then the constants.
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
    PushQuotient,   // Push, then DivideCell by the cell in other
    MultiplyAdd,    // MultiplyCell, then AddCell of the cell in other (rounded twice)
    Sin,
    Cos,
    Tan,
    Sqrt,
    Log,
    Ln,
    TestDivisor, // the error value for a zero or NaN top value
    Fail,        // raises the failure met when the program was made
    End,         // the last: the table of labels is checked against it
};

struct Step {
    Op op;
    std::uint8_t exponent;                // of the WholePower steps
    std::uint32_t cell;                   // where the value of a Push or a ...Cell step is
    std::uint32_t other;                  // the second cell of a two-cell step
    const void* code = nullptr;           // where run's code for op starts, once linked
    std::exception_ptr failure = nullptr; // what a Fail step raises
};

// Sets the code of each step from first on, up to an End or a Fail, to run's
// code for its op: steps must be linked before run runs them.
void link(Step* first);

// The loop that gives the value of the steps from first on, or
// cell[kErrorCell] where a result is undefined; a Fail step raises its failure.
// cell[0] is x; stack is the bottom of the values under the accumulator, as
// deep as the steps need. The accumulator starts as x, so a program's first
// step, a Push of x, may be left out (first one on, stack one higher). The
// build the processor can run, chosen on the first call.
using Run = double (*)(const Step* first, double* cell, double* stack);
Run chosenRun();

// The name of the build chosen, "baseline" or "fma" (see Steps.cpp).
const char* chosenBuildName();

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

// What a Run gives for x = xs[0], xs[1], ..., xs[n - 1], into values[i], with the cells and the
// room in lanes, up to the first x whose run would raise its failure: returns the number of values
// given. The values after those are left undefined. values may be xs itself; otherwise the two do
// not overlap.
std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error);

// The two builds chosenRun and runLanes choose from (StepsBuild.h), each in
// its own namespace: fma only where the processor has FMA and AVX2. And
// wholePowerOf(b, n), b^n for a whole n from 2 to 16 as the steps compute it:
// bit for bit std::pow(b, n). For power_check, which checks that claim.
namespace baseline {
double run(const Step* first, double* cell, double* stack);
std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error);
double wholePowerOf(double b, int n);
} // namespace baseline
namespace fma {
double run(const Step* first, double* cell, double* stack);
std::size_t runLanes(const Step* first, const Lanes& lanes, const double* xs, double* values,
                     std::size_t n, double error);
double wholePowerOf(double b, int n);
} // namespace fma

} // namespace steps
