#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class Expression;

// A postfix text compiled into steps, so that evaluating it again for another
// x costs no conversion. Every word is classified through the expression's own
// rules, and every number word converted, when the program is made. Running it
// gives exactly what walking the words gives: the same values, the same error
// value, and each failure (an empty stack, a number word that does not
// convert, an empty word) raised when the walk reaches it, not before.
//
// The steps work on an accumulator that holds the top of the stack, over a
// stack whose depth is known when the program is made. A value word followed
// by an operator becomes one step (2 * x becomes "multiply by x"), and an
// operator or function on values known when compiling is worked out then,
// unless it would give the error value.
class Program {
public:
    // Replaces the program by the one for this postfix text. The failures of a
    // word are kept for the run that reaches it; anything else (memory
    // running out, say) is thrown and leaves no program to run.
    void compile(Expression& rules, const std::string& postfix);

    // The value for these arguments, or error when a result is undefined.
    // Inline, so that a program of one value costs no call.
    double run(double x, double y, double z, double ans, double error)
    {
        double* const cell = cells.data();
        cell[0] = x;
        cell[1] = y;
        cell[2] = z;
        cell[3] = ans;
        if (oneValue)
            return cell[steps[0].cell];
        return runSteps(error);
    }

    // run for x = xs[0], xs[1], ... into values, up to the first x whose run
    // fails (without failing); returns how many it ran.
    std::size_t runEach(const double* xs, double* values, std::size_t n, double y, double z,
                        double ans, double error);

private:
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
        Sin,
        Cos,
        Tan,
        Sqrt,
        Log,
        Ln,
        TestDivisor, // the error value for a zero or NaN top value
        Fail,        // raises the failure met when the program was made
        End,         // the last: execute's table is checked against it
    };
    struct Step {
        Op op;
        std::uint32_t cell; // where the value of a Push or a ...Cell step is
    };

    enum class Verdict { Value, Undefined, Failed };
    struct Outcome {
        Verdict verdict;
        double value = 0;
    };

    // A row of execute's table: where the steps of an Op start.
    struct Code {
        Op op;
        const void* label;
    };
    template <std::size_t n> static constexpr bool indexedByOp(const Code (&table)[n]);
    template <std::size_t n>
    static constexpr std::array<const void*, n> labelsOf(const Code (&table)[n]);

    static Outcome execute(const Step* step, const double* cell, double* stack);
    double runSteps(double error);
    void compileWord(Expression& rules, const std::string& word);
    void compileOperator(Op op, Op withCell);
    void compileFunction(Op op);
    std::uint32_t constant(double value);
    void foldLastTwo();
    void fail(std::exception_ptr met);

    std::vector<Step> steps;
    // x, y, z and ans, written by every run, then the constants.
    std::vector<double> cells;
    std::vector<double> stack; // as deep as the program ever needs
    bool oneValue = false;     // the steps are a Push and the End
    int depth = 0;             // while compiling: the values on the stack
    std::exception_ptr failure;
};
