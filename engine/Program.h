#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "engine/Steps.h"

class Expression;

// A postfix text compiled into steps, so that evaluating it again for another
// x costs no conversion. Every word is classified through the expression's own
// rules, and every number word converted, when the program is made. Running it
// gives exactly what walking the words gives: the same values, the same error
// value, and each failure (an empty stack, a number word that does not
// convert, an empty word) raised when the walk reaches it, not before.
//
// The steps (engine/Steps.h) work on an accumulator that holds the top of the
// stack, over a stack whose depth is known when the program is made. A value
// word followed by an operator becomes one step (2 * x becomes "multiply by
// x"), an operator or function on values known when compiling is worked out
// then, unless it would give the error value, a constant whole exponent from
// 2 to 16 becomes a whole power, and the commonest pairs of steps become one,
// as they are compiled.
class Program {
public:
    Program() = default;
    // Its steps point into it: the failure, where run starts.
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Replaces the program by the one for this postfix text. The failures of a
    // word are kept for the run that reaches it; anything else (memory
    // running out, say) is thrown and leaves no program to run.
    void compile(Expression& rules, const std::string& postfix);

    // The value for these arguments, or error when a result is undefined.
    // Inline, so that evaluating costs one call.
    double run(double x, double y, double z, double ans, double error)
    {
        double* const cell = cells.data();
        cell[0] = x;
        cell[1] = y;
        cell[2] = z;
        cell[3] = ans;
        cell[steps::kErrorCell] = error;
        return runner(entry, cell, entryStack);
    }

    // run for x = xs[0], xs[1], ... into values, up to the first x whose run
    // fails (without failing); returns how many it ran.
    std::size_t runEach(const double* xs, double* values, std::size_t n, double y, double z,
                        double ans, double error);

private:
    using Op = steps::Op;
    using Step = steps::Step;

    void compileWord(Expression& rules, const std::string& word);
    void compileOperator(Op op, Op withCell);
    void compileFunction(Op op);
    std::uint32_t constant(double value);
    void foldLastTwo();
    void fuseLastTwo();
    void fail(std::exception_ptr met);
    void enter(const steps::Build& build);
    // While compiling: a word failed, and the steps end at its Fail step.
    bool failed() const { return failure != nullptr; }

    std::vector<Step> steps;
    std::exception_ptr failure; // what the Fail step raises, if there is one
    // x, y, z and ans, written by every run, then the constants.
    std::vector<double> cells;
    std::vector<double> stack; // as deep as the program ever needs
    std::size_t levels = 0;    // the deepest the stack gets
    // runEach's room, made on its first call: kLanes values for each level of
    // the stack, then kLanes for the last x
    std::vector<double> lanes;
    std::vector<const double*> sources; // of each level, for runEach
    // What run calls, the run of the build that linked the steps, and where
    // it starts (enter); or pushedValue, for a program of one value.
    steps::Run runner = nullptr;
    const Step* entry = nullptr;
    double* entryStack = nullptr;
    int depth = 0; // while compiling: the values on the stack
};
