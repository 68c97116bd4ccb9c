#pragma once

#include <exception>
#include <string>
#include <vector>

#include "engine/Stack.h"

class Expression;

// A postfix text compiled into steps, so that evaluating it again for another
// x costs no conversion. Every word is classified through the expression's own
// rules, and every number word converted, when the program is made. Running it
// gives exactly what walking the words gives: the same values, the same error
// value, and each failure (an empty stack, a number word that does not
// convert, an empty word) raised when the walk reaches it, not before.
class Program {
public:
    // Replaces the program by the one for this postfix text.
    void compile(Expression& rules, const std::string& postfix);

    // The value for these arguments, or error when a result is undefined.
    double run(double x, double y, double z, double ans, double error);

private:
    enum class Op : unsigned char {
        Number,
        X,
        Y,
        Z,
        Ans,
        Pi,
        E,
        Add,
        Subtract,
        Multiply,
        Divide,
        Power,
        Sin,
        Cos,
        Tan,
        Sqrt,
        Log,
        Ln,
        Fail, // raises the failure met when the word was compiled
    };
    struct Step {
        Op op;
        double number; // the value of a Number step
    };

    static Step compileWord(Expression& rules, const std::string& word);

    std::vector<Step> steps;
    std::exception_ptr failure; // raised by the Fail step, always the last one
    // The operand stack, kept from run to run so that a run allocates nothing;
    // every run starts it empty.
    Stack<double> values{10};
};
