#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Program.h"
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

    // evaluate(xs[i], y, z, ans) for i = 0, 1, ... into values, in one pass, as
    // far as that can go without converting the text or failing: it stops,
    // without throwing, before the first x for which evaluate would do either,
    // and returns how many values it gave. Only for this class's own evaluate.
    std::size_t evaluateEach(const double* xs, double* values, std::size_t n, double y, double z,
                             double ans);

    const std::string& getText() const { return text; }

    // Returned (as a double) by evaluate when a result is undefined.
    const std::int32_t errorValue;

private:
    // Every change of the text goes through here.
    void changeText(std::string newText);
    // Makes kept the program for the text, leaving the text as converting would.
    void convertForEvaluation();

    Stack<std::string> operators;
    std::string text;

    // evaluate's conversion of one text, compiled. It is kept while the text
    // is the one it was made from, which is only sound because the word rules
    // above answer alike on every call: a subclass's rules must not change
    // their answers from one call to the next.
    struct Conversion {
        bool made = false;
        bool leftAsIs = false; // converting left the text as it found it
        std::string from;      // the text converted
        std::string left;      // the text the conversion left
        Program program;
    };
    Conversion kept;
    // kept.made, leftAsIs and text == kept.from: evaluate may run the program
    // as it is. Worked out on every change of the text, not on every call.
    bool keptFits = false;
};

// True for the bracket pairs () [] {}.
bool isMatchingPair(char opening, char closing);
