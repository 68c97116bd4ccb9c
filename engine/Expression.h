#pragma once

#include <cstdint>
#include <string>

#include "engine/Program.h"
#include "engine/Stack.h"

// One arithmetic expression and every engine operation on it. All operations
// are virtual and call each other through the object, so a subclass's word
// rules apply to its validation, conversion and evaluation alike.
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

    const std::string& getText() const { return text; }

    // Returned (as a double) by evaluate when a result is undefined.
    const std::int32_t errorValue;

private:
    Stack<std::string> operators;
    std::string text;

    // evaluate's conversion of compiledFrom, which left the text convertedText.
    bool compiled = false;
    bool convertedAsIs = false; // the conversion left the text as it found it
    std::string compiledFrom;
    std::string convertedText;
    Program program;
};

// True for the bracket pairs () [] {}.
bool isMatchingPair(char opening, char closing);
