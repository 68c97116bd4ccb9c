#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "engine/Program.h"

class Expression;

// An expression's text with the program its evaluation keeps. Converting the
// text to postfix and reading its number words costs far more than working
// the words out, and the graph window evaluates one text for every sample, so
// the conversion, compiled, is kept while the text is the one it was made
// from: converting anew would give the same words (the rules answer alike on
// every call) and leave the text as this one left it. The text changes only
// through set and the conversion, which keep the two together.
class CompiledText {
public:
    CompiledText() = default;
    explicit CompiledText(std::string initial) : text(std::move(initial)) {}

    const std::string& get() const { return text; }
    void set(std::string newText);

    // The value for these arguments, the program made first, through the
    // rules' toPostfix (which leaves the text as converting does), when the
    // text has none. Inline, so that evaluate costs no more calls than before;
    // the error value is read only after the conversion, which then need not
    // keep it.
    double evaluate(Expression& rules, double x, double y, double z, double ans,
                    const std::int32_t& error)
    {
        if (!fits)
            return convertAndEvaluate(rules, x, y, z, ans, error);
        return program.run(x, y, z, ans, static_cast<double>(error));
    }

    // Program::runEach, where the program may run as it is; otherwise 0.
    std::size_t evaluateEach(const double* xs, double* values, std::size_t n, double y, double z,
                             double ans, double error)
    {
        return fits ? program.runEach(xs, values, n, y, z, ans, error) : 0;
    }

private:
    // Makes the program for the text, leaving the text as converting would.
    void convert(Expression& rules);
    // evaluate's first call for a text, out of its way.
    [[gnu::noinline]] double convertAndEvaluate(Expression& rules, double x, double y, double z,
                                                double ans, const std::int32_t& error);

    std::string text;
    bool made = false;     // the program is whole
    bool leftAsIs = false; // converting left the text as it found it
    std::string from;      // the text converted
    std::string left;      // the text the conversion left
    Program program;
    // made, leftAsIs and text == from: the program may run as it is. Worked
    // out on every change of the text, not on every call.
    bool fits = false;
};
