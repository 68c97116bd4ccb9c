#include "bench/Samples.h"

#include <cstddef>
#include <cstdlib>
#include <iostream>

#include "engine/Expression.h"
#include "engine/IteratorString.h"

namespace {

constexpr int kLongWords = 200;

int wordCount(const std::string& text)
{
    Expression e(text.c_str());
    IteratorString words(e.normalize());
    int n = 0;
    for (; words.hasMore(); words.next())
        ++n;
    return n;
}

// A long expression of varied words, kLongWords words once normalised. Every
// divisor is a term that is never zero, so no x gives a domain error.
Sample longSample()
{
    struct Term {
        const char* op;
        const char* engine;
        const char* muparser;
    };
    static const Term terms[] = {
        {"+", "sin(x)", "sin(x)"},
        {"*", "2,5", "2.5"},
        {"-", "sqrt(x^2+1)", "sqrt(x^2+1)"},
        {"/", "ln(x^2+2)", "ln(x^2+2)"},
        {"+", "3(x+1)", "3*(x+1)"},
        {"*", "cos(x/3)", "cos(x/3)"},
        {"-", "_1,5", "(-1.5)"},
        {"/", "(x*x+4)", "(x*x+4)"},
        {"+", "x", "x"},
    };
    Sample s{"words200", "x", "x"};
    // The longest term takes 9 words with its operator; stop while at least 4
    // are left, which "+sin(1)" (5 words) and "+1" (2 words) fill exactly.
    for (std::size_t i = 0; kLongWords - wordCount(s.engine) >= 13; ++i) {
        const Term& t = terms[i % std::size(terms)];
        s.engine += std::string(t.op) + t.engine;
        s.muparser += std::string(t.op) + t.muparser;
    }
    if ((kLongWords - wordCount(s.engine)) % 2 != 0) {
        s.engine += "+sin(1)";
        s.muparser += "+sin(1)";
    }
    while (wordCount(s.engine) < kLongWords) {
        s.engine += "+1";
        s.muparser += "+1";
    }
    if (wordCount(s.engine) != kLongWords) {
        std::cerr << "the long expression has " << wordCount(s.engine) << " words\n";
        std::abort();
    }
    return s;
}

} // namespace

const std::vector<Sample>& samples()
{
    // The first four keep their places: bench/run's goals name them.
    static const std::vector<Sample> all = {
        {"trig", "sin(x)*cos(x/2)+sqrt(x^2+1)-ln(x^2+2)", "sin(x)*cos(x/2)+sqrt(x^2+1)-ln(x^2+2)"},
        {"x", "x", "x"},
        {"implicit", "2(3+4)", "2*(3+4)"},
        longSample(),
        // The shapes people plot, from one library call to polynomials.
        {"sin", "sin(x)", "sin(x)"},
        {"inverse", "1/x", "1/x"},
        {"sinc", "sin(x)/x", "sin(x)/x"},
        {"exp", "e^x", "_e^x"},
        {"ln", "ln(x)", "ln(x)"},
        {"tan", "tan(x)", "tan(x)"},
        {"linear", "(2*x+1)*3", "(2*x+1)*3"},
        {"twoWaves", "sin(2*x)+cos(pi/x)", "sin(2*x)+cos(_pi/x)"},
        {"damped", "e^(x/_5)*sin(3*x)", "_e^(x/(-5))*sin(3*x)"},
        {"hyperbola", "sqrt(x^2+4)", "sqrt(x^2+4)"},
        {"circle", "sqrt(25-x^2)", "sqrt(25-x^2)"},
        {"gauss", "e^(_1*x^2)", "_e^((-1)*x^2)"},
        {"ratio", "(x^2-1)/(x^2+1)", "(x^2-1)/(x^2+1)"},
        {"cube", "x^3", "x^3"},
        {"cubic", "x^3-2*x^2+x-5", "x^3-2*x^2+x-5"},
        {"quartic", "x^4-5*x^2+4", "x^4-5*x^2+4"},
    };
    return all;
}
