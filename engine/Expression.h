#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/CompiledText.h"
#include "engine/Stack.h"

// One arithmetic expression and every engine operation on it. All operations
// are virtual and call each other through the object, so a subclass's word
// rules apply to its validation, conversion and evaluation alike. The word
// rules (isOperator, isFunction, isNumber, isNamedValue, priority) must give
// the same answer for the same word on every call: evaluate keeps its
// conversion while the text is unchanged, keyed on the text alone.
class Expression {
public:
    Expression();
    explicit Expression(const char* text);
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;
    virtual ~Expression();

    virtual std::string normalize();
    virtual bool isOperator(char c);
    virtual bool isFunction(const std::string& word);
    virtual bool isNumber(const std::string& word);
    virtual bool isNamedValue(const std::string& word);
    virtual bool bracketsBalanced();
    virtual bool validate();
    virtual void setText(std::string newText);
    virtual std::string toPostfix();
    virtual double evaluate(double x, double y, double z, double ans);
    virtual int priority(const std::string& word);

    // evaluate(xs[i], y, z, ans) for i = 0, 1, ... into values, in one pass, as far as that can go
    // without converting the text or failing: it stops, without throwing, before the first x for
    // which evaluate would do either, and returns how many values it gave (the rest of values is
    // left undefined). values may be xs itself, the values then written over the x; otherwise the
    // two must not overlap. Only for this class's own evaluate.
    std::size_t evaluateEach(const double* xs, double* values, std::size_t n, double y, double z,
                             double ans);

    const std::string& getText() const { return text.get(); }

    // Returned (as a double) by evaluate when a result is undefined.
    const std::int32_t errorValue;

private:
    Stack<std::string> operators;
    CompiledText text; // written only through its set, which keeps its program in step
};

// True for the bracket pairs () [] {}.
bool isMatchingPair(char opening, char closing);
